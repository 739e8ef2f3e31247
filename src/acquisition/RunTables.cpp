#include "acquisition/RunTables.h"

namespace tirmo::acquisition {
namespace {

const std::string kNoName;

template <int N>
int slots(const plate::Bands<N>& bands, int camera)
{
    if (camera < 0 || camera >= plate::kBandCameras) return 0;
    const int first = bands.first[size_t(camera)], last = bands.last[size_t(camera)];
    return first < 0 || last < first ? 0 : last - first + 1;
}

}  // namespace

int RunGeometry::ColumnSlots(int camera) const { return slots(column_bands, camera); }
int RunGeometry::RowSlots(int camera) const { return slots(row_bands, camera); }

std::string RunGeometry::WellLabel(int camera, int columnSlot, int window) const
{
    if (camera < 0 || camera >= plate::kBandCameras) return {};
    std::string name;
    if (window >= 0 && window < plate::RowBands::kBands) name = row_band_label[size_t(camera)][size_t(window)];
    if (columnSlot >= 0 && columnSlot < plate::ColumnBands::kBands)
        name += column_band_label[size_t(camera)][size_t(columnSlot)];
    return name;
}

void RunTables::Clear()
{
    Resize(-1, 0, -1);
    max_window = max_window_pixels = widest_row_band = scans = 0;
    run_speed = run_exposure = mean_well_pixels = 0;
}

void RunTables::Resize(int maxWindow, int pixelSlots, int scanCount)
{
    windows_ = maxWindow < 0 ? 0 : maxWindow + 1;
    pixelSlots_ = pixelSlots < 0 ? 0 : pixelSlots;
    const size_t n = size_t(kRunCameras) * size_t(windows_) * size_t(pixelSlots_);
    pixelWell_.assign(n, -1);
    inWell_.assign(n, 0);
    named_.assign(n, 0);
    columnOffset_.assign(n, 0);
    rowOffset_.assign(n, 0);
    columnBand_.assign(n, 0);
    rowBand_.assign(n, 0);
    sensorMask_.assign(size_t(kRunCameras) * kSensorSize * kSensorSize, 0);
    sensorCell_.assign(sensorMask_.size(), 0);

    well_pixel_total.fill(0);
    well_window_events.fill(0);
    well_accumulated_activity.fill(0.0);
    wellScanActivity_.clear();
    wellScanSeconds_.clear();
    scanStartSeconds_.clear();
    scanTemperature_.clear();
    scanSlots_ = scanCount < 0 ? 0 : long(scanCount) + 1;
}

void RunTables::growScans(size_t slots)
{
    const size_t from = scanTemperature_.size();
    if (slots <= from) return;
    wellScanActivity_.resize(slots * kWellSlots, 0.0);
    for (size_t s = from; s < slots; ++s)
        for (int w = 0; w < kCountedWells; ++w) wellScanActivity_[s * kWellSlots + size_t(w)] = -1.0;
    wellScanSeconds_.resize(slots * kWellSlots, 0);
    scanStartSeconds_.resize(slots, 0);
    scanTemperature_.resize(slots, 0.0);
}

void RunTables::EnsureScan(long scan)
{
    if (scan >= 0) growScans(size_t(scan) + 1);
}

bool RunTables::HasPixel(int camera, int window, int pixel) const
{
    return camera >= 0 && camera < kRunCameras && window >= 0 && window < windows_ && pixel >= 0 &&
           pixel < pixelSlots_;
}

bool RunTables::HasSensorCell(int camera, int x, int y) const
{
    return camera >= 0 && camera < kRunCameras && x >= 0 && x < kSensorSize && y >= 0 && y < kSensorSize &&
           !sensorMask_.empty();
}

int RunTables::pixel_well(int c, int w, int p) const { return HasPixel(c, w, p) ? pixelWell_[pixelIndex(c, w, p)] : -1; }
bool RunTables::pixel_in_well(int c, int w, int p) const { return HasPixel(c, w, p) && inWell_[pixelIndex(c, w, p)]; }
const std::string& RunTables::pixel_well_name(int c, int w, int p) const
{
    if (!HasPixel(c, w, p)) return kNoName;
    const size_t i = pixelIndex(c, w, p);
    if (!named_[i]) return kNoName;
    return geometry.well_table.at(c, columnBand_[i], rowBand_[i]).name;
}
int RunTables::pixel_column_offset(int c, int w, int p) const
{
    return HasPixel(c, w, p) ? columnOffset_[pixelIndex(c, w, p)] : 0;
}
int RunTables::pixel_row_offset(int c, int w, int p) const { return HasPixel(c, w, p) ? rowOffset_[pixelIndex(c, w, p)] : 0; }
int RunTables::pixel_column_band(int c, int w, int p) const { return HasPixel(c, w, p) ? columnBand_[pixelIndex(c, w, p)] : 0; }
int RunTables::pixel_row_band(int c, int w, int p) const { return HasPixel(c, w, p) ? rowBand_[pixelIndex(c, w, p)] : 0; }
bool RunTables::sensor_well_mask(int c, int x, int y) const { return HasSensorCell(c, x, y) && sensorMask_[sensorIndex(c, x, y)]; }
int RunTables::sensor_cell_index(int c, int x, int y) const { return HasSensorCell(c, x, y) ? sensorCell_[sensorIndex(c, x, y)] : 0; }

double RunTables::well_scan_activity(int well, long scan) const
{
    if (well < 0 || well >= kWellSlots || scan < 0) return 0.0;
    if (size_t(scan) >= scanTemperature_.size()) return well < kCountedWells ? -1.0 : 0.0;
    return wellScanActivity_[size_t(scan) * kWellSlots + size_t(well)];
}
long RunTables::well_scan_seconds(int well, long scan) const
{
    if (well < 0 || well >= kWellSlots || scan < 0 || size_t(scan) >= scanTemperature_.size()) return 0;
    return wellScanSeconds_[size_t(scan) * kWellSlots + size_t(well)];
}
long RunTables::scan_start_seconds(long scan) const
{
    return scan >= 0 && size_t(scan) < scanTemperature_.size() ? scanStartSeconds_[size_t(scan)] : 0;
}
double RunTables::scan_temperature(long scan) const
{
    return scan >= 0 && size_t(scan) < scanTemperature_.size() ? scanTemperature_[size_t(scan)] : 0.0;
}

double& RunTables::well_scan_activity_ref(int well, long scan)
{
    EnsureScan(scan);
    return wellScanActivity_[size_t(scan) * kWellSlots + size_t(well)];
}
int32_t& RunTables::well_scan_seconds_ref(int well, long scan)
{
    EnsureScan(scan);
    return wellScanSeconds_[size_t(scan) * kWellSlots + size_t(well)];
}
int32_t& RunTables::scan_start_seconds_ref(long scan)
{
    EnsureScan(scan);
    return scanStartSeconds_[size_t(scan)];
}
double& RunTables::scan_temperature_ref(long scan)
{
    EnsureScan(scan);
    return scanTemperature_[size_t(scan)];
}

RunTables::PixelRow RunTables::Row(int c, int w)
{
    const size_t i = pixelIndex(c, w, 0);
    return {&pixelWell_[i], &inWell_[i], &named_[i], &columnOffset_[i], &rowOffset_[i], &columnBand_[i], &rowBand_[i]};
}

RunTables::ConstPixelRow RunTables::Row(int c, int w) const
{
    const size_t i = pixelIndex(c, w, 0);
    return {&pixelWell_[i], &inWell_[i], &named_[i], &columnOffset_[i], &rowOffset_[i], &columnBand_[i], &rowBand_[i]};
}

void RunTables::SetSensor(int c, int x, int y, bool inWell, int cell)
{
    if (!HasSensorCell(c, x, y)) return;
    sensorMask_[sensorIndex(c, x, y)] = inWell ? 1 : 0;
    sensorCell_[sensorIndex(c, x, y)] = int16_t(cell);
}

}  // namespace tirmo::acquisition
