#pragma once
// The rubber-band selection of wells on a plate map: a press with the left or right button
// inside the plate (x 0..100, y 0..250, both edges included) starts a drag at its cell; a
// release inside the plate gives the rectangle between the press cell and its own cell (its own
// cell alone without a drag), walked row by row and, within a row, column by column. Every
// release ends the drag. A plate of no rows or columns (nothing drawn yet) has no cells: presses
// and releases on it are ignored. Each map owns one selection, so each window keeps its own drag.
#include <vector>

namespace tirmo::plate {

inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;

// The cell under a point of the plate; false outside the plate or on a plate of no wells.
bool PlateCell(int rows, int columns, double x, double y, int& column, int& row);

class PlateSelection {
public:
    // A press; false when it started no drag (another button, outside the plate, no plate).
    bool Press(int button, double x, double y, int rows, int columns);
    // A release: the wells (column x rows + row) of the rectangle, empty when it selects nothing.
    std::vector<int> Release(int button, double x, double y, int rows, int columns);
    // Ends a drag without selecting (a release the window refuses).
    void Cancel() { active = false; }

    bool active = false;
    int start_row = 0;
    int start_column = 0;
};

}  // namespace tirmo::plate
