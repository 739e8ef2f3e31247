#include "lighting/LedPowerSelection.h"

#include <algorithm>

#include "platform/Convert.h"

namespace tirmo::lighting {
namespace {

constexpr CalibrationTargets kSingleWellTargets{178, 166};  // from 178.5 and 165.75
constexpr CalibrationTargets kW24Targets{128, 115};         // from 127.5 and 114.75

constexpr double kFarAbove = 1.2, kFarBelow = 0.2, kBelow = 0.3;
constexpr double kEvenRaise = 0.95, kEvenLowerFloor = 0.7;

}  // namespace

std::optional<CalibrationTargets> TargetsFor(std::string_view format)
{
    if (format == "p35" || format == "w6") return kSingleWellTargets;
    if (format == "w24" || format == "w12" || format == "w48" || format == "w96f") return kW24Targets;
    return std::nullopt;
}

std::vector<int> CameraLeds(const LedMap& map, int camera)
{
    std::vector<int> leds;
    for (int i = 0; i < kLedCount; ++i)
        if (map.camera[size_t(i)] == camera) leds.push_back(i);
    return leds;
}

std::optional<int> ReadLed(const LedMap& map, int led, int camera, const camera::FrameStore& frames,
                           const PositionFilter& counts)
{
    if (led < 0 || led >= kLedCount) return std::nullopt;
    const size_t i = size_t(led);
    // Only the part of the rectangle inside the frame is walked: the rest has no value.
    constexpr int kLast = camera::FrameStore::kSize - 1;
    const int x1 = std::max(map.x1[i], 0), x2 = std::min(map.x2[i], kLast);
    const int y1 = std::max(map.y1[i], 0), y2 = std::min(map.y2[i], kLast);
    long long sum = 0;
    long counted = 0;
    for (int y = y1; y <= y2; ++y) {
        for (int x = x1; x <= x2; ++x) {
            const int grey = frames.Value(camera, x, y);
            if (grey < 0 || (counts && !counts(camera, x, y))) continue;
            sum += grey;
            ++counted;
        }
    }
    if (counted == 0) return std::nullopt;
    return int(platform::RoundHalfEven(double(sum) / double(counted)));
}

int SelectLedPower(const std::array<int, kCalibrationLevels>& readings, int target)
{
    int power = 0;
    for (int level = 0; level < kCalibrationLevels; ++level)
        if (readings[size_t(level)] <= target) power = level;
    return power;
}

int AdjustLedPower(int power, int reading, int target)
{
    const double t = target;
    const double m = reading;
    if (m > kFarAbove * t) {
        if (power >= 2) return power - 2;
        return power >= 1 ? power - 1 : power;
    }
    if (m > t) return power >= 1 ? power - 1 : power;
    if (m >= kBelow * t) return power;
    if (m >= kFarBelow * t) return power <= 7 ? power + 1 : power;
    if (power <= 6) return power + 2;
    return power == 7 ? power + 1 : power;
}

void EvenOutLedPowers(LedMap& map, const std::vector<int>& leds, const LevelReadings& readings)
{
    auto inRange = [&](int led) {
        return led >= 0 && led < kLedCount && size_t(led) < readings.size();
    };
    auto readingAt = [&](int led) { return readings[size_t(led)][size_t(map.power[size_t(led)])]; };
    auto levelOk = [&](int led) {
        const int p = map.power[size_t(led)];
        return p >= 0 && p <= kTopCalibrationLevel;
    };
    double sum = 0;
    int n = 0;
    for (int led : leds) {
        if (!inRange(led) || !levelOk(led)) continue;
        sum += readingAt(led);
        ++n;
    }
    if (n == 0) return;
    const double avg = sum / n;
    for (int led : leds) {
        if (!inRange(led) || !levelOk(led)) continue;
        int& power = map.power[size_t(led)];
        const double r = readingAt(led);
        if (r <= kEvenRaise * avg) {
            while (power < kTopCalibrationLevel && readingAt(led) <= avg) ++power;
        } else if (r >= avg) {
            while (power >= 1 && readingAt(led) >= kEvenLowerFloor * avg) --power;
        }
    }
}

}  // namespace tirmo::lighting
