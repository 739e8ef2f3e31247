#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "plate/WellPixelMask.h"
#include "platform/ProgramFolder.h"
#include "support/ProgramFiles.h"
#include "support/TempFolder.h"

namespace tirmo::plate {
namespace {

// A bright disc of radius 12 around (pixel 90, line 70) on a dark frame of 143 x 183 cells.
int disc(int pixel, int line)
{
    if (pixel < 0 || pixel > 182 || line < 0 || line > 182) return -1;
    return std::hypot(pixel - 90, line - 70) <= 12 ? 200 : 20;
}

class WellPixelMaskTest : public ::testing::Test {
protected:
    void SetUp() override { platform::SetProgramFolder(folder.path()); }
    test::TempFolder folder;
};

TEST_F(WellPixelMaskTest, ABrightDiscBecomesAFilledMaskWrittenInBothFiles)
{
    const WellMask mask = BuildWellMask(disc, 90, 70);
    ASSERT_TRUE(mask.built);
    for (int line = 0; line < kMaskLines; ++line)
        for (int p = 0; p < kMaskPixels; ++p) {
            const double r = std::hypot(p - 90, line - 70);
            if (r <= 9 || r >= 14) {
                EXPECT_EQ(MaskAt(mask.full, line, p), r <= 9) << p << "," << line;
            }
            // Within the disc's reach its mask is its own mirror image across either axis.
            EXPECT_TRUE(r >= 20 || (MaskAt(mask.full, line, p) == MaskAt(mask.full, line, 180 - p) &&
                                    MaskAt(mask.full, line, p) == MaskAt(mask.full, 140 - line, p))) << p << "," << line;
            EXPECT_TRUE(!MaskAt(mask.sampled, line, p) || (line % 5 == 0 && p % 5 == 0 && MaskAt(mask.full, line, p))) << p << "," << line;
        }

    const auto well = ParseWellName("H", "12");
    ASSERT_TRUE(well);
    EXPECT_EQ(WriteWellMasks(*well, mask), "");
    const std::string full = test::ReadProgramFile("w96f_c0full__H12.dat");
    const std::string sampled = test::ReadProgramFile("w96f_c0__H12.dat");
    for (const std::string* text : {&full, &sampled}) {
        EXPECT_EQ(text->substr(0, 31), "\"line\",\"pixel\",\"enabled\"\r\n0,0,0") << "header, then line 0 pixel 0";
        EXPECT_EQ(std::count(text->begin(), text->end(), '\n'), 26601);
        EXPECT_EQ(text->substr(text->size() - 13), "\r\n139,189,0\r\n");
    }
    EXPECT_NE(full.find("\r\n70,90,1\r\n"), std::string::npos);
    EXPECT_NE(sampled.find("\r\n70,90,1\r\n"), std::string::npos);
    EXPECT_NE(sampled.find("\r\n70,91,0\r\n"), std::string::npos) << "sampled only every fifth pixel";
}

TEST_F(WellPixelMaskTest, ACentreOnOrNextToTheEdgeOrInAnUnreadFrameBuildsNothing)
{
    auto unread = [](int, int) { return -1; };
    // Only the pixels of lines 60..80 came from the camera: the rays end where the data ends.
    auto band = [](int pixel, int line) { return line < 60 || line > 80 ? -1 : disc(pixel, line); };
    struct Case {
        const char* what;
        FrameCell cell;
        int cx, cy;
        bool built;
    } cases[] = {
        {"centre at pixel 0", disc, 0, 70, false},
        {"centre at line 139", disc, 90, 139, false},
        {"centre one step inside", disc, 1, 70, false},
        {"never fetched", unread, 90, 70, false},
        {"two steps inside", disc, 90, 2, true},
        {"fetched lines only", band, 90, 70, true},
    };
    for (const Case& c : cases) {
        const WellMask mask = BuildWellMask(c.cell, c.cx, c.cy);
        EXPECT_EQ(mask.built, c.built) << c.what;
        if (!c.built) continue;
        for (int line = 0; line < kMaskLines; ++line)
            for (int p = 0; p < kMaskPixels; ++p)
                if (MaskAt(mask.full, line, p) && c.cell(p, line) < 0) ADD_FAILURE() << c.what << " marks unread " << p << "," << line;
    }
}

TEST_F(WellPixelMaskTest, OnlyRowsAToHAndColumns1To12NameMaskFiles)
{
    struct Case {
        const char *row, *column;
        bool ok;
    } cases[] = {{"A", "1", true},   {"H", "12", true}, {"B", "7", true},  {"I", "1", false}, {"a", "1", false},
                 {"", "1", false},   {"A", "0", false}, {"A", "13", false}, {"A", "01", false}, {"../x", "1", false},
                 {"A", "1/..", false}, {"AB", "1", false}};
    for (const Case& c : cases) EXPECT_EQ(ParseWellName(c.row, c.column).has_value(), c.ok) << c.row << c.column;
    EXPECT_EQ(FullMaskPath(*ParseWellName("B", "7")), platform::ProgramPath("w96f_c0full__B7.dat"));
}

}  // namespace
}  // namespace tirmo::plate
