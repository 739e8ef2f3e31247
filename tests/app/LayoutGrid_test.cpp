#include "app/LayoutGrid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

using namespace tirmo::app;

namespace {

struct GridCase {
    const char* what;
    double width, height;
    long long gridWidth, gridHeight, left, top, column, row;
};

}  // namespace

// Values worked out by hand from the grid's definition; the design size has a half in both the
// left margin (1012.5, down to the even 1012) and the column unit (3037.5, up to the even 3038).
TEST(LayoutGrid, UnitsFollowTheWindowSize)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const GridCase cases[] = {
        {"design client area", 20250, 10635, 20250, 10635, 1012, 266, 3038, 465},
        {"1366 x 768 pixels", 20490, 11520, 20490, 11520, 1024, 288, 3074, 504},
        {"the floor itself", 640, 480, 640, 480, 32, 12, 96, 21},
        {"width below the floor", 639, 480, 640, 480, 32, 12, 96, 21},
        {"height below the floor", 640, 479, 640, 480, 32, 12, 96, 21},
        {"narrow and tall: both replaced", 600, 5000, 640, 480, 32, 12, 96, 21},
        {"wide and low: both replaced", 30000, 400, 640, 480, 32, 12, 96, 21},
        {"fractional sizes round first", 639.5, 480.4, 640, 480, 32, 12, 96, 21},
        {"not a number", nan, 10635, 640, 480, 32, 12, 96, 21},
        {"negative", -20250, -10635, 640, 480, 32, 12, 96, 21},
        {"infinitely large", inf, inf, 34489, 40331, 1724, 1008, 5173, 1764},
    };
    for (const GridCase& c : cases) {
        const LayoutGrid g = ComputeLayoutGrid(c.width, c.height);
        EXPECT_EQ(g.width, c.gridWidth) << c.what;
        EXPECT_EQ(g.height, c.gridHeight) << c.what;
        EXPECT_EQ(g.left_margin, c.left) << c.what;
        EXPECT_EQ(g.top_margin, c.top) << c.what;
        EXPECT_EQ(g.column_unit, c.column) << c.what;
        EXPECT_EQ(g.row_unit, c.row) << c.what;
    }
}

// The 16-bit products of the old layouts: 34489 twips is the last width whose six columns plus
// margin fit (32762); at 34490 they would reach 32768 and wrap, so that width and everything
// wider are laid out as 34489. The same for the height: 40331 gives 32760, 40332 would give 32778.
TEST(LayoutGrid, VeryLargeWindowsStopAtTheLastSizeThatFits)
{
    EXPECT_EQ(LargestGridWidth(), 34489);
    EXPECT_EQ(LargestGridHeight(), 40331);

    const LayoutGrid last = ComputeLayoutGrid(34489, 40331);
    EXPECT_EQ(last.ColumnSpan(), 32762);
    EXPECT_EQ(last.RowSpan(), 32760);

    for (const auto& [width, height] : {std::pair{34490.0, 40332.0}, std::pair{1e6, 1e6}, std::pair{1e300, 1e300}}) {
        const LayoutGrid g = ComputeLayoutGrid(width, height);
        const double beyond = width;
        EXPECT_EQ(g.width, 34489) << beyond;
        EXPECT_EQ(g.height, 40331) << beyond;
        EXPECT_EQ(g.column_unit, last.column_unit) << beyond;
        EXPECT_EQ(g.row_unit, last.row_unit) << beyond;
        EXPECT_LE(g.ColumnSpan(), kGridWholeLimit);
        EXPECT_LE(g.RowSpan(), kGridWholeLimit);
    }
    // One twip less is still laid out at its own size.
    EXPECT_EQ(ComputeLayoutGrid(34488, 40330).width, 34488);
    EXPECT_EQ(ComputeLayoutGrid(34488, 40330).height, 40330);
}

// Every size up to the clamp keeps both spans in range, so no whole product anywhere between the
// floor and the clamp can wrap.
TEST(LayoutGrid, SpansStayInRangeForEverySize)
{
    for (long long w = kGridFloorWidth; w <= LargestGridWidth(); w += 7)
        ASSERT_LE(ComputeLayoutGrid(double(w), 480).ColumnSpan(), kGridWholeLimit) << w;
    for (long long h = kGridFloorHeight; h <= LargestGridHeight(); h += 7)
        ASSERT_LE(ComputeLayoutGrid(640, double(h)).RowSpan(), kGridWholeLimit) << h;
}
