#pragma once
// The proportional grid the instrument windows lay their controls out on: six columns across
// 90 % of the window's width after a 5 % left margin, twenty rows across 90 % of its height after
// a 2.5 % top margin. Every position in a window's layout is a fraction or multiple of these
// units, so the whole window scales with its size.
//
// All values are in twips. A window smaller than 640 x 480 twips in either direction is laid out
// as if it were 640 x 480 (both values are replaced, not only the small one).
//
// Several layout values are whole-number products of the units (6 column units plus the left
// margin, 18 row units plus the top margin) that were 16-bit integers in the layouts this grid
// reproduces. A very large window would take them past 32767; rather than wrap into negative
// positions, the grid stops growing at the largest window whose products still fit, and a larger
// window is laid out as that one (the controls keep their size, the extra space stays empty).
namespace tirmo::app {

inline constexpr long long kGridFloorWidth = 640;
inline constexpr long long kGridFloorHeight = 480;
// The largest value a whole-number product of the grid may reach.
inline constexpr long long kGridWholeLimit = 32767;

struct LayoutGrid {
    long long width = 0;   // the window size the grid was computed for, after the floor and the clamp
    long long height = 0;
    long long left_margin = 0;
    long long top_margin = 0;
    long long column_unit = 0;
    long long row_unit = 0;

    // The widest products a layout takes of the units: they stay within kGridWholeLimit.
    long long ColumnSpan() const { return 6 * column_unit + left_margin; }
    long long RowSpan() const { return 18 * row_unit + top_margin; }
};

// The grid of a window width x height twips across (its client area). Values that are not
// numbers count as too small.
LayoutGrid ComputeLayoutGrid(double width, double height);

// The largest window width (height) whose grid still fits, as whole twips; a wider (taller)
// window gets the grid of this one.
long long LargestGridWidth();
long long LargestGridHeight();

}  // namespace tirmo::app
