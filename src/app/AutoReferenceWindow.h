#pragma once
// The main window's light calibration before a run and its well-position calibration entry: the
// autoreference round and the LED-power autocalibration it runs per camera, played on the
// window's camera boxes and pictures, its LED map and the run's tables, with the calibration
// frame's label and the progress bar on Picrealtime; and the "Calibrate position" menu entry
// that opens the well calibration panel on camera 0.
#include <QObject>

#include <random>
#include <string>

#include "lighting/AutoReference.h"
#include "lighting/LedPowerAutocal.h"
#include "ui/Forward.h"

class QAction;
class QAction;

namespace tirmo::app {

class Frm_acquire;

// Refused during a run: the run's camera windows and its closing steps belong to the run.
inline constexpr const char* kCalibrateDuringRun =
    "Acquisition in progress: stop the run before calibrating the well positions";

class AutoReferenceWindow : public QObject, public lighting::LedCalibrationHost, public lighting::AutoReferenceHost {
    Q_OBJECT
public:
    AutoReferenceWindow(Frm_acquire& window, QWidget* calibrationFrame, QAction* calibratePosition);

    // The round as the run start calls it, with run_state 1 and the run prepared: every camera
    // in use calibrated and centred, the results file in the acquisition folder, and, when the
    // run is still running afterwards, every LED sent its power from ledpower.dat. True when the
    // run goes on (false after the user's Stop).
    bool AutoCalibrateCameras();
    lighting::AutoReferenceOutcome last_round;

    // "Calibrate position": the well calibration panel for the format in cmb_well, on camera 0.
    void mncalibratewell_Click();

    ui::Label* lbl_autocalibra = nullptr;
    QAction* mncalibratewell = nullptr;

    // LedCalibrationHost and AutoReferenceHost on the window.
    void SendAllLedPower(int level) override;
    void SendLedPower(int led, int power) override;
    void ApplyLedPower(int camera) override;
    void SetCalibrationCamera() override;
    bool GrabFrame() override;
    const camera::FrameStore& Frames() const override;
    bool PositionCounts(int camera, int x, int y) const override;
    void Status(const std::string& text) override;
    void Label(const std::string& text) override;
    void Progress(double percent) override;
    bool StopRequested() override;
    bool ConfirmSecondRound() override { return false; }

    bool CameraInUse(int camera) const override;
    int WindowCount(int camera) const override;
    bool DummyMode() const override;
    void BeginRound() override;
    void ShowCamera(int camera) override;
    void ShowRunSettings() override;
    lighting::LedCalibrationOutcome CalibrateLedPower(int camera) override;
    lighting::RoundWindow ApplyCameraWindow(int camera, int window) override;
    std::string ReadCameraScan(int camera, int window) override;
    void DrawCalibrationWellGrid(int camera, int window, const std::string& frame) override;
    lighting::CentringReport CentreLedMap(int camera, int window, const std::string& frame) override;
    bool WriteLedPower() override;
    const lighting::LedMap& Map() const override;
    void EndRound() override;
    int RandomGrey() override;

private:
    lighting::CentringWindow centringWindow(int camera, int window, const std::string& frame) const;
    std::string format() const;

    Frm_acquire& w_;
    QWidget* frame_ = nullptr;  // frm_calibrate
    std::mt19937 random_;
};

}  // namespace tirmo::app
