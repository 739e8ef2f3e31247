#include <cmath>
#include <string>

#include "sim/InstrumentSimulator.h"
#include "sim/SimDevices.h"

namespace tirmo::sim {
namespace {

// Generation 2 reports sixteenths of a degree under "T"; generation 1 reports the raw sensor
// value under "t", which the program's default calibration turns back into degrees.
std::string temperatureReply(const SimState& s)
{
    if (s.generation() >= 2) return Reply3('T', int(std::lround(s.thermal.temperatureC * 16)));
    double sensor = (s.thermal.temperatureC - (-16.34)) / 1.732;
    return Reply3('t', int(std::lround(sensor * 64 * 20)) & 0xFFFF);
}

}  // namespace

void InstallThermalDevices(InstrumentSimulator& sim)
{
    sim.on('T', [](SimState& s, const ReceivedFrame& f) -> std::string {
        switch (f.a) {
        case 1: s.thermal.peltierPower = f.b; break;
        case 2: s.thermal.fanLevel = f.b; break;
        case 15: s.leds.blueLight = f.b; break;
        case 255: s.thermal.peltierPower = f.b; break;
        default: break;
        }
        return temperatureReply(s);
    });
}

}  // namespace tirmo::sim
