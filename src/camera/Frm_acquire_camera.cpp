// The main window's "Setup CAM" frame and its camera command handlers.
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/Frm_acquire.h"
#include "camera/CameraSelect.h"
#include "ui/Controls.h"

namespace tirmo::app {

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
    txtprogram = text("txtprogram", "+");
    txt_cam = text("txt_cam", "0");
    cmd_camera = new ui::CommandButton(frame_setupcam);
    cmd_camera->setObjectName("cmd_camera");
    cmd_camera->SetCaption("cam");
    cmd_camera->onClick([this] { cmd_camera_Click(); });
    txt_gain = text("txt_gain", "10");
    txt_exposure = text("txt_exposure", "20");
    txt_speed = text("txt_speed", "7");
    txt_xini = text("txt_xini", "0");
    txt_xfin = text("txt_xfin", "142");
    txt_yini = text("txt_yini", "1");
    txt_yfin = text("txt_yfin", "183");
    txt_lines = text("txt_lines", "143");
    txt_pix = text("txt_pix", "183");
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
    addPair("TX", txtprogram, 1);
    ++row;
    addPair("x", txt_xini, 0);
    addPair("", txt_xfin, 1);
    ++row;
    addPair("y", txt_yini, 0);
    addPair("", txt_yfin, 1);
    ++row;
    addPair("lines", txt_lines, 0);
    addPair("pix", txt_pix, 1);
    panels_->addWidget(frame_setupcam);
}

void Frm_acquire::cmd_camera_Click() { camera::SelectCamera(txt_cam->Text(), *this); }

}  // namespace tirmo::app
