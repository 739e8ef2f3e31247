#include <algorithm>
#include <string>

#include "sim/InstrumentSimulator.h"
#include "sim/SimDevices.h"

namespace tirmo::sim {
namespace {

// The LED driver keeps its levels in four bits.
int driverLevel(int b) { return std::min(b, 15); }

// The two banks meet at 208 on first-generation boards and at 192 on later ones.
int bankSplit(const SimState& s) { return s.generation() == 1 ? 208 : 192; }

}  // namespace

void InstallLedDevices(InstrumentSimulator& sim)
{
    sim.on('L', [](SimState& s, const ReceivedFrame& f) {
        if (f.a == 255) s.leds.power.fill(driverLevel(f.b));
        else if (f.a < bankSplit(s)) s.leds.power[f.a] = driverLevel(f.b);
        return Echo(f);
    });
    sim.on('l', [](SimState& s, const ReceivedFrame& f) {
        const int led = f.a + bankSplit(s);
        if (led < LedSimState::kCount) s.leds.power[size_t(led)] = driverLevel(f.b);
        return Echo(f);
    });
    sim.on('s', [](SimState& s, const ReceivedFrame& f) {
        s.leds.frequency = f.a;
        return Echo(f);
    });
}

}  // namespace tirmo::sim
