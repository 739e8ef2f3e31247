#include <string>

#include "sim/InstrumentSimulator.h"
#include "sim/SimDevices.h"

namespace tirmo::sim {

void InstallLedDevices(InstrumentSimulator& sim)
{
    sim.on('L', [](SimState&, const ReceivedFrame& f) { return Echo(f); });
    sim.on('l', [](SimState&, const ReceivedFrame& f) { return Echo(f); });
    sim.on('s', [](SimState&, const ReceivedFrame& f) { return Echo(f); });
}

}  // namespace tirmo::sim
