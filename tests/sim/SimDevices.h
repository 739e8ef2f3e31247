#pragma once
// The instrument's devices as the simulator plays them. Each subsystem's commands are installed
// by one function in its own file; the simulator's constructor calls them all.
#include <string>

namespace tirmo::sim {

class InstrumentSimulator;
struct ReceivedFrame;

// Identification ('N', 'I').
void InstallCoreDevices(InstrumentSimulator& sim);
// Cameras: select, settings, window, image blocks, sensor registers ('C', 'G', 'E', 'S', 'x', 'X', 'y', 'Y', 'c').
void InstallCameraDevices(InstrumentSimulator& sim);
// LEDs and blue light ('L', 'l', 's'; 'T' 15 is answered by the thermal module's 'T' handler).
void InstallLedDevices(InstrumentSimulator& sim);
// The 'T' family: Peltier, fan, temperature reading, blue light.
void InstallThermalDevices(InstrumentSimulator& sim);
// The calibration memory ('f', 'F').
void InstallFlashDevices(InstrumentSimulator& sim);

// Reply helpers shared by the device modules.
std::string Reply3(char letter, int value);  // letter, value div 256, value mod 256
std::string Echo(const ReceivedFrame& f);    // letter, a, b as received

}  // namespace tirmo::sim
