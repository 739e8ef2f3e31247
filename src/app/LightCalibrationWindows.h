#pragma once
// The light calibrations as the two windows run them: the main window's "Background light"
// (the light alignment of every camera, while the Play button reads "STOP Setup"), and the
// factory window's "1.LED Factory Setup", "2.LED Basal Calib." and "3.LED InPlate Calib." for the
// camera in its box, with its two lighting menu entries.
// Each runs the lighting sequence on its window's camera boxes, frame store, picture and LEDs.
#include <QObject>

#include <functional>
#include <string>

#include "acquisition/RunTables.h"
#include "camera/CameraControls.h"
#include "camera/FrameStore.h"
#include "lighting/LedPowerAutocal.h"
#include "lighting/LightCalibration.h"
#include "ui/Forward.h"

class QAction;

namespace tirmo::app {

class Frm_acquire;
class Frm_advance;

// A light calibration's host on one window's parts.
class CameraLightHost : public lighting::LightCalibrationHost {
public:
    struct Parts {
        camera::CameraControls* camera = nullptr;
        camera::FrameStore* frames = nullptr;
        ui::Label* transferLabel = nullptr;
        std::function<void(int level)> sendAll;
        std::function<void(int led, int power)> sendLed;
        std::function<void()> setup;  // the camera set-up from the window's boxes
        std::function<void(int camera, int lines, int pix)> draw;
        std::function<void(double percent)> progress;
        std::function<bool()> stop;
    };
    explicit CameraLightHost(Parts parts) : p_(std::move(parts)) {}

    void SendAllLedPower(int level) override { p_.sendAll(level); }
    void SendLedPower(int led, int power) override { p_.sendLed(led, power); }
    void SelectCamera() override { p_.camera->cmd_camera_Click(); }
    void SetDefaultCamera() override;
    bool GrabFrame() override;
    const camera::FrameStore& Frames() const override { return *p_.frames; }
    int LineCount() override;
    int PixelCount() override;
    void Status(const std::string& text) override { p_.camera->console().SetStatus(text); }
    void Progress(double percent) override { p_.progress(percent); }
    bool StopRequested() override { return p_.stop(); }

private:
    Parts p_;
};

class MainLightCalibration : public QObject {
    Q_OBJECT
public:
    // entry: the window's "Background light", made live here.
    MainLightCalibration(Frm_acquire& window, QAction* entry);
    void mncalibralightback_Click();

private:
    Frm_acquire& w_;
};

class FactoryLightCalibration : public QObject {
    Q_OBJECT
public:
    // backgroundEntry: the window's own "Background light", made live here, as are its
    // "Well illumination" and "Fast led calibration" (found by name in the window's menu).
    FactoryLightCalibration(Frm_advance& window, QAction* backgroundEntry);
    void Cmd_ledfactory_Click();  // "1.LED Factory Setup"
    void Cmd_ledcal_Click();      // "2.LED Basal Calib."
    // "3.LED InPlate Calib.": on a plate of culture medium, the LED powers of the camera in
    // txt_cam at the default gain; the camera boxes get their values back afterwards.
    void Cmd_ledinplate_Click();
    // The LED-power autocalibration, factory variant; send_powers 1 sends each new power.
    void AutoCalibrateLedPowerFactory(int send_powers);
    lighting::LedCalibrationOutcome last_autocalibration;
    // This window has no Play button or plate format: the entry runs the factory setup.
    void mncalibralightback_Click() { Cmd_ledfactory_Click(); }
    // "Well illumination": the plate layout of the run's format drawn on this window's picture.
    void mncalibralight_Click();
    // "Fast led calibration": this window's run preparation; 1 when it went through, -1 after
    // "Configuration error".
    int mn_fastled_Click();
    // The run preparation on this window's own plate and band tables (those of config, whatever
    // instrument is connected) for the run's plate format and time, with the first-generation
    // camera speeds whatever the instrument.
    int PrepareAcquisition();
    acquisition::RunTables run_tables;

private:
    // Asks for the empty stage and runs one calibration with run_state at -1.
    void run(bool alignment);
    // The window's camera, frames and LEDs as a calibration host; stop: the user's Stop.
    CameraLightHost host(std::function<bool()> stop);
    Frm_advance& w_;
};

}  // namespace tirmo::app
