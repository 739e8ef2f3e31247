// The joint report of several recorded acquisitions, with and without the outlier filter.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/ProgramFolder.h"
#include "reports/JointReport.h"
#include "reports/RunFileLoader.h"
#include "support/FakeClock.h"
#include "support/RunFiles.h"
#include "support/TempFolder.h"

namespace tirmo::reports {
namespace {

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A w6 acquisition written under a comma locale, its rows in the run's order (A1 A2 A3 B1 B2
// B3), every well gaining 2 a scan but B2 once 50, and a last scan stopped after two wells; and
// a w24 acquisition of two scans gaining 1.
class JointReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::SetProgramFolder(program.path());
        std::vector<test::ActivityRow> w6;
        int64_t b2 = 0;
        for (int k = 0; k < 7; ++k)
            for (const char* well : {"A1", "A2", "A3", "B1", "B2", "B3"}) {
                if (k == 6 && std::string(well) == "A3") break;
                b2 += std::string(well) == "B2" ? (k == 3 ? 50 : 2) : 0;
                w6.push_back({k * 1.5 + 0.5, well, std::string(well) == "B2" ? double(b2) : 2.0 * (k + 1)});
            }
        write("projA/20250131_140000_a", "w6", test::ActivityFileText(w6, ","));
        std::vector<test::ActivityRow> w24;
        for (int k = 0; k < 2; ++k)
            for (int w = 0; w < 24; ++w)
                w24.push_back({k * 2.0, std::string(1, char('A' + w % 4)) + std::to_string(w / 4 + 1), double(k + 1)});
        write("projB/20250131_150000_b", "w24", test::ActivityFileText(w24));
    }
    void write(const std::string& relative, const std::string& format, const std::string& activity)
    {
        const std::string folder = platform::ProgramPath("reports/" + relative);
        platform::MakeFolder(folder);
        std::ofstream(folder + "/subpj.dat", std::ios::binary) << test::SubprojectText("x", 10, format);
        std::ofstream(folder + "/adjusted_activity.txt", std::ios::binary) << activity;
    }
    JointOutcome joint(bool filter)
    {
        return WriteJointReport(platform::ProgramPath("reports"),
                                {{"projA", "20250131_140000_a"}, {"projB", "20250131_150000_b"}}, filter,
                                test::LocalTime(2025, 2, 1, 9, 0, 0));
    }
    test::TempFolder program;
};

TEST_F(JointReportTest, AW6AndAW24AcquisitionJoinIntoTheGoldenFileWithTheSpikeReplaced)
{
    const JointOutcome filtered = joint(true);
    ASSERT_TRUE(filtered.written);
    EXPECT_EQ(filtered.last_project, "projB");
    const std::string text = Slurp(platform::ProgramPath("reports/default_project/" + filtered.file_name));
    EXPECT_EQ(text, Slurp(std::string(TIRMO_TESTS_DIR) + "/reports/golden/joint_w6_w24_filtered.txt"));
    ASSERT_FALSE(filtered.notes.empty());
    EXPECT_NE(filtered.notes[0].find("projA/20250131_140000_a: its last scan is unfinished"), std::string::npos)
        << "told on the status line with the path as the system writes it";

    // Without the filter the spike stands, under its own well's name.
    const std::string raw = Slurp(platform::ProgramPath("reports/default_project/" + joint(false).file_name));
    EXPECT_NE(raw.find("\r\n5 2 2 2 50 2 2\r\n"), std::string::npos) << raw;
    EXPECT_EQ(text.find(" 50"), std::string::npos);
}

// The joint report reads adjusted_activity.txt with the report's reader (whose bounds the report's tests
// pin): what a report refuses, the joint report refuses by the same words, and it leaves no file.
TEST_F(JointReportTest, AFileAReportRefusesIsRefusedWithTheReportsWords)
{
    // The w24 file's line (0: whole file; B1 counts 1 on line 4, 2 on 28), by what, refused by what (nullptr: joined).
    const struct { int line; const char* text; const char* says; } cases[] = {
        {4, "0 \"B1\" 3", ", line 28: \"2\" is below the count of B1 before it (3)"},
        {4, "0 \"B1\" 2", nullptr},
        {4, "0 \"B1\" nan", ", line 4: \"nan\" is not an accumulated count"},
        {0, "", ", line 1: the file ends before its column header"},
    };
    const std::string folder = platform::ProgramPath("reports/projB/20250131_150000_b");
    const std::string adjusted = folder + "/adjusted_activity.txt";
    const std::string sound = Slurp(adjusted);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string text = c.line > 0 ? sound : c.text;
        size_t at = 0;
        for (int i = 1; i < c.line; ++i) at = text.find("\r\n", at) + 2;
        if (c.line > 0) text.replace(at, text.find("\r\n", at) - at, c.text);
        std::ofstream(adjusted, std::ios::binary) << text;
        std::filesystem::remove_all(platform::ProgramPath("reports/default_project"));
        const JointOutcome out = joint(false);
        EXPECT_EQ(out.written, c.says == nullptr);
        if (!c.says) continue;
        EXPECT_EQ(out.refusal.rfind(adjusted + c.says, 0), 0u) << out.refusal;
        const std::string joints = platform::ProgramPath("reports/default_project");
        EXPECT_TRUE(!std::filesystem::exists(joints) || std::filesystem::is_empty(joints));
        // The report of the same file says the same.
        std::ofstream(folder + "/current_activity.txt", std::ios::binary) << text;
        std::string reportSays = LoadAcquisition(folder).refusal;
        if (const size_t at = reportSays.find("current_activity"); at != std::string::npos)
            reportSays.replace(at, 16, "adjusted_activity");
        EXPECT_EQ(out.refusal, reportSays);
    }
    // No file, or none in which a scan began: as a report, nothing to join.
    for (const char* text : {static_cast<const char*>(nullptr), "\"s\"\r\n\"Time[m]\" \"Well\" \"n\"\r\n0 \"B1\" 4\r\n"}) {
        std::filesystem::remove(adjusted);
        if (text) std::ofstream(adjusted, std::ios::binary) << text;
        const JointOutcome out = joint(false);
        EXPECT_EQ(std::pair(out.written, out.refusal), std::pair(false, kNoScans + folder));
    }
}

TEST_F(JointReportTest, TheMedianIsTheMiddleOfTheSortedWindow)
{
    struct Case {
        std::vector<int64_t> window;
        double median;
    };
    for (const Case& c : {Case{{2, 2, 50, 2, 2}, 2}, Case{{9, 1, 5, 3, 7}, 5}, Case{{4, 1, 3, 2}, 3},
                          Case{{1, 8}, 1}, Case{{7}, 7}, Case{{3000000000LL, 1, 3000000001LL}, 3000000000.0}})
        EXPECT_EQ(MedianOfWindow(c.window), c.median) << c.window.size();
}

}  // namespace
}  // namespace tirmo::reports
