#include <string>

#include "sim/InstrumentSimulator.h"
#include "sim/SimDevices.h"

namespace tirmo::sim {

void InstallCameraDevices(InstrumentSimulator& sim)
{
    sim.on('C', [](SimState& s, const ReceivedFrame& f) -> std::string {
        if (f.b == 0) {
            s.cameras.selectedCamera = f.a;
            return std::string(1, char(f.a));
        }
        if (f.b == '*') return Reply3('C', 0);
        return {};
    });
    auto setting = [&sim](char letter, int CameraSimState::*field, bool sixteenBits) {
        sim.on(letter, [field, sixteenBits](SimState& s, const ReceivedFrame& f) {
            s.cameras.*field = sixteenBits ? f.a * 256 + f.b : f.b;
            return Echo(f);
        });
    };
    setting('G', &CameraSimState::gain, true);
    setting('E', &CameraSimState::exposure, true);
    setting('S', &CameraSimState::speed, false);
    setting('y', &CameraSimState::winY0, false);
    setting('Y', &CameraSimState::winY1, false);
    setting('x', &CameraSimState::winX0, false);
    setting('X', &CameraSimState::winX1, false);
}

}  // namespace tirmo::sim
