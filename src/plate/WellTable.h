#pragma once
// The plate table of the format in use: per camera, local column and local row inside the
// camera's field, the well that lies there and the part of the camera's bands it covers.
#include <array>
#include <string>

namespace tirmo::plate {

inline constexpr int kTableCameras = 6;  // cameras 0..5
inline constexpr int kLocalColumns = 8;  // local columns 0..7
inline constexpr int kLocalRows = 8;     // local rows 0..7

struct WellCell {
    int dataindex = 0;  // the well number
    int plotindex = 0;
    std::string name;  // "A1"; empty where no line named the cell
    // Part of the camera's column band and row band the well covers, percent of the band
    // (0 = band start, 100 = band end).
    int col_ini = 0, col_end = 0, row_ini = 0, row_end = 0;
};

class WellTable {
public:
    static bool InBounds(int camera, int column, int row)
    {
        return camera >= 0 && camera < kTableCameras && column >= 0 && column < kLocalColumns && row >= 0 &&
               row < kLocalRows;
    }
    // The cell; callers keep within InBounds.
    WellCell& at(int camera, int column, int row) { return cells_[index(camera, column, row)]; }
    const WellCell& at(int camera, int column, int row) const { return cells_[index(camera, column, row)]; }
    void Clear() { cells_.fill(WellCell{}); }

private:
    static size_t index(int camera, int column, int row)
    {
        return (size_t(camera) * kLocalColumns + size_t(column)) * kLocalRows + size_t(row);
    }
    std::array<WellCell, kTableCameras * kLocalColumns * kLocalRows> cells_{};
};

}  // namespace tirmo::plate
