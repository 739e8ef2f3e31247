#include <gtest/gtest.h>

#include <filesystem>

#include "devicememory/LinkFlashPort.h"
#include "devicememory/PixelMap.h"
#include "platform/ProgramFolder.h"
#include "sim/InstrumentSimulator.h"
#include "support/FakeClock.h"
#include "support/LinkFixture.h"
#include "support/ProgramFiles.h"
#include "support/TempFolder.h"

namespace tirmo::devicememory {
namespace {

// Silent from the n-th transfer on; what goes unanswered never reaches the simulator.
struct FallingSilentPort : LinkFlashPort {
    FallingSilentPort(link::Console& c, int n) : LinkFlashPort(c), left(n) {}
    std::optional<std::string> Transfer(const std::string& b, int n) override { return --left == 0 ? "" : LinkFlashPort::Transfer(b, n); }
    int left;
};

// Pixel maps uploaded to the simulated instrument from a program folder of their own.
class PixelMapTest : public test::LinkFixture {
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        platform::SetProgramFolder(folder.path());
        notices.message = [this](const std::string& t) { messages.push_back(t); };
    }
    std::string uploaded(int camera) { return sim->with([&](sim::SimState& s) { return s.flash.pixelMaps[size_t(camera)]; }); }
    int heads() { return sim->with([](sim::SimState& s) { return s.flash.mapHeads; }); }
    static int byteAt(const std::string& map, int line, int index) { return static_cast<unsigned char>(map[size_t(line * 24 + index)]); }

