#include "lighting/LedCentring.h"

#include <algorithm>
#include <cmath>

#include "plate/PlateFormat.h"
#include "platform/Convert.h"

namespace tirmo::lighting {
namespace {

// Bright-pixel counts and the dimming steps they call, checked from the top.
struct CountStep {
    int above;
    int step;
};
constexpr CountStep kBrightSteps[] = {{400, 5}, {200, 4}, {100, 3}, {50, 2}};
constexpr CountStep kDarkSteps[] = {{200, 2}, {100, 1}};

template <size_t N>
int stepFor(const CountStep (&steps)[N], int count)
{
    for (const CountStep& s : steps)
        if (count > s.above) return s.step;
    return -1;
}

enum class Side { First, Centre, Second };

Side sideOf(double share)
{
    if (share > kDeadBandHigh) return Side::First;  // the first half is the brighter one
    if (share < kDeadBandLow) return Side::Second;
    return Side::Centre;
}

}  // namespace

WellLight MeasureWell(const CentringWindow& window, int well, double columnHalfExtent, double rowHalfExtent)
{
    WellLight light;
    if (!window.place) return light;
    const long last = std::min<long>(window.pixelCount, long(window.frame.size()));
    for (long p = 1; p <= last; ++p) {
        const PixelPlace at = window.place(p);
        if (at.well != well) continue;
        const int grey = static_cast<unsigned char>(window.frame[size_t(p - 1)]);
        const int column = at.columnOffset < columnHalfExtent ? 0 : 1;
        const int row = at.rowOffset < rowHalfExtent ? 0 : 1;
        const int quarter = row * 2 + column;
        light.columnHalf[column] += grey;
        light.rowHalf[row] += grey;
        if (grey > kBrightGrey) ++light.bright[quarter];
        if (grey < kDarkGrey) ++light.dark[quarter];
        ++light.pixels;
    }
    return light;
}

int CentringStep(double columnShare, double rowShare)
{
    const double mean = (std::fabs(0.5 - columnShare) + std::fabs(0.5 - rowShare)) / 2 * 10;
    return std::max(1, int(platform::RoundHalfEven(mean)));
}

std::vector<ZoneCall> CentringCalls(double columnShare, double rowShare, const WellLight& light)
{
    std::vector<ZoneCall> calls;
    const int s = CentringStep(columnShare, rowShare);
    const Side column = sideOf(columnShare), row = sideOf(rowShare);
    // A brighter first column half dims the first-column quarters of the brighter row half
    // (both row halves when the rows are balanced), and the same way round for the rest.
    auto add = [&](LedZone z) { calls.push_back({z, s}); };
    if (column == Side::First) {
        if (row != Side::Second) add(LedZone::A);
        if (row != Side::First) add(LedZone::E);
    } else if (column == Side::Centre) {
        if (row == Side::First) {
            add(LedZone::A);
            add(LedZone::C);
        } else if (row == Side::Second) {
            add(LedZone::E);
            add(LedZone::G);
        }
    } else {
        if (row != Side::Second) add(LedZone::C);
        if (row != Side::First) add(LedZone::G);
    }
    for (int q = 0; q < 4; ++q)
        if (int step = stepFor(kBrightSteps, light.bright[q]); step >= 0) calls.push_back({kDimmingZone[q], step});
    for (int q = 0; q < 4; ++q)
        if (int step = stepFor(kDarkSteps, light.dark[q]); step >= 0) calls.push_back({kBrighteningZone[q], step});
    return calls;
}

std::vector<int> CentringReport::SkippedWells() const
{
    std::vector<int> out;
    for (const WellCentring& w : wells)
        if (!w.measured) out.push_back(w.well);
    return out;
}

CentringReport CentreLedMap(LedMap& map, const CentringPlate& plate, const CentringWindow& window)
{
    CentringReport report;
    // Without zones the measurement could change nothing, so it is not made.
    if (!HasLedZones(plate.format)) return report;
    report.zones = true;
    const int c = window.camera, w = window.window;
    if (!plate::RowBands::InBounds(c, w)) return report;
    const int plateRows = plate::FormatSize(plate.format).rows;
    const int firstColumn = plate.columns.first[size_t(c)];
    const int firstRow = plate.rows.first[size_t(c)];
    const double rowHalf = (plate.rows.endOf(c, w) - plate.rows.startOf(c, w)) / 2.0;
    const ZoneBoard board{plate.format, plate.generation};
    for (int k = 0; k < plate.columns.count(c); ++k) {
        WellCentring result;
        result.well = (firstColumn + k) * plateRows + firstRow + w;
        result.columnIndex = k;
        const double columnHalf = (plate.columns.endOf(c, k) - plate.columns.startOf(c, k)) / 2.0;
        const WellLight light = MeasureWell(window, result.well, columnHalf, rowHalf);
        const double columnTotal = light.columnHalf[0] + light.columnHalf[1];
        const double rowTotal = light.rowHalf[0] + light.rowHalf[1];
        // A well without any grey has no share of light on either side: nothing to centre,
        // and its all-dark quarters say more about the frame than about the LEDs.
        if (columnTotal <= 0 || rowTotal <= 0) {
            report.wells.push_back(result);
            continue;
        }
        result.measured = true;
        result.columnShare = light.columnHalf[0] / columnTotal;
        result.rowShare = light.rowHalf[0] / rowTotal;
        result.calls = CentringCalls(result.columnShare, result.rowShare, light);
        for (const ZoneCall& call : result.calls) AdjustLedZone(map, call.zone, board, c, w, k, call.step);
        report.wells.push_back(std::move(result));
    }
    return report;
}

}  // namespace tirmo::lighting
