// Saved acquisitions back into a data set, and the small files a report reads beside them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/ProgramFolder.h"
#include "reports/AcquisitionFiles.h"
#include "reports/RunFileLoader.h"
#include "support/RunFiles.h"
#include "support/TempFolder.h"

namespace tirmo::reports {
namespace {

void Spill(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

class LoaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::SetProgramFolder(program.path());
        folder = platform::ProgramPath("reports/p/20250131_140000_a");
        platform::MakeFolder(folder);
        Spill(folder + "/subpj.dat", test::SubprojectText("a", 10, "w6"));
    }
    test::TempFolder program;
    std::string folder;
};

TEST_F(LoaderTest, AccumulatedCountsBecomeTheCountsOfEachScan)
{
    for (const char* decimal : {".", ","}) {
        Spill(folder + "/current_activity.txt",
              test::ActivityFileText({{0.0, "B1", 3},      // before the first scan: no scan
                                      {0.1, "A1", 5},  {0.2, "B1", 7},  {0.3, "C1", 4},  // C1 is off a w6 plate
                                      {1.1, "A1", 12}, {1.2, "B1", 7},  {1.25, "A2", 3},
                                      {2.1, "A1", 12}},  // the last scan stopped after A1
                                     decimal));
        const LoadedAcquisition l = LoadAcquisition(folder);
        ASSERT_TRUE(l.activity_found) << decimal;
        const AcquisitionData& d = l.data;
        EXPECT_EQ(d.plate_format, "w6");
        EXPECT_EQ(l.title, "a");
        EXPECT_EQ(l.acq_time, 10);
        ASSERT_EQ(d.scan_counter, 2);
        EXPECT_EQ(d.record_seconds, (std::vector<long>{6, 66, 126}));
        EXPECT_EQ(d.well_activity[0], (std::vector<double>{5, 7, 0}));
        EXPECT_EQ(d.well_activity[1], (std::vector<double>{7, 0, -1})) << "B1 not read in the last scan";
        EXPECT_EQ(d.well_activity[2], (std::vector<double>{-1, 3, -1}));
        EXPECT_EQ(d.well_seconds[2], (std::vector<long>{0, 78, 0})) << "1.3 minutes";
        EXPECT_EQ(l.skipped_lines, std::vector<int>{6});
    }
}

// A program killed mid-append may leave its last row cut anywhere: the recording reads as before.
TEST_F(LoaderTest, ARowCutShortByAKilledProgramIsLeftOut)
{
    const std::string activity = test::ActivityFileText({{0.1, "A1", 5}, {0.2, "B1", 7}, {1.1, "A1", 12}});
    const std::string temperatures = test::TemperatureFileText({{0.1, 25}, {1.1, 26}});
    Spill(folder + "/current_temperature.txt", temperatures);
    Spill(folder + "/current_activity.txt", activity);
    const AcquisitionData whole = LoadAcquisition(folder).data;
    for (size_t cut = 1; cut < 15; ++cut) {
        Spill(folder + "/current_activity.txt", activity + std::string("1.2 \"B1\" 9999").substr(0, cut));
        Spill(folder + "/current_temperature.txt", temperatures + std::string("1.2 99.0").substr(0, cut));
        const AcquisitionData d = LoadAcquisition(folder).data;
        EXPECT_EQ(d.well_activity, whole.well_activity) << cut;
        EXPECT_EQ(d.record_temperature, whole.record_temperature) << cut;
    }
}

TEST_F(LoaderTest, AWellReadTwiceInAScanCountsBothSteps)
{
    Spill(folder + "/current_activity.txt",
          test::ActivityFileText({{0.1, "A1", 5}, {0.2, "B1", 2}, {0.3, "B1", 6}, {1.1, "A1", 5}, {1.2, "B1", 10}}));
    const AcquisitionData d = LoadAcquisition(folder).data;
    EXPECT_EQ(d.well_activity[1], (std::vector<double>{6, 4}));
}

TEST_F(LoaderTest, TemperaturesAreTheMeanOfEachScansPositiveReadings)
{
    Spill(folder + "/current_activity.txt",
          test::ActivityFileText({{0.1, "A1", 1}, {1.1, "A1", 2}, {2.1, "A1", 3}, {3.1, "A1", 4}}));
    Spill(folder + "/current_temperature.txt",
          test::TemperatureFileText({{0.0, 19.0},                               // before scan 0: scan 0
                                     {0.1, 21.0}, {0.5, 22.0},                  // scan 0
                                     {1.1, 0.0},  {1.5, 24.0}, {1.9, 0.0},      // zeros are no readings
                                     {2.1, 0.0},  {2.5, 0.0},                   // none positive: the last one
                                     {3.1, 30.0}},
                                    ","));
    const AcquisitionData d = LoadAcquisition(folder).data;
    EXPECT_EQ(d.record_temperature, (std::vector<double>{(19.0 + 21.0 + 22.0) / 3, 24.0, 0.0, 30.0}));
}

TEST_F(LoaderTest, MissingFiles)
{
    EXPECT_FALSE(LoadAcquisition(folder).activity_found);
    std::filesystem::remove(folder + "/subpj.dat");
    Spill(folder + "/current_activity.txt", test::ActivityFileText({{0.1, "A1", 1}, {0.2, "D6", 2}}));
    const LoadedAcquisition l = LoadAcquisition(folder, "w24");
    EXPECT_FALSE(l.setup_found);
    EXPECT_EQ(l.data.plate_format, "w24") << "the format the user gave";
    EXPECT_EQ(l.data.well_activity[23], std::vector<double>{2});
    EXPECT_EQ(l.data.record_temperature, std::vector<double>{0.0}) << "no temperature file";
    EXPECT_TRUE(platform::FileExists(folder + "/chgroup.dat")) << "groups are written free when missing";
    EXPECT_EQ(l.data.groups.well_group[0], -1);
}

TEST_F(LoaderTest, BlankFile)
{
    Corrections c;
    c.blank_values[3] = 9;
    EXPECT_FALSE(ParseBlankFile("w6", folder, c));
    EXPECT_EQ(c.blank_lapse, 30);
    EXPECT_EQ(c.blank_values[3], 0) << "a missing blank is none";
    Spill(folder + "/blank_w6.dat",
          "20250130_100000_blank_x\r\nacqlapse=0060\r\n\"#well\",\"Value\"\r\n0,12\r\n384,7\r\n2,3\r\n0,14\r\n");
    std::vector<std::string> messages;
    auto message = [&](const std::string& m) { messages.push_back(m); };
    EXPECT_TRUE(ParseBlankFile("w6", folder, c, message));
    EXPECT_EQ(c.blank_lapse, 60);
    EXPECT_EQ(c.blank_values[0], 14) << "a later row replaces an earlier one";
    EXPECT_EQ(c.blank_values[1], 0);
    EXPECT_EQ(c.blank_values[2], 3);
    EXPECT_EQ(c.blank_values[384], 7) << "the last index taken";
    EXPECT_TRUE(messages.empty());

    // A garbled copy is not used in part: the report gets no blank, and the user is told.
    for (const char* bad : {"1,x", "385,8", "-1,9", "2,3.5"}) {
        Spill(folder + "/blank_w6.dat", "h\r\nacqlapse=0060\r\n\"#well\",\"Value\"\r\n0,12\r\n" + std::string(bad) + "\r\n");
        messages.clear();
        EXPECT_FALSE(ParseBlankFile("w6", folder, c, message)) << bad;
        EXPECT_EQ(c.blank_lapse, 30) << bad;
        EXPECT_EQ(c.blank_values[0], 0) << bad;
        EXPECT_EQ(messages, std::vector<std::string>{"Blank_File format error"}) << bad;
    }
}

TEST_F(LoaderTest, FactorFileStampSerialAndName)
{
    Corrections c;
    EXPECT_FALSE(ReadFactorCorrection(folder, c).read);
    EXPECT_EQ(ReadFactorCorrectionStamp(folder), "");
    Spill(folder + "/factor_correction.txt",
          "\"2025/01/31_14:05:12_DEFAULT=1.0\"\r\nwell A1 B1 A2 B2\r\nmult_factor 1.00 3.10 0,50 -0.20\r\n\r\n");
    EXPECT_TRUE(ReadFactorCorrection(folder, c).read);
    EXPECT_EQ(std::vector<double>(c.well_factor.begin(), c.well_factor.begin() + 5),
              (std::vector<double>{1.0, 2.55, 0.5, 0.0, 1.0}));
    EXPECT_EQ(ReadFactorCorrectionStamp(folder), "2025/01/31_14:05:12_DEFAULT=1.0");
    Spill(folder + "/factor_correction.txt", "\"s\"\r\nmult_factor 0.50\r\n");
    EXPECT_FALSE(ReadFactorCorrection(folder, c).read) << "the factor line must be the third";
    EXPECT_EQ(c.well_factor[0], 1.0);

    EXPECT_EQ(ReadSerialFile(folder), 0);
    Spill(folder + "/serial.dat", "SN57\r\n");
    EXPECT_EQ(ReadSerialFile(folder), 57);
    EXPECT_EQ(ReportSubprojectName(folder), "a");
    Spill(folder + "/subpj.dat", std::string(kUnnamedAcquisition) + "\r\n");
    EXPECT_EQ(ReportSubprojectName(folder), "");
}

}  // namespace
}  // namespace tirmo::reports
