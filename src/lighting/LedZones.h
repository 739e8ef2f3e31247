#pragma once
// The LED zones of the centring: for one well of a camera, which LEDs of the camera's block
// light each quarter of the well. Four zones dim a quarter (A, C, E, G for the first and second
// column half of the first row half, then of the second row half) and four brighten a corner
// group of it (B, D, F, H). Zones exist for "p35" and "w6" (one well per camera, so the window
// and the column are not looked at) and for "w24" (two windows of two wells per camera); every
// other format has none. Generation 1 boards and later ones lay their LEDs out differently.
#include <string_view>

#include "lighting/LedMap.h"

namespace tirmo::lighting {

enum class LedZone { A, B, C, D, E, F, G, H };

// The zone that dims a quarter and the one that brightens it, by quarter 0..3 (first column
// half of the first row half, second column half of it, then the same of the second row half).
inline constexpr LedZone kDimmingZone[4] = {LedZone::A, LedZone::C, LedZone::E, LedZone::G};
inline constexpr LedZone kBrighteningZone[4] = {LedZone::B, LedZone::D, LedZone::F, LedZone::H};

inline bool Dims(LedZone zone)
{
    return zone == LedZone::A || zone == LedZone::C || zone == LedZone::E || zone == LedZone::G;
}
char ZoneLetter(LedZone zone);

// Powers the centring can raise to: a brightening zone stops here and leaves higher powers alone.
inline constexpr int kCentringPowerCap = 8;

// The plate format and board the zones are read for. Generation 1 selects the first board's
// zones; any other value the later boards'.
struct ZoneBoard {
    std::string_view format;
    int generation = 1;
};

// Whether the format has zones at all ("p35", "w6", "w24").
bool HasLedZones(std::string_view format);

// Whether an LED at (colcam, filcam) of the camera's block belongs to the zone of the well in
// the camera's window (row offset from the camera's first row) and column offset.
bool InLedZone(LedZone zone, const ZoneBoard& board, int camera, int window, int column, int colcam, int filcam);

// The zone routine: every LED of the camera in the zone goes down (dimming zones) or up
// (brightening zones) by one, step + 1 times, a dimming stopping at 0 and a brightening at 8
// (a power above 8 stays as it is). Returns the number of LEDs of the zone.
int AdjustLedZone(LedMap& map, LedZone zone, const ZoneBoard& board, int camera, int window, int column, int step);

}  // namespace tirmo::lighting
