#include "thermal/TemperatureControl.h"

#include <utility>

#include "link/Protocol.h"
#include "link/Session.h"
#include "platform/Clock.h"
#include "platform/Convert.h"

namespace tirmo::thermal {
namespace {
constexpr int kOffPauseMs = 10;
}  // namespace

TemperatureControl::TemperatureControl(link::Console& console, Thermostat& thermostat, TemperatureStage& stage,
                                       TemperatureCycle& cycle, std::function<void()> releaseTicks)
    : console_(console), thermostat_(thermostat), stage_(stage), cycle_(cycle), release_ticks_(std::move(releaseTicks))
{
}

link::ThermalSettings& TemperatureControl::Settings() const { return console_.session().thermal; }

int TemperatureControl::SetPointValue() const
{
    const auto v = platform::ParseNumber(Settings().set_point_text);
    if (!v || *v < -32768 || *v > 32767) return 0;
    return int(platform::RoundHalfEven(*v));
}

int TemperatureControl::RunSetPoint() const { return Settings().box_ticked ? SetPointValue() : 0; }

ThermostatStepResult TemperatureControl::Step(int setpoint)
{
    link::ThermalSettings& settings = Settings();
    const link::Session& session = console_.session();
    Thermostat& t = thermostat_;
    ThermostatStepResult result;
    if (session.hardware_generation >= 2) stage_.analog_stage = false;
    int power = Thermostat::ReadingPowerByte(setpoint, stage_.analog_stage);

    Conversion& c = result.conversion;
    double reading = 0;
    if (stage_.last_temperature != 0 && settings.control_on && setpoint != 0 && t.force_reading != -1) {
        // The drive command of the previous step brought a reading back: use it, unless it
        // looks out of range, which a fresh reading must confirm.
        reading = stage_.last_temperature;
        c = t.Convert(reading, stage_.analog_stage);
        if (!Thermostat::InSafeRange(c.sensor)) {
            reading = stage_.SetPowerReadTemperature(power, console_);
            c = t.Convert(reading, stage_.analog_stage);
        }
    } else {
        if (t.force_reading == -1) t.force_reading = 0;
        reading = stage_.SetPowerReadTemperature(power, console_);
        platform::Sleep(kReadingPauseMs);
        c = t.Convert(reading, stage_.analog_stage);
    }
    t.raw_reading = c.reading ? reading : -1;

    if (setpoint <= 0 || !settings.control_on) {
        // Nothing regulates; a stage that gave no reading is switched off all the same. With
        // control on but no set point (emptied or not a number), the last drive must not go on
        // unregulated and without the range check: the stage is switched off until a set point
        // is there again.
        const bool noSetPoint = settings.control_on && setpoint <= 0;
        if ((!c.reading || noSetPoint) && session.port_open) stage_.PeltierOff(console_);
        if (noSetPoint) {
            t.Apply({Drive::Off, 0});
            result.fill_changed = true;
            result.fill = t.DriveColour();
        }
        return result;
    }

    double v = platform::Val(settings.set_point_text);
    if (v > kSetPointHigh) {
        result.held_set_point = std::to_string(kSetPointHigh);
        v = kSetPointHigh;
    } else if (v < kSetPointLow) {
        result.held_set_point = std::to_string(kSetPointLow);
        v = kSetPointLow;
    }
    if (!result.held_set_point.empty()) settings.set_point_text = result.held_set_point;
    const double d = c.temperature - v;

    if (!Thermostat::InSafeRange(c.sensor)) {
        // Out of range, or no reading at all: the stage goes off, and a reading out of range
        // stays shown as the reason.
        result.out_of_range = true;
        result.fill_changed = true;
        result.fill = kOutOfRangeColour;
        settings.box_ticked = false;
        SwitchOff();
    } else {
        DriveChoice choice = t.Choose(d, session.run_state);
        switch (choice.drive) {
        case Drive::Heat: stage_.PeltierHeat(choice.pwm, console_); break;
        case Drive::Cool: stage_.PeltierCool(choice.pwm, console_); break;
        case Drive::Off: stage_.PeltierOff(console_); break;
        }
        t.Apply(choice);
        result.fill_changed = true;
        result.fill = t.DriveColour();
    }
    t.Settle(c.temperature, session.run_state);
    return result;
}

void TemperatureControl::SwitchOff()
{
    thermostat_.ResetForNewControl();
    cycle_.Stop();
    Settings().control_on = false;
    // During a run the acquisition tick regulates; the one-second tick is not in use either way.
    release_ticks_();
    stage_.PeltierOff(console_);
    if (console_.session().run_state >= 1) return;
    platform::Sleep(kOffPauseMs);
    stage_.SetFan(kFanHalf, console_);
}

}  // namespace tirmo::thermal
