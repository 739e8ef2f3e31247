#include "app/AutoReferenceWindow.h"

#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

#include <chrono>

#include "app/Frm_acquire.h"
#include "camera/CameraCommands.h"
#include "camera/CameraSelect.h"
#include "camera/FrameTransfer.h"
#include "lighting/CalibrationFrame.h"
#include "lighting/LedMap.h"
#include "plate/PlateFormat.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "ui/Colour.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Make.h"
#include "ui/PictureBox.h"
#include "ui/Timer.h"

namespace tirmo::app {
namespace {

constexpr uint32_t kRoundCameraButton = 0x808080;
constexpr uint32_t kProgressBlue = ui::RGB(0, 0, 255);

void show(ui::TextBox* box, const std::string& value)
{
    box->SetText(value);
    box->Refresh();
}

// The formats whose well positions can be calibrated ("w96u" has no band files of its own).
bool CalibratableFormat(const std::string& format)
{
    for (const char* f : {"p35", "w6", "w12", "w24", "w48", "w96f"})
        if (format == f) return true;
    return false;
}

}  // namespace

AutoReferenceWindow::AutoReferenceWindow(Frm_acquire& window, QWidget* calibrationFrame, QAction* calibratePosition)
    : w_(window), frame_(calibrationFrame),
      random_(unsigned(std::chrono::steady_clock::now().time_since_epoch().count()))
{
    if (frame_) {
        lbl_autocalibra = ui::MakeLabel(frame_, "lbl_autocalibra");
        auto* column = frame_->layout() ? nullptr : new QVBoxLayout(frame_);
        if (column) column->addWidget(lbl_autocalibra);
    }
    // The menu entry is the window's ("Well Format Calibration" › "Calibrate position"); it
    // works once this object exists.
    mncalibratewell = calibratePosition;
    if (mncalibratewell) {
        mncalibratewell->setEnabled(true);
        connect(mncalibratewell, &QAction::triggered, this, [this] { mncalibratewell_Click(); });
    }
}

// ---------------------------------------------------------------- the round

bool AutoReferenceWindow::AutoCalibrateCameras()
{
    const std::string folder = platform::ResolvePath(w_.session().acquisition_folder);
    last_round = lighting::AutoCalibrateCameras(*this, folder, platform::WallNow());
    // A stopped round skips its closing wait; its frame must not stay over the working area.
    if (frame_) frame_->hide();
    if (w_.session().run_state != 1) return false;
    // Each camera's power setting ended with every LED dark: the run lights all of them as saved.
    w_.lighting->ApplyLedPowerWithStatus();
    return w_.session().run_state == 1;
}

bool AutoReferenceWindow::CameraInUse(int camera) const { return camera >= 0 && camera < 6 && w_.session().run_settings.CameraInUse(camera); }

int AutoReferenceWindow::WindowCount(int camera) const { return w_.run->tables.geometry.RowSlots(camera); }

bool AutoReferenceWindow::DummyMode() const { return w_.session().dummy_mode == 1; }

bool AutoReferenceWindow::StopRequested() { return w_.session().run_state != 1; }

std::string AutoReferenceWindow::format() const { return w_.session().run_settings.PlateFormat(); }

void AutoReferenceWindow::BeginRound()
{
    camera::MainCameraControls& cam = *w_.camera;
    if (frame_) frame_->show();
    cam.Picrealtime->Cls();
    cam.Picrealtime->Scale(0, 0, 100, 100);
    show(cam.txt_cam, "0");
    ShowRunSettings();
    for (ui::CommandButton* b : cam.cmd_camselect) b->SetBackColor(camera::kCameraButton);
    cam.cmd_camselect[0]->SetBackColor(kRoundCameraButton);
    for (ui::CommandButton* b : cam.cmd_camselect) b->Refresh();
    w_.plate->DrawPlateLayout(format());
    w_.run->scan_counter = 0;
    w_.run->frame_counter = 0;
}

void AutoReferenceWindow::ShowCamera(int camera) { show(w_.camera->txt_cam, std::to_string(camera)); }

void AutoReferenceWindow::ShowRunSettings()
{
    show(w_.camera->txt_speed, std::to_string(w_.run->tables.run_speed));
    show(w_.camera->txt_exposure, std::to_string(w_.run->tables.run_exposure));
    show(w_.camera->txt_gain, std::to_string(w_.session().default_gain));
}

lighting::LedCalibrationOutcome AutoReferenceWindow::CalibrateLedPower(int camera)
{
    const link::Session& s = w_.session();
    lighting::LedCalibrationSetup setup;
    setup.camera = camera;
    setup.plateFormat = format();
    setup.sendPowers = false;
    setup.variant = lighting::CalibrationVariant::Main;
    if (s.hardware_generation == 1) setup.layoutPath = platform::ProgramPath(std::string("config/") + lighting::kLedSetup1Name);
    if (s.hardware_generation == 2) setup.layoutPath = platform::ProgramPath(std::string("config/") + lighting::kLedSetup2Name);
    setup.folder = lighting::InstrumentFolder(s.serial_number);
    return lighting::AutoCalibrateLedPower(*this, w_.lighting->led_map, setup);
}

lighting::RoundWindow AutoReferenceWindow::ApplyCameraWindow(int camera, int window)
{
    w_.run->SetCameraWindow(camera, window);
    const acquisition::CameraWindowGeometry& g = w_.run->window_geometry;
    return {g.xini, g.xfin, g.yini, g.yfin, g.window_pixel_count};
}

std::string AutoReferenceWindow::ReadCameraScan(int camera, int window)
{
    // A Stop clicked since the last step is seen before the request goes out, not after it.
    platform::DoEvents();
    if (StopRequested()) return {};
    return w_.run->FetchFrame(camera, window);
}

lighting::CentringWindow AutoReferenceWindow::centringWindow(int camera, int window, const std::string& frame) const
{
    lighting::CentringWindow cw;
    cw.camera = camera;
    cw.window = window;
    cw.frame = frame;
    cw.pixelCount = w_.run->window_geometry.window_pixel_count;
    const acquisition::RunTables& t = w_.run->tables;
    cw.place = [&t, camera, window](long p) {
        const int pixel = int(p);
        return lighting::PixelPlace{t.pixel_well(camera, window, pixel), t.pixel_column_offset(camera, window, pixel),
                                    t.pixel_row_offset(camera, window, pixel)};
    };
    return cw;
}

void AutoReferenceWindow::DrawCalibrationWellGrid(int camera, int window, const std::string& frame)
{
    const acquisition::RunGeometry& g = w_.run->tables.geometry;
    const lighting::CentringPlate plate{format(), w_.session().hardware_generation, g.column_bands, g.row_bands};
    const plate::PlateSize size = plate::FormatSize(format());
    ui::PictureBox& pic = *w_.camera->Picact;
    for (const lighting::GridDot& d : lighting::CalibrationGridDots(plate, centringWindow(camera, window, frame), size.rows, size.columns))
        pic.Line(d.x, d.y, d.x + 1, d.y + 1, ui::RGB(d.grey, d.grey, d.grey));
}

lighting::CentringReport AutoReferenceWindow::CentreLedMap(int camera, int window, const std::string& frame)
{
    const acquisition::RunGeometry& g = w_.run->tables.geometry;
    const lighting::CentringPlate plate{format(), w_.session().hardware_generation, g.column_bands, g.row_bands};
    lighting::CentringReport report = lighting::CentreLedMap(w_.lighting->led_map, plate, centringWindow(camera, window, frame));
    const std::vector<int> skipped = report.SkippedWells();
    if (!skipped.empty()) {
        std::string wells;
        for (int well : skipped) wells += (wells.empty() ? "" : ", ") + std::to_string(well);
        Status("CAM[" + std::to_string(camera) + "]: no light in well(s) " + wells + ": not centred");
    }
    return report;
}

bool AutoReferenceWindow::WriteLedPower()
{
    return lighting::WriteLedPower(w_.lighting->led_map, lighting::InstrumentFolder(w_.session().serial_number));
}

const lighting::LedMap& AutoReferenceWindow::Map() const { return w_.lighting->led_map; }

void AutoReferenceWindow::EndRound()
{
    w_.run->camera_index = camera::kNoCamera;
    if (frame_) frame_->hide();
    platform::DoEvents();
    platform::Sleep(1500);
    platform::DoEvents();
}

int AutoReferenceWindow::RandomGrey() { return std::uniform_int_distribution<int>(0, 255)(random_); }

// ---------------------------------------------------------------- the power setting's host

void AutoReferenceWindow::SendAllLedPower(int level) { w_.lighting->SendAllLedPower(level); }

void AutoReferenceWindow::SendLedPower(int led, int power) { w_.lighting->SendLedPower(led, power); }

void AutoReferenceWindow::ApplyLedPower(int camera) { w_.lighting->ApplyLedPower(camera); }

void AutoReferenceWindow::SetCalibrationCamera()
{
    camera::MainCameraControls& cam = *w_.camera;
    cam.cmd_default_Click();
    platform::Sleep(50);
    show(cam.txt_speed, "1");
    show(cam.txt_exposure, "240");
    platform::Sleep(10);
    cam.ApplyCameraSettings();
}

bool AutoReferenceWindow::GrabFrame()
{
    // After the user's Stop no frame is asked for (the settling frames come without a check).
    if (StopRequested()) return false;
    camera::MainCameraControls& cam = *w_.camera;
    const long lines = camera::BoxWhole(cam.txt_xfin->Text()) - camera::BoxWhole(cam.txt_xini->Text()) + 1;
    const long pix = camera::BoxWhole(cam.txt_yfin->Text()) - camera::BoxWhole(cam.txt_yini->Text()) + 1;
    const int c = int(camera::BoxWhole(cam.txt_cam->Text()));
    show(cam.txt_lines, std::to_string(lines));
    show(cam.txt_pix, std::to_string(pix));
    if (DummyMode()) {
        if (!camera::WindowFitsFrameStore(lines, pix)) return false;
        camera::FillRandomFrame(cam.frame_store, c, lines, pix);
        return true;
    }
    const lighting::CalibrationGrab grab = lighting::GrabCheckedFrame(w_.session(), c, lines, pix, cam.frame_store);
    if (!grab.trace.empty() && w_.lbl_lenrx) w_.lbl_lenrx->SetCaption(grab.trace);
    return grab.good();
}

const camera::FrameStore& AutoReferenceWindow::Frames() const { return w_.camera->frame_store; }

bool AutoReferenceWindow::PositionCounts(int camera, int x, int y) const { return w_.run->tables.sensor_well_mask(camera, x, y); }

void AutoReferenceWindow::Status(const std::string& text) { w_.SetStatus(text); }

void AutoReferenceWindow::Label(const std::string& text)
{
    if (!lbl_autocalibra) return;
    lbl_autocalibra->SetCaption(text);
    lbl_autocalibra->Refresh();
}

void AutoReferenceWindow::Progress(double percent) { w_.camera->Picrealtime->FilledBox(0, 0, percent, 100, kProgressBlue); }

// ---------------------------------------------------------------- well-position calibration menu

void AutoReferenceWindow::mncalibratewell_Click()
{
    link::Session& s = w_.session();
    if (s.dummy_mode == 0 && !s.port_open) {
        ui::dialogs().messageBox("Operation not possible in OFFLINE Mode", ui::MsgButtons::Ok);
        return;
    }
    const std::string chosen = format();
    if (!CalibratableFormat(chosen)) {
        ui::dialogs().messageBox("Microplate format error", ui::MsgButtons::Ok);
        w_.cmb_well->setFocus();
        return;
    }
    // A run stopped here would keep its Peltier and fan going: its own stop has the closing steps.
    if (s.run_state == 1) {
        ui::dialogs().messageBox(kCalibrateDuringRun, ui::MsgButtons::Ok);
        return;
    }
    // A light calibration that owns the cameras stops at its next check. The one-second tick
    // goes on: stopping it would leave a thermostat's Peltier drive on with nobody regulating it.
    s.run_state = 0;
    w_.plate->cmb_formatplate->SetText(chosen);
    w_.plate->cmb_formatplate->setEnabled(false);
    w_.plate->current_format = chosen;
    if (w_.containers.Frame_menu) w_.containers.Frame_menu->hide();
    w_.plate->ShowWellAreaPercent();
    w_.camera->Frame_calibration->show();
    if (w_.containers.cmd_menu) {
        w_.containers.cmd_menu->SetCaption("Close");
        w_.containers.cmd_menu->show();
    }
    w_.camera->Picact->Cls();
    w_.plate->ReadPlateSpec(chosen);
    show(w_.camera->txt_cam, "0");
    w_.camera->cmd_default_Click();
    platform::Sleep(100);
    w_.camera->cmd_camselect_Click(0);
}

}  // namespace tirmo::app
