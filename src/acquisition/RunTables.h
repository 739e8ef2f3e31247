#pragma once
// The per-run tables of the main window: the plate geometry the run was prepared from, every
// window pixel's well and place, the sensor mask, the well areas, and the per-well and per-scan
// totals the window completions add up while the run records (its report reads the run files
// they write, which are its record). Run preparation sizes and fills them; nothing here talks
// to a window or to the instrument.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "plate/BandTables.h"
#include "plate/WellTable.h"

namespace tirmo::acquisition {

inline constexpr int kRunCameras = 6;    // cameras 0..5
inline constexpr int kWellSlots = 97;    // wells 0..96 in the per-well tables
inline constexpr int kCountedWells = 96; // wells 0..95 are summed
inline constexpr int kSensorSize = 193;  // sensor columns and rows 0..192
inline constexpr int kFactorSlots = 385; // reference_factors 0..384

// The plate geometry of the format in use, as the plate readers leave it (plate layout, band
// files and the well-name parts of each band). A run keeps its own copy, so that the band
// editor cannot change a running window under the counter.
struct RunGeometry {
    plate::WellTable well_table;
    plate::ColumnBands column_bands;
    plate::RowBands row_bands;
    plate::ColumnLabels column_band_label;  // [camera][column slot]: "3" of A3
    plate::RowLabels row_band_label;        // [camera][row slot]: "A" of A3

    // last - first band + 1 of a camera (0 for a camera without bands).
    int ColumnSlots(int camera) const;
    int RowSlots(int camera) const;
    // Start and end of a camera's band slots.
    int ColumnStart(int camera, int slot) const { return column_bands.startOf(camera, slot); }
    int ColumnEnd(int camera, int slot) const { return column_bands.endOf(camera, slot); }
    int RowStart(int camera, int slot) const { return row_bands.startOf(camera, slot); }
    int RowEnd(int camera, int slot) const { return row_bands.endOf(camera, slot); }
    // E(c): end of the last column slot - start of column slot 0.
    int ColumnExtent(int camera) const { return ColumnEnd(camera, ColumnSlots(camera) - 1) - ColumnStart(camera, 0); }
    // The activity-row name of a cell: row letter of the window's row band, column number of the
    // column band.
    std::string WellLabel(int camera, int columnSlot, int window) const;
};

class RunTables {
public:
    RunGeometry geometry;

    // Sizes: windows 0..max_window, pixels 0..max_window_pixels (the
    // tables hold pixel_slots() pixels, which is more when a window's numbering runs past it),
    // W the widest row band, scans 0..scans.
    int max_window = 0;
    int max_window_pixels = 0;
    int widest_row_band = 0;
    int scans = 0;
    int run_speed = 0;
    int run_exposure = 0;
    int mean_well_pixels = 0;

    std::array<int, kWellSlots> well_pixel_total{};
    std::array<int, kWellSlots> well_window_events{};
    std::array<double, kWellSlots> well_accumulated_activity{};

    // Empties every table (no windows, no pixels, no scans).
    void Clear();
    // Sizes and clears the tables: pixel_well -1 everywhere, well_scan_activity -1.0 for wells
    // 0..95, everything else 0.
    void Resize(int maxWindow, int pixelSlots, int scanCount);

    int pixel_slots() const { return pixelSlots_; }
    int windows() const { return windows_; }
    bool HasPixel(int camera, int window, int pixel) const;
    bool HasSensorCell(int camera, int x, int y) const;

    // Per camera, window and pixel; outside the tables the getters give the cleared value
    // (-1 for pixel_well, "" for the name, 0 or false for the rest).
    int pixel_well(int camera, int window, int pixel) const;
    bool pixel_in_well(int camera, int window, int pixel) const;
    const std::string& pixel_well_name(int camera, int window, int pixel) const;
    int pixel_column_offset(int camera, int window, int pixel) const;
    int pixel_row_offset(int camera, int window, int pixel) const;
    int pixel_column_band(int camera, int window, int pixel) const;
    int pixel_row_band(int camera, int window, int pixel) const;
    bool sensor_well_mask(int camera, int x, int y) const;
    int sensor_cell_index(int camera, int x, int y) const;

    // Per well and scan (scan 0 or more). The tables hold ten scans a minute of the acquisition
    // time, scans 0..scan_slots() - 1; they take memory only as the run reaches a scan (a run of
    // weeks would otherwise claim hundreds of megabytes at its start), and a run that goes on past
    // them grows them instead of writing outside. A scan not written yet reads as cleared.
    void EnsureScan(long scan);
    double well_scan_activity(int well, long scan) const;
    long well_scan_seconds(int well, long scan) const;
    long scan_start_seconds(long scan) const;
    double scan_temperature(long scan) const;
    double& well_scan_activity_ref(int well, long scan);
    int32_t& well_scan_seconds_ref(int well, long scan);
    int32_t& scan_start_seconds_ref(long scan);
    double& scan_temperature_ref(long scan);
    long scan_slots() const { return std::max(scanSlots_, long(scanTemperature_.size())); }

    // The filling side (run preparation) and the counting side (window completion) work on the
    // rows of one window directly. Callers keep camera and window inside the tables.
    struct PixelRow {
        int16_t* well;
        uint8_t* in_well;
        uint8_t* named;  // reached by the pixel-to-well mapping: its cell names it
        int16_t* column_offset;
        int16_t* row_offset;
        int16_t* column_band;
        int16_t* row_band;
    };
    PixelRow Row(int camera, int window);
    struct ConstPixelRow {
        const int16_t* well;
        const uint8_t* in_well;
        const uint8_t* named;
        const int16_t* column_offset;
        const int16_t* row_offset;
        const int16_t* column_band;
        const int16_t* row_band;
    };
    ConstPixelRow Row(int camera, int window) const;
    void SetSensor(int camera, int x, int y, bool inWell, int cell);

private:
    size_t pixelIndex(int camera, int window, int pixel) const
    {
        return (size_t(camera) * size_t(windows_) + size_t(window)) * size_t(pixelSlots_) + size_t(pixel);
    }
    static size_t sensorIndex(int camera, int x, int y)
    {
        return (size_t(camera) * kSensorSize + size_t(x)) * kSensorSize + size_t(y);
    }
    void growScans(size_t slots);

    int windows_ = 0;
    int pixelSlots_ = 0;
    std::vector<int16_t> pixelWell_, columnOffset_, rowOffset_, columnBand_, rowBand_;
    std::vector<uint8_t> inWell_, named_;
    std::vector<uint8_t> sensorMask_;
    std::vector<int16_t> sensorCell_;
    // Per scan: kWellSlots entries per scan, scan after scan, for the scans reached so far.
    long scanSlots_ = 0;
    std::vector<double> wellScanActivity_;
    std::vector<int32_t> wellScanSeconds_;
    std::vector<int32_t> scanStartSeconds_;
    std::vector<double> scanTemperature_;
};

}  // namespace tirmo::acquisition
