#pragma once
// A plate lit from below by the simulated LED array: inside a well the grey level is the sum,
// over the camera's LEDs whose rectangle covers the position, of grey-per-power times the LED's
// power as the instrument last set it, scaled by a settable factor per half of the well; outside
// the wells it is a dim constant. The LED calibrations converge on it the way they do on a plate.
#include <array>
#include <memory>
#include <vector>

#include "sim/SimDeviceState.h"

namespace tirmo::sim {

struct SimState;

// An LED and the rectangle it lights in its camera's frame, in the image positions of the
// default window as the program stores frames (x = sensor line + 1, y = 183 - sensor pixel),
// both ends included: the positions ledxy.dat gives.
struct SimLed {
    int led = 0;
    int camera = 0;
    int x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

// Light factors per half of each well of a camera: the first column half is the half of lower
// sensor lines, the first row half that of lower image y (higher sensor pixels). 1 everywhere
// is an even light.
struct LightSkew {
    double firstColumnHalf = 1, secondColumnHalf = 1;
    double firstRowHalf = 1, secondRowHalf = 1;
};

class LitPlate : public FrameSource {
public:
    // powers must outlive the source: the simulator's own LED table (SimState::leds).
    LitPlate(std::vector<SimWell> wells, std::vector<SimLed> leds, const LedSimState& powers, double greyPerPower,
             int background);
    unsigned char pixel(int camera, int line, int pixel, long frame) const override;
    // Change the skew inside the simulator's with(): frames are built under its lock.
    void setSkew(int camera, const LightSkew& skew);
    // No plate on the stage: every position under a lit LED's rectangle shows its light.
    void removePlate() { emptyStage_ = true; }

private:
    std::vector<SimWell> wells_;
    std::array<std::vector<SimLed>, 7> leds_;  // per camera
    const LedSimState& powers_;
    double greyPerPower_;
    int background_;
    std::array<LightSkew, 7> skew_{};
    bool emptyStage_ = false;
};

// The LED rectangles of a later (second-generation) board over the default window of every
// camera: each camera's block of 9 LED columns by 7 rows, numbered as its default layout, column
// k lighting x 16(k-1) .. 16(k-1) + 12 and row k lighting y 26(k-1) .. 26(k-1) + 20 (the first
// column and row start at 0). The block's tenth LED lights nothing.
std::vector<SimLed> StageLedGrid();

// An empty stage under the LED array (no plate): what the light-alignment and saturation-level
// calibrations look at.
std::shared_ptr<LitPlate> InstallEmptyStage(SimState& state, std::vector<SimLed> leds, double greyPerPower,
                                            int background = 10);

// Builds the source on the simulator's LED table and makes it what the cameras see.
std::shared_ptr<LitPlate> InstallLitPlate(SimState& state, std::vector<SimWell> wells, std::vector<SimLed> leds,
                                          double greyPerPower, int background = 10);

}  // namespace tirmo::sim
