#include "app/LayoutGrid.h"

#include <algorithm>
#include <cmath>

#include "platform/Convert.h"

namespace tirmo::app {
namespace {

using platform::RoundHalfEven;

// Window sizes are rounded to whole twips first; anything beyond this is far past the clamp and
// is cut here so the rounding into an integer stays defined.
constexpr double kSizeLimit = 1e9;

long long WholeSize(double value) { return RoundHalfEven(std::clamp(value, -kSizeLimit, kSizeLimit)); }

// The units of one axis, rounded as the layouts always rounded them (halves to even).
long long LeftMargin(long long width) { return RoundHalfEven(0.05 * double(width)); }
long long TopMargin(long long height) { return RoundHalfEven(0.025 * double(height)); }
long long ColumnUnit(long long width) { return RoundHalfEven(double(RoundHalfEven(0.9 * double(width))) / 6.0); }
long long RowUnit(long long height)
{
    return RoundHalfEven(double(RoundHalfEven(0.9 * double(height)) - TopMargin(height)) / 20.0);
}

bool WidthFits(long long width) { return 6 * ColumnUnit(width) + LeftMargin(width) <= kGridWholeLimit; }
bool HeightFits(long long height) { return 18 * RowUnit(height) + TopMargin(height) <= kGridWholeLimit; }

// The size just before the first one whose span leaves the range: a window growing past it
// stops there. A scan rather than a bisection, since rounding each margin and unit on its own
// does not promise that the span grows with every twip; it runs once.
template <class Fits>
long long LargestFitting(long long floor, Fits fits)
{
    long long size = floor;
    while (fits(size + 1)) ++size;
    return size;
}

}  // namespace

long long LargestGridWidth()
{
    static const long long largest = LargestFitting(kGridFloorWidth, WidthFits);
    return largest;
}

long long LargestGridHeight()
{
    static const long long largest = LargestFitting(kGridFloorHeight, HeightFits);
    return largest;
}

LayoutGrid ComputeLayoutGrid(double width, double height)
{
    LayoutGrid g;
    // A NaN size fails both comparisons and so counts as too small.
    const bool numbers = width == width && height == height;
    long long w = numbers ? WholeSize(width) : 0;
    long long h = numbers ? WholeSize(height) : 0;
    if (w < kGridFloorWidth || h < kGridFloorHeight) {
        w = kGridFloorWidth;
        h = kGridFloorHeight;
    }
    g.width = std::min(w, LargestGridWidth());
    g.height = std::min(h, LargestGridHeight());
    g.left_margin = LeftMargin(g.width);
    g.top_margin = TopMargin(g.height);
    g.column_unit = ColumnUnit(g.width);
    g.row_unit = RowUnit(g.height);
    return g;
}

}  // namespace tirmo::app
