// The report writer around the engine: where the file goes, what it reads from the
// acquisition's folder, and what a refused or failed report leaves behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/ProgramFolder.h"
#include "reports/ReportWriter.h"
#include "reports/RunFileLoader.h"
#include "support/TempFolder.h"
#include "support/W6Recording.h"
#include "support/FileSizeLimit.h"

namespace tirmo::reports {
namespace {

namespace fs = std::filesystem;
using Result = ReportOutcome::Result;

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class ReportWriterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::SetProgramFolder(program.path());
        folder = platform::ProgramPath("reports/proj/20250131_140000_mix1");
        platform::MakeFolder(folder);
        test::WriteW6Recording(folder);
        data = LoadAcquisition(folder).data;
        env.now = std::chrono::system_clock::from_time_t(1738332312);
        env.message = [this](const std::string& m) { messages.push_back(m); };
        before = FilesIn(folder);
    }
    ReportOutcome Generate() { return GenerateReport(data, folder, options, env); }

    test::TempFolder program;
    std::string folder;
    AcquisitionData data;
    ReportOptions options;
    ReportEnvironment env;
    std::vector<std::string> messages;
    std::vector<std::string> before;
};

TEST_F(ReportWriterTest, ReportsInTheSameSecondKeepEachOtherAndTheNoiseFilterGivesTheSameFileTwice)
{
    options.noise = true;
    std::ofstream(folder + "/subpj.dat", std::ios::binary) << "quote\"name\r\nacq_time=20\r\nplate_format=w6\r\n";
    const ReportOutcome first = Generate();
    const ReportOutcome second = Generate();
    ASSERT_EQ(first.result, Result::Written);
    ASSERT_EQ(second.result, Result::Written);
    const std::string base = ReportBaseName(env.now);
    EXPECT_EQ(fs::path(first.path).filename(), base + ".csv");
    EXPECT_EQ(fs::path(second.path).filename(), base + "_2.csv");
    EXPECT_EQ(Slurp(first.path), Slurp(second.path)) << "the filter must not change the data set";
    EXPECT_NE(Slurp(first.path).find("\r\n\"SUBPROJECT:\",\"quote\"\"name\"\r\n"), std::string::npos) << "as CSV quotes";
    EXPECT_NE(Slurp(first.path).find("\"B1\",\"001_Control\",18,20,19,18,17\r"), std::string::npos)
        << "B1 x 1.2 with its spike (200 in scan 3) filtered to 15";
    options.extension = ".txt";
    const ReportOutcome text = Generate();
    EXPECT_EQ(fs::path(text.path).filename(), base + ".txt");
    EXPECT_EQ(FilesIn(folder).size(), before.size() + 3) << "nothing else, no temporary file";
}

TEST_F(ReportWriterTest, AWriteThatFailsMidwayShowsReportErrorAndLeavesNothing)
{
    // A file size limit makes the disk "full" after 300 bytes of the report.
    ReportOutcome out;
    {
        test::ScopedFileSizeLimit full(300);
        ASSERT_TRUE(full.ok());
        out = Generate();
    }

    EXPECT_EQ(out.result, Result::Failed);
    EXPECT_TRUE(out.path.empty());
    EXPECT_EQ(messages, std::vector<std::string>{kReportError});
    EXPECT_EQ(FilesIn(folder), before);
}

TEST_F(ReportWriterTest, AFolderThatIsGoneSendsTheReportToTheReportsFolder)
{
    fs::remove_all(folder);
    const ReportOutcome out = Generate();
    ASSERT_EQ(out.result, Result::Written);
    EXPECT_EQ(out.folder, platform::ProgramPath("reports"));
    EXPECT_EQ(fs::path(out.path).parent_path(), fs::path(platform::ProgramPath("reports")));
    EXPECT_NE(Slurp(out.path).find("\"SUBPROJECT:\",\"\"\r\n"), std::string::npos);
    EXPECT_EQ(messages, std::vector<std::string>{kFactorsUpdated}) << "no factor file there";
}

TEST_F(ReportWriterTest, MapPlotAndBmpWriteNoFile)
{
    struct Case {
        std::string format;
        ReportLayout layout;
        Result result;
        bool formatMessage;
    };
    const Case cases[] = {
        {"w6", ReportLayout::MapPlot, Result::MapPlot, false},  {"w24", ReportLayout::MapPlot, Result::MapPlot, false},
        {"p35", ReportLayout::MapPlot, Result::MapPlot, false}, {"w96f", ReportLayout::MapPlot, Result::Refused, true},
        {"w12", ReportLayout::MapPlot, Result::Refused, true},  {"w6", ReportLayout::Bmp, Result::Nothing, false},
    };
    for (const Case& c : cases) {
        messages.clear();
        data.plate_format = c.format;
        options.layout = c.layout;
        options.bin_text = "60";
        const ReportOutcome out = Generate();
        EXPECT_EQ(out.result, c.result) << c.format;
        EXPECT_TRUE(out.path.empty());
        if (c.formatMessage) {
            EXPECT_EQ(messages, std::vector<std::string>{kMapPlotFormats});
            EXPECT_EQ(out.bin_text, "60") << "a refused MapPlot leaves the bin box";
        }
        if (c.result == Result::MapPlot) {
            EXPECT_EQ(out.bin_text, kScanTime);
            EXPECT_TRUE(messages.empty()) << "a MapPlot is never binned";
        }
    }
    EXPECT_EQ(FilesIn(folder), before);
}

