#pragma once
// One step of the thermostat, apart from the window that shows it: which power byte the reading
// command carries, how a reading becomes the range-check value and the temperature, which drive
// the error band and the settle stage ask for, and how the settle counter moves.
// TemperatureControl runs these pieces in order and sends; the window shows the result.
#include <cstdint>

namespace tirmo::thermal {

// The nominal sensor line of the analog stage; also the line the range check always uses.
inline constexpr double kDefaultOffset = -16.34;
inline constexpr double kDefaultSlope = 1.732;
// The safe range of the range-check value: strictly between these.
inline constexpr double kSafeLow = 8.0;
inline constexpr double kSafeHigh = 51.0;
// The set point is held within these.
inline constexpr int kSetPointLow = 20;
inline constexpr int kSetPointHigh = 37;
// Pause after a fresh reading before the drive decision.
inline constexpr int kReadingPauseMs = 200;

// Indicator colours (red in the low byte): heating, cooling, idle in the dead band, off, out of range.
inline constexpr uint32_t kHeatingColour = 0x0000FF;
inline constexpr uint32_t kCoolingColour = 0xFF0000;
inline constexpr uint32_t kHoldingColour = 0x00FFFF;
inline constexpr uint32_t kIdleColour = 0xFFFFFF;
inline constexpr uint32_t kOutOfRangeColour = 0x000000;

enum class Drive { Heat, Cool, Off };

struct DriveChoice {
    Drive drive = Drive::Off;
    int pwm = 0;
};

// A reading as the step uses it: S is checked against the safe range, T is shown and regulated.
struct Conversion {
    double sensor = -1;       // S
    double temperature = -1;  // T
    bool reading = false;     // false: no reading came (S and T are then -1)
};

class Thermostat {
public:
    int settle_counter = 0;        // steady steps since the temperature last moved 0.8 degrees
    double settle_reference = 0;   // the temperature at the last reset of the counter
    bool heating_on = false;
    bool cooling_on = false;
    double force_reading = 0;      // -1: the next step must read anew
    // The sensor line applied to analog readings.
    double working_temp_offset = kDefaultOffset;
    double working_temp_slope = kDefaultSlope;
    // The reading of the last step before any conversion (sensor units on the analog stage,
    // degrees on the digital one); -1 when it brought none. The sensor calibration fits its
    // line to these values, not to the converted ones.
    double raw_reading = -1;

    // What a click of the temperature box resets.
    void ResetForNewControl();
    // What choosing a set point resets: the next step reads anew and starts at stage 1.
    void ForceReading();

    // The power byte of the reading command.
    static int ReadingPowerByte(int setpoint, bool analogStage);
    // S and T of a reading; a reading of 0 or less (none came) gives -1 for both.
    Conversion Convert(double reading, bool analogStage) const;
    static bool InSafeRange(double sensor) { return sensor > kSafeLow && sensor < kSafeHigh; }
    // Stage 1..4 of the PWM table for the current counter.
    int Stage(int runState) const;
    // The drive for error d = T - set point (heat/cool PWM before the stage's own limits).
    DriveChoice Choose(double d, int runState) const;
    // Applies a drive's effect on the direction flags and the counter (before settling).
    void Apply(const DriveChoice& choice);
    // The indicator colour after a drive step.
    uint32_t DriveColour() const;
    // The settle rule at the end of a step.
    void Settle(double temperature, int runState);
};

}  // namespace tirmo::thermal
