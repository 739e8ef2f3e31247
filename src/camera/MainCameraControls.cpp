// The main window's camera object: its "Setup CAM" frame (the boxes and commands of
// CameraControls) and its pictures.
#include "camera/MainCameraControls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include "link/Session.h"
#include "ui/Controls.h"
#include "ui/Make.h"
#include "ui/PictureBox.h"

namespace tirmo::camera {

// A panel on the client area at the size it asks for, shown or hidden as it was made.
void placePanel(QWidget* panel)
{
    const bool hidden = panel->isHidden();
    panel->resize(panel->sizeHint());
    panel->setVisible(!hidden);
}

MainCameraControls::MainCameraControls(link::Console& console, plate::PlateState& plate, const LiveWindow& live,
                                       FrameStore& frames, QWidget* client, MainCameraNeeds needs)
    : CameraControls(console, new QGroupBox("Setup CAM", client), Variant::Main), frame_store(frames), plate_(plate), live_(live),
      needs_(std::move(needs))
{
    frame_setupcam = static_cast<QGroupBox*>(txt_cam->parentWidget());
    buildSetupFrame();
    buildPictures(client);
    buildCalibrationPanel(client);
    bindSettings();
}

GridTables MainCameraControls::bandTables() const
{
    return {plate_.column_bands, plate_.row_bands, plate_.column_labels, plate_.row_labels, plate_.well_table};
}

MainCameraControls::~MainCameraControls() { session().camera.Unwatch(settings_watch_); }

std::array<ui::TextBox*, link::CameraSettings::kBoxes> MainCameraControls::settingBoxes() const
{
    // In the order of CameraSettings::Box.
    return {txt_cam, txt_gain, txt_exposure, txt_speed, txt_xini, txt_xfin, txt_yini, txt_yfin, txt_lines, txt_pix};
}

void MainCameraControls::bindSettings()
{
    // The boxes start the shared set-up with their first values, then edit it; a value set
    // anywhere else shows in its box at once.
    link::CameraSettings& settings = session().camera;
    const auto boxes = settingBoxes();
    for (size_t i = 0; i < boxes.size(); ++i) {
        const auto box = link::CameraSettings::Box(i);
        settings.SetText(box, boxes[i]->Text());
        QObject::connect(boxes[i], &QLineEdit::textChanged, frame_setupcam,
                         [&settings, box, b = boxes[i]] { settings.SetText(box, b->Text()); });
    }
    settings_watch_ = settings.Watch([this, &settings] {
        const auto shown = settingBoxes();
        for (size_t i = 0; i < shown.size(); ++i) {
            const std::string& text = settings.Text(link::CameraSettings::Box(i));
            if (shown[i]->Text() == text) continue;
            shown[i]->SetText(text);
            shown[i]->Refresh();
        }
    });
}

void MainCameraControls::buildSetupFrame()
{
    auto* grid = new QGridLayout(frame_setupcam);
    txtprogram = ui::MakeTextBox(frame_setupcam, "txtprogram", "+");
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
    placePanel(frame_setupcam);
}

void MainCameraControls::buildPictures(QWidget* client)
{
    auto picture = [&](const char* name, int width, int height) {
        auto* p = ui::MakePicture(client, name, width, height);
        p->SetAutoRedraw(true);
        placePanel(p);
        return p;
    };
    Picact = picture("Picact", 330, 500);
    Picact2 = picture("Picact2", 200, 500);
    Picrealtime = picture("Picrealtime", 300, 30);
    Picrealtime->Scale(0, 0, 100, 100);
}

}  // namespace tirmo::camera
