#include <cmath>
#include <string>

#include "sim/InstrumentSimulator.h"
#include "sim/SimDevices.h"

namespace tirmo::sim {
namespace {

// Generation 2 reports sixteenths of a degree under "T"; generation 1 reports the raw sensor
// value under "t", which the program's calibration line turns back into degrees.
std::string temperatureReply(const SimState& s)
{
    const double celsius = s.thermal.reportedC();
    if (s.generation() >= 2) return Reply3('T', int(std::lround(celsius * 16)) & 0xFFFF);
    return Reply3('t', int(std::lround(s.thermal.rawFor(celsius) * 64 * 20)) & 0xFFFF);
}

}  // namespace

void InstallThermalDevices(InstrumentSimulator& sim)
{
    sim.on('T', [](SimState& s, const ReceivedFrame& f) -> std::string {
        ThermalSimState& t = s.thermal;
        switch (f.a) {
        case 0: t.cooling = f.b != 0; break;  // direction of the analog stage
        case 1: t.peltierPower = f.b; break;  // drive level (0 = off)
        case 2: t.fanLevel = f.b; break;
        case 3:
            t.cooling = false;
            t.peltierPower = f.b;
            break;
        case 4:
            t.cooling = true;
            t.peltierPower = f.b;
            break;
        case 15: s.leds.blueLight = f.b; break;
        case 255: t.readPowerByte = f.b; break;
        default: break;
        }
        if (f.a != 15) t.advance(t.secondsPerFrame);
        return temperatureReply(s);
    });
}

}  // namespace tirmo::sim
