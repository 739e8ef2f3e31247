#pragma once
// Moving the edges of a camera's bands one sensor step at a time, as the operator lines the
// bands up with the wells, and the well-area check that shows how evenly the well windows
// are sized.
#include <optional>
#include <string>

#include "plate/BandTables.h"

namespace tirmo::plate {

enum class BandButton { StartDown, StartUp, EndDown, EndUp };

// Changes band `band` of `camera` by one step. The start never goes below 0; the end goes up
// only while it is below endLimit (the window's line or pixel count minus 1). The neighbours
// stay in order: a start that passes the previous band's end pulls that end along, and an end
// that passes the next band's start pushes that start along. A move that would leave the band
// or the neighbour it moves with ending before its start is refused. Returns the new value of
// the edge moved, or nullopt, with the tables as they were, when the move is refused or the
// camera or band lies outside the tables.
template <int N>
std::optional<int> MoveBandEdge(Bands<N>& bands, int camera, int band, BandButton button, long endLimit);

// A column band's start typed by the operator: taken only when 0 < typed < lines - 1 (a typed
// 0 is refused although the minus button reaches it), rounded halves to even, and the previous
// band's end is set to it so the two bands meet. Returns the stored start, or nullopt when the
// value, camera or band is refused and nothing changed.
std::optional<int> SetTypedColumnStart(ColumnBands& bands, int camera, int band, double typed, double lines);

// The text of the well-area check for the band editor's format: the format code, then one
// line "Well(A1)=1.00" per well with the well's window area (column band width x row band
// width) divided by the mean of all the format's wells; lines end in CR LF. "w6" and "w24"
// only; any other format gives an empty text. When the mean area is 0 (no bands loaded) no
// ratio can be given and each well reads "-".
std::string WellAreaPercentText(const std::string& format, const ColumnBands& column_bands, const RowBands& row_bands);

}  // namespace tirmo::plate
