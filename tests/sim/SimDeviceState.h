#pragma once
// The state each simulated device keeps, one struct per subsystem so that each grows on its own.
#include <array>
#include <vector>

namespace tirmo::sim {

struct CameraSimState {
    int selectedCamera = 6;
    int gain = 0, exposure = 0, speed = 0;
    int winY0 = 0, winY1 = 0, winX0 = 0, winX1 = 0;  // 'y','Y','x','X' bytes of the selected camera
};

struct LedSimState {
    static constexpr int kCount = 416;
    std::array<int, kCount> power{};  // 0..15 per LED
    int frequency = 0;                // 's' PWM frequency byte
    int blueLight = 0;                // 'T' 15 level
};

struct ThermalSimState {
    double temperatureC = 25.0;
    int fanLevel = 0;
    int peltierPower = 0;
};

}  // namespace tirmo::sim
