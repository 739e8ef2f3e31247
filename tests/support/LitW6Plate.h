#pragma once
// A "w6" plate on the simulator lit by the instrument's own LEDs, with the light calibration
// files that go with it: ldsetup2.dat in config, and in the instrument's folder ledxy.dat placing
// each LED of a camera's block over its share of the well and ledpower.dat at one power for
// every LED. What the round and a run then measure depends on the powers the simulator's LEDs
// have.
#include <memory>
#include <string>

#include "sim/InstrumentSimulator.h"
#include "sim/SimLitPlate.h"

namespace tirmo::test {

inline constexpr double kGreyPerPower = 25;

// instrumentFolder is relative to the program folder ("config_SN58").
std::shared_ptr<sim::LitPlate> InstallLitW6Plate(sim::InstrumentSimulator& sim, const std::string& instrumentFolder,
                                                 int power);

}  // namespace tirmo::test
