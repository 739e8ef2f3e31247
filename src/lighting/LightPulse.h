#pragma once
// Blue-light pulses. Outside a run the user switches a pulse on by hand and the one-second tick
// counts it down, sending the level again every second; during a run the end of every camera
// window sends the level while a pulse is on, a pulse being started by hand (it then lasts the
// "on" minutes from the click) or by the run's schedule of dark-then-lit cycles.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tirmo::lighting {

inline constexpr int kMaxBluePower = 7;
inline constexpr int kBlueLevelBase = 8;  // the level sent is 8 minus the power
inline constexpr int kRunPulsePauseMs = 10;

// The pulse state of the main window, held in its own members.
struct PulseState {
    bool& on;
    long& end;        // outside a run the pulse length; during a run the elapsed seconds it ends at
    long& countdown;  // seconds still to go
};

using LevelSender = std::function<void(int level)>;

// The level the timer steps send for the power box: 8 - p with p its whole number 0..7; nothing
// (nullopt) for any other power, also for a text that is not a number.
std::optional<int> PulseLevel(std::string_view powerText);

// The run's cycles: cycle k (1..cycles) is lit from ((on + off)(k - 1) + off) x 60 to
// (on + off) k x 60 seconds, both ends included.
struct PulseSchedule {
    double onMinutes = 0;
    double offMinutes = 0;
    long cycles = 0;
};
// The end (whole seconds) of the last cycle whose lit interval holds elapsed; nullopt when none.
std::optional<long> ScheduledPulseEnd(const PulseSchedule& schedule, double elapsedSeconds);

// The run's pulse settings as the light panel's boxes show them: Chk_lenabled ticked,
// txt_pulsetimes, txt_pulseon, txt_pulseoff and txt_power. The panel keeps them in step with its
// boxes; the run's window completions read them.
struct PulseBoxes {
    bool enabled = false;
    std::string times, on, off, power;
};

// The fields of the light panel, bounded as the LightPulse button does before it acts: power
// 1..7, on 1..10 minutes, off 0..9999 minutes. Returns true when a field was changed.
struct PulseFields {
    std::string power, pulseOn, pulseOff;
};
bool BoundPulseFields(PulseFields& fields);

// What the LightPulse button does once its fields are bounded.
struct ManualPulseAction {
    bool send = false;        // send level now
    int level = 0;
    bool startTimer = false;  // the one-second tick counts the pulse down
};
ManualPulseAction ManualPulseClick(PulseState state, bool running, double elapsedSeconds, double power,
                                   double pulseOnMinutes);

// The pulse step of the one-second tick.
void TimerPulseStep(PulseState state, std::string_view powerText, const LevelSender& send);

// The pulse step at the end of a camera window of a run; schedule only when the run's cycles are
// enabled.
void RunPulseStep(PulseState state, double elapsedSeconds, const std::optional<PulseSchedule>& schedule,
                  std::string_view powerText, const LevelSender& send);

}  // namespace tirmo::lighting
