// Whole reports of one w6 acquisition compared byte for byte with hand-checked files: its run
// files are loaded as a saved acquisition is, and the writer reads its blank and factors.
#include <gtest/gtest.h>

#include <ctime>
#include <fstream>
#include <iterator>

#include "platform/ProgramFolder.h"
#include "reports/ReportWriter.h"
#include "reports/RunFileLoader.h"
#include "support/TempFolder.h"
#include "support/W6Recording.h"
#include "support/FakeClock.h"

namespace tirmo::reports {
namespace {

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void ReplaceAll(std::string& s, const std::string& from, const std::string& to)
{
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
}

// 31 January 2025, 14:05:12 on the local clock.
std::chrono::system_clock::time_point ReportTime()
{
    return test::LocalTime(2025, 1, 31, 14, 5, 12);
}

struct GoldenCase {
    const char* file;
    ReportLayout layout;
    const char* bin;
    const char* divider;
    const char* decimal;
};

class ReportGolden : public ::testing::TestWithParam<GoldenCase> {
protected:
    void SetUp() override
    {
        platform::SetProgramFolder(program.path());
        folder = platform::ProgramPath("reports/proj/20250131_140000_mix1");
        platform::MakeFolder(folder);
        test::WriteW6Recording(folder);
    }
    test::TempFolder program;
    std::string folder;
};

TEST_P(ReportGolden, MatchesTheHandCheckedFile)
{
    const GoldenCase& c = GetParam();
    const LoadedAcquisition loaded = LoadAcquisition(folder);
    ASSERT_TRUE(loaded.activity_found);
    ReportOptions options;
    options.layout = c.layout;
    options.bin_text = c.bin;
    options.divider = c.divider;
    options.decimal = c.decimal;
    options.noise = true;
    options.blank = true;
    options.intref = InternalReference::Apply;
    std::vector<std::string> messages;
    ReportEnvironment env;
    env.now = ReportTime();
    env.message = [&](const std::string& m) { messages.push_back(m); };

    const ReportOutcome out = GenerateReport(loaded.data, folder, options, env);

    ASSERT_EQ(out.result, ReportOutcome::Result::Written);
    EXPECT_EQ(out.path, folder + "/20250131140512_report.csv");
    std::string expected = Slurp(std::string(TIRMO_TESTS_DIR) + "/reports/golden/" + c.file);
    ASSERT_FALSE(expected.empty()) << c.file;
    ReplaceAll(expected, "{DATE}", "2025-01-31 14:05:12");
    ReplaceAll(expected, "{FOLDER}", folder);
    EXPECT_EQ(Slurp(out.path), expected);
    EXPECT_EQ(messages.size(), std::string(c.bin) == kScanTime ? 0u : 1u) << "the bin note only in bin mode";
}

INSTANTIATE_TEST_SUITE_P(
    W6, ReportGolden,
    ::testing::Values(GoldenCase{"w6_table_scan_comma.csv", ReportLayout::Rows, kScanTime, ",", "."},
                      GoldenCase{"w6_table_scan_semicolon_decimalcomma.csv", ReportLayout::Rows, kScanTime, ";", ","},
                      GoldenCase{"w6_plate_scan_comma.csv", ReportLayout::Array, kScanTime, ",", "."},
                      GoldenCase{"w6_plate_scan_semicolon_decimalcomma.csv", ReportLayout::Array, kScanTime, ";", ","},
                      GoldenCase{"w6_table_bin10_comma.csv", ReportLayout::Rows, "10", ",", "."},
                      GoldenCase{"w6_plate_bin10_semicolon_decimalcomma.csv", ReportLayout::Array, "10", ";", ","}));

}  // namespace
}  // namespace tirmo::reports
