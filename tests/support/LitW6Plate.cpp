#include "support/LitW6Plate.h"

#include <gtest/gtest.h>

#include <vector>

#include "lighting/LedMap.h"
#include "lighting/LedTestMaps.h"
#include "platform/ProgramFolder.h"
#include "support/ProgramFiles.h"

namespace tirmo::test {

std::shared_ptr<sim::LitPlate> InstallLitW6Plate(sim::InstrumentSimulator& sim, const std::string& instrumentFolder,
                                                 int power)
{
    EXPECT_TRUE(lighting::WriteLedSetup2File("\\config"));
    lighting::LedMap layout;
    lighting::LoadLedTables(layout, platform::ProgramPath("config/ldsetup2.dat"), "config");
    std::string xy = "\"Led control\"\r\n\"led\",\"x1\",\"x2\",\"y1\",\"y2\"\r\n";
    std::string powers = "\"Led control\"\r\n\"led\",\"power\"\r\n";
    std::vector<sim::SimLed> leds;
    for (int led = 0; led < lighting::kLedCount; ++led) {
        const auto r = lighting::test::W6LedRect(layout.colcam[size_t(led)], layout.filcam[size_t(led)]);
        xy += std::to_string(led) + "," + std::to_string(r.x1) + "," + std::to_string(r.x2) + "," +
              std::to_string(r.y1) + "," + std::to_string(r.y2) + "\r\n";
        powers += std::to_string(led) + "," + std::to_string(power) + "\r\n";
        if (r.x1 >= 0) leds.push_back({led, layout.camera[size_t(led)], r.x1, r.x2, r.y1, r.y2});
    }
    WriteProgramFile(instrumentFolder + "/ledxy.dat", xy);
    WriteProgramFile(instrumentFolder + "/ledpower.dat", powers);
    return sim.with(
        [&](sim::SimState& s) { return sim::InstallLitPlate(s, sim::DefaultWells("w6"), leds, kGreyPerPower); });
}

}  // namespace tirmo::test
