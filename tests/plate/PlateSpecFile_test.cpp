#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "plate/PlateSpecFile.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "support/ProgramFiles.h"
#include "support/TempFolder.h"

namespace tirmo::plate {
namespace {

class PlateSpecFileTest : public ::testing::Test {
protected:
    void SetUp() override { platform::SetProgramFolder(folder.path()); }
    std::string read(const std::string& relative) { return test::ReadProgramFile(relative); }
    void write(const std::string& relative, const std::string& text) { test::WriteProgramFile(relative, text); }
    test::TempFolder folder;
};

const char* kHeader = "camera,column,row,dataindex,name,plotindex,col_ini,col_end,row_ini,row_end\r\n";

TEST_F(PlateSpecFileTest, DefaultW6AndP35FilesCarryTheSixLinesOfTheFormat)
{
    const std::string wells =
        "0,0,0,0,A1,0,0,100,0,100\r\n1,0,0,1,B1,1,0,100,0,100\r\n2,0,0,2,A2,2,0,100,0,100\r\n"
        "3,0,0,3,B2,3,0,100,0,100\r\n4,0,0,4,A3,4,0,100,0,100\r\n5,0,0,5,B3,5,0,100,0,100\r\n";
    ASSERT_TRUE(WriteW6SpecFile("\\config"));
    ASSERT_TRUE(WriteP35SpecFile("\\config"));
    EXPECT_EQ(read("config/w6_spc.dat"), std::string("w6 specifications,,,,,,,,,\r\n") + kHeader + wells);
    EXPECT_EQ(read("config/p35_spc.dat"), std::string("p35 specifications,,,,,,,,,\r\n") + kHeader + wells);
}

TEST_F(PlateSpecFileTest, DefaultW24FileListsItsWellsCameraByCamera)
{
    // camera, column, row, dataindex, name, plotindex, then "0,100,0,100", in the file's order
    const std::string expected = std::string("w24 specifications,,,,,,,,,\r\n") + kHeader +
                                 "0,0,0,0,A1,0,0,100,0,100\r\n"
                                 "0,0,1,1,B1,1,0,100,0,100\r\n"
                                 "0,1,0,4,A2,4,0,100,0,100\r\n"
                                 "0,1,1,5,B2,5,0,100,0,100\r\n"
                                 "1,0,0,2,C1,2,0,100,0,100\r\n"
                                 "1,0,1,3,D1,3,0,100,0,100\r\n"
                                 "1,1,0,6,C2,6,0,100,0,100\r\n"
                                 "1,1,1,7,D2,7,0,100,0,100\r\n"
                                 "2,0,0,8,A3,8,0,100,0,100\r\n"
                                 "2,0,1,9,B3,9,0,100,0,100\r\n"
                                 "2,1,0,12,A4,12,0,100,0,100\r\n"
                                 "2,1,1,13,B4,13,0,100,0,100\r\n"
                                 "3,0,0,10,C3,10,0,100,0,100\r\n"
                                 "3,0,1,11,D3,11,0,100,0,100\r\n"
                                 "3,1,0,14,C4,14,0,100,0,100\r\n"
                                 "3,1,1,15,D4,15,0,100,0,100\r\n"
                                 "4,0,0,16,A5,16,0,100,0,100\r\n"
                                 "4,0,1,17,B5,17,0,100,0,100\r\n"
                                 "4,1,0,20,A6,20,0,100,0,100\r\n"
                                 "4,1,1,21,B6,21,0,100,0,100\r\n"
                                 "5,0,0,18,C5,18,0,100,0,100\r\n"
                                 "5,0,1,19,D5,19,0,100,0,100\r\n"
                                 "5,1,0,22,C6,22,0,100,0,100\r\n"
                                 "5,1,1,23,D6,23,0,100,0,100\r\n";
    ASSERT_TRUE(WriteW24SpecFile("\\config"));
    EXPECT_EQ(read("config/w24_spc.dat"), expected);
}

TEST_F(PlateSpecFileTest, DefaultFilesReadBackIntoTheirCells)
{
    ASSERT_TRUE(WriteW6SpecFile("\\config"));
    WellTable t;
    const ReadReport r = ReadPlateSpec("w6", t);
    EXPECT_TRUE(r.found);
    EXPECT_TRUE(r.clean());
    const char* names[] = {"A1", "B1", "A2", "B2", "A3", "B3"};
    for (int camera = 0; camera < 6; ++camera) {
        EXPECT_EQ(t.at(camera, 0, 0).dataindex, camera);
        EXPECT_EQ(t.at(camera, 0, 0).plotindex, camera);
        EXPECT_EQ(t.at(camera, 0, 0).name, names[camera]);
        EXPECT_EQ(t.at(camera, 0, 0).col_end, 100);
        EXPECT_EQ(t.at(camera, 0, 0).row_end, 100);
        EXPECT_EQ(t.at(camera, 1, 0).name, "");
        EXPECT_EQ(t.at(camera, 0, 1).dataindex, 0);
    }

    ASSERT_TRUE(WriteW24SpecFile("\\config"));
    ASSERT_TRUE(ReadPlateSpec("w24", t).clean());
    EXPECT_EQ(t.at(2, 1, 0).name, "A4");
    EXPECT_EQ(t.at(2, 1, 0).dataindex, 12);
    EXPECT_EQ(t.at(5, 1, 1).name, "D6");
    EXPECT_EQ(t.at(5, 1, 1).dataindex, 23);
    EXPECT_EQ(t.at(0, 0, 0).name, "A1") << "the w6 cells were replaced";
    EXPECT_EQ(t.at(1, 0, 0).name, "C1");
}

TEST_F(PlateSpecFileTest, AMissingFileOrOnlyTheHeaderEmptiesTheTable)
{
    ASSERT_TRUE(WriteW6SpecFile("\\config"));
    WellTable t;
    ReadPlateSpec("w6", t);
    const ReadReport r = ReadPlateSpec("w48", t);
    EXPECT_FALSE(r.found);
    EXPECT_TRUE(r.clean()) << "a missing file is not reported";
    EXPECT_EQ(t.at(0, 0, 0).name, "");

    write("config/w12_spc.dat", std::string("w12 specifications,,,,,,,,,\r\n") + kHeader);
    ReadPlateSpec("w6", t);
    EXPECT_TRUE(ReadPlateSpec("w12", t).clean());
    EXPECT_EQ(t.at(3, 0, 0).name, "");
}

TEST_F(PlateSpecFileTest, ValuesAsTheFileGivesThem)
{
    write("config/w12_spc.dat", std::string("t\r\nh\r\n") +
                                    " 1 , 2 , 3 ,7,\"C2\",9,10,90,5,95\r\n"  // blanks and quotes
                                    "x,2.5,3.5,8,B1,8,0,100,0,100\r\n"       // camera text reads 0; halves to even
                                    "1,2,3,11,C4,11,0,100,0,100\r\n");       // later line replaces earlier
    WellTable t;
    const ReadReport r = ReadPlateSpec("w12", t);
    EXPECT_TRUE(r.clean()) << r.Text();
    EXPECT_EQ(t.at(1, 2, 3).name, "C4");
    EXPECT_EQ(t.at(1, 2, 3).dataindex, 11);
    EXPECT_EQ(t.at(0, 2, 4).name, "B1");
}

TEST_F(PlateSpecFileTest, LinesOutsideTheTableAreSkippedAndReported)
{
    write("config/w12_spc.dat", std::string("t\r\nh\r\n") +
                                    "6,0,0,1,A1,1,0,100,0,100\r\n"   // camera 6: no such table
                                    "0,8,0,1,A1,1,0,100,0,100\r\n"   // local column 8
                                    "0,0,-1,1,A1,1,0,100,0,100\r\n"  // local row -1
                                    "2,1,1,5,B2,5,0,100,0,100\r\n");
    WellTable t;
    const ReadReport r = ReadPlateSpec("w12", t);
    EXPECT_EQ(r.skippedLines, (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(r.stoppedAtLine, 0);
    EXPECT_EQ(t.at(2, 1, 1).name, "B2") << "the sound line after them is read";
    EXPECT_EQ(r.Text(), "w12_spc.dat: lines 3,4,5 skipped (outside the tables)");
}

TEST_F(PlateSpecFileTest, AShortOrGarbledLineStopsTheReadingInsteadOfShiftingTheRest)
{
    // The third well line lacks its last field: read item by item it would pull the next line's
    // camera into its row_end and put every following well one field off.
    write("config/w12_spc.dat", std::string("t\r\nh\r\n") +
                                    "0,0,0,0,A1,0,0,100,0,100\r\n"
                                    "1,0,0,1,B1,1,0,100,0,100\r\n"
                                    "2,0,0,2,C1,2,0,100,0\r\n"
                                    "3,0,0,3,A2,3,0,100,0,100\r\n");
    WellTable t;
    ReadReport r = ReadPlateSpec("w12", t);
    EXPECT_EQ(r.linesTaken, 2);
    EXPECT_EQ(r.stoppedAtLine, 5);
    EXPECT_EQ(t.at(2, 0, 0).name, "");
    EXPECT_EQ(t.at(3, 0, 0).name, "") << "nothing after the short line";
    EXPECT_EQ(r.Text(), "w12_spc.dat: reading stopped at line 5 (short line), the rest of the file was not read");

    write("config/w12_spc.dat", std::string("t\r\nh\r\n") + "0,0,0,0,A1,0,zero,100,0,100\r\n");
    r = ReadPlateSpec("w12", t);
    EXPECT_EQ(r.stoppedAtLine, 3);
    write("config/w12_spc.dat", std::string("t\r\nh\r\n") + "0,0,0,0,A1,0,0,100,0,40000\r\n");
    EXPECT_EQ(ReadPlateSpec("w12", t).stoppedAtLine, 3) << "percent outside the 16-bit range";
}

TEST_F(PlateSpecFileTest, WriterCreatesItsFolderAndReplacesAnOldFile)
{
    ASSERT_TRUE(WriteW6SpecFile("\\spare"));
    EXPECT_TRUE(platform::FileExists(platform::ProgramPath("spare/w6_spc.dat")));
    write("config/w6_spc.dat", "old");
    ASSERT_TRUE(WriteW6SpecFile("\\config"));
    EXPECT_EQ(read("config/w6_spc.dat").substr(0, 2), "w6");
    // A file where the folder should be: no folder, no layout file, and the writer says so.
    write("blocked", "a file");
    EXPECT_FALSE(WriteW6SpecFile("\\blocked"));
    EXPECT_EQ(read("blocked"), "a file");
}

}  // namespace
}  // namespace tirmo::plate
