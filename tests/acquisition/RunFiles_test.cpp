#include <gtest/gtest.h>

#include <chrono>
#include <ctime>

#include "acquisition/RunFiles.h"
#include "acquisition/WindowBlocks.h"
#include "platform/ProgramFolder.h"
#include "support/FakeClock.h"
#include "support/ProgramFiles.h"
#include "support/TempFolder.h"

namespace tirmo::acquisition {
namespace {

class RunFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::SetProgramFolder(folder.path());
        acquisition = folder.path() + "\\reports\\default_project\\20250131_140512test";
        platform::MakeFolder(acquisition);
        clock.setWall(tirmo::test::LocalTime(2025, 1, 31, 14, 5, 12));
    }
    std::string read(const std::string& name)
    {
        return tirmo::test::ReadProgramFile("reports/default_project/20250131_140512test/" + name);
    }
    tirmo::test::TempFolder folder;
    tirmo::test::FakeClock clock;
    std::string acquisition;
};

TEST_F(RunFilesTest, TheRunStartWritesItsStartingFilesAndHeaders)
{
    const auto stamp = WriteStartingFiles(acquisition, {12, "<Write Acquisition Name>", "30", "w6"});
    ASSERT_TRUE(stamp);
    EXPECT_EQ(*stamp, "2025/01/31_14:05:12");
    EXPECT_EQ(read("serial.dat"), "SN12\r\n");
    EXPECT_EQ(read("subpj.dat"), "<Write Acquisition Name>\r\nacq_time=30\r\nplate_format=w6\r\n");
    EXPECT_EQ(read("current_activity.txt"),
              "\"2025/01/31_14:05:12\" \"<Raw_activity_file_without_internal_factor_correction>\"\r\n"
              "\"Time[m]\" \"Well\" \"Accumulated_activity\"\r\n");
    EXPECT_EQ(read("adjusted_activity.txt"),
              "\"2025/01/31_14:05:12\" \"<activity_file_adjusted_by_internal_factor_correction>\"\r\n"
              "\"Time[m]\" \"Well\" \"Accumulated_activity\"\r\n");
    EXPECT_EQ(read("current_temperature.txt"), "\"2025/01/31_14:05:12\"\r\n\"Time[m]\" \"Temperature[C]\"\r\n");
    ASSERT_TRUE(CreateLightLog(acquisition));
    EXPECT_EQ(read("light.csv"), "\"#scan\",\"time[m]\",\"light power[0=off]\"\r\n");
    ASSERT_TRUE(CreateLightLog(acquisition));
    EXPECT_EQ(read("light.csv"), "\"#scan\",\"time[m]\",\"light power[0=off]\"\r\n"
                                 "\"#scan\",\"time[m]\",\"light power[0=off]\"\r\n")
        << "light.csv is appended to even for its header";

    // A second start in the same folder replaces the starting files.
    ASSERT_TRUE(WriteStartingFiles(acquisition, {0, "", "5", "w24"}));
    EXPECT_EQ(read("serial.dat"), "SN0\r\n") << "offline";
    EXPECT_EQ(read("subpj.dat"), "\r\nacq_time=5\r\nplate_format=w24\r\n");
}

