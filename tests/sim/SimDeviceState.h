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

// The Peltier stage as a simple thermal model: the plate warms or cools in proportion to the
// drive level and drifts towards room temperature. Time in the model only moves when it is
// advanced: by secondsPerFrame on every stage frame received, or by advance() from a test.
struct ThermalSimState {
    double temperatureC = 25.0;    // the plate
    double roomC = 25.0;
    int fanLevel = 0;
    int peltierPower = 0;          // drive level, 0 = off
    bool cooling = false;          // direction of the drive
    int readPowerByte = 0;         // power byte of the last reading command
    double secondsPerFrame = 0;    // model time per stage frame (0: the plate holds still)
    double degreesPerSecondAtFull = 0.1;  // Peltier effect at drive 255
    double driftPerSecond = 0.002;        // share of the distance to room temperature per second
    // The sensor of a generation-1 stage: raw = (temperature - offset) / slope, reported in
    // 1/1280 units under 't'. Its nominal line is the program's default calibration.
    double sensorOffset = -16.34;
    double sensorSlope = 1.732;
    // The switch that makes the stage report an out-of-range temperature.
    bool reportOutOfRange = false;
    double outOfRangeC = 55.0;

    void advance(double seconds)
    {
        const double drive = (cooling ? -1.0 : 1.0) * degreesPerSecondAtFull * peltierPower / 255.0;
        temperatureC += seconds * (drive - driftPerSecond * (temperatureC - roomC));
    }
    double reportedC() const { return reportOutOfRange ? outOfRangeC : temperatureC; }
    // The raw sensor value a generation-1 stage reports for a plate temperature.
    double rawFor(double celsius) const { return (celsius - sensorOffset) / sensorSlope; }
};

}  // namespace tirmo::sim
