#include "acquisition/RunPreparation.h"

#include <algorithm>
#include <cmath>

#include "platform/Convert.h"

namespace tirmo::acquisition {
namespace {

constexpr int kWellMargin = 4;  // pixels left out at the rim of every well shape

std::string cellText(int camera, int column, int row)
{
    return "the cell of camera " + std::to_string(camera) + ", column slot " + std::to_string(column) + ", row slot " +
           std::to_string(row);
}

template <int N>
std::string bandFault(const plate::Bands<N>& bands, int camera, const char* kind, int tableSlots, int lastCoordinate)
{
    const int first = bands.first[size_t(camera)], last = bands.last[size_t(camera)];
    const std::string cam = "camera " + std::to_string(camera);
    if (first < 0 || last < first) return cam + " has no " + kind + " bands";
    if (last - first + 1 > tableSlots)
        return cam + " has " + std::to_string(last - first + 1) + " " + kind + " bands; the plate table holds " +
               std::to_string(tableSlots);
    for (int s = 0; s <= last - first; ++s) {
        const int a = bands.startOf(camera, s), b = bands.endOf(camera, s);
        const std::string band =
            cam + ", " + kind + " band " + std::to_string(first + s) + " (" + std::to_string(a) + " to " + std::to_string(b) + ")";
        if (b < a) return band + " ends before it starts";
        if (a < 0 || b > lastCoordinate)
            return band + " lies outside the sensor (0 to " + std::to_string(lastCoordinate) + ")";
    }
    return {};
}

std::string percentFault(const plate::WellCell& cell, const char* axis, int ini, int end)
{
    if (ini >= 0 && ini < end && end <= 100) return {};
    std::string what = std::string(axis) + " percentages " + std::to_string(ini) + " to " + std::to_string(end);
    if (cell.name.empty()) what += " (no plate layout line names it)";
    return what;
}

// Pixels a window's numbering uses: every column band gives Wc + 1 lines of Wr + 1 pixels.
long numberedPixels(const RunGeometry& g, int camera, int window)
{
    const long height = g.RowEnd(camera, window) - g.RowStart(camera, window) + 1;
    long lines = 0;
    for (int s = 0; s < g.ColumnSlots(camera); ++s) lines += g.ColumnEnd(camera, s) - g.ColumnStart(camera, s) + 1;
    return lines * height;
}

int roundToInt(double v) { return int(platform::RoundHalfEven(v)); }

// The well shape mask of one window: pixel numbers follow the lines of each column band whose
// well has a width; a band whose well has none uses no numbers.
void markWellShapes(const RunGeometry& g, RunTables& t, int c, int w)
{
    RunTables::PixelRow row = t.Row(c, w);
    const int wr = g.RowEnd(c, w) - g.RowStart(c, w);
    const int lastSlot = g.ColumnSlots(c) - 1;
    int pixel = 0;
    for (int s = 0; s <= lastSlot; ++s) {
        const plate::WellCell& cell = g.well_table.at(c, s, w);
        const int wc = g.ColumnEnd(c, s) - g.ColumnStart(c, s);
        const double a = 100.0 / std::abs(cell.row_ini - cell.row_end) * wr;
        const double b = 100.0 / std::abs(cell.col_ini - cell.col_end) * wc;
        const double centre = double(roundToInt(a / 2));
        const double radius = b / 2 - kWellMargin;
        if (!(b > 0)) continue;
        for (int x = 0; x <= wc; ++x) {
            const double d = cell.col_ini == 0 ? std::fabs(b / 2 - x) : wc - std::fabs(b / 2 - x);
            const double hc = std::sqrt(std::fabs(radius * radius - d * d));
            const double hr = double(roundToInt(hc)) * a / b;
            for (int y = wr; y >= 0; --y) {
                ++pixel;
                bool inside;
                if (cell.row_ini == 0 && cell.row_end == 100) inside = centre - hr <= y && y <= centre + hr;
                else if (cell.row_ini == 0 && cell.row_end == 50) inside = y <= hr;
                else if (cell.row_ini == 50 && cell.row_end == 100) inside = y >= wr - hr;
                else inside = false;
                if (inside) {
                    if (cell.col_ini == 0) inside = kWellMargin <= x && x <= b - kWellMargin;
                    else inside = cell.col_ini >= 50 && x <= wc - kWellMargin;
                }
                row.in_well[pixel] = inside ? 1 : 0;
                t.SetSensor(c, g.ColumnStart(c, s) + x, g.RowStart(c, w) + y, inside, (lastSlot + 1) * w + s);
            }
        }
    }
}

// Pixel to well mapping of one window. A well's count restarts with each of its cells, so a
// well spread over several cells keeps the count of the last one.
void mapPixels(const RunGeometry& g, RunTables& t, int c, int w)
{
    RunTables::PixelRow row = t.Row(c, w);
    const int wr = g.RowEnd(c, w) - g.RowStart(c, w);
    int pixel = 0;
    for (int s = 0; s < g.ColumnSlots(c); ++s) {
        const plate::WellCell& cell = g.well_table.at(c, s, w);
        t.well_pixel_total[size_t(cell.dataindex)] = 0;
        const int wc = g.ColumnEnd(c, s) - g.ColumnStart(c, s);
        for (int x = 0; x <= wc; ++x) {
            for (int y = wr; y >= 0; --y) {
                ++pixel;
                row.named[pixel] = 1;
                row.column_offset[pixel] = int16_t(x);
                row.row_offset[pixel] = int16_t(y);
                row.column_band[pixel] = int16_t(s);
                row.row_band[pixel] = int16_t(w);
                if (row.in_well[pixel]) {
                    row.well[pixel] = int16_t(cell.dataindex);
                    ++t.well_pixel_total[size_t(cell.dataindex)];
                } else {
                    row.well[pixel] = -1;
                }
            }
        }
    }
}

}  // namespace

CameraSpeed SpeedForWidth(int W, int generation)
{
    // Upper bounds (inclusive) of each speed code; the factor falls with the speed.
    struct Step {
        int upTo, speed, factor;
    };
    static constexpr Step kSecond[] = {{50, 1, 7}, {65, 2, 6}, {90, 3, 5}, {114, 4, 4},
                                       {133, 5, 3}, {151, 6, 2}, {170, 7, 1}};
    static constexpr Step kFirst[] = {{50, 1, 7}, {65, 2, 6}, {100, 3, 5}, {120, 4, 4}, {140, 5, 3}, {160, 6, 2}};
    if (generation >= 2) {
        for (const Step& s : kSecond)
            if (W <= s.upTo) return {s.speed, s.factor};
        return {8, 1};
    }
    for (const Step& s : kFirst)
        if (W <= s.upTo) return {s.speed, s.factor};
    return {7, 1};
}

std::string GeometryFault(const RunGeometry& g)
{
    for (int c = 0; c < kRunCameras; ++c) {
        if (auto f = bandFault(g.column_bands, c, "column", plate::kLocalColumns, kLastSensorColumn); !f.empty()) return f;
        if (auto f = bandFault(g.row_bands, c, "row", plate::kLocalRows, kLastSensorRow); !f.empty()) return f;
    }
    for (int c = 0; c < kRunCameras; ++c) {
        for (int w = 0; w < g.RowSlots(c); ++w) {
            for (int s = 0; s < g.ColumnSlots(c); ++s) {
                const plate::WellCell& cell = g.well_table.at(c, s, w);
                if (auto f = percentFault(cell, "column", cell.col_ini, cell.col_end); !f.empty())
                    return cellText(c, s, w) + " has " + f;
                if (auto f = percentFault(cell, "row", cell.row_ini, cell.row_end); !f.empty())
                    return cellText(c, s, w) + " has " + f;
                if (cell.dataindex < 0 || cell.dataindex >= kWellSlots)
                    return cellText(c, s, w) + " names well number " + std::to_string(cell.dataindex) +
                           ", outside 0 to " + std::to_string(kWellSlots - 1);
            }
            const long extent = g.ColumnExtent(c);
            const long height = g.RowEnd(c, w) - g.RowStart(c, w);
            const long sizes[] = {(extent + 2) * (height + 2), numberedPixels(g, c, w)};
            for (long n : sizes)
                if (n > kMaxTablePixels)
                    return "window " + std::to_string(w) + " of camera " + std::to_string(c) + " needs " +
                           std::to_string(n) + " pixels; at most " + std::to_string(kMaxTablePixels);
        }
    }
    return {};
}

int ScanCount(double minutes)
{
    if (!(minutes > 0)) return 0;
    return int(platform::RoundHalfEven(std::min(minutes, double(kMaxScanMinutes)) * 10));
}

PreparationResult PrepareAcquisition(const RunGeometry& geometry, const PreparationSettings& settings, RunTables& t)
{
    if (std::string fault = GeometryFault(geometry); !fault.empty()) {
        t.Clear();
        return {-1, std::string(kConfigurationError) + ": " + fault};
    }
    t.geometry = geometry;
    const RunGeometry& g = t.geometry;

    // Sizes. The pixel tables also make room for a window whose numbering runs past
    // (E + 2) x (Wr + 2), as three bands sharing their boundary lines do.
    int maxPixels = 0, widest = 0, maxWindow = 0;
    long numbered = 0;
    for (int c = 0; c < kRunCameras; ++c) {
        for (int w = 0; w < g.RowSlots(c); ++w) {
            const int wr = g.RowEnd(c, w) - g.RowStart(c, w);
            maxPixels = std::max(maxPixels, (g.ColumnExtent(c) + 2) * (wr + 2));
            widest = std::max(widest, wr);
            numbered = std::max(numbered, numberedPixels(g, c, w));
        }
        maxWindow = std::max(maxWindow, g.RowSlots(c) - 1);
    }
    t.max_window_pixels = maxPixels;
    t.widest_row_band = widest;
    t.max_window = maxWindow;
    t.scans = ScanCount(settings.acquisition_minutes);
    t.Resize(maxWindow, int(std::max<long>(maxPixels, numbered)) + 1, t.scans);

    const CameraSpeed speed = SpeedForWidth(widest, settings.hardware_generation);
    t.run_speed = speed.speed;
    t.run_exposure = settings.default_exposure * speed.factor;

    for (int c = 0; c < kRunCameras; ++c)
        for (int w = 0; w < g.RowSlots(c); ++w) markWellShapes(g, t, c, w);
    for (int c = 0; c < kRunCameras; ++c)
        for (int w = 0; w < g.RowSlots(c); ++w) mapPixels(g, t, c, w);

    long total = 0;
    int wells = 0;
    for (int well = 0; well < kWellSlots; ++well) {
        if (t.well_pixel_total[size_t(well)] <= 0) continue;
        total += t.well_pixel_total[size_t(well)];
        ++wells;
    }
    if (wells == 0) return {-1, kConfigurationError};
    t.mean_well_pixels = int(platform::RoundHalfEven(double(total) / wells));
    return {1, {}};
}

}  // namespace tirmo::acquisition