TEST_F(RunFilesTest, WindowRecordsAreAppendedByteForByte)
{
    WriteStartingFiles(acquisition, {3, "t", "30", "w6"});
    CreateLightLog(acquisition);
    WindowRecords r;
    r.camera = 0;
    r.window = 2;
    r.light_row = LightRow(3, 1.5, 0);
    r.raw_frames = true;
    r.raw_frame_lines = {"A1,4,,,120", "", "Temperature,21.0"};
    r.pixel_activity_lines = {"scan,3", "time[m],\"1.5\"", "A1,4,0,2,-,1", ""};
    r.activity_rows = {ActivityRow(12.5, "A1", 37, '.')};
    r.adjusted_rows = {ActivityRow(12.5, "A1", 55.5, '.')};
    r.temperature_row = TemperatureRow(12.5, 21.04, '.');
    ASSERT_TRUE(WriteWindowRecords(acquisition, r));
    ASSERT_TRUE(WriteWindowRecords(acquisition, r));

    const std::string header = "\"Time[m]\" \"Well\" \"Accumulated_activity\"\r\n";
    EXPECT_EQ(read("light.csv"), "\"#scan\",\"time[m]\",\"light power[0=off]\"\r\n3,\"1.5\",0\r\n3,\"1.5\",0\r\n");
    const std::string activity = read("current_activity.txt");
    EXPECT_EQ(activity.substr(activity.find(header) + header.size()), "12.5 \"A1\" 37\r\n12.5 \"A1\" 37\r\n");
    const std::string adjusted = read("adjusted_activity.txt");
    EXPECT_EQ(adjusted.substr(adjusted.find(header) + header.size()), "12.5 \"A1\" 56\r\n12.5 \"A1\" 56\r\n");
    const std::string temperature = read("current_temperature.txt");
    EXPECT_EQ(temperature.substr(temperature.find("[C]\"\r\n") + 6), "12.5 21.0\r\n12.5 21.0\r\n");
    EXPECT_EQ(read("wellactivity02.csv"),
              "scan,3\r\ntime[m],\"1.5\"\r\nA1,4,0,2,-,1\r\n\r\nscan,3\r\ntime[m],\"1.5\"\r\nA1,4,0,2,-,1\r\n\r\n");
    EXPECT_EQ(read("lastread02.csv"), "A1,4,,,120\r\n\r\nTemperature,21.0\r\n") << "rewritten without SaveRawData";

    r.raw_append = true;
    ASSERT_TRUE(WriteWindowRecords(acquisition, r));
    EXPECT_EQ(read("lastread02.csv"), "A1,4,,,120\r\n\r\nTemperature,21.0\r\nA1,4,,,120\r\n\r\nTemperature,21.0\r\n");

    // A camera not in use gets no lastread or wellactivity record.
    WindowRecords off = r;
    off.window = 0;
    off.raw_frames = false;
    ASSERT_TRUE(WriteWindowRecords(acquisition, off));
    EXPECT_FALSE(platform::FileExists(RunFilePath(acquisition, "lastread00.csv")));
    EXPECT_FALSE(platform::FileExists(RunFilePath(acquisition, "wellactivity00.csv")));
}

TEST_F(RunFilesTest, AFolderThatCannotBeWrittenReportsFailure)
{
    const std::string missing = folder.path() + "/no/such/folder";
    EXPECT_FALSE(AppendLines(missing + "/light.csv", {"x"}));
    EXPECT_FALSE(CreateLightLog(missing));
    EXPECT_FALSE(WriteStartingFiles(missing, {1, "a", "30", "w6"}));
    WindowRecords r;
    r.raw_frames = true;
    EXPECT_FALSE(WriteWindowRecords(missing, r));
}

TEST(RunFileRows, NumbersTakeTheLocaleSeparatorExceptTheLightLogTime)
{
    EXPECT_EQ(ActivityRow(12.5, "A1", 37, '.'), "12.5 \"A1\" 37");
    EXPECT_EQ(ActivityRow(12.5, "A1", 37, ','), "12,5 \"A1\" 37");
    EXPECT_EQ(ActivityRow(12.34, "H12", 36.5, ','), "12,3 \"H12\" 37");
    EXPECT_EQ(ActivityRow(0, "B3", 0.4, '.'), "0.0 \"B3\" 0");
    EXPECT_EQ(TemperatureRow(12.5, 37.25, ','), "12,5 37,3");
    EXPECT_EQ(LightRow(3, 1.5, 0), "3,\"1.5\",0");
    EXPECT_EQ(LightRow(12, 12.5, 4), "12,\"12.5\",4");
    EXPECT_EQ(Tenths(1.0 / 60.0 * 90, ','), "1,5");
    EXPECT_EQ(PixelActivityFileName(0, 2), "wellactivity02.csv");
    EXPECT_EQ(RawFrameFileName(5, 1), "lastread51.csv");
}

TEST(RunFileRows, ReadersTakeEitherDecimalSeparator)
{
    struct Case {
        const char* line;
        bool valid;
        double minutes;
        const char* well;
        double value;
    };
    const Case cases[] = {
        {"12.5 \"A1\" 37", true, 12.5, "A1", 37},
        {"12,5 \"A1\" 37", true, 12.5, "A1", 37},
        {"\"0,1\" \"H12\" 0", true, 0.1, "H12", 0},
        {"12.5 \"A1\"", false, 0, "", 0},
        {"12.5", false, 0, "", 0},
        {"x \"A1\" 3", false, 0, "", 0},
        {"1.0 \"A1\" many", false, 0, "", 0},
    };
    for (const Case& c : cases) {
        const auto r = ParseActivityRow(c.line);
        ASSERT_EQ(r.has_value(), c.valid) << c.line;
        if (!r) continue;
        EXPECT_EQ(r->minutes, c.minutes) << c.line;
        EXPECT_EQ(r->well, c.well) << c.line;
        EXPECT_EQ(r->value, c.value) << c.line;
    }
    const auto t = ParseTemperatureRow("12,5 37,3");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->minutes, 12.5);
    EXPECT_EQ(t->temperature, 37.3);
    EXPECT_EQ(ParseTemperatureRow("12.5 37.3")->temperature, 37.3);
    EXPECT_FALSE(ParseTemperatureRow("12.5"));
    EXPECT_FALSE(ParseTemperatureRow("12.5 warm"));
    // What a writer writes, a reader reads back in either locale.
    for (char decimal : {'.', ','}) {
        const auto back = ParseActivityRow(ActivityRow(7.25, "C4", 12, decimal));
        ASSERT_TRUE(back);
        EXPECT_EQ(back->minutes, 7.3);
        EXPECT_EQ(back->well, "C4");
    }
}

