#include "lighting/LedZones.h"

namespace tirmo::lighting {
namespace {

constexpr int kOpen = 99;  // "and above": every colcam or filcam from the low end on

// A block of LEDs: colcam lo..hi and filcam lo..hi, both ends included.
struct Rect {
    int colLo, colHi, filLo, filHi;
    bool holds(int colcam, int filcam) const
    {
        return colcam >= colLo && colcam <= colHi && filcam >= filLo && filcam <= filHi;
    }
};

struct Pair {
    int colcam, filcam;
};

template <size_t N>
bool holds(const Pair (&pairs)[N], int colcam, int filcam)
{
    for (const Pair& p : pairs)
        if (p.colcam == colcam && p.filcam == filcam) return true;
    return false;
}

// ---- "p35" and "w6": one well per camera, the block split after colcam 4 and filcam 4 ----

constexpr Rect kQuarter[4] = {{1, 4, 1, 4}, {5, kOpen, 1, 4}, {1, 4, 5, kOpen}, {5, kOpen, 5, kOpen}};

// The corner groups that brighten each quarter. The first board's middle blocks (cameras 2
// and 3) have one column fewer, so their right-hand corners sit one column to the left.
constexpr Pair kCornerB[] = {{1, 1}, {1, 2}, {1, 3}, {2, 1}, {2, 2}, {3, 1}};
constexpr Pair kCornerD[] = {{7, 1}, {8, 1}, {8, 2}, {9, 1}, {9, 2}, {9, 3}};
constexpr Pair kCornerDNarrow[] = {{6, 1}, {7, 1}, {7, 2}, {8, 1}, {8, 2}, {8, 3}};
constexpr Pair kCornerF1[] = {{1, 6}, {1, 7}, {1, 8}, {2, 7}, {2, 8}, {3, 8}};
constexpr Pair kCornerF2[] = {{1, 6}, {1, 7}, {2, 7}, {3, 7}};
constexpr Pair kCornerH1[] = {{7, 8}, {8, 7}, {8, 8}, {9, 6}, {9, 7}, {9, 8}};
constexpr Pair kCornerH1Narrow[] = {{6, 8}, {7, 7}, {7, 8}, {8, 6}, {8, 7}, {8, 8}};
constexpr Pair kCornerH2[] = {{7, 7}, {8, 7}, {9, 6}, {9, 7}};

bool inSingleWellZone(LedZone zone, bool firstBoard, int camera, int colcam, int filcam)
{
    const bool narrow = firstBoard && (camera == 2 || camera == 3);
    switch (zone) {
    case LedZone::A: return kQuarter[0].holds(colcam, filcam);
    case LedZone::C: return kQuarter[1].holds(colcam, filcam);
    case LedZone::E: return kQuarter[2].holds(colcam, filcam);
    case LedZone::G: return kQuarter[3].holds(colcam, filcam);
    case LedZone::B: return holds(kCornerB, colcam, filcam);
    case LedZone::D: return narrow ? holds(kCornerDNarrow, colcam, filcam) : holds(kCornerD, colcam, filcam);
    case LedZone::F: return firstBoard ? holds(kCornerF1, colcam, filcam) : holds(kCornerF2, colcam, filcam);
    case LedZone::H:
        if (!firstBoard) return holds(kCornerH2, colcam, filcam);
        return narrow ? holds(kCornerH1Narrow, colcam, filcam) : holds(kCornerH1, colcam, filcam);
    }
    return false;
}

// ---- "w24": two windows (w) of two wells (k) per camera ----
// Per zone A..H, camera pair (0-1, 2-3, 4-5) and well (w0 k0, w0 k1, w1 k0, w1 k1).

using W24Table = Rect[8][3][4];

constexpr W24Table kW24First = {
    // A
    {{{1, 3, 1, 2}, {5, 6, 1, 2}, {1, 3, 5, 6}, {5, 6, 5, 6}},
     {{1, 2, 1, 2}, {5, 6, 1, 2}, {1, 2, 5, 6}, {5, 6, 5, 6}},
     {{1, 2, 1, 2}, {5, 6, 1, 2}, {1, 2, 5, 6}, {5, 6, 5, 6}}},
    // B
    {{{1, 2, 1, 1}, {6, 6, 1, 1}, {1, 2, 5, 5}, {6, 6, 5, 5}},
     {{1, 1, 1, 1}, {5, 5, 1, 1}, {1, 1, 5, 5}, {5, 5, 5, 5}},
     {{1, 1, 1, 1}, {6, 6, 1, 1}, {1, 1, 5, 5}, {6, 6, 5, 5}}},
    // C
    {{{4, 5, 1, 2}, {8, 9, 1, 2}, {4, 5, 5, 6}, {8, 9, 5, 6}},
     {{3, 4, 1, 2}, {7, 8, 1, 2}, {3, 4, 5, 6}, {7, 8, 5, 6}},
     {{3, 4, 1, 2}, {8, 9, 1, 2}, {3, 4, 5, 6}, {8, 9, 5, 6}}},
    // D
    {{{5, 5, 1, 1}, {9, 9, 1, 1}, {5, 5, 5, 5}, {9, 9, 5, 5}},
     {{4, 4, 1, 1}, {8, 8, 1, 1}, {4, 4, 5, 5}, {8, 8, 5, 5}},
     {{4, 4, 1, 1}, {9, 9, 1, 1}, {4, 4, 5, 5}, {9, 9, 5, 5}}},
    // E
    {{{1, 3, 3, 4}, {5, 6, 3, 4}, {1, 3, 7, 8}, {5, 6, 7, 8}},
     {{1, 2, 3, 4}, {5, 6, 3, 4}, {1, 2, 7, 8}, {5, 6, 7, 8}},
     {{1, 2, 3, 4}, {5, 6, 3, 4}, {1, 2, 7, 8}, {5, 6, 7, 8}}},
    // F
    {{{1, 2, 4, 4}, {5, 6, 4, 4}, {1, 2, 8, 8}, {5, 6, 8, 8}},
     {{1, 1, 4, 4}, {5, 6, 4, 4}, {1, 1, 8, 8}, {5, 6, 8, 8}},
     {{1, 1, 4, 4}, {5, 6, 4, 4}, {1, 1, 8, 8}, {5, 6, 8, 8}}},
    // G
    {{{4, 5, 3, 4}, {8, 9, 3, 4}, {4, 5, 7, 8}, {8, 9, 7, 8}},
     {{3, 4, 3, 4}, {7, 8, 3, 4}, {3, 4, 7, 8}, {7, 8, 7, 8}},
     {{3, 4, 3, 4}, {7, 9, 3, 4}, {3, 4, 7, 8}, {7, 9, 7, 8}}},
    // H
    {{{4, 5, 4, 4}, {8, 9, 4, 4}, {4, 5, 8, 8}, {8, 9, 8, 8}},
     {{4, 4, 4, 4}, {8, 8, 4, 4}, {4, 4, 8, 8}, {8, 8, 8, 8}},
     {{4, 5, 4, 4}, {8, 9, 4, 4}, {4, 4, 8, 8}, {8, 9, 8, 8}}},
};

// The later boards brighten the same LEDs that dim (B = A, D = C, F = E, H = G); the blocks
// shift one colcam to the right from one camera pair to the next.
constexpr Rect kW24LaterDimming[4][3][4] = {
    // A
    {{{1, 2, 1, 2}, {4, 5, 1, 2}, {1, 2, 4, 5}, {4, 5, 4, 5}},
     {{2, 3, 1, 2}, {5, 6, 1, 2}, {2, 3, 4, 5}, {5, 6, 4, 5}},
     {{3, 4, 1, 2}, {6, 7, 1, 2}, {3, 4, 4, 5}, {6, 7, 4, 5}}},
    // C
    {{{3, 4, 1, 2}, {6, 7, 1, 2}, {3, 4, 4, 5}, {6, 7, 4, 5}},
     {{4, 5, 1, 2}, {7, 8, 1, 2}, {4, 5, 4, 5}, {7, 8, 4, 5}},
     {{5, 6, 1, 2}, {8, 9, 1, 2}, {5, 6, 4, 5}, {8, 9, 4, 5}}},
    // E
    {{{1, 2, 3, 4}, {4, 5, 3, 4}, {1, 2, 6, 7}, {4, 5, 6, 7}},
     {{2, 3, 3, 4}, {5, 6, 3, 4}, {2, 3, 6, 7}, {5, 6, 6, 7}},
     {{3, 4, 3, 4}, {6, 7, 3, 4}, {3, 4, 6, 7}, {6, 7, 6, 7}}},
    // G
    {{{3, 4, 3, 4}, {6, 7, 3, 4}, {3, 4, 6, 7}, {6, 7, 6, 7}},
     {{4, 5, 3, 4}, {7, 8, 3, 4}, {4, 5, 6, 7}, {7, 8, 6, 7}},
     {{5, 6, 3, 4}, {8, 9, 3, 4}, {5, 6, 6, 7}, {8, 9, 6, 7}}},
};

bool inW24Zone(LedZone zone, bool firstBoard, int camera, int window, int column, int colcam, int filcam)
{
    if (camera < 0 || camera > 5 || window < 0 || window > 1 || column < 0 || column > 1) return false;
    const size_t pair = size_t(camera / 2), well = size_t(window * 2 + column);
    const size_t z = size_t(zone);
    if (firstBoard) return kW24First[z][pair][well].holds(colcam, filcam);
    return kW24LaterDimming[z / 2][pair][well].holds(colcam, filcam);
}

}  // namespace

char ZoneLetter(LedZone zone) { return char('A' + int(zone)); }

bool HasLedZones(std::string_view format) { return format == "p35" || format == "w6" || format == "w24"; }

bool InLedZone(LedZone zone, const ZoneBoard& board, int camera, int window, int column, int colcam, int filcam)
{
    const bool firstBoard = board.generation == 1;
    if (board.format == "p35" || board.format == "w6") return inSingleWellZone(zone, firstBoard, camera, colcam, filcam);
    if (board.format == "w24") return inW24Zone(zone, firstBoard, camera, window, column, colcam, filcam);
    return false;
}

int AdjustLedZone(LedMap& map, LedZone zone, const ZoneBoard& board, int camera, int window, int column, int step)
{
    int members = 0;
    for (size_t i = 0; i < size_t(kLedCount); ++i) {
        if (map.camera[i] != camera) continue;
        if (!InLedZone(zone, board, camera, window, column, map.colcam[i], map.filcam[i])) continue;
        ++members;
        int& power = map.power[i];
        for (int r = 0; r <= step; ++r) {
            if (Dims(zone)) {
                if (power > 0) --power;
            } else if (power < kCentringPowerCap) {
                ++power;
            }
        }
    }
    return members;
}

}  // namespace tirmo::lighting
