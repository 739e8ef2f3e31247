#pragma once
// Centring the light on the wells of one camera window. For each well of the window the frame
// tells which share of its grey lies in the first half of the well along the column band and
// along the row band, and how many pixels of each quarter are bright (above 240) or dark
// (below 40). A share outside 0.45..0.55 dims the quarters of the brighter half; a quarter with
// many bright pixels is dimmed further, one with many dark pixels brightened. Only the powers
// of the camera's LEDs in the LED map change; the caller saves and sends them.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "lighting/LedMap.h"
#include "lighting/LedZones.h"
#include "plate/BandTables.h"

namespace tirmo::lighting {

inline constexpr int kBrightGrey = 240;  // above it a pixel is bright
inline constexpr int kDarkGrey = 40;     // below it a pixel is dark
inline constexpr double kDeadBandLow = 0.45;
inline constexpr double kDeadBandHigh = 0.55;

// Where a pixel of the window lies: its well number (-1 for none) and its distance from the
// start of its well's column band and row band.
struct PixelPlace {
    int well = -1;
    int columnOffset = 0;
    int rowOffset = 0;
};

// One camera window as the run prepared it and as the camera sent it.
struct CentringWindow {
    int camera = 0;
    int window = 0;               // the row band of the camera, 0 = its first well row
    std::string_view frame;       // one character per window pixel, character 1 = pixel 1
    long pixelCount = 0;          // window_pixel_count
    std::function<PixelPlace(long pixel)> place;  // pixels 1..pixelCount
};

// The plate the run uses: its format, the board's generation and the camera band tables
// (first and last column and row of each camera, start and end of each band).
struct CentringPlate {
    std::string format;
    int generation = 1;
    const plate::ColumnBands& columns;
    const plate::RowBands& rows;
};

// What one well's pixels say: the grey sums of the first and second column half and row half,
// and per quarter (see kDimmingZone) the bright and dark pixel counts.
struct WellLight {
    double columnHalf[2] = {0, 0};
    double rowHalf[2] = {0, 0};
    int bright[4] = {0, 0, 0, 0};
    int dark[4] = {0, 0, 0, 0};
    long pixels = 0;
};

// The pixels of well number `well` in the window, with the well's half extents along the
// column and row band (a pixel whose offset equals the half extent lies in the second half).
// Pixels beyond the end of the frame are not read.
WellLight MeasureWell(const CentringWindow& window, int well, double columnHalfExtent, double rowHalfExtent);

struct ZoneCall {
    LedZone zone;
    int step;
    bool operator==(const ZoneCall&) const = default;
};

// The centring step for the two shares: the mean distance from 0.5 times 10, to the nearest
// whole number (halves to even), at least 1.
int CentringStep(double columnShare, double rowShare);

// The zone routines one well calls, in order: the centring by the two shares, then the
// bright quarters (Q1..Q4), then the dark quarters.
std::vector<ZoneCall> CentringCalls(double columnShare, double rowShare, const WellLight& light);

// What the centring did with one well.
struct WellCentring {
    int well = -1;
    int columnIndex = 0;  // column offset in the camera
    bool measured = false;  // false: no grey at all (a black well, or none of its pixels in the
                            // frame), so nothing was changed for it
    double columnShare = 0, rowShare = 0;
    std::vector<ZoneCall> calls;
};

struct CentringReport {
    bool zones = false;  // the format has LED zones (otherwise nothing was looked at)
    std::vector<WellCentring> wells;
    // The wells skipped for lack of grey, for the status line; empty when none.
    std::vector<int> SkippedWells() const;
};

// Centres the LED map on the wells of the camera window (each well of the camera's column
// bands in the window's row band, one after the other on the powers the previous one left).
// A format without zones changes nothing.
CentringReport CentreLedMap(LedMap& map, const CentringPlate& plate, const CentringWindow& window);

}  // namespace tirmo::lighting
