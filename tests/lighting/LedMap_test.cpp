#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "lighting/LedMap.h"
#include "lighting/LedPowerApply.h"
#include "platform/ProgramFolder.h"
#include "support/ProgramFiles.h"
#include "support/TempFolder.h"

namespace tirmo::lighting {
namespace {

class LedMapTest : public ::testing::Test {
protected:
    void SetUp() override { platform::SetProgramFolder(folder.path()); }

    std::string read(const std::string& relative) const { return test::ReadProgramFile(relative); }
    void write(const std::string& relative, const std::string& text) const { test::WriteProgramFile(relative, text); }
    static bool startsWith(const std::string& text, const std::string& head) { return text.rfind(head, 0) == 0; }
    static std::vector<std::string> linesOf(const std::string& text)
    {
        std::vector<std::string> out;
        size_t at = 0;
        for (size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
            out.push_back(text.substr(at, end - at));
        EXPECT_EQ(at, text.size()) << "every line ends in CR LF";
        return out;
    }
    // ledpower.dat / ledxy.dat text with the given data rows.
    static std::string mapFile(const std::string& header, const std::vector<std::string>& rows)
    {
        std::string s = "\"Led control: 16rows x  26col. Per cam: 8 x 9+8+9\"\r\n" + header + "\r\n";
        for (const auto& r : rows) s += r + "\r\n";
        return s;
    }
    static std::vector<std::string> powerRows(int from, int to)
    {
        std::vector<std::string> rows;
        for (int i = from; i <= to; ++i) rows.push_back(std::to_string(i) + "," + std::to_string(i % 16));
        return rows;
    }

    test::TempFolder folder;
};

TEST_F(LedMapTest, DefaultLayoutFilesHoldTheirTellingRows)
{
    ASSERT_TRUE(WriteLedSetup1File("\\config"));
    ASSERT_TRUE(WriteLedSetup2File("\\config"));
    const std::string one = read("config/ldsetup1.dat");
    EXPECT_PRED2(startsWith, one,
              "Led control v1.0: 16rows x  26col. Per cam: 8 x 9+8+9,,,\r\n"
              "camera,led,colcam,filcam\r\n0,0,1,1\r\n0,1,1,2\r\n");
    auto l1 = linesOf(one);
    ASSERT_EQ(l1.size(), 2u + 416u);
    EXPECT_EQ(l1[1 + 8], "0,7,1,8");
    EXPECT_EQ(l1[1 + 9], "0,8,2,1");
    EXPECT_EQ(l1[1 + 72], "0,71,9,8");
    EXPECT_EQ(l1[1 + 73], "1,208,1,1");
    EXPECT_EQ(l1[1 + 145], "2,72,1,1");
    EXPECT_EQ(l1[1 + 416], "5,415,9,8");

    const std::string two = read("config/ldsetup2.dat");
    EXPECT_PRED2(startsWith, two,
              "Led control v1.2: 13rows x  19col. Per cam: 7 x 9 with overlaping\r\n"
              "camera,led,colcam,filcam\r\n0,0,1,1\r\n");
    auto l2 = linesOf(two);
    ASSERT_EQ(l2.size(), 2u + 384u);
    EXPECT_EQ(l2[1 + 7], "0,6,1,7");
    EXPECT_EQ(l2[1 + 8], "0,7,2,1");
    EXPECT_EQ(l2[1 + 63], "0,62,9,7");
    EXPECT_EQ(l2[1 + 64], "0,63,10,8");
    EXPECT_EQ(l2[1 + 65], "1,192,1,1");
    EXPECT_EQ(l2[1 + 384], "5,383,10,8");
}

TEST_F(LedMapTest, EachGenerationLoadsItsOwnLayout)
{
    WriteLedSetup1File("\\config");
    WriteLedSetup2File("\\config");
    LedMap map;
    EXPECT_TRUE(LoadLedTables(map, platform::ProgramPath("config/ldsetup1.dat"), "config").empty());
    EXPECT_EQ((std::array{map.camera[71], map.colcam[71], map.filcam[71]}), (std::array{0, 9, 8}));
    EXPECT_EQ((std::array{map.camera[72], map.colcam[72], map.filcam[72]}), (std::array{2, 1, 1}));
    EXPECT_EQ((std::array{map.camera[208], map.colcam[208], map.filcam[208]}), (std::array{1, 1, 1}));

    LoadLedTables(map, platform::ProgramPath("config/ldsetup2.dat"), "config");
    EXPECT_EQ((std::array{map.camera[255], map.colcam[255], map.filcam[255]}), (std::array{1, 10, 8}));
    for (size_t led = 384; led < 416; ++led) {
        EXPECT_EQ(map.camera[led], 0);
        EXPECT_EQ(map.colcam[led], 0) << "LEDs 384..415 belong to no block of layout 1.2";
    }
}

TEST_F(LedMapTest, PositionsAndPowersRoundTripThroughTheirFiles)
{
    LedMap map;
    for (size_t i = 0; i < size_t(kLedCount); ++i) {
        map.x1[i] = int(i) - 1;
        map.x2[i] = int(i % 190);
        map.y1[i] = -1;
        map.y2[i] = int(i / 3);
        map.power[i] = int(i % 16);
    }
    const std::string sn = InstrumentFolder(57);
    EXPECT_EQ(sn, "config_SN57");
    EXPECT_EQ(InstrumentFolder(0), "config");
    ASSERT_TRUE(WriteLedPositions(map, sn)) << "the save creates the per-instrument folder";
    ASSERT_TRUE(WriteLedPower(map, sn));
    EXPECT_PRED2(startsWith, read("config_SN57/ledxy.dat"),
              "\"Led control: 16rows x  26col. Per cam: 8 x 9+8+9\"\r\n"
              "\"led\",\"x1\",\"x2\",\"y1\",\"y2\"\r\n0,-1,0,-1,0\r\n");
    EXPECT_PRED2(startsWith, read("config_SN57/ledpower.dat"),
              "\"Led control: 16rows x  26col. Per cam: 8 x 9+8+9\"\r\n\"led\",\"power\"\r\n0,0\r\n1,1\r\n");
    EXPECT_EQ(linesOf(read("config_SN57/ledpower.dat")).back(), "415,15");

    LedMap back;
    back.camera.fill(9);  // a load starts from zero
    EXPECT_TRUE(LoadLedTables(back, "", sn).empty());
    EXPECT_EQ(back.x1, map.x1);
    EXPECT_EQ(back.x2, map.x2);
    EXPECT_EQ(back.y1, map.y1);
    EXPECT_EQ(back.y2, map.y2);
    EXPECT_EQ(back.power, map.power);
    EXPECT_EQ(back.camera, LedMap::Table{});
}

TEST_F(LedMapTest, MissingFilesLeaveZerosWithoutComplaint)
{
    LedMap map;
    map.power.fill(3);
    EXPECT_TRUE(LoadLedTables(map, platform::ProgramPath("config/ldsetup1.dat"), "config_SN12").empty());
    EXPECT_EQ(map.power, LedMap::Table{});
}

TEST_F(LedMapTest, RowsNamingNoLedAreSkippedAndTheRestRead)
{
    auto rows = powerRows(0, 414);
    rows.insert(rows.begin() + 10, "-1,5");
    rows.insert(rows.begin() + 20, "416,5");
    rows.push_back("415,7");
    write("config/ledpower.dat", mapFile("\"led\",\"power\"", rows));
    LedMap map;
    auto problems = LoadLedTables(map, "", "config");
    EXPECT_EQ(map.power[415], 7);
    EXPECT_EQ(map.power[20], 4);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0], "ledpower.dat line 13: LED -1 outside 0-415, line ignored");
}

TEST_F(LedMapTest, ABadRowCostsOnlyItsOwnLed)
{
    // Each kind of bad row, with a good row on both sides: only the bad row's LED keeps 0.
    write("config/ledxy.dat", mapFile("h", {"0,1,2,3,4", "1,1,70000,3,4", "2,1,2,3,4", "3,1,2,3", "4,5,6,7,8"}));
    auto rows = powerRows(0, 415);
    rows[1] = "1,16";    // the first power out of range
    rows[2] = "2,-1";
    rows[3] = "3,15";    // the last one in range
    rows[100] = "100,abc";
    write("config/ledpower.dat", mapFile("h", rows));
    LedMap map;
    auto problems = LoadLedTables(map, "", "config");
    EXPECT_EQ(map.x1[0], 1);
    EXPECT_EQ(map.x1[1], 0) << "70000 does not fit a 16-bit value";
    EXPECT_EQ(map.x1[2], 1) << "read on after the bad row";
    EXPECT_EQ(map.x1[3], 0) << "four fields are not a position row";
    EXPECT_EQ(map.y2[4], 8);
    EXPECT_EQ(map.power[0], 0);
    EXPECT_EQ(map.power[1], 0);
    EXPECT_EQ(map.power[2], 0);
    EXPECT_EQ(map.power[3], 15);
    EXPECT_EQ(map.power[100], 0);
    EXPECT_EQ(map.power[101], 101 % 16);
    EXPECT_EQ(map.power[415], 415 % 16);
    EXPECT_EQ(problems, (std::vector<std::string>{"ledxy.dat line 4 is not readable, line skipped",
                                                  "ledxy.dat line 6 is not readable, line skipped",
                                                  "ledxy.dat names only 5 of 416 LEDs; the others keep 0",
                                                  "ledpower.dat line 4: power 16 outside 0-15, line skipped",
                                                  "ledpower.dat line 5: power -1 outside 0-15, line skipped",
                                                  "ledpower.dat line 103 is not readable, line skipped"}));
    std::vector<int> sent;
    ApplyLedPowerFile(platform::ProgramPath("config/ledpower.dat"), {}, {},
                      [&](int led, int, const std::string&) { sent.push_back(led); });
    EXPECT_EQ(sent.size(), 413u) << "every LED but the three bad rows' is sent";
}

TEST_F(LedMapTest, ASaveNeverWritesZerosOverRowsThatWereNotRead)
{
    auto rows = powerRows(0, 415);
    rows[5] = "5,16";
    rows[6] = "6,16";
    rows.push_back("x7,3");  // no LED can be told from it
    write("config/ledpower.dat", mapFile("\"led\",\"power\"", rows));
    write("config/ledxy.dat", mapFile("h", {"0,1,2,3,4", "1,1,2,3", "1,9,9,9,9", "2,1,2"}));
    LedMap map;
    LoadLedTables(map, "", "config");
    map.power[6] = 9;  // a calibration sets LED 6: its value is saved
    map.power[7] = 4;
    ASSERT_TRUE(WriteLedPower(map, "config"));
    ASSERT_TRUE(WriteLedPositions(map, "config"));
    const auto power = linesOf(read("config/ledpower.dat"));
    ASSERT_EQ(power.size(), 2u + 416u + 1u);
    EXPECT_EQ(power[2 + 4], "4,4");
    EXPECT_EQ(power[2 + 5], "5,16") << "kept as it stood, not replaced by the 0 standing in for it";
    EXPECT_EQ(power[2 + 6], "6,9");
    EXPECT_EQ(power[2 + 7], "7,4");
    EXPECT_EQ(power.back(), "x7,3");
    const auto positions = linesOf(read("config/ledxy.dat"));
    EXPECT_EQ(positions[2 + 1], "1,9,9,9,9") << "overridden by a later sound row: not unread";
    EXPECT_EQ(positions[2 + 2], "2,1,2");
    EXPECT_EQ(positions[2 + 3], "3,0,0,0,0") << "an LED the file did not name is written as the table holds it";

    LedMap again;
    LoadLedTables(again, "", "config");
    EXPECT_EQ(again.power[6], 9);
    EXPECT_EQ(again.power[100], 100 % 16);
    ASSERT_EQ(again.unread_powers.size(), 2u) << "the bad rows are still there to be put right";
    EXPECT_EQ(again.unread_powers[0].led, 5);
}

TEST_F(LedMapTest, ShortFileLeavesTheOtherLedsAtZeroAndSaysSo)
{
    std::vector<std::string> rows;
    for (int i = 0; i < 100; ++i) rows.push_back(std::to_string(i) + ",5,6,7,8");
    write("config/ledxy.dat", mapFile("h", rows));
    LedMap map;
    auto problems = LoadLedTables(map, "", "config");
    EXPECT_EQ(map.x1[99], 5);
    EXPECT_EQ(map.x1[100], 0);
    EXPECT_EQ(problems, (std::vector<std::string>{"ledxy.dat names only 100 of 416 LEDs; the others keep 0"}));

    write("config/ledxy.dat", "");
    EXPECT_EQ(LoadLedTables(map, "", "config").size(), 1u) << "an empty file is short, not a crash";
}

TEST_F(LedMapTest, ASaveThatCannotBeWrittenLeavesNoPartialFile)
{
    platform::MakeFolder(platform::ProgramPath("config/ledpower.dat/blocked"));
    LedMap map;
    EXPECT_FALSE(WriteLedPower(map, "config"));
    size_t entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(platform::ProgramPath("config"))) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 1u) << "no temporary file is left beside the target";
}

TEST_F(LedMapTest, ApplyingThePowerFileStopsWhenToldAndSkipsAMissingFile)
{
    write("config/ledpower.dat", mapFile("h", powerRows(0, 415)));
    std::vector<int> sent;
    int rowsAllowed = 3;
    ApplyLedPowerFile(platform::ProgramPath("config/ledpower.dat"), {}, [&] { return rowsAllowed-- > 0; },
                      [&](int led, int, const std::string&) { sent.push_back(led); });
    EXPECT_EQ(sent, (std::vector<int>{0, 1, 2})) << "a stop ends the reading at the next row";

    auto missing = ApplyLedPowerFile(platform::ProgramPath("config_SN3/ledpower.dat"), {}, {},
                                     [&](int, int, const std::string&) { FAIL(); });
    EXPECT_FALSE(missing.found);
}

}  // namespace
}  // namespace tirmo::lighting
