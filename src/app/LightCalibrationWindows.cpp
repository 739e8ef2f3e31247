#include "app/LightCalibrationWindows.h"

#include <QAction>

#include <algorithm>

#include "app/Frm_acquire.h"
#include "acquisition/RunPreparation.h"
#include "app/Frm_advance.h"
#include "camera/CameraCommands.h"
#include "camera/FrameTransfer.h"
#include "lighting/CalibrationFrame.h"
#include "lighting/LedMap.h"
#include "platform/Clock.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "ui/Colour.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/PictureBox.h"

namespace tirmo::app {
namespace {

constexpr int kCameras = 6;
constexpr uint32_t kProgressBlue = ui::RGB(0, 0, 255);

void show(ui::TextBox* box, const std::string& value)
{
    box->SetText(value);
    box->Refresh();
}

long whole(const ui::TextBox* box) { return long(platform::RoundHalfEven(platform::Val(box->Text()))); }

void drawProgress(ui::PictureBox* picture, double percent)
{
    if (!picture) return;
    picture->Cls();
    picture->Scale(0, 0, 100, 100);
    picture->FilledBox(0, 0, std::clamp(percent, 0.0, 100.0), 100, kProgressBlue);
}

}  // namespace

// ---------------------------------------------------------------- the host

void CameraLightHost::SetDefaultCamera()
{
    p_.camera->cmd_default_Click();
    show(p_.camera->txt_gain, std::to_string(p_.camera->session().default_gain));
    platform::Sleep(10);
    p_.setup();
}

bool CameraLightHost::GrabFrame()
{
    // After the user's Stop no frame is asked for.
    if (StopRequested()) return false;
    camera::CameraControls& cam = *p_.camera;
    const long lines = whole(cam.txt_xfin) - whole(cam.txt_xini) + 1;
    const long pix = whole(cam.txt_yfin) - whole(cam.txt_yini) + 1;
    const int c = int(whole(cam.txt_cam));
    show(cam.txt_lines, std::to_string(lines));
    show(cam.txt_pix, std::to_string(pix));
    bool good = false;
    if (cam.session().dummy_mode == 1) {
        good = camera::WindowFitsFrameStore(lines, pix);
        if (good) camera::FillRandomFrame(*p_.frames, c, lines, pix);
    } else {
        const lighting::CalibrationGrab grab =
            lighting::GrabCheckedFrame(cam.session(), c, lines, pix, *p_.frames, camera::kWindowBlock);
        if (!grab.trace.empty() && p_.transferLabel) p_.transferLabel->SetCaption(grab.trace);
        good = grab.good();
    }
    if (good) p_.draw(c, int(lines), int(pix));
    return good;
}

int CameraLightHost::LineCount() { return int(whole(p_.camera->txt_lines)); }

int CameraLightHost::PixelCount() { return int(whole(p_.camera->txt_pix)); }

// ---------------------------------------------------------------- the main window

MainLightCalibration::MainLightCalibration(Frm_acquire& window, QAction* entry) : w_(window)
{
    if (!entry) return;
    entry->setEnabled(true);
    connect(entry, &QAction::triggered, this, [this] { mncalibralightback_Click(); });
}

void MainLightCalibration::mncalibralightback_Click()
{
    link::Session& s = w_.session();
    // A STOP Setup or a run's stop left the camera selection without its grabs; this calibration
    // needs them, and so do the camera selections after it.
    w_.camera->plate_view_shown = false;
    if (s.dummy_mode == 0 && !s.port_open) {
        ui::dialogs().messageBox("Operation not possible in OFFLINE Mode", ui::MsgButtons::Ok);
        return;
    }
    // A run's cameras and LEDs are the run's: its own STOP ends it first.
    if (s.run_state == 1) {
        ui::dialogs().messageBox("Acquisition in progress: stop the run before calibrating the light", ui::MsgButtons::Ok);
        return;
    }
    s.run_state = -1;
    w_.run->SetPlayCaption("STOP Setup");
    const ui::MsgResult answer = ui::dialogs().messageBox("Remove Microplate and press OK", ui::MsgButtons::OkCancel,
                                                          "Light Alignment Calibration");
    camera::MainCameraControls& cam = *w_.camera;
    lighting::LightControls& light = *w_.lighting;
    CameraLightHost host({&cam, &w_.instrument.frames, w_.lbl_lenrx, [&light](int level) { light.SendAllLedPower(level); },
                          [&light](int led, int power) { light.SendLedPower(led, power); },
                          [&cam] { cam.ApplyCameraSettings(); },
                          [&cam](int c, int lines, int pix) {
                              cam.SetFrameScale();
                              cam.Picact->Cls();
                              cam.DrawGrayImage(c, lines, pix);
                          },
                          [&cam](double percent) { drawProgress(cam.Picrealtime, percent); },
                          [&s] { return s.run_state != -1; }});
    bool finished = answer == ui::MsgResult::Ok;
    for (int c = 0; c < kCameras && answer == ui::MsgResult::Ok && s.run_state == -1; ++c) {
        w_.SetStatus("Testing Camera #" + std::to_string(c));
        show(cam.txt_cam, std::to_string(c));
        lighting::LightCalibrationSetup setup;
        setup.camera = c;
        if (s.hardware_generation == 1) setup.layoutPath = platform::ProgramPath(std::string("config/") + lighting::kLedSetup1Name);
        if (s.hardware_generation == 2) setup.layoutPath = platform::ProgramPath(std::string("config/") + lighting::kLedSetup2Name);
        setup.loadFolder = setup.saveFolder = lighting::InstrumentFolder(s.serial_number);
        if (lighting::CalibrateLightAlignment(host, light.led_map, setup) != lighting::LightCalibrationEnd::Done) {
            finished = false;
            break;
        }
    }
    // Only a calibration that ran to its end says so; a Cancel or a Stop says what happened.
    if (finished) ui::dialogs().messageBox("Calibration Finished", ui::MsgButtons::Ok);
    else if (answer != ui::MsgResult::Ok) w_.SetStatus("Light alignment calibration cancelled");
    else ui::dialogs().messageBox("Calibration not finished: " + w_.txt_status->Text(), ui::MsgButtons::Ok);
    w_.plate->current_format = w_.plate->cmb_formatplate->Text();
    w_.plate->DrawPlateLayout(w_.plate->current_format);
    w_.run->SetPlayCaption("Play");
    s.run_state = 0;
}

// ---------------------------------------------------------------- the factory window

namespace {

// The factory variant of the LED-power autocalibration on the window: its all-LED command goes
// through the LED box and "All", frames come as the window's other calibrations grab them, and
// every position of a frame counts. It has no Stop.
class FactoryAutocalHost : public lighting::LedCalibrationHost {
public:
    FactoryAutocalHost(Frm_advance& w, CameraLightHost grabber) : w_(w), grabber_(std::move(grabber)) {}

