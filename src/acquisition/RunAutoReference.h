#pragma once
// The autoreference round the run start runs before its first window: the LED-power
// autocalibration and the LED-map centring of every camera in use, over the run's tables and
// camera windows, the camera set-up, the LED map and the frame store. It sends and computes;
// what it shows goes through an AutoReferenceView, which the window implements.
#include <random>
#include <string>
#include <vector>

#include "camera/FrameStore.h"
#include "lighting/AutoReference.h"
#include "lighting/LedMap.h"
#include "lighting/LedPowerAutocal.h"
#include "link/Protocol.h"

namespace tirmo::acquisition {

class RunControls;

// What the round shows: the calibration frame with its label and the progress bar, the camera
// buttons, the plate layout, the transfer trace and the grid of the wells it centres on.
class AutoReferenceView {
public:
    virtual ~AutoReferenceView() = default;
    // The calibration frame shown and the progress bar cleared, scaled 0..100.
    virtual void ShowRoundPanel() = 0;
    virtual void HideRoundPanel() = 0;
    // Camera buttons white, camera's grey.
    virtual void MarkRoundCamera(int camera) = 0;
    virtual void DrawPlateLayout(const std::string& format) = 0;
    virtual void ShowRoundLabel(const std::string& text) = 0;
    virtual void ShowProgress(double percent) = 0;
    // The transfer trace of a frame grabbed, as it came.
    virtual void ShowGrabTrace(const std::string& trace) = 0;
    virtual void DrawCalibrationDots(const std::vector<lighting::GridDot>& dots) = 0;
};

class RunAutoReference : public lighting::LedCalibrationHost, public lighting::AutoReferenceHost {
public:
    RunAutoReference(link::Console& console, RunControls& run, lighting::LedMap& map, camera::FrameStore& frames,
                     AutoReferenceView& view);

    // The round as the run start calls it, with run_state 1 and the run prepared: every camera
    // in use calibrated and centred, the results file in the acquisition folder, and, when the
    // run is still running afterwards, every LED sent its power from ledpower.dat. True when the
    // run goes on (false after the user's Stop or with the link gone).
    bool AutoCalibrateCameras();
    lighting::AutoReferenceOutcome last_round;

    // LedCalibrationHost and AutoReferenceHost.
    void SendAllLedPower(int level) override;
    void SendLedPower(int led, int power) override;
    void ApplyLedPower(int camera) override;
    void SetCalibrationCamera() override;
    bool GrabFrame() override;
    const camera::FrameStore& Frames() const override { return frames_; }
    bool PositionCounts(int camera, int x, int y) const override;
    void Status(const std::string& text) override { console_.SetStatus(text); }
    void Label(const std::string& text) override { view_.ShowRoundLabel(text); }
    void Progress(double percent) override { view_.ShowProgress(percent); }
    // The user's Stop, or the link gone (nothing the round still sends would reach the instrument).
    bool StopRequested() override { return console_.session().run_state != 1 || LinkLost(); }
    bool LinkLost() const { return console_.session().dummy_mode != 1 && !console_.session().port_open; }
    bool ConfirmSecondRound() override { return false; }

    bool CameraInUse(int camera) const override;
    int WindowCount(int camera) const override;
    bool DummyMode() const override { return console_.session().dummy_mode == 1; }
    void BeginRound() override;
    void ShowCamera(int camera) override;
    void ShowRunSettings() override;
    lighting::LedCalibrationOutcome CalibrateLedPower(int camera) override;
    lighting::RoundWindow ApplyCameraWindow(int camera, int window) override;
    std::string ReadCameraScan(int camera, int window) override;
    void DrawCalibrationWellGrid(int camera, int window, const std::string& frame) override;
    lighting::CentringReport CentreLedMap(int camera, int window, const std::string& frame) override;
    bool WriteLedPower() override;
    const lighting::LedMap& Map() const override { return map_; }
    void EndRound() override;
    int RandomGrey() override;

private:
    lighting::CentringWindow centringWindow(int camera, int window, const std::string& frame) const;
    lighting::CentringPlate centringPlate() const;
    std::string format() const { return console_.session().run_settings.PlateFormat(); }
    link::CameraSettings& cameraSettings() { return console_.session().camera; }

    link::Console& console_;
    RunControls& run_;
    lighting::LedMap& map_;
    camera::FrameStore& frames_;
    AutoReferenceView& view_;
    std::mt19937 random_;
};

}  // namespace tirmo::acquisition
