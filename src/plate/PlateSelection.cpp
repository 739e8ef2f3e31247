#include "plate/PlateSelection.h"

#include <algorithm>
#include <cmath>

#include "plate/PlateMap.h"

namespace tirmo::plate {

bool PlateCell(int rows, int columns, double x, double y, int& column, int& row)
{
    if (rows <= 0 || columns <= 0) return false;
    if (!(x >= 0 && x <= kPlateWidth && y >= 0 && y <= kPlateHeight)) return false;
    // The right and bottom edges belong to the last column and row.
    column = std::min(int(std::floor(x / (kPlateWidth / columns))), columns - 1);
    row = std::min(int(std::floor(y / (kPlateHeight / rows))), rows - 1);
    return true;
}

bool PlateSelection::Press(int button, double x, double y, int rows, int columns)
{
    if (button != kLeftButton && button != kRightButton) return false;
    int column = 0, row = 0;
    if (!PlateCell(rows, columns, x, y, column, row)) return false;
    start_column = column;
    start_row = row;
    active = true;
    return true;
}

std::vector<int> PlateSelection::Release(int button, double x, double y, int rows, int columns)
{
    const bool dragged = active;
    active = false;
    std::vector<int> wells;
    int column = 0, row = 0;
    if ((button != kLeftButton && button != kRightButton) || !PlateCell(rows, columns, x, y, column, row)) return wells;
    int firstRow = row, lastRow = row, firstColumn = column, lastColumn = column;
    if (dragged) {
        firstRow = std::min(row, start_row);
        lastRow = std::max(row, start_row);
        firstColumn = std::min(column, start_column);
        lastColumn = std::max(column, start_column);
    }
    for (int r = firstRow; r <= lastRow; ++r)
        for (int c = firstColumn; c <= lastColumn; ++c) wells.push_back(c * rows + r);
    return wells;
}

}  // namespace tirmo::plate
