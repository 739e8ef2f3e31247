#pragma once
// The instrument's devices as the simulator plays them. Each subsystem's commands are installed
// by one function; the simulator's constructor calls them all.
namespace tirmo::sim {

class InstrumentSimulator;

// Identification ('N', 'I'), camera select and settings ('C', 'G', 'E', 'S', window letters),
// LED echoes ('L', 'l', 's') and the 'T' family (fan, Peltier, blue light, temperature reading).
void InstallCoreDevices(InstrumentSimulator& sim);

}  // namespace tirmo::sim