// A window of one column (offset 4) of four pixels of cell A1, and a second column (offset 5)
// of two pixels of an unnamed cell.
class WindowBlocksTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tables.geometry.well_table.at(0, 0, 0).name = "A1";
        tables.Resize(0, 8, 0);
        RunTables::PixelRow row = tables.Row(0, 0);
        const int wells[] = {0, 0, 0, -1, 0, 1, 1};
        for (int p = 1; p <= 6; ++p) {
            row.named[p] = 1;
            row.column_offset[p] = int16_t(p <= 4 ? 4 : 5);
            row.column_band[p] = int16_t(p <= 4 ? 0 : 1);
            row.well[p] = int16_t(wells[p]);
        }
        window.window_pixel_count = 6;
        window.pixel_activity = {0, 0, 2, 9, 1, 3, 3};
    }
    RunTables tables;
    WindowTables window;
};

TEST_F(WindowBlocksTest, PixelActivityRowsStartAtEachColumnAndSkipUnnamedCells)
{
    EXPECT_EQ(PixelActivityBlock(tables, window, 3, 1.5, '.'),
              (std::vector<std::string>{"scan,3", "time[m],\"1.5\"", "A1,4,0,2,-,1", ""}));
    EXPECT_EQ(PixelActivityBlock(tables, window, 0, 12.5, ',')[1], "time[m],\"12,5\"");
    // Named, the second column gets its row too, pixel 5 being in no well.
    tables.geometry.well_table.at(0, 1, 0).name = "A2";
    tables.Row(0, 0).well[5] = -1;
    EXPECT_EQ(PixelActivityBlock(tables, window, 3, 1.5, '.')[3], "A2,5,-,3");
}

TEST_F(WindowBlocksTest, RawFramesFromThePixelThreeOnAsLevelsThenChanges)
{
    RunTables::PixelRow row = tables.Row(0, 0);
    row.well[3] = 0;   // the first column's two written pixels lie in A1
    row.well[6] = -1;  // the second column's last pixel in no well
    WindowFrames frames;
    for (int k = 0; k < kWindowFrames; ++k) frames[size_t(k)] = std::string(6, char(50));
    frames[0][2] = char(120), frames[0][3] = char(121);
    for (int k = 1; k < kWindowFrames; ++k) frames[size_t(k)][2] = char(121), frames[size_t(k)][3] = char(119);
    std::string still, stillOut;
    for (int k = 2; k < kWindowFrames; ++k) still += ",,,0,0";
    for (int k = 1; k < kWindowFrames; ++k) stillOut += ",,,0,-";
    EXPECT_EQ(RawFrameBlock(tables, window, frames, false, 3, 1.5, 21.04, '.'),
              (std::vector<std::string>{"A1,4,,,120,121,,,1,-2" + still, ",5,,,50,-" + stillOut, "",
                                        "Temperature,21.0"}));

    // With SaveRawData the block opens with the scan and its time; a frame too short for a pixel
    // leaves its field out, and a pixel the frame before misses counts as unchanged.
    frames[3].resize(3);
    const auto block = RawFrameBlock(tables, window, frames, true, 7, 12.5, 21.04, ',');
    ASSERT_EQ(block.size(), 6u);
    EXPECT_EQ(block[0], "scan,7");
    EXPECT_EQ(block[1], "time[m],\"12,5\"");
    EXPECT_EQ(block[2].substr(0, 40), "A1,4,,,120,121,,,1,-2,,,0,0,,,0,,,0,0,,,");
    EXPECT_EQ(block[3].substr(0, 30), ",5,,,50,-,,,0,-,,,0,-,,,,,0,-,");
    EXPECT_EQ(block[5], "Temperature,21,0");
}

}  // namespace
}  // namespace tirmo::acquisition
