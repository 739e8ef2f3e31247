#pragma once
// The temperature control apart from any window: the thermostat step towards the set point of
// the shared thermal settings, and the switching off that an out-of-range reading, a cycle's end
// or an unticked box asks for. It sends through the console's link and changes the settings,
// the thermostat and the cycle; what the temperature boxes show of a step is left to whoever
// shows them.
#include <cstdint>
#include <functional>
#include <string>

#include "thermal/TemperatureCycle.h"
#include "thermal/TemperatureStage.h"
#include "thermal/Thermostat.h"

namespace tirmo::link {
class Console;
struct ThermalSettings;
}  // namespace tirmo::link

namespace tirmo::thermal {

// What one step read and decided, for the view to show.
struct ThermostatStepResult {
    Conversion conversion;          // the reading as range-check value and temperature
    std::string held_set_point;     // the set point brought back into range ("" when it was in range)
    bool out_of_range = false;      // control switched off: out of range or no reading
    bool fill_changed = false;      // the indicator takes fill
    uint32_t fill = kIdleColour;
};

class TemperatureControl {
public:
    // releaseTicks stops the one-second temperature work; it runs before the stage is switched off.
    TemperatureControl(link::Console& console, Thermostat& thermostat, TemperatureStage& stage,
                       TemperatureCycle& cycle, std::function<void()> releaseTicks);

    link::ThermalSettings& Settings() const;
    // The set point as a whole number (0 when the text holds none).
    int SetPointValue() const;
    // The set point the run regulates to: the settings' while the box is ticked, else 0.
    int RunSetPoint() const;
    // One thermostat step towards setpoint (0 or less: read only).
    ThermostatStepResult Step(int setpoint);
    // Control off with the Peltier off; idle, the fan goes back to half as well.
    void SwitchOff();

private:
    link::Console& console_;
    Thermostat& thermostat_;
    TemperatureStage& stage_;
    TemperatureCycle& cycle_;
    std::function<void()> release_ticks_;
};

}  // namespace tirmo::thermal