    test::FakeClock clock;
    test::QuickTimeouts quick;
    test::TempFolder folder;
    LinkFlashPort port{console};
    MemoryNotices notices;
    std::vector<std::string> messages;
};

TEST_F(PixelMapTest, TheTableGoesOutBitByBitInThirtySixBlocks)
{
    PixelEnableMap map;
    struct Case {
        int line, pixel, byte, bits;
    };
    const Case cases[] = {{0, 7, 0, 0x80}, {0, 8, 1, 0x01}, {3, 191, 23, 0x80}, {139, 0, 0, 0x01}, {141, 189, 23, 0x20}};
    for (const Case& c : cases) map.at(2, c.line, c.pixel) = kEnabled;
    map.at(2, 0, 192) = kEnabled;  // beyond the 192 pixels a line carries
    map.at(2, 5, 5) = 1;           // only 65535 enables
    ASSERT_EQ(SendFlashMap(port, map, 2, notices), 0);
    EXPECT_EQ(heads(), 36);
    const std::string sent = uploaded(2);
    int set = 0;
    for (char b : sent) set += __builtin_popcount(static_cast<unsigned char>(b));
    EXPECT_EQ(set, 5);
    for (const Case& c : cases) EXPECT_EQ(byteAt(sent, c.line, c.byte), c.bits) << c.line << "," << c.pixel;
    EXPECT_EQ(messages, std::vector<std::string>{"quantity activated=5"});
    EXPECT_EQ(console.lastMonitor(), "rcv(140):70/70");

    std::string failure;
    FallingSilentPort silentAt24(console, 24);  // transfer 2b carries the pixels of block b
    EXPECT_EQ(SendFlashMap(silentAt24, map, 2, notices, &failure), -1);
    EXPECT_EQ(failure, "block 12 of 36 (lines 44 to 47) had no answer to its pixels; the instrument took blocks 1 to 11");
    sim->setSilent(true);
    EXPECT_EQ(SendFlashMap(port, map, 2, notices, &failure), -1);
    EXPECT_EQ(console.lastMonitor(), "Empty/No response Headline0");
    EXPECT_EQ(failure, "block 1 of 36 (lines 0 to 3) had no answer to its head");
}

TEST_F(PixelMapTest, MasksMergeInNameOrderOnTheFivePixelGrid)
{
    const std::string header = "\"line\",\"pixel\",\"enabled\"\r\n";
    test::WriteProgramFile("w96f_c0__B1.dat", header + "5,5,1\r\n10,10,0\r\n6,6,1\r\n140,5,1\r\n4,190,1\r\n7,1\r\n\r\n");
    test::WriteProgramFile("w96f_c0__A1.dat", header + "0,0,1\r\n5,5,1\r\n10,10,1\r\n135,185,1\r\n");
    test::WriteProgramFile("w96f_c0full__C1.dat", header + "20,20,1\r\n");
    // Files that give nothing, and one whose name would split the wells file's rows: none counts.
    test::WriteProgramFile("w96f_c0__A2.dat", "");
    test::WriteProgramFile("w96f_c0__A3.dat", "\x9c\x01,\xff\r\n\x02\x7f\x17,,\r\n");
    test::WriteProgramFile("w96f_c0__A4.dat", header + "0,0,0\r\n0,1,0\r\n0,2");
    test::WriteProgramFile("w96f_c0__B,2.dat", header + "15,15,1\r\n");
    std::vector<std::string> questions;
    PixelEnableMap map;
    const ApplyOutcome out = ApplyWellMasks(port, map, notices, [&](const std::string& q) {
        questions.push_back(q);
        return true;
    });
    EXPECT_EQ(questions, (std::vector<std::string>{"are you sure to Apply configuration?", "2 files integrated. Send to Flash?"}));
    EXPECT_EQ(out.channels, 4);
    EXPECT_TRUE(out.sent);
    const std::string wells = test::ReadProgramFile("w96f_c0_wells.dat");
    for (const char* row : {"\r\n0,0,A1\r\n", "\r\n5,5,B1\r\n", "\r\n10,10,A1\r\n", "\r\n6,6,B1\r\n", "\r\n135,185,A1\r\n",
                            "\r\n20,20,0\r\n", "\r\n5,0,0\r\n"})  // line 140 and pixel 190 lie outside
        EXPECT_NE(wells.find(row), std::string::npos) << row;
    const std::string grid = test::ReadProgramFile("w96f_c0_flash.dat");
    EXPECT_EQ(grid.substr(0, 33), "\"line\",\"pixel\",\"enabled\"\r\n0,0,1\r\n");
    for (const char* row : {"\r\n5,5,1\r\n", "\r\n10,10,1\r\n", "\r\n6,6,0\r\n", "\r\n135,185,1\r\n"})
        EXPECT_NE(grid.find(row), std::string::npos) << row;
    EXPECT_EQ(test::ReadProgramFile("flash0.dat"), grid);
    EXPECT_EQ(map.at(0, 10, 10), kEnabled);
    EXPECT_EQ(map.at(0, 6, 6), 0);
    EXPECT_EQ(byteAt(uploaded(0), 10, 1), 0x04);
    EXPECT_NE(wells.find("\r\n15,15,0\r\n"), std::string::npos);
    const std::string none = " (gave no pixel of a well)\n";
    EXPECT_EQ(messages, (std::vector<std::string>{"Not integrated:\nw96f_c0__A2.dat" + none + "w96f_c0__A3.dat" + none + "w96f_c0__A4.dat" +
                                                  none + "w96f_c0__B,2.dat (its name cannot be written into w96f_c0_wells.dat)",
                                                  "Number of activated channels=4", "quantity activated=4"}));
}

TEST_F(PixelMapTest, WithoutMasksNothingIsMergedAndANoEndsIt)
{
    std::vector<std::string> questions;
    PixelEnableMap map;
    ApplyWellMasks(port, map, notices, [&](const std::string& q) {
        questions.push_back(q);
        return questions.size() < 2;
    });
    EXPECT_EQ(questions.back(), "0 files integrated. Send to Flash?");
    EXPECT_FALSE(platform::FileExists(folder.path() + "/w96f_c0_wells.dat"));
    EXPECT_FALSE(platform::FileExists(folder.path() + "/w96f_c0_flash.dat"));
    EXPECT_EQ(heads(), 0);
}

TEST_F(PixelMapTest, MapFileUpload)
{
    const std::string header = "line,pixel,enabled\r\n";
    struct Case {
        const char* what;
        std::string text;  // empty: no file
        int result;
        std::vector<std::string> messages;
        int heads;
        int line, byte, value;  // one byte of the upload to check
    };
    const std::vector<Case> cases = {
        {"only the header: every pixel on", header, 1, {"file=flash3_1.dat"}, 35, 0, 0, 255},
        {"one pixel off", header + "5,9,0\r\n", 1, {"file=flash3_1.dat"}, 35, 5, 1, 253},
        {"2 and -5 are on", header + "5,9,2\r\n5,10,-5\r\n", 1, {"file=flash3_1.dat"}, 35, 5, 1, 255},
        {"line 140 is never sent", header + "140,3,0\r\n", 1, {"file=flash3_1.dat"}, 35, 139, 0, 255},
        {"short and empty rows are skipped", header + "5,9\r\n\r\n", 1, {"file=flash3_1.dat"}, 35, 5, 1, 255},
        {"pixel 193", header + "5,193,0\r\n", -1, {"file=flash3_1.dat", "error"}, 0, 0, 0, 0},
        {"line 141", header + "141,3,0\r\n", -1, {"file=flash3_1.dat", "error"}, 0, 0, 0, 0},
        {"no number", header + "5,x,0\r\n", -1, {"file=flash3_1.dat", "error"}, 0, 0, 0, 0},
        {"no file", "", -1, {"file=flash3_1.dat", "Flash3_1 not exist"}, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(folder.path() + "/flash3_1.dat");
        if (!c.text.empty()) test::WriteProgramFile("flash3_1.dat", c.text);
        sim->with([](sim::SimState& s) { s.flash.mapHeads = 0; s.flash.pixelMaps[3].assign(144 * 24, '\0'); return 0; });
        messages.clear();
        EXPECT_EQ(SendFlashFile(port, 3, 1, notices), c.result) << c.what;
        EXPECT_EQ(messages, c.messages) << c.what;
        EXPECT_EQ(heads(), c.heads) << c.what;
        if (c.heads) {
            EXPECT_EQ(byteAt(uploaded(3), c.line, c.byte), c.value) << c.what;
            EXPECT_EQ(byteAt(uploaded(3), 140, 0), 0) << c.what;
        }
    }
    session.port_open = false;
    messages.clear();
    EXPECT_EQ(SendFlashFile(port, 3, 1, notices), -1);
    EXPECT_EQ(messages.back(), "COMPORT not opened. Click Connect");
}

}  // namespace
}  // namespace tirmo::devicememory
