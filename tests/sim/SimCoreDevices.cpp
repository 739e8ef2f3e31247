#include <cmath>
#include <string>

#include "sim/InstrumentSimulator.h"
#include "sim/SimDevices.h"

namespace tirmo::sim {
namespace {

std::string reply3(char letter, int value)
{
    std::string r(3, '\0');
    r[0] = letter;
    r[1] = char((value >> 8) & 0xFF);
    r[2] = char(value & 0xFF);
    return r;
}

std::string echo(const ReceivedFrame& f)
{
    std::string r(3, '\0');
    r[0] = char(f.letter);
    r[1] = char(f.a);
    r[2] = char(f.b);
    return r;
}

int generationOf(const SimState& s) { return s.serialNumber < 50 ? 1 : 2; }

// The temperature reply: generation 2 reports sixteenths of a degree under "T"; generation 1
// reports the raw sensor value under "t", which the program's calibration turns into degrees.
std::string temperatureReply(const SimState& s, char letterGen2)
{
    if (generationOf(s) >= 2) return reply3(letterGen2, int(std::lround(s.temperatureC * 16)));
    double sensor = (s.temperatureC - (-16.34)) / 1.732;
    return reply3('t', int(std::lround(sensor * 64 * 20)) & 0xFFFF);
}

}  // namespace

void InstallCoreDevices(InstrumentSimulator& sim)
{
    sim.on('N', [](SimState& s, const ReceivedFrame&) { return reply3('N', s.serialNumber); });
    sim.on('I', [](SimState& s, const ReceivedFrame&) { return reply3('I', s.identification); });
    sim.on('C', [](SimState& s, const ReceivedFrame& f) -> std::string {
        if (f.b == 0) {
            s.selectedCamera = f.a;
            return std::string(1, char(f.a));
        }
        if (f.b == '*') return reply3('C', 0);
        return {};  // image requests are played by the camera module
    });
    sim.on('G', [](SimState& s, const ReceivedFrame& f) {
        s.gain = f.a * 256 + f.b;
        return echo(f);
    });
    sim.on('E', [](SimState& s, const ReceivedFrame& f) {
        s.exposure = f.a * 256 + f.b;
        return echo(f);
    });
    sim.on('S', [](SimState& s, const ReceivedFrame& f) {
        s.speed = f.b;
        return echo(f);
    });
    sim.on('y', [](SimState& s, const ReceivedFrame& f) {
        s.winY0 = f.b;
        return echo(f);
    });
    sim.on('Y', [](SimState& s, const ReceivedFrame& f) {
        s.winY1 = f.b;
        return echo(f);
    });
    sim.on('x', [](SimState& s, const ReceivedFrame& f) {
        s.winX0 = f.b;
        return echo(f);
    });
    sim.on('X', [](SimState& s, const ReceivedFrame& f) {
        s.winX1 = f.b;
        return echo(f);
    });
    sim.on('L', [](SimState&, const ReceivedFrame& f) { return echo(f); });
    sim.on('l', [](SimState&, const ReceivedFrame& f) { return echo(f); });
    sim.on('s', [](SimState&, const ReceivedFrame& f) { return echo(f); });
    sim.on('T', [](SimState& s, const ReceivedFrame& f) -> std::string {
        switch (f.a) {
        case 1: s.peltierPower = f.b; break;
        case 2: s.fanLevel = f.b; break;
        case 15: s.blueLight = f.b; break;
        case 255: s.peltierPower = f.b; return temperatureReply(s, 'T');
        default: break;
        }
        return temperatureReply(s, 'T');
    });
}

}  // namespace tirmo::sim
