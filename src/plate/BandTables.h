#pragma once
// The band tables of the format in use. A column band is the range of sensor lines that holds
// one plate column of a camera's field; a row band the range of pixels within a line that holds
// one plate row. Per camera 0..6: the first and last plate column (row) it sees, -1 for none,
// and per local band (plate column minus first) the start and end.
#include <array>
#include <string>

namespace tirmo::plate {

inline constexpr int kBandCameras = 7;  // cameras 0..6

// The grid of the well-calibration panel, which the camera selectors and this band editor share:
// six columns (the step buttons in 0, 2, 3 and 5 beside each band's start and end box in 1 and
// 4); each band's list on its row, its boxes and step buttons on the next; the plate format
// under them.
inline constexpr int kCalibrationColumns = 6;
inline constexpr int kColumnListRow = 1;
inline constexpr int kRowListRow = 3;
inline constexpr int kPlateFormatRow = 5;

template <int N>
struct Bands {
    static constexpr int kBands = N;  // local bands 0..N-1
    std::array<int, kBandCameras> first{-1, -1, -1, -1, -1, -1, -1};
    std::array<int, kBandCameras> last{-1, -1, -1, -1, -1, -1, -1};
    std::array<std::array<int, N>, kBandCameras> start{};
    std::array<std::array<int, N>, kBandCameras> end{};

    static bool InBounds(int camera, int band) { return camera >= 0 && camera < kBandCameras && band >= 0 && band < N; }
    // The number of bands of a camera (0 when it has none).
    int count(int camera) const
    {
        if (camera < 0 || camera >= kBandCameras || first[size_t(camera)] < 0) return 0;
        const int n = last[size_t(camera)] - first[size_t(camera)] + 1;
        return n < 0 ? 0 : (n > N ? N : n);
    }
    int startOf(int camera, int band) const { return InBounds(camera, band) ? start[size_t(camera)][size_t(band)] : 0; }
    int endOf(int camera, int band) const { return InBounds(camera, band) ? end[size_t(camera)][size_t(band)] : 0; }
};

using ColumnBands = Bands<13>;  // up to 13 column bands (sensor lines)
using RowBands = Bands<9>;      // up to 9 row bands (pixels within a line)

// The name parts of the wells per camera and local band: the column number ("3" of A3) and
// the row letter ("A").
using ColumnLabels = std::array<std::array<std::string, ColumnBands::kBands>, kBandCameras>;
using RowLabels = std::array<std::array<std::string, RowBands::kBands>, kBandCameras>;

}  // namespace tirmo::plate
