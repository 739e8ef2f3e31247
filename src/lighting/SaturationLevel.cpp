// The saturation-level calibration: every LED at each level 0 to 8, one frame per level, and
// each LED of the camera given the highest level at which its rectangle reads at most 178.
#include "lighting/LedPowerSelection.h"
#include "lighting/LightCalibration.h"
#include "platform/Clock.h"

namespace tirmo::lighting {
namespace {

constexpr int kLevels = 9;                  // 0..8
constexpr int kSteps = 2 + kLevels + 1;     // frames of one camera

class Saturation {
public:
    Saturation(LightCalibrationHost& host, LedMap& map, const LightCalibrationSetup& setup)
        : host_(host), map_(map), setup_(setup), c_(setup.camera)
    {}

    LightCalibrationEnd run()
    {
        const auto problems = LoadLedTables(map_, setup_.layoutPath, setup_.loadFolder);
        if (!problems.empty()) host_.Status(ProblemText(problems));
        std::vector<int> leds;
        for (int led = 0; led < kLedCount; ++led)
            if (map_.camera[size_t(led)] == c_) leds.push_back(led);
        std::vector<std::vector<int>> readings(size_t(kLedCount), std::vector<int>(size_t(kLevels), 0));

        platform::Sleep(50);
        host_.SendAllLedPower(0);
        platform::Sleep(100);
        host_.SetDefaultCamera();
        // Two settling frames with the LEDs off: only shown, nothing is read from them.
        host_.Status(CameraTag(c_) + ": Acquiring zero1");
        platform::Sleep(400);
        if (!steps_.Grab()) return steps_.Fail();
        platform::Sleep(100);
        platform::DoEvents();
        host_.Status(CameraTag(c_) + ": Acquiring zero2");
        if (!steps_.Grab()) return steps_.Fail();
        platform::Sleep(100);
        platform::DoEvents();

        for (int level = 0; level < kLevels; ++level) {
            if (host_.StopRequested()) return steps_.Fail();
            host_.Status(CameraTag(c_) + ": Setting power=" + std::to_string(level));
            platform::Sleep(20);
            host_.SendAllLedPower(level);
            platform::Sleep(100);
            if (!steps_.Grab()) return steps_.Fail();
            platform::Sleep(500);
            platform::DoEvents();
            // A rectangle that counts no position of the frame reads 0 at every level.
            for (int led : leds)
                readings[size_t(led)][size_t(level)] = ReadLed(map_, led, c_, host_.Frames(), {}).value_or(0);
        }

        // The powers go into a copy: a Stop from here on leaves the window's map as loaded.
        LedMap result = map_;
        for (int led : leds) {
            if (host_.StopRequested()) return steps_.Fail();
            result.power[size_t(led)] = SaturationLevel(readings[size_t(led)]);
        }
        for (int led : leds) {
            if (host_.StopRequested()) return steps_.Fail();
            host_.Status(CameraTag(c_) + ": Setting led power=" + std::to_string(led));
            host_.SendLedPower(led, result.power[size_t(led)]);
        }
        if (host_.StopRequested()) return steps_.Fail();
        if (!WriteLedPower(result, setup_.saveFolder)) {
            steps_.end = LightCalibrationEnd::NotSaved;
            return steps_.Fail("Could not write " + setup_.saveFolder + "/" + kLedPowerName + ": ledpower.dat unchanged");
        }
        map_ = result;
        platform::Sleep(100);
        steps_.Grab();  // the last frame under the new powers, only shown
        platform::Sleep(100);
        // The last LED's "Setting led power" would otherwise stand as if the work were still going on.
        host_.Status(CameraTag(c_) + ": OK");
        return LightCalibrationEnd::Done;
    }

private:
    LightCalibrationHost& host_;
    LedMap& map_;
    const LightCalibrationSetup& setup_;
    const int c_;
    LightCalibrationSteps steps_{host_, c_, kSteps, "ledpower.dat"};
};

}  // namespace

int SaturationLevel(const std::vector<int>& readings)
{
    int power = 0;
    for (size_t level = 0; level < readings.size(); ++level)
        if (readings[level] <= kSaturationLimit) power = int(level);
    return power;
}

LightCalibrationEnd CalibrateSaturationLevel(LightCalibrationHost& host, LedMap& map, const LightCalibrationSetup& setup)
{
    return Saturation(host, map, setup).run();
}

}  // namespace tirmo::lighting
