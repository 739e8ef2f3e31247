// The main window's "Setup CAM" frame (its boxes and commands are camera::CameraControls) and
// its pictures.
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include <cmath>

#include "app/Frm_acquire.h"
#include "camera/CameraCommands.h"
#include "ui/Controls.h"
#include "ui/Make.h"
#include "ui/PictureBox.h"

namespace tirmo::app {

void Frm_acquire::buildCameraControls()
{
    frame_setupcam = new QGroupBox("Setup CAM", this);
    auto* grid = new QGridLayout(frame_setupcam);
    txtprogram = ui::MakeTextBox(frame_setupcam, "txtprogram", "+");
    camera = std::make_unique<camera::CameraControls>(*this, frame_setupcam, camera::Variant::Main);
    int row = 0;
    auto addPair = [&](const char* caption, QWidget* w, int column) {
        grid->addWidget(new QLabel(caption, frame_setupcam), row, column * 2);
        grid->addWidget(w, row, column * 2 + 1);
    };
    addPair("CAM", camera->txt_cam, 0);
    grid->addWidget(camera->cmd_camera, row, 2, 1, 2);
    ++row;
    addPair("GAIN", camera->txt_gain, 0);
    addPair("EXPOS.", camera->txt_exposure, 1);
    ++row;
    addPair("CAM_speed=", camera->txt_speed, 0);
    grid->addWidget(camera->cmd_camspeed, row, 2);
    addPair("TX", txtprogram, 2);
    ++row;
    addPair("x", camera->txt_xini, 0);
    addPair("", camera->txt_xfin, 1);
    ++row;
    addPair("y", camera->txt_yini, 0);
    addPair("", camera->txt_yfin, 1);
    grid->addWidget(camera->cmd_xy, row, 4);
    ++row;
    addPair("lines", camera->txt_lines, 0);
    addPair("pix", camera->txt_pix, 1);
    grid->addWidget(camera->cmd_default, row, 4);
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

}  // namespace tirmo::app
