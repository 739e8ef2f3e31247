// The joint report turned into a report, per scan and in time bins.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/ProgramFolder.h"
#include "reports/JointReexport.h"
#include "support/FakeClock.h"
#include "support/TempFolder.h"

namespace tirmo::reports {
namespace {

const std::vector<std::string> kJoint = {
    "\\proj",
    "\\20250131_1400_a [w6]",
    "Time A1 B1",
    "5 1 2",
    "10 3 4",
    "15 5 6",
    "20 7 8",
    "25 1 1",  // reaches no bin end: not written
    "",
    "\\proj",
    "\\20250131_1500_b [w12]",
    "Time A1 B1 A2 B2",
    "12,4 1 1 1 1",  // a new block starts its bins at 0 again
    "",
};

ReportOptions Options(const char* bin, const char* divider = ",")
{
    ReportOptions o;
    o.bin_text = bin;
    o.divider = divider;
    return o;
}

TEST(JointReexport, PerScanEveryLineAsItStandsWithTheDivider)
{
    const JointText t = JointReexportText({"Time A1 B1", "0,5 3 4", ""}, Options(kScanTime, ";"));
    EXPECT_TRUE(t.ok);
    EXPECT_EQ(t.bytes, "Time;A1;B1\r\n0.5;3;4\r\n\r\n");
}

TEST(JointReexport, EachRowCountsForTheMinutesSinceTheRowBeforeAndEachBlockBinsFromItsStart)
{
    const JointText t = JointReexportText(kJoint, Options("10"));
    ASSERT_TRUE(t.ok);
    EXPECT_EQ(t.bytes,
              "\\proj\r\n\\20250131_1400_a,[w6]\r\nTime,A1,B1\r\n"
              "10,20,30\r\n"   // 5 x (1, 2) + 5 x (3, 4)
              "20,60,70\r\n"   // 5 x (5, 6) + 5 x (7, 8)
              "\r\n\\proj\r\n\\20250131_1500_b,[w12]\r\nTime,A1,B1,A2,B2\r\n"
              "10,10,10,10,10\r\n\r\n");
    EXPECT_EQ(t.bin_text, "10");
    EXPECT_EQ(JointReexportText(kJoint, Options("9")).bin_text, "10") << "a bin below 10 becomes 10";
    ReportOptions comma = Options("12.5", ";");
    comma.decimal = ",";
    EXPECT_EQ(JointReexportText({"Time A1", "13 2"}, comma).bytes, "Time;A1\r\n12,5;25\r\n");
}

TEST(JointReexport, TwoDigitColumnsCountTheirWellsAndAHeaderWithoutWellsFails)
{
    std::string header = "Time";
    for (int c = 1; c <= 12; ++c)
        for (char r = 'A'; r <= 'H'; ++r) header += std::string(" ") + r + std::to_string(c);
    std::string row = "10";
    for (int w = 0; w < 96; ++w) row += " 1";
    const JointText t = JointReexportText({header, row}, Options("10"));
    ASSERT_TRUE(t.ok);
    EXPECT_EQ(std::count(t.bytes.begin(), t.bytes.end(), ','), 2 * 96) << "the header and one bin of 96 wells";
    EXPECT_FALSE(JointReexportText({"Time", "10 1"}, Options("10")).ok);

    // A block of any length is binned to its end: 12,000 minutes of rows give 1,200 bins.
    std::vector<std::string> day = {"Time A1 B1"};
    for (int m = 1; m <= 12000; ++m) day.push_back(std::to_string(m) + " 1 2");
    const std::string bytes = JointReexportText(day, Options("10")).bytes;
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 1 + 1200);
    EXPECT_NE(bytes.find("\r\n12000,10,20\r\n"), std::string::npos);
}

TEST(JointReexport, TheFileGoesBesideTheAcquisitionOrNothingIsLeft)
{
    test::TempFolder program;
    platform::SetProgramFolder(program.path());
    platform::MakeFolder(platform::ProgramPath("reports/default_project"));
    const std::string folder = platform::ProgramPath("reports/proj");
    platform::MakeFolder(folder);
    ReportEnvironment env;
    std::vector<std::string> messages;
    env.message = [&](const std::string& m) { messages.push_back(m); };

    EXPECT_EQ(ReexportJoint("joint1.txt", folder, Options("10"), env).result, ReportOutcome::Result::Nothing);
    {
        std::ofstream f(platform::ProgramPath("reports/default_project/joint1.txt"), std::ios::binary);
        for (const auto& l : kJoint) f << l << "\r\n";
    }
    const ReportOutcome out = ReexportJoint("joint1.txt", folder, Options("10"), env);
    ASSERT_EQ(out.result, ReportOutcome::Result::Written);
    EXPECT_EQ(std::filesystem::path(out.path).extension(), ".csv");
    EXPECT_EQ(std::filesystem::path(out.path).filename().string().rfind("report", 0), 0u);
    EXPECT_TRUE(messages.empty());

    std::ofstream(platform::ProgramPath("reports/default_project/joint2.txt"), std::ios::binary) << "Time\r\n1 2\r\n";
    EXPECT_EQ(ReexportJoint("joint2.txt", folder, Options("10"), env).result, ReportOutcome::Result::Failed);
    EXPECT_EQ(messages, std::vector<std::string>{kReportError});
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "only the first export";
}

TEST(JointReexport, TheFileIsNamedReportWithTwoYearDigitsTheDayOfTheYearAndTheTime)
{
    test::TempFolder program;
    platform::SetProgramFolder(program.path());
    platform::MakeFolder(platform::ProgramPath("reports/default_project"));
    std::ofstream(platform::ProgramPath("reports/default_project/joint1.txt"), std::ios::binary) << "Time A1\r\n";
    struct Case {
        std::chrono::system_clock::time_point now;
        const char* extension;
        const char* name;
    };
    const Case cases[] = {
        {test::LocalTime(2025, 1, 1, 0, 0, 0), ".csv", "report2510101000000.csv"},     // day 1
        {test::LocalTime(2025, 4, 9, 8, 7, 6), ".txt", "report25990409080706.txt"},    // day 99
        {test::LocalTime(2025, 4, 10, 23, 59, 59), ".txt", "report251000410235959.txt"},  // day 100
    };
    for (const Case& c : cases) {
        const std::string folder = platform::ProgramPath(std::string("reports/") + c.name + ".d");
        platform::MakeFolder(folder);
        ReportEnvironment env;
        env.now = c.now;
        ReportOptions o = Options(kScanTime);
        o.extension = c.extension;
        const ReportOutcome out = ReexportJoint("joint1.txt", folder, o, env);
        ASSERT_EQ(out.result, ReportOutcome::Result::Written) << c.name;
        EXPECT_EQ(std::filesystem::path(out.path).filename(), c.name);
    }
}

}  // namespace
}  // namespace tirmo::reports
