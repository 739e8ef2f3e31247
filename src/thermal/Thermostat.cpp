#include "thermal/Thermostat.h"

#include <array>
#include <cmath>

namespace tirmo::thermal {
namespace {

// The PWM ceiling the table refers to; PeltierHeat and PeltierCool cut it to their own limits.
constexpr int C = 245;

using Row = std::array<int, 4>;  // stage 1..4

struct Band {
    Drive drive;
    Row pwm;
};

// The band of the error d, from the coldest to the warmest; the dead-band rows drive only while
// the stage was already going that way.
Band bandOf(double d)
{
    if (d < -3) return {Drive::Heat, {220, 240, C, C}};
    if (d <= -1) return {Drive::Heat, {160, 200, C - 5, C}};
    if (d <= -0.5) return {Drive::Heat, {100, 130, 160, C - 10}};
    if (d <= 0) return {Drive::Heat, {100, 130, 160, 240}};
    if (d <= 0.5) return {Drive::Cool, {150, 170, 200, 200}};
    if (d <= 1) return {Drive::Cool, {150, 170, 240, C}};
    if (d <= 1.5) return {Drive::Cool, {230, 237, C - 5, C}};
    if (d <= 3) return {Drive::Cool, {235, 241, C, C}};
    return {Drive::Cool, {240, 243, C, C}};
}

}  // namespace

void Thermostat::ResetForNewControl()
{
    settle_counter = 0;
    heating_on = false;
    cooling_on = false;
    force_reading = -1;
}

void Thermostat::ForceReading()
{
    force_reading = -1;
    settle_counter = 0;
}

int Thermostat::ReadingPowerByte(int setpoint, bool analogStage)
{
    if (analogStage) return setpoint > 0 ? int(std::floor(setpoint * 16.0 / 256.0)) : int(61.34 / 1.732 * 5);
    return setpoint > 0 ? setpoint : 45;
}

Conversion Thermostat::Convert(double reading, bool analogStage) const
{
    if (reading <= 0) return {};
    if (!analogStage) return {reading, reading, true};
    return {reading * kDefaultSlope + kDefaultOffset, reading * working_temp_slope + working_temp_offset, true};
}

int Thermostat::Stage(int runState) const
{
    const std::array<int, 3> limits = runState == 0 ? std::array<int, 3>{20, 40, 60} : std::array<int, 3>{10, 20, 30};
    for (int i = 0; i < 3; ++i)
        if (settle_counter < limits[size_t(i)]) return i + 1;
    return 4;
}

DriveChoice Thermostat::Choose(double d, int runState) const
{
    const Band band = bandOf(d);
    const int pwm = band.pwm[size_t(Stage(runState) - 1)];
    const bool deadBand = d > -0.5 && d <= 0.5;
    if (deadBand && band.drive == Drive::Heat && !heating_on) return {Drive::Off, 0};
    if (deadBand && band.drive == Drive::Cool && !cooling_on) return {Drive::Off, 0};
    return {band.drive, pwm};
}

void Thermostat::Apply(const DriveChoice& choice)
{
    switch (choice.drive) {
    case Drive::Heat:
        heating_on = true;
        cooling_on = false;
        break;
    case Drive::Cool:
        cooling_on = true;
        heating_on = false;
        break;
    case Drive::Off:
        settle_counter = 0;
        heating_on = false;
        cooling_on = false;
        break;
    }
}

uint32_t Thermostat::DriveColour() const
{
    if (heating_on) return kHeatingColour;
    if (cooling_on) return kCoolingColour;
    return kHoldingColour;
}

void Thermostat::Settle(double temperature, int runState)
{
    if (std::fabs(settle_reference - temperature) < 0.8) {
        if (settle_counter < 100) settle_counter += runState == 1 ? 3 : 1;
    } else {
        settle_reference = temperature;
        settle_counter = 0;
    }
}

}  // namespace tirmo::thermal
