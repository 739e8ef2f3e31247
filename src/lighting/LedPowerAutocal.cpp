#include "lighting/LedPowerAutocal.h"

#include <optional>

#include "platform/Clock.h"
#include "platform/Convert.h"

namespace tirmo::lighting {
namespace {

constexpr int kCameras = 6;
constexpr double kCameraShare = 100.0 / 6;  // of the whole round's progress, per camera
constexpr int kListedLeds = 8;              // LED numbers named in a status line

using End = LedCalibrationOutcome::End;

std::string cameraTag(int camera) { return "CAM[" + std::to_string(camera) + "]"; }

std::string ledList(const std::vector<int>& leds)
{
    std::string s;
    for (size_t i = 0; i < leds.size() && i < size_t(kListedLeds); ++i) s += (i ? ", " : "") + std::to_string(leds[i]);
    if (leds.size() > size_t(kListedLeds)) s += ", ...";
    return s;
}

class Calibration {
public:
    Calibration(LedCalibrationHost& host, LedMap& map, const LedCalibrationSetup& setup)
        : host_(host), map_(map), setup_(setup), c_(setup.camera), factory_(setup.variant == CalibrationVariant::Factory),
          readings_(size_t(kLedCount)), measured_(size_t(kLedCount), true)
    {}

    LedCalibrationOutcome run()
    {
        const auto problems = LoadLedTables(map_, setup_.layoutPath, setup_.folder);
        if (!problems.empty()) host_.Status(ProblemText(problems));
        std::optional<CalibrationTargets> targets = TargetsFor(setup_.plateFormat);
        if (factory_) targets = CalibrationTargets{kFactorySelectionTarget, 0};
        if (!targets)
            return finish(End::Refused, "Autocalibration: no target grey level for plate format [" +
                                            setup_.plateFormat + "]: LED powers unchanged");
        if (c_ >= 0 && c_ < kCameras) leds_ = CameraLeds(map_, c_);
        if (leds_.empty())
            return finish(End::Refused, cameraTag(c_) + ": no LED serves this camera: LED powers unchanged");

        host_.SendAllLedPower(0);
        platform::Sleep(100);
        host_.SetCalibrationCamera();
        settle();
        for (int level = 0; level < kCalibrationLevels; ++level) {
            if (stopped()) return stop(" at level " + std::to_string(level));
            showLevel(level);
            host_.SendAllLedPower(level);
            platform::Sleep(100);
            const bool good = host_.GrabFrame();
            platform::Sleep(10);
            platform::DoEvents();
            if (!good) {
                darken();
                // The windows ask for no frame once the user has stopped: that is no camera fault.
                if (stopped()) return stop(" at level " + std::to_string(level));
                return finish(End::NoFrame,
                              cameraTag(c_) + ": no frame at level " + std::to_string(level) + ": LED powers unchanged");
            }
            for (int led : leds_) {
                const auto r = ReadLed(map_, led, c_, host_.Frames(), counts());
                if (!r) measured_[size_t(led)] = false;
                readings_[size_t(led)][size_t(level)] = r.value_or(0);
            }
        }
        for (int led : leds_)
            if (!measured_[size_t(led)]) unmeasured_.push_back(led);

        platform::Sleep(20);
        host_.SendAllLedPower(0);
        platform::Sleep(100);
        if (stopped()) return stop();
        for (int led : leds_)
            if (measured_[size_t(led)]) map_.power[size_t(led)] = SelectLedPower(readings_[size_t(led)], targets->selection);
        std::string unmeasured;
        if (!unmeasured_.empty()) {
            unmeasured = cameraTag(c_) + ": " + std::to_string(unmeasured_.size()) + " LEDs light no counted pixel (" +
                         ledList(unmeasured_) + "): their powers are kept";
            host_.Status(unmeasured);
        }

        if (factory_ && host_.ConfirmSecondRound()) EvenOutLedPowers(map_, measuredLeds(), readings_);
        // Not one reading: nothing was calibrated, and saving or lighting the loaded powers
        // again would pass for a calibration that worked.
        if (unmeasured_.size() == leds_.size()) return finish(End::NothingMeasured, unmeasured);
        if (!factory_) {
            if (!save()) return finish(End::NotSaved, lastMessage_);
            host_.ApplyLedPower(c_);
            if (auto end = adjust(targets->adjustment)) return finish(*end, lastMessage_);
        }

        if (setup_.sendPowers) {
            if (stopped()) return stop();
            for (int led : leds_) {
                host_.Status(cameraTag(c_) + ": Setting led power=" + std::to_string(led));
                if (!factory_) host_.Label(cameraTag(c_) + ":Setting led" + std::to_string(led));
                host_.SendLedPower(led, map_.power[size_t(led)]);
            }
        }
        if (stopped()) return stop();
        if (!save()) return finish(End::NotSaved, lastMessage_);
        platform::Sleep(100);
        if (setup_.sendPowers) {
            host_.GrabFrame();
            platform::DoEvents();
            platform::Sleep(10);
            // The LEDs whose powers were kept stay named: the last line is all the user sees.
            host_.Status(unmeasured.empty() ? "1er ajuste" : "1er ajuste; " + unmeasured);
        }
        return finish(End::Done, "");
    }

private:
    // The factory window has no Stop of its own: its calibration always runs to its end.
    bool stopped() { return !factory_ && host_.StopRequested(); }

