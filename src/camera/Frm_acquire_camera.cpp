// The main window's "Setup CAM" frame and its camera command handlers.
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include <cmath>

#include "app/Frm_acquire.h"
#include "camera/CameraCommands.h"
#include "camera/CameraSelect.h"
#include "camera/ReadoutControls.h"
#include "ui/Controls.h"
#include "ui/Make.h"
#include "ui/PictureBox.h"

namespace tirmo::app {
namespace {

// A box read as a whole number.
long whole(const ui::TextBox* box) { return camera::BoxWhole(box->Text()); }

}  // namespace

void Frm_acquire::buildCameraControls()
{
    frame_setupcam = new QGroupBox("Setup CAM", this);
    auto* grid = new QGridLayout(frame_setupcam);
    txtprogram = ui::MakeTextBox(frame_setupcam, "txtprogram", "+");
    txt_cam = ui::MakeTextBox(frame_setupcam, "txt_cam", "0");
    cmd_camera = ui::MakeButton(frame_setupcam, "cmd_camera", "cam", [this] { cmd_camera_Click(); });
    txt_gain = ui::MakeTextBox(frame_setupcam, "txt_gain", "10");
    txt_exposure = ui::MakeTextBox(frame_setupcam, "txt_exposure", "20");
    camera::MakeReadoutControls(*this, frame_setupcam);
    int row = 0;
    auto addPair = [&](const char* caption, QWidget* w, int column) {
        grid->addWidget(new QLabel(caption, frame_setupcam), row, column * 2);
        grid->addWidget(w, row, column * 2 + 1);
    };
    addPair("CAM", txt_cam, 0);
    grid->addWidget(cmd_camera, row, 2, 1, 2);
    ++row;
    addPair("GAIN", txt_gain, 0);
    addPair("EXPOS.", txt_exposure, 1);
    ++row;
    addPair("CAM_speed=", txt_speed, 0);
    grid->addWidget(cmd_camspeed, row, 2);
    addPair("TX", txtprogram, 2);
    ++row;
    addPair("x", txt_xini, 0);
    addPair("", txt_xfin, 1);
    ++row;
    addPair("y", txt_yini, 0);
    addPair("", txt_yfin, 1);
    grid->addWidget(cmd_xy, row, 4);
    ++row;
    addPair("lines", txt_lines, 0);
    addPair("pix", txt_pix, 1);
    grid->addWidget(cmd_default, row, 4);
    addPanel(frame_setupcam);

    auto picture = [&](const char* name, int width, int height) {
        auto* p = ui::MakePicture(this, name, width, height);
        p->SetAutoRedraw(true);
        addPanel(p);
        return p;
    };
    Picact = picture("Picact", 330, 500);
    Picact2 = picture("Picact2", 200, 500);
    Picrealtime = picture("Picrealtime", 300, 30);
    Picrealtime->Scale(0, 0, 100, 100);
    buildCalibrationPanel();
}

void Frm_acquire::cmd_camera_Click() { camera::SelectCamera(txt_cam->Text(), *this); }

void Frm_acquire::SendGain(int value) { camera::SendGain(value, *this); }

void Frm_acquire::SendExposure(int value) { camera::SendExposure(value, *this); }

void Frm_acquire::SendSpeed(int code) { camera::SendSpeed(code, *this); }

void Frm_acquire::cmd_camspeed_Click()
{
    const long code = whole(txt_speed);
    // A code beyond the 16-bit range is refused here as SendSpeed would refuse it.
    if (code < -32768 || code > 32767) {
        ShowError("error");
        return;
    }
    SendSpeed(int(code));
}

void Frm_acquire::cmd_xy_Click() { camera::SendReadoutWindow(*this); }

void Frm_acquire::SendWindowY(int start, int end) { camera::SendWindowPair('y', start, end, *this); }

void Frm_acquire::SendWindowX(int start, int end) { camera::SendWindowPair('x', start, end, *this); }

void Frm_acquire::cmd_default_Click() { camera::ShowDefaultReadout(*this); }

}  // namespace tirmo::app
