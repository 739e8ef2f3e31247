#pragma once
// The computations of the LED-power autocalibration: which LEDs serve a camera and which part
// of its frame each one lights, the grey levels a plate format aims at, the reading of an LED's
// part of a frame, the choice of each LED's power from its readings at the levels 0 to 8, the
// correction by one or two levels after a check frame, and the factory window's second round
// that evens the LEDs out around their mean.
#include <array>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "camera/FrameStore.h"
#include "lighting/LedMap.h"

namespace tirmo::lighting {

inline constexpr int kCalibrationLevels = 9;  // levels 0..8 are measured
inline constexpr int kTopCalibrationLevel = 8;

// The grey levels a plate format aims at: the one each LED's power is chosen against and the
// one the check frame corrects against.
struct CalibrationTargets {
    int selection = 0;
    int adjustment = 0;
    bool operator==(const CalibrationTargets&) const = default;
};
// "p35" and "w6" aim at 178 and 166, "w24" at 128 and 115. "w12", "w48" and "w96f" use the
// "w24" targets (no targets of their own: aiming at 0 would leave every LED dark). Any other
// text: none.
std::optional<CalibrationTargets> TargetsFor(std::string_view format);
// The factory window's autocalibration chooses against this for every format.
inline constexpr int kFactorySelectionTarget = 178;

// The LEDs the map gives to a camera, in LED order.
std::vector<int> CameraLeds(const LedMap& map, int camera);

// Whether an image position of a camera counts for the readings (the run's well mask); an
// empty filter counts every position.
using PositionFilter = std::function<bool(int camera, int x, int y)>;

// The mean grey of an LED's rectangle (x from x1 to x2, y from y1 to y2) in the camera's frame,
// rounded halves to even: positions outside the frame (negative, or beyond 192) are passed
// over, and a position counts when the frame holds a value there and the filter takes it.
// nullopt when no position counted: the LED lights nothing that can be measured.
std::optional<int> ReadLed(const LedMap& map, int led, int camera, const camera::FrameStore& frames,
                           const PositionFilter& counts);

// The highest level 0..8 whose reading does not exceed the target; 0 when none does.
int SelectLedPower(const std::array<int, kCalibrationLevels>& readings, int target);

// The power after the check frame read `reading` against the adjustment target:
//   reading > 1.2 T        down 2 (down 1 from power 1, none from 0)
//   T < reading <= 1.2 T   down 1 (none from 0)
//   0.3 T <= reading <= T  unchanged
//   0.2 T <= reading < 0.3 T  up 1 (none above 7)
//   reading < 0.2 T        up 2 (up 1 from 7, none from 8 on)
int AdjustLedPower(int power, int reading, int target);

// The factory window's second round: with avg the mean over the given LEDs of the reading at
// each one's power, an LED reading at most 0.95 avg is raised while below 8 and its reading
// stays at or below avg; one reading at least avg is lowered while above 0 and its reading stays
// at or above 0.7 avg. No LEDs: nothing changes (there is no mean).
// readings[led][level] for the levels 0..8.
using LevelReadings = std::vector<std::array<int, kCalibrationLevels>>;
void EvenOutLedPowers(LedMap& map, const std::vector<int>& leds, const LevelReadings& readings);

}  // namespace tirmo::lighting
