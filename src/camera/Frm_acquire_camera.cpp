// The main window's "Setup CAM" frame and its camera command handlers.
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include <cmath>

#include "app/Frm_acquire.h"
#include "app/ModuleState.h"
#include "camera/CameraCommands.h"
#include "camera/CameraSelect.h"
#include "platform/Convert.h"
#include "ui/Controls.h"
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
    auto text = [&](const char* name, const char* value) {
        auto* t = new ui::TextBox(frame_setupcam);
        t->setObjectName(name);
        t->SetText(value);
        return t;
    };
    auto button = [&](const char* name, const char* caption, auto handler) {
        auto* b = new ui::CommandButton(frame_setupcam);
        b->setObjectName(name);
        b->SetCaption(caption);
        b->onClick(handler);
        return b;
    };
    txtprogram = text("txtprogram", "+");
    txt_cam = text("txt_cam", "0");
    cmd_camera = button("cmd_camera", "cam", [this] { cmd_camera_Click(); });
    txt_gain = text("txt_gain", "10");
    txt_exposure = text("txt_exposure", "20");
    txt_speed = text("txt_speed", "7");
    cmd_camspeed = button("cmd_camspeed", "send", [this] { cmd_camspeed_Click(); });
    txt_xini = text("txt_xini", "0");
    txt_xfin = text("txt_xfin", "142");
    txt_yini = text("txt_yini", "1");
    txt_yfin = text("txt_yfin", "183");
    txt_lines = text("txt_lines", "143");
    txt_pix = text("txt_pix", "183");
    cmd_xy = button("cmd_xy", ">>", [this] { cmd_xy_Click(); });
    cmd_default = button("cmd_default", "Default", [this] { cmd_default_Click(); });
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
    panels_->addWidget(frame_setupcam);

    auto picture = [&](const char* name, int width, int height) {
        auto* p = new ui::PictureBox(this);
        p->setObjectName(name);
        p->SetPixelSize(width, height);
        p->setMinimumSize(width, height);
        p->SetAutoRedraw(true);
        panels_->addWidget(p);
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

void Frm_acquire::cmd_xy_Click()
{
    int xini = 0, xfin = 0, yini = 0, yfin = 0;
    try {
        xini = platform::WholeNumber16(txt_xini->Text());
        xfin = platform::WholeNumber16(txt_xfin->Text());
        yini = platform::WholeNumber16(txt_yini->Text());
        yfin = platform::WholeNumber16(txt_yfin->Text());
    } catch (const platform::NumberError&) {
        ShowError("error");
        return;
    }
    txt_lines->SetText(std::to_string(xfin - xini + 1));
    txt_lines->Refresh();
    txt_pix->SetText(std::to_string(yfin - yini + 1));
    txt_pix->Refresh();
    if (mod::dummy_mode == 1) return;
    if (!mod::port_open) {
        ShowError(link::kNotConnected);
        return;
    }
    link::FlushLink();
    SendWindowY(xini, xfin);
    SendWindowX(yini, yfin);
}

void Frm_acquire::SendWindowY(int start, int end) { camera::SendWindowPair('y', start, end, *this); }

void Frm_acquire::SendWindowX(int start, int end) { camera::SendWindowPair('x', start, end, *this); }

void Frm_acquire::cmd_default_Click()
{
    auto put = [](ui::TextBox* box, const std::string& value) {
        box->SetText(value);
        box->Refresh();
    };
    put(txt_speed, camera::DefaultSpeedCode(mod::hardware_generation));
    put(txt_xini, std::to_string(camera::kDefaultXini));
    put(txt_xfin, std::to_string(camera::kDefaultXfin));
    put(txt_yini, std::to_string(camera::kDefaultYini));
    put(txt_yfin, std::to_string(camera::kDefaultYfin));
}

}  // namespace tirmo::app