TEST_F(ReportWriterTest, InternalReferenceChoices)
{
    const std::string factorFile = folder + "/factor_correction.txt";
    const std::string original = Slurp(factorFile);
    std::array<double, kCorrectionEntries> recomputed;
    recomputed.fill(2.0);
    struct Case {
        InternalReference intref;
        bool fileThere;
        bool computes;   // the hook is asked
        bool message;    // "updated with latest value"
        const char* a1;  // A1's first value in the report
    };
    // A1 counts 20 in scan 0; the file's factor for A1 is 1.00, the recomputed one 2.0.
    const Case cases[] = {
        {InternalReference::No, true, false, false, "20"},    {InternalReference::Apply, true, false, false, "20"},
        {InternalReference::Update, true, true, false, "40"}, {InternalReference::Apply, false, true, true, "40"},
        {InternalReference::Update, false, true, true, "40"},
    };
    for (const Case& c : cases) {
        std::ofstream(factorFile, std::ios::binary) << original;
        if (!c.fileThere) fs::remove(factorFile);
        messages.clear();
        std::vector<std::string> asked;
        env.compute_internal_reference = [&](const std::string& f, const std::string& format, int serial) {
            asked.push_back(f + "|" + format + "|" + std::to_string(serial));
            return std::optional(recomputed);
        };
        options.intref = c.intref;
        const ReportOutcome out = Generate();
        ASSERT_EQ(out.result, Result::Written);
        const std::string text = Slurp(out.path);
        EXPECT_EQ(asked.size(), c.computes ? 1u : 0u) << int(c.intref) << c.fileThere;
        if (c.computes) {
            EXPECT_EQ(asked[0], folder + "|w6|12");
        }
        EXPECT_EQ(messages.size(), c.message ? 1u : 0u);
        const bool stampLine = text.find("***Internal Factor Correction Enabled:[") != std::string::npos;
        EXPECT_EQ(stampLine, c.intref != InternalReference::No);
        EXPECT_NE(text.find(std::string("\r\"A1\",\"001_Control\",") + c.a1 + ","), std::string::npos)
            << int(c.intref) << c.fileThere;
        fs::remove(out.path);
    }
}

// A report says beside it what it lacks. The run: five scans of six rows, 5 minutes apart from 0.1 minutes.
TEST_F(ReportWriterTest, WhatAReportLacksIsSaidBesideIt)
{
    const std::string none = "no stage temperature was recorded for the scans at ";
    // Rows kept of each file (0 temperature rows: no file), the bin, the note.
    const struct { size_t activityRows, temperatureRows; const char* bin; std::string note; } cases[] = {
        {30, 0, kScanTime, none + "0.1-20.1 min: the report shows 0.0 there"},
        {30, 18, kScanTime, none + "15.1-20.1 min: the report shows 0.0 there"},
        {30, 24, "15", none + "20.1 min: the report shows 0.0 there"},
        {30, 25, kScanTime, ""},
        {12, 30, "60", "the WELL ACTIVITY table is empty: a bin of 10 minutes is longer than the 6 minutes in which "
                       "every well was read"},
        {18, 30, "60", ""},
        {30, 25, "abc", "the report has no WELL ACTIVITY table: the bin \"abc\" is no number of minutes above 0"},
        {30, 25, "0.1", ""},
    };
    const auto cut = [](const std::string& text, size_t rows) {
        size_t at = 0;
        for (size_t i = 0; i < rows + 2; ++i) at = text.find("\r\n", at) + 2;
        return text.substr(0, at);
    };
    const std::string activity = Slurp(folder + "/current_activity.txt");
    const std::string temperature = Slurp(folder + "/current_temperature.txt");
    for (const auto& c : cases) {
        std::ofstream(folder + "/current_activity.txt", std::ios::binary) << cut(activity, c.activityRows);
        fs::remove(folder + "/current_temperature.txt");
        if (c.temperatureRows > 0)
            std::ofstream(folder + "/current_temperature.txt", std::ios::binary) << cut(temperature, c.temperatureRows);
        data = LoadAcquisition(folder).data;
        options.bin_text = c.bin;
        const ReportOutcome out = Generate();
        ASSERT_EQ(out.result, Result::Written);
        EXPECT_EQ(out.note, c.note) << c.activityRows << " " << c.temperatureRows;
        fs::remove(out.path);
    }
}

TEST_F(ReportWriterTest, TheNamePromptsTextIsNoName)
{
    std::ofstream(folder + "/subpj.dat", std::ios::binary) << "<Write Acquisition Name>\r\nacq_time=20\r\n";
    const ReportOutcome out = Generate();
    ASSERT_EQ(out.result, Result::Written);
    EXPECT_NE(Slurp(out.path).find("\"SUBPROJECT:\",\"\"\r\n"), std::string::npos);
}

}  // namespace
}  // namespace tirmo::reports
