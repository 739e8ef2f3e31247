#include "sim/SimLitPlate.h"

#include <cmath>

#include "sim/InstrumentSimulator.h"

namespace tirmo::sim {
namespace {

constexpr int kMirror = 183;  // image y of a sensor pixel in the default window

}  // namespace

LitPlate::LitPlate(std::vector<SimWell> wells, std::vector<SimLed> leds, const LedSimState& powers,
                   double greyPerPower, int background)
    : wells_(std::move(wells)), powers_(powers), greyPerPower_(greyPerPower), background_(background)
{
    for (const SimLed& l : leds)
        if (l.camera >= 0 && l.camera < 7 && l.led >= 0 && l.led < LedSimState::kCount) leds_[size_t(l.camera)].push_back(l);
}

unsigned char LitPlate::pixel(int camera, int line, int pixel, long) const
{
    if (camera < 0 || camera >= 7) return (unsigned char)background_;
    const SimWell* well = nullptr;
    for (const SimWell& w : wells_)
        if (w.camera == camera && std::hypot(line - w.line, pixel - w.pixel) <= w.radius) well = &w;
    if (!well && !emptyStage_) return (unsigned char)background_;
    const int x = line + 1, y = kMirror - pixel;
    double grey = 0;
    for (const SimLed& l : leds_[size_t(camera)])
        if (x >= l.x1 && x <= l.x2 && y >= l.y1 && y <= l.y2) grey += greyPerPower_ * powers_.power[size_t(l.led)];
    const LightSkew& s = skew_[size_t(camera)];
    if (emptyStage_) grey += background_;
    if (well) grey *= line < well->line ? s.firstColumnHalf : s.secondColumnHalf;
    if (well) grey *= pixel > well->pixel ? s.firstRowHalf : s.secondRowHalf;
    const long level = std::lround(grey);
    return (unsigned char)(level < 0 ? 0 : level > 255 ? 255 : level);
}

void LitPlate::setSkew(int camera, const LightSkew& skew)
{
    if (camera >= 0 && camera < 7) skew_[size_t(camera)] = skew;
}

std::vector<SimLed> StageLedGrid()
{
    constexpr int kFirstLed[] = {0, 192, 64, 256, 128, 320};
    std::vector<SimLed> leds;
    for (int camera = 0; camera < 6; ++camera) {
        int led = kFirstLed[camera];
        for (int column = 0; column < 9; ++column)
            for (int row = 0; row < 7; ++row)
                leds.push_back({led++, camera, 16 * column, 16 * column + 12, 26 * row, 26 * row + 20});
    }
    return leds;
}

std::shared_ptr<LitPlate> InstallEmptyStage(SimState& state, std::vector<SimLed> leds, double greyPerPower, int background)
{
    auto source = InstallLitPlate(state, {}, std::move(leds), greyPerPower, background);
    source->removePlate();
    return source;
}

std::shared_ptr<LitPlate> InstallLitPlate(SimState& state, std::vector<SimWell> wells, std::vector<SimLed> leds,
                                          double greyPerPower, int background)
{
    auto source = std::make_shared<LitPlate>(std::move(wells), std::move(leds), state.leds, greyPerPower, background);
    state.cameras.source = source;
    return source;
}

}  // namespace tirmo::sim
