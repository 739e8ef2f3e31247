#include "lighting/LightPulse.h"

#include <algorithm>

#include "lighting/LedCommands.h"
#include "platform/Clock.h"
#include "platform/Convert.h"

namespace tirmo::lighting {
namespace {

constexpr double kSecondsPerMinute = 60;
constexpr const char* kMinPower = "1";
constexpr const char* kMaxPower = "7";
constexpr double kMaxPulseOn = 10;
constexpr double kMaxPulseOff = 9999;

}  // namespace

std::optional<int> PulseLevel(std::string_view powerText)
{
    auto p = TypedWholeNumber(powerText);
    if (!p || *p < 0 || *p > kMaxBluePower) return std::nullopt;
    return kBlueLevelBase - int(*p);
}

std::optional<long> ScheduledPulseEnd(const PulseSchedule& s, double elapsed)
{
    const double period = s.onMinutes + s.offMinutes;
    // Without a positive period every cycle has the first one's interval or lies before the run.
    const long last = period > 0 ? s.cycles : std::min(s.cycles, 1L);
    std::optional<long> end;
    for (long k = 1; k <= last; ++k) {
        const double from = (period * double(k - 1) + s.offMinutes) * kSecondsPerMinute;
        const double to = period * double(k) * kSecondsPerMinute;
        // Cycles follow one another, so none after one that starts later can hold elapsed; this
        // also keeps a mistyped huge cycle count from holding up the run.
        if (period > 0 && from > elapsed) break;
        if (elapsed >= from && elapsed <= to) end = long(platform::RoundHalfEven(to));
    }
    return end;
}

bool BoundPulseFields(PulseFields& f)
{
    bool changed = false;
    auto set = [&](std::string& field, const char* value) {
        field = value;
        changed = true;
    };
    if (platform::Val(f.power) <= 0) set(f.power, kMinPower);
    if (platform::Val(f.power) > kMaxBluePower) set(f.power, kMaxPower);
    if (platform::Val(f.pulseOn) > kMaxPulseOn) set(f.pulseOn, "10");
    if (platform::Val(f.pulseOn) <= 0) set(f.pulseOn, "1");
    if (platform::Val(f.pulseOff) < 0) set(f.pulseOff, "0");
    if (platform::Val(f.pulseOff) > kMaxPulseOff) set(f.pulseOff, "9999");
    return changed;
}

ManualPulseAction ManualPulseClick(PulseState s, bool running, double elapsed, double power, double pulseOnMinutes)
{
    ManualPulseAction action;
    if (!running) {
        action.send = true;
        if (s.on) {
            action.level = 0;
            s.on = false;
        } else {
            action.level = int(platform::RoundHalfEven(kBlueLevelBase - power));
            s.on = true;
            s.end = long(platform::RoundHalfEven(pulseOnMinutes * kSecondsPerMinute));
            s.countdown = s.end;
            action.startTimer = true;
        }
        return action;
    }
    // During a run the click only marks the pulse; the end of the next camera window sends it.
    if (elapsed > 0) {
        if (!s.on) {
            s.end = long(platform::RoundHalfEven(pulseOnMinutes * kSecondsPerMinute + elapsed));
            s.on = true;
        } else {
            s.on = false;
        }
    }
    return action;
}

void TimerPulseStep(PulseState s, std::string_view powerText, const LevelSender& send)
{
    if (!s.on) return;
    --s.countdown;
    if (s.countdown > 0) {
        if (auto level = PulseLevel(powerText)) send(*level);
    } else {
        s.on = false;
        send(0);
    }
}

void RunPulseStep(PulseState s, double elapsed, const std::optional<PulseSchedule>& schedule,
                  std::string_view powerText, const LevelSender& send)
{
    if (schedule) {
        if (auto end = ScheduledPulseEnd(*schedule, elapsed)) {
            s.end = *end;
            s.on = true;
        }
    }
    if (s.on) {
        s.countdown = long(platform::RoundHalfEven(double(s.end) - elapsed));
        if (s.countdown > 0) {
            if (auto level = PulseLevel(powerText)) send(*level);
        } else {
            s.on = false;
            send(0);
        }
        platform::Sleep(kRunPulsePauseMs);
    }
    // Whatever ended above, the light is put out once more when no pulse is on.
    if (!s.on) send(0);
}

}  // namespace tirmo::lighting
