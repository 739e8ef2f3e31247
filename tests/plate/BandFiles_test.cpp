#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "plate/BandFiles.h"
#include "plate/PlateSpecFile.h"
#include "platform/ProgramFolder.h"
#include "support/ProgramFiles.h"
#include "support/TempFolder.h"

namespace tirmo::plate {
namespace {

class BandFilesTest : public ::testing::Test {
protected:
    void SetUp() override { platform::SetProgramFolder(folder.path()); }
    std::string read(const std::string& relative) { return test::ReadProgramFile(relative); }
    void write(const std::string& relative, const std::string& text) { test::WriteProgramFile(relative, text); }
    std::vector<ReadReport> load(const std::string& format, int serial)
    {
        return ReadFormatFiles(format, serial, FormatTables{columns, rows, columnLabels, rowLabels});
    }
    test::TempFolder folder;
    ColumnBands columns;
    RowBands rows;
    ColumnLabels columnLabels;
    RowLabels rowLabels;
};

TEST_F(BandFilesTest, DefaultFilesAreWrittenAsTheInstrumentKeepsThem)
{
    ASSERT_TRUE(WriteW6ColumnFile("\\config"));
    ASSERT_TRUE(WriteP35RowFile("\\config"));
    ASSERT_TRUE(WriteW24ColumnFile("\\config"));
    ASSERT_TRUE(WriteW24RowFile("\\config"));
    EXPECT_EQ(read("config/w6_col.dat"),
              "\"w6 column format\"\r\n\"camera\", \"column\", \"start\", \"end\"\r\n"
              "0,0,5,140\r\n1,0,5,140\r\n2,1,5,140\r\n3,1,5,140\r\n4,2,5,140\r\n5,2,5,140\r\n");
    EXPECT_EQ(read("config/p35_row.dat"),
              "\"p35 row format\"\r\n\"camera\", \"row\", \"start\", \"end\"\r\n"
              "0,0,10,165\r\n1,1,10,165\r\n2,0,10,165\r\n3,1,10,165\r\n4,0,10,165\r\n5,1,10,165\r\n");
    EXPECT_EQ(read("config/w24_col.dat"),
              "\"w24 column format\"\r\n\"camera\", \"column\", \"start\", \"end\"\r\n"
              "0,0,5,75\r\n0,1,75,142\r\n1,0,5,75\r\n1,1,75,142\r\n2,2,5,75\r\n2,3,75,142\r\n"
              "3,2,5,75\r\n3,3,75,142\r\n4,4,5,75\r\n4,5,75,142\r\n5,4,5,75\r\n5,5,75,142\r\n");
    EXPECT_EQ(read("config/w24_row.dat"),
              "\"w24 row format\"\r\n\"camera\", \"row\", \"start\", \"end\"\r\n"
              "0,0,10,90\r\n0,1,90,170\r\n1,2,10,90\r\n1,3,90,170\r\n2,0,10,90\r\n2,1,90,170\r\n"
              "3,2,10,90\r\n3,3,90,170\r\n4,0,10,90\r\n4,1,90,170\r\n5,2,10,90\r\n5,3,90,170\r\n");
    ASSERT_TRUE(WriteP35ColumnFile("\\config"));
    ASSERT_TRUE(WriteW6RowFile("\\config"));
    EXPECT_EQ(read("config/p35_col.dat").substr(0, 20), "\"p35 column format\"\r");
    EXPECT_EQ(read("config/w6_row.dat").substr(16), read("config/p35_row.dat").substr(17));
}

TEST_F(BandFilesTest, DefaultFilesReadBackIntoTheBandTables)
{
    WriteW24ColumnFile("\\config");
    WriteW24RowFile("\\config");
    WriteW24SpecFile("\\config");
    for (const auto& r : load("w24", 0)) EXPECT_TRUE(r.clean()) << r.Text();
    EXPECT_EQ(columns.first[2], 2);
    EXPECT_EQ(columns.last[2], 3);
    EXPECT_EQ(columns.start[2][0], 5);
    EXPECT_EQ(columns.end[2][0], 75);
    EXPECT_EQ(columns.start[2][1], 75);
    EXPECT_EQ(columns.end[2][1], 142);
    EXPECT_EQ(rows.first[1], 2);
    EXPECT_EQ(rows.last[1], 3);
    EXPECT_EQ(rows.start[1][1], 90);
    EXPECT_EQ(columnLabels[2][1], "4");  // A4 at camera 2, local column 1
    EXPECT_EQ(rowLabels[5][1], "D");     // D5 at camera 5, local row 1
    EXPECT_EQ(columns.first[6], -1) << "no file names camera 6";

    WriteW6RowFile("\\config");
    load("w6", 0);
    EXPECT_EQ(rows.first[1], 1);
    EXPECT_EQ(rows.last[1], 1);
    EXPECT_EQ(rows.start[1][0], 10);
    EXPECT_EQ(rows.end[1][0], 165);
    EXPECT_EQ(columns.first[0], -1) << "no w6 column file: no column bands";
}

TEST_F(BandFilesTest, AnInstrumentReadsAndWritesOnlyItsOwnFolder)
{
    WriteW6ColumnFile("\\config");
    WriteW6RowFile("\\config");
    load("w6", 12);
    EXPECT_EQ(columns.first[0], -1) << "config is no fall-back for config_SN12";

    load("w6", 0);
    ASSERT_TRUE(WriteFormatFiles("w6", 12, columns, rows));
    EXPECT_TRUE(platform::FolderExists(platform::ProgramPath("config_SN12")));
    EXPECT_EQ(read("config_SN12/w6_col.dat"),
              "\"w6 column format\"\r\n\"camera\",\"column\",\"start\",\"end\"\r\n"
              "0,0,5,140\r\n1,0,5,140\r\n2,1,5,140\r\n3,1,5,140\r\n4,2,5,140\r\n5,2,5,140\r\n");
    EXPECT_EQ(read("config_SN12/w6_row.dat"),
              "\"w6 row format\"\r\n\"camera\",\"row\",\"start\",\"end\"\r\n"
              "0,0,10,165\r\n1,1,10,165\r\n2,0,10,165\r\n3,1,10,165\r\n4,0,10,165\r\n5,1,10,165\r\n");
    // A file where the instrument's folder should be: every writer says it wrote nothing.
    test::WriteProgramFile("config_SN13", "a file");
    EXPECT_FALSE(WriteFormatFiles("w6", 13, columns, rows));
    EXPECT_FALSE(WriteW6ColumnFile("\\config_SN13"));
    EXPECT_FALSE(WriteW6RowFile("\\config_SN13"));
    EXPECT_EQ(read("config_SN13"), "a file");
}

TEST_F(BandFilesTest, WritingThenReadingChangesNoBand)
{
    WriteW24ColumnFile("\\config");
    WriteW24RowFile("\\config");
    load("w24", 0);
    columns.start[3][1] = 77;
    rows.end[0][0] = 88;
    columns.first[4] = columns.last[4] = -1;  // a camera without bands is left out
    const ColumnBands savedColumns = columns;
    const RowBands savedRows = rows;
    ASSERT_TRUE(WriteFormatFiles("w24", 0, columns, rows));
    EXPECT_EQ(read("config/w24_col.dat").find("\r\n4,"), std::string::npos);
    columns = ColumnBands{};
    rows = RowBands{};
    load("w24", 0);
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(columns.first[size_t(c)], savedColumns.first[size_t(c)]);
        EXPECT_EQ(columns.last[size_t(c)], savedColumns.last[size_t(c)]);
        for (int i = 0; i < columns.count(c); ++i) {
            EXPECT_EQ(columns.start[size_t(c)][size_t(i)], savedColumns.start[size_t(c)][size_t(i)]);
            EXPECT_EQ(columns.end[size_t(c)][size_t(i)], savedColumns.end[size_t(c)][size_t(i)]);
        }
        for (int i = 0; i < rows.count(c); ++i)
            EXPECT_EQ(rows.end[size_t(c)][size_t(i)], savedRows.end[size_t(c)][size_t(i)]);
    }
}

TEST_F(BandFilesTest, BandLinesOutsideTheTablesAreSkippedNotWritten)
{
    write("config/w12_col.dat",
          "t\r\nh\r\n"
          "7,0,1,2\r\n"     // camera 7
          "0,-2,1,2\r\n"    // negative plate column
          "1,3,10,20\r\n"   // camera 1 starts at column 3
          "1,2,20,30\r\n"   // below its first band
          "1,16,30,40\r\n"  // 13 above its first band
          "1,4,30,40\r\n");
    const auto reports = load("w12", 0);
    EXPECT_EQ(reports[0].skippedLines, (std::vector<int>{3, 4, 6, 7}));
    EXPECT_EQ(columns.first[1], 3);
    EXPECT_EQ(columns.last[1], 4);
    EXPECT_EQ(columns.start[1][1], 30);
    EXPECT_EQ(columns.first[0], -1);
}

TEST_F(BandFilesTest, AGarbledBandLineStopsTheReadingAndIsReported)
{
    write("config/w12_row.dat", "t\r\nh\r\n0,0,10,90\r\n0,1,90\r\n0,2,170,200\r\n");
    write("config/w12_col.dat", "t\r\nh\r\n0,0,5,75\r\n0,one,75,142\r\n");
    const auto reports = load("w12", 0);
    EXPECT_EQ(rows.last[0], 0) << "nothing after the short line";
    EXPECT_EQ(columns.last[0], 0);
    EXPECT_EQ(JoinReports(reports),
              "w12_col.dat: reading stopped at line 4 (not whole numbers), the rest of the file was not read. "
              "w12_row.dat: reading stopped at line 4 (not four fields), the rest of the file was not read");
}

TEST_F(BandFilesTest, BandValuesAndLabelsSurviveAMissingFile)
{
    WriteW6ColumnFile("\\config");
    WriteW6SpecFile("\\config");
    load("w6", 0);
    EXPECT_EQ(columnLabels[4][0], "3");
    EXPECT_EQ(rowLabels[4][0], "A");
    load("w48", 0);
    EXPECT_EQ(columns.first[4], -1);
    EXPECT_EQ(columns.start[4][0], 5) << "band values are kept";
    EXPECT_EQ(columnLabels[4][0], "3") << "labels are kept without a plate layout file";
}

TEST_F(BandFilesTest, InstallationCopiesSharedFilesAndWritesTheMissingDefaults)
{
    write("config/w6_col.dat", "\"w6 column format\"\nh\n0,0,6,141\n");
    InstallFormatFiles("config_SN12");
    EXPECT_EQ(read("config_SN12/w6_col.dat"), "\"w6 column format\"\r\nh\r\n0,0,6,141\r\n");
    EXPECT_EQ(read("config_SN12/w24_row.dat").substr(0, 18), "\"w24 row format\"\r\n");
    for (const char* f : {"w6_row.dat", "p35_col.dat", "p35_row.dat", "w24_col.dat"})
        EXPECT_TRUE(platform::FileExists(platform::ProgramPath(std::string("config_SN12/") + f))) << f;

    write("config_SN12/p35_col.dat", "mine");
    InstallFormatFiles("config_SN12");
    EXPECT_EQ(read("config_SN12/p35_col.dat"), "mine") << "an instrument's own file is left alone";
}

}  // namespace
}  // namespace tirmo::plate