    void SendAllLedPower(int level) override
    {
        lighting::FactoryLightTools& light = *w_.lighting;
        light.txt_led->SetText(std::to_string(level));
        light.txt_led->update();
        light.cmd_ledpowerall_Click();
    }
    void SendLedPower(int led, int power) override { w_.lighting->SendLedPower(led, power); }
    void ApplyLedPower(int /*camera*/) override {}  // the factory variant sends its powers itself
    void SetCalibrationCamera() override
    {
        camera::FactoryCameraTools& cam = *w_.camera;
        cam.cmd_default_Click();
        platform::Sleep(50);
        show(cam.txt_speed, "1");
        show(cam.txt_exposure, "240");
        platform::Sleep(10);
        cam.cmd_setcamera_Click();
    }
    bool GrabFrame() override { return grabber_.GrabFrame(); }
    // The readings come from the store the grabs above fill: the factory camera's own.
    const camera::FrameStore& Frames() const override { return grabber_.Frames(); }
    bool PositionCounts(int, int, int) const override { return true; }
    void Status(const std::string& text) override { w_.SetStatus(text); }
    void Label(const std::string&) override {}
    void Progress(double) override {}
    bool StopRequested() override { return false; }
    bool ConfirmSecondRound() override
    {
        return ui::ConfirmOverwrite("Apply 2nd round of adjustment?");
    }

private:
    Frm_advance& w_;
    CameraLightHost grabber_;
};

}  // namespace

FactoryLightCalibration::FactoryLightCalibration(Frm_advance& window, QAction* backgroundEntry) : w_(window)
{
    lighting::FactoryLightTools& light = *w_.lighting;
    light.Cmd_ledfactory->onClick([this] { Cmd_ledfactory_Click(); });
    light.Cmd_ledcal->onClick([this] { Cmd_ledcal_Click(); });
    light.Cmd_ledinplate->onClick([this] { Cmd_ledinplate_Click(); });
    auto live = [this](QAction* entry, std::function<void()> handler) {
        if (!entry) return;
        entry->setEnabled(true);
        connect(entry, &QAction::triggered, this, std::move(handler));
    };
    live(backgroundEntry, [this] { mncalibralightback_Click(); });
    live(w_.findChild<QAction*>("mncalibralight"), [this] { mncalibralight_Click(); });
    live(w_.findChild<QAction*>("mn_fastled"), [this] { mn_fastled_Click(); });
}

void FactoryLightCalibration::Cmd_ledfactory_Click() { run(true); }

void FactoryLightCalibration::Cmd_ledcal_Click() { run(false); }

CameraLightHost FactoryLightCalibration::host(std::function<bool()> stop)
{
    camera::FactoryCameraTools& cam = *w_.camera;
    lighting::FactoryLightTools& light = *w_.lighting;
    return CameraLightHost({&cam, &cam.frame_store, w_.lbl_lenrx,
                            [&light](int level) {
                                light.txt_led->SetText(std::to_string(level));
                                light.txt_led->update();
                                light.cmd_ledpowerall_Click();
                            },
                            [&light](int led, int power) { light.SendLedPower(led, power); },
                            [&cam] { cam.cmd_setcamera_Click(); },
                            [&cam](int c, int lines, int pix) {
                                cam.SetFrameScale();
                                cam.DrawGrayImage(c, lines, pix);
                            },
                            [this](double percent) { drawProgress(w_.Picrealtime, percent); }, std::move(stop)});
}

void FactoryLightCalibration::run(bool alignment)
{
    int& runState = w_.plate->run_state;
    // One calibration at a time: another one's frames and LED commands would interleave.
    if (runState != 0) return;
    runState = -1;
    if (ui::dialogs().messageBox("please Remove micropate for this test", ui::MsgButtons::OkCancel) == ui::MsgResult::Cancel) {
        runState = 0;
        return;
    }
    camera::FactoryCameraTools& cam = *w_.camera;
    lighting::FactoryLightTools& light = *w_.lighting;
    CameraLightHost calibration = host([&runState] { return runState != -1; });
    lighting::LightCalibrationSetup setup;
    setup.camera = int(whole(cam.txt_cam));
    setup.layoutPath = platform::ProgramPath(std::string("config/") + lighting::kFactoryLayoutName);
    setup.loadFolder = lighting::InstrumentFolder(w_.session().serial_number);
    // The factory's positions always go to config; its powers to the instrument's folder.
    setup.saveFolder = alignment ? "config" : setup.loadFolder;
    if (alignment) lighting::CalibrateLightAlignment(calibration, light.led_map, setup);
    else lighting::CalibrateSaturationLevel(calibration, light.led_map, setup);
    runState = 0;
}

void FactoryLightCalibration::Cmd_ledinplate_Click()
{
    int& runState = w_.plate->run_state;
    if (runState != 0) return;
    if (ui::dialogs().messageBox("please INSERT micropate for this test using culture condition", ui::MsgButtons::OkCancel) ==
        ui::MsgResult::Cancel)
        return;
    camera::FactoryCameraTools& cam = *w_.camera;
    const long gain = whole(cam.txt_gain), exposure = whole(cam.txt_exposure);
    show(cam.txt_gain, std::to_string(w_.session().default_gain));
    // Nothing else may drive the cameras and LEDs meanwhile, nor group wells on the picture.
    runState = -1;
    AutoCalibrateLedPowerFactory(1);
    runState = 0;
    show(cam.txt_gain, std::to_string(gain));
    show(cam.txt_exposure, std::to_string(exposure));
    cam.cmd_setcamera_Click();
}

void FactoryLightCalibration::AutoCalibrateLedPowerFactory(int send_powers)
{
    FactoryAutocalHost calibration(w_, host([] { return false; }));
    lighting::LedCalibrationSetup setup;
    setup.camera = int(whole(w_.camera->txt_cam));
    setup.plateFormat = w_.session().run_settings.PlateFormat();
    setup.sendPowers = send_powers == 1;
    setup.variant = lighting::CalibrationVariant::Factory;
    setup.layoutPath = platform::ProgramPath(std::string("config/") + lighting::kFactoryLayoutName);
    setup.folder = lighting::InstrumentFolder(w_.session().serial_number);
    last_autocalibration = lighting::AutoCalibrateLedPower(calibration, w_.lighting->led_map, setup);
}

void FactoryLightCalibration::mncalibralight_Click()
{
    // A calibration that is running owns the picture.
    if (w_.plate->run_state != 0) return;
    w_.plate->DrawPlateLayout(w_.session().run_settings.PlateFormat());
}

int FactoryLightCalibration::mn_fastled_Click()
{
    int& runState = w_.plate->run_state;
    if (runState != 0) return -1;
    runState = -1;
    const int prepared = PrepareAcquisition();
    runState = 0;
    return prepared;
}

int FactoryLightCalibration::PrepareAcquisition()
{
    link::Session& s = w_.session();
    show(w_.txt_status, acquisition::kSettingUpCamera);
    plate::FactoryPlateMap& p = *w_.plate;
    const std::string format = s.run_settings.PlateFormat();
    std::string problems = p.ReadPlateSpec(format);
    const std::string bands = p.ReadFormatFiles(format);
    if (!bands.empty()) problems += (problems.empty() ? "" : " ") + bands;
    if (!problems.empty()) w_.SetStatus(problems);
    acquisition::RunGeometry g;
    g.well_table = p.well_table;
    g.column_bands = p.column_bands;
    g.row_bands = p.row_bands;
    g.column_band_label = p.column_labels;
    g.row_band_label = p.row_labels;
    acquisition::PreparationSettings settings;
    settings.hardware_generation = 1;
    settings.default_exposure = s.default_exposure;
    settings.acquisition_minutes = platform::Val(s.run_settings.AcquisitionTime());
    const acquisition::PreparationResult result = acquisition::PrepareAcquisition(g, settings, run_tables);
    if (!result.ok()) ui::dialogs().messageBox(result.message, ui::MsgButtons::Ok);
    // "Setting up IR Video-Camera" must not outlast the preparation: say how it ended, with what
    // the plate readers found missing.
    std::string outcome = result.ok() ? "Run tables prepared for " + format : "Run tables not prepared: " + result.message;
    if (!problems.empty()) outcome += " (" + problems + ")";
    w_.SetStatus(outcome);
    return result.result;
}

}  // namespace tirmo::app
