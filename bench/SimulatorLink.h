#pragma once
// The link a benchmark measures against: the simulated instrument on COM4 at the program's
// 115200 baud, opened into the session as the start-up would leave it.
#include <benchmark/benchmark.h>

#include "link/CommPort.h"
#include "link/Session.h"
#include "sim/InstrumentSimulator.h"

namespace tirmo::bench {

inline constexpr int kSimulatorPort = 4;

// False (the benchmark marked skipped) when the port could not be opened.
inline bool OpenSimulatorLink(benchmark::State& state, sim::InstrumentSimulator& instrument, link::Session& session)
{
    instrument.attachAsCom(kSimulatorPort);
    if (link::CommOpen(kSimulatorPort, "COM4", "baud=115200 parity=N data=8 stop=1") != 0) {
        state.SkipWithError("cannot open the simulator's port");
        return false;
    }
    session.port_slot = kSimulatorPort;
    session.port_open = true;
    return true;
}

}  // namespace tirmo::bench
