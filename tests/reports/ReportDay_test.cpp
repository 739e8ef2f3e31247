// A day-long w96f recording, scans every 30 seconds, reported in 60-minute bins: every bin must
// hold the minutes of its own hour. Odd scans (the half minutes) carry 50 counts more and each
// hour adds one count, so a bin that took its minutes from another hour or from the half-minute
// scans shows it.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/ProgramFolder.h"
#include "reports/ReportWriter.h"
#include "reports/RunFileLoader.h"
#include "support/RunFiles.h"
#include "support/TempFolder.h"

namespace tirmo::reports {
namespace {

double DayCount(int well, int scan) { return 1 + well % 7 + scan / 120 + (scan % 2) * 50; }

std::vector<std::string> Split(const std::string& s, char sep)
{
    std::vector<std::string> parts;
    std::string cur;
    std::istringstream in(s);
    while (std::getline(in, cur, sep)) parts.push_back(cur);
    return parts;
}

TEST(ReportDay, EachHourlyBinSumsTheMinutesOfItsOwnHour)
{
    test::TempFolder program;
    platform::SetProgramFolder(program.path());
    const std::string folder = platform::ProgramPath("reports/proj/20250131_000000_day");
    platform::MakeFolder(folder);
    test::SyntheticRun run;
    run.format = "w96f";
    run.scans = 2881;  // 0 .. 24 h
    run.scan_seconds = 30;
    run.count = DayCount;
    test::WriteSyntheticRun(folder, run);

    const LoadedAcquisition loaded = LoadAcquisition(folder);
    ASSERT_EQ(loaded.data.scan_counter, 2880);
    ReportOptions options;
    options.bin_text = "60";
    options.intref = InternalReference::No;
    ReportEnvironment env;
    const ReportOutcome out = GenerateReport(loaded.data, folder, options, env);
    ASSERT_EQ(out.result, ReportOutcome::Result::Written);
    EXPECT_EQ(out.bin_text, "60");

    std::ifstream in(out.path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t block = text.find("\"***WELL ACTIVITY***\"\r\n");
    ASSERT_NE(block, std::string::npos);
    const std::vector<std::string> lines = Split(text.substr(block + 23), '\r');
    const std::vector<std::string> head = Split(lines.at(0), ',');
    ASSERT_EQ(head.size(), 2u + 24u);
    EXPECT_EQ(head[2], "60.0");
    EXPECT_EQ(head.back(), "1440.0");
    for (int w = 0; w < 96; ++w) {
        const std::vector<std::string> cells = Split(lines.at(size_t(1 + w)), ',');
        ASSERT_EQ(cells.size(), 26u) << "well " << w;
        for (int h = 0; h < 24; ++h) {
            double expected = 0;
            for (int m = 60 * h + 1; m <= 60 * h + 60; ++m) expected += DayCount(w, 2 * m);  // the scan at minute m
            ASSERT_EQ(cells[size_t(2 + h)], std::to_string(long(expected))) << "well " << w << " hour " << h;
        }
    }
}

}  // namespace
}  // namespace tirmo::reports
