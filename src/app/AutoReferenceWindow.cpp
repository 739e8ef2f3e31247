#include "app/AutoReferenceWindow.h"

#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

#include "app/Frm_acquire.h"
#include "platform/Clock.h"
#include "ui/Colour.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Make.h"
#include "ui/PictureBox.h"

namespace tirmo::app {
namespace {

constexpr uint32_t kRoundCameraButton = 0x808080;
constexpr uint32_t kProgressBlue = ui::RGB(0, 0, 255);

// The formats whose well positions can be calibrated ("w96u" has no band files of its own).
bool CalibratableFormat(const std::string& format)
{
    for (const char* f : {"p35", "w6", "w12", "w24", "w48", "w96f"})
        if (format == f) return true;
    return false;
}

}  // namespace

AutoReferenceWindow::AutoReferenceWindow(Frm_acquire& window, QWidget* calibrationFrame, QAction* calibratePosition)
    : w_(window), frame_(calibrationFrame)
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

// ---------------------------------------------------------------- the round as shown

void AutoReferenceWindow::ShowRoundPanel()
{
    if (frame_) frame_->show();
    w_.camera->Picrealtime->Cls();
    w_.camera->Picrealtime->Scale(0, 0, 100, 100);
}

void AutoReferenceWindow::HideRoundPanel()
{
    if (frame_) frame_->hide();
}

void AutoReferenceWindow::MarkRoundCamera(int camera)
{
    auto& buttons = w_.camera->cmd_camselect;
    for (ui::CommandButton* b : buttons) b->SetBackColor(camera::kCameraButton);
    if (camera >= 0 && size_t(camera) < buttons.size()) buttons[size_t(camera)]->SetBackColor(kRoundCameraButton);
    for (ui::CommandButton* b : buttons) b->Refresh();
}

void AutoReferenceWindow::DrawPlateLayout(const std::string& format) { w_.plate->DrawPlateLayout(format); }

void AutoReferenceWindow::ShowRoundLabel(const std::string& text)
{
    if (!lbl_autocalibra) return;
    lbl_autocalibra->SetCaption(text);
    lbl_autocalibra->Refresh();
}

void AutoReferenceWindow::ShowProgress(double percent)
{
    w_.camera->Picrealtime->FilledBox(0, 0, percent, 100, kProgressBlue);
}

void AutoReferenceWindow::ShowGrabTrace(const std::string& trace)
{
    if (w_.lbl_lenrx) w_.lbl_lenrx->SetCaption(trace);
}

void AutoReferenceWindow::DrawCalibrationDots(const std::vector<lighting::GridDot>& dots)
{
    ui::PictureBox& pic = *w_.camera->Picact;
    for (const lighting::GridDot& d : dots) pic.Line(d.x, d.y, d.x + 1, d.y + 1, ui::RGB(d.grey, d.grey, d.grey));
}

// ---------------------------------------------------------------- well-position calibration menu

void AutoReferenceWindow::mncalibratewell_Click()
{
    link::Session& s = w_.session();
    if (s.dummy_mode == 0 && !s.port_open) {
        ui::dialogs().messageBox("Operation not possible in OFFLINE Mode", ui::MsgButtons::Ok);
        return;
    }
    const std::string chosen = s.run_settings.PlateFormat();
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
    w_.instrument.plate_state.current_format = chosen;
    if (w_.containers.Frame_menu) w_.containers.Frame_menu->hide();
    w_.plate->ShowWellAreaPercent();
    w_.camera->Frame_calibration->show();
    if (w_.containers.cmd_menu) {
        w_.containers.cmd_menu->SetCaption("Close");
        w_.containers.cmd_menu->show();
    }
    w_.camera->Picact->Cls();
    plate::ReadPlateSpec(w_.instrument.plate_state, chosen, w_);
    w_.session().camera.SetNumber(link::CameraSettings::Box::Camera, 0);
    w_.camera->cmd_default_Click();
    platform::Sleep(100);
    w_.camera->cmd_camselect_Click(0);
}

}  // namespace tirmo::app