    // Each window says which positions count (the factory window: all of them).
    PositionFilter counts() const
    {
        return [this](int camera, int x, int y) { return host_.PositionCounts(camera, x, y); };
    }

    std::vector<int> measuredLeds() const
    {
        std::vector<int> out;
        for (int led : leds_)
            if (measured_[size_t(led)]) out.push_back(led);
        return out;
    }

    void settle()
    {
        const std::string status = AutocalibrationStatus(factory_ ? 0 : kCameraShare * c_);
        for (int frame = 1; frame <= 2; ++frame) {
            host_.Status(status);
            if (!factory_) host_.Label(cameraTag(c_) + ": zero" + std::to_string(frame));
            if (frame == 1) platform::Sleep(100);
            host_.GrabFrame();  // only lets the camera settle: its content is not used
            platform::Sleep(100);
            platform::DoEvents();
        }
    }

    void showLevel(int level)
    {
        if (factory_) {
            host_.Status(AutocalibrationStatus(100.0 / kTopCalibrationLevel * level));
            return;
        }
        const double progress = kCameraShare / kTopCalibrationLevel * level + kCameraShare * c_;
        host_.Status(AutocalibrationStatus(progress));
        host_.Progress(progress);
        platform::Sleep(20);
    }

    // The check frame with the chosen powers lit, and each power corrected by it.
    std::optional<End> adjust(int target)
    {
        host_.Status("Autocalibration status = [Image Processing...]");
        platform::Sleep(10);
        const bool good = host_.GrabFrame();
        platform::Sleep(10);
        platform::DoEvents();
        if (!good) {
            darken();
            if (stopped()) {
                lastMessage_ = stoppedText("");
                return End::Stopped;
            }
            lastMessage_ = cameraTag(c_) + ": no check frame: the chosen LED powers are kept";
            return End::NoFrame;
        }
        std::vector<std::optional<int>> check(static_cast<size_t>(kLedCount));
        for (int led : leds_) check[size_t(led)] = ReadLed(map_, led, c_, host_.Frames(), counts());
        platform::Sleep(20);
        host_.SendAllLedPower(0);
        platform::Sleep(100);
        if (stopped()) {
            lastMessage_ = stoppedText("");
            return End::Stopped;
        }
        for (int led : leds_) {
            if (!measured_[size_t(led)] || !check[size_t(led)]) continue;
            int& power = map_.power[size_t(led)];
            power = AdjustLedPower(power, *check[size_t(led)], target);
        }
        return std::nullopt;
    }

    // The user's Stop said as such, with what ledpower.dat holds: the status must neither blame
    // the camera nor stand at a share of the round as if it were still going on.
    std::string stoppedText(const std::string& where) const
    {
        return cameraTag(c_) + ": stopped" + where + (saved_ ? ": the chosen LED powers are kept" : ": LED powers unchanged");
    }
    LedCalibrationOutcome stop(const std::string& where = "") { return finish(End::Stopped, stoppedText(where)); }

    bool save()
    {
        if (WriteLedPower(map_, setup_.folder)) return saved_ = true;
        lastMessage_ = "Could not write " + setup_.folder + "/" + kLedPowerName + ": LED powers not sent";
        host_.Status(lastMessage_);
        return false;
    }

    // After a frame that did not come the LEDs go dark, as at the end of a calibration; nothing
    // is computed from the frame store.
    void darken()
    {
        host_.SendAllLedPower(0);
        platform::Sleep(100);
    }

    LedCalibrationOutcome finish(End end, const std::string& message)
    {
        if (!message.empty()) host_.Status(message);
        lastMessage_ = message;
        LedCalibrationOutcome out;
        out.end = end;
        out.unmeasured = unmeasured_;
        out.message = message;
        return out;
    }

    LedCalibrationHost& host_;
    LedMap& map_;
    const LedCalibrationSetup& setup_;
    const int c_;
    const bool factory_;
    std::vector<int> leds_;
    LevelReadings readings_;
    std::vector<bool> measured_;
    std::vector<int> unmeasured_;
    std::string lastMessage_;
    bool saved_ = false;
};

}  // namespace

std::string AutocalibrationStatus(double percent)
{
    return "Autocalibration status = " + std::to_string(platform::RoundHalfEven(percent)) + "%";
}

LedCalibrationOutcome AutoCalibrateLedPower(LedCalibrationHost& host, LedMap& map, const LedCalibrationSetup& setup)
{
    return Calibration(host, map, setup).run();
}

}  // namespace tirmo::lighting
