#include <gtest/gtest.h>

#include <fstream>

#include "reports/PixelActivityFile.h"
#include "support/TempFolder.h"

namespace tirmo::reports {
namespace {

std::string block(long scan, const std::string& time, const std::string& rows)
{
    return "scan," + std::to_string(scan) + "\r\ntime[m],\"" + time + "\"\r\n" + rows + "\r\n";
}

TEST(PixelActivityReader, ReadsWholeBlocksAndStopsAtTheFirstCutOrDamagedOne)
{
    struct Case {
        const char* what;
        std::string text;
        std::vector<double> minutes;              // of the blocks read
        std::vector<std::vector<int32_t>> first;  // counts of each block's first row
        std::string error;                        // part of error(), "" for a clean end
        long negatives = 0;                       // read as 0
    };
    const std::string a = block(0, "0.5", "A1,4,0,2,-,1\r\nB1,5,7\r\n");
    // Rows long enough to be read several fields at a time.
    const std::string longRow = "A1,4,-,-,0,1,2,3,4,5,6,7,8,9,0,-,12,0,-,-";
    const std::vector<int32_t> longCounts = {-1, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, -1, 12, 0, -1, -1};
    const Case cases[] = {
        {"the last field is read, - is outside", a, {0.5}, {{0, 2, -1, 1}}, ""},
        {"comma time", block(3, "12,5", "A1,4,9\r\n"), {12.5}, {{9}}, ""},
        {"cut last block", a + "scan,1\r\ntime[m],\"1.0\"\r\nA1,4,3", {0.5}, {{0, 2, -1, 1}}, ""},
        {"block without its empty line", a + "scan,1\r\ntime[m],\"1.0\"\r\nA1,4,3\r\n", {0.5}, {{0, 2, -1, 1}}, ""},
        {"the most a run writes", block(0, "0.5", "A1,4,1048838903\r\n"), {0.5}, {{1048838903}}, ""},
        {"one more", a + block(1, "1.0", "A1,4,1048838904\r\n"), {0.5}, {{0, 2, -1, 1}}, "line 8"},
        {"the last scan a run reaches", block(152000, "33440.0", "A1,4,1\r\n"), {33440}, {{1}}, ""},
        {"a scan past it", block(152001, "33440.0", "A1,4,1\r\n"), {}, {}, "line 1"},
        {"a time past the latest", block(0, "33440.1", "A1,4,1\r\n"), {}, {}, "line 2"},
        {"a scan repeated", a + block(0, "1.0", "A1,4,1\r\n"), {0.5}, {{0, 2, -1, 1}}, "line 6"},
        {"long row", block(0, "0.5", longRow + "\r\n"), {0.5}, {longCounts}, ""},
        {"long row, letter", block(0, "0.5", "A1,4,-,-,0,1,2,x,4,5,6,7,8,9,0,-,12,0\r\n"), {}, {}, "line 3"},
        {"long row, empty cell", block(0, "0.5", "A1,4,-,-,0,1,2,,,4,5,6,7,8,9,0,-,12,0\r\n"), {}, {}, "line 3"},
        {"endless row", "scan,0\r\ntime[m],\"0.5\"\r\nA1,4" + std::string(1100000, ','), {}, {}, "line 3"},
        {"negative counts are inactive", block(0, "0.5", "A1,4,-3,-,-0,-99999999999\r\nB1,5,-1\r\n"), {0.5},
         {{0, -1, 0, 0}}, "", 3},
        {"a negative count among short fields", block(0, "0.5", longRow.substr(0, 21) + "-7," + longRow.substr(21) + "\r\n"),
         {0.5}, {{-1, -1, 0, 1, 2, 3, 4, 5, 0, 6, 7, 8, 9, 0, -1, 12, 0, -1, -1}}, "", 1},
        {"two minus signs", block(0, "0.5", "A1,4,--3\r\n"), {}, {}, "line 3"},
        {"empty cell", block(0, "0.5", "A1,4,1,,2\r\n"), {}, {}, "line 3"},
        {"no scan line", "time[m],\"1.0\"\r\n\r\n", {}, {}, "line 1"},
        {"bad time", block(0, "x", "A1,4,1\r\n"), {}, {}, "line 2"},
    };
    test::TempFolder folder;
    for (const auto& c : cases) {
        const std::string path = folder.path() + "/" + PixelActivityFileName(0, 1);
        std::ofstream(path, std::ios::binary) << c.text;
        PixelActivityReader reader(path);
        ASSERT_TRUE(reader.is_open()) << c.what;
        PixelActivityBlock b;
        std::vector<double> minutes;
        std::vector<std::vector<int32_t>> first;
        while (reader.Next(b)) {
            minutes.push_back(b.minutes);
            first.push_back(b.lines.at(0).counts);
        }
        EXPECT_EQ(minutes, c.minutes) << c.what;
        EXPECT_EQ(first, c.first) << c.what;
        EXPECT_EQ(reader.negative_counts(), c.negatives) << c.what;
        EXPECT_NE(reader.error().find(c.error), std::string::npos) << c.what << ": " << reader.error();
        if (c.error.empty()) EXPECT_EQ(reader.error(), "") << c.what;
        else EXPECT_NE(reader.error().find("wellactivity01.csv"), std::string::npos) << c.what;
        EXPECT_FALSE(reader.Next(b)) << c.what << ": nothing after the end";
    }
    // The rows of a block with their wells and column offsets, the second reusing the first's.
    std::ofstream(folder.path() + "/w.csv", std::ios::binary) << a << block(1, "1.0", "C2,6,5\r\n");
    PixelActivityReader reader(folder.path() + "/w.csv");
    PixelActivityBlock b;
    ASSERT_TRUE(reader.Next(b));
    ASSERT_EQ(b.lines.size(), 2u);
    EXPECT_EQ(b.lines[1].well, "B1");
    EXPECT_EQ(b.lines[1].row, 5);
    ASSERT_TRUE(reader.Next(b));
    EXPECT_EQ(b.scan, 1);
    ASSERT_EQ(b.lines.size(), 1u);
    EXPECT_EQ(b.lines[0].well, "C2");
    EXPECT_EQ(b.lines[0].counts, std::vector<int32_t>{5});

    PixelActivityReader missing(folder.path() + "/wellactivity51.csv");
    EXPECT_FALSE(missing.is_open());
    EXPECT_FALSE(missing.Next(b));
    EXPECT_EQ(missing.error(), "");
}

}  // namespace
}  // namespace tirmo::reports
