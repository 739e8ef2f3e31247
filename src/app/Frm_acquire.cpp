#include "app/Frm_acquire.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QMenuBar>
#include <QVBoxLayout>

#include "app/ConfigFiles.h"
#include "app/ModuleState.h"
#include "camera/CameraSelect.h"
#include "lighting/LedCommands.h"
#include "link/CommPort.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "project/LastProject.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"

namespace tirmo::app {

Frm_acquire::Frm_acquire(QWidget* parent) : QMainWindow(parent)
{
    setObjectName("Frm_acquire");
    setWindowTitle("Acquisition Page");
    buildControls();
}

Frm_acquire::~Frm_acquire() = default;

void Frm_acquire::buildControls()
{
    auto* central = new QWidget(this);
    auto* outer = new QVBoxLayout(central);
    auto text = [&](const char* name, const char* value) {
        auto* t = new ui::TextBox(central);
        t->setObjectName(name);
        t->SetText(value);
        return t;
    };
    txt_status = text("txt_status", "");
    txt_status->setReadOnly(true);
    outer->addWidget(txt_status);

    frame_setupcam = new QGroupBox("Setup CAM", central);
    auto* grid = new QGridLayout(frame_setupcam);
    txtcom = text("txtcom", "3");
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
    txt_led = text("txt_led", "7");
    int row = 0;
    auto addPair = [&](const char* caption, QWidget* w, int column) {
        grid->addWidget(new QLabel(caption, frame_setupcam), row, column * 2);
        grid->addWidget(w, row, column * 2 + 1);
    };
    addPair("COM", txtcom, 0);
    addPair("TX", txtprogram, 1);
    ++row;
    addPair("CAM", txt_cam, 0);
    grid->addWidget(cmd_camera, row, 2, 1, 2);
    ++row;
    addPair("GAIN", txt_gain, 0);
    addPair("EXPOS.", txt_exposure, 1);
    ++row;
    addPair("CAM_speed=", txt_speed, 0);
    addPair("LED", txt_led, 1);
    ++row;
    addPair("x", txt_xini, 0);
    addPair("", txt_xfin, 1);
    ++row;
    addPair("y", txt_yini, 0);
    addPair("", txt_yfin, 1);
    ++row;
    addPair("lines", txt_lines, 0);
    addPair("pix", txt_pix, 1);
    outer->addWidget(frame_setupcam);

    auto* run = new QGroupBox(central);
    auto* runGrid = new QGridLayout(run);
    txtlapse = text("txtlapse", "30");
    cmb_well = new ui::ComboBox(run);
    cmb_well->setObjectName("cmb_well");
    cmb_well->AddItem("w6");
    cmb_well->AddItem("w24");
    cmb_well->SetText("w6");
    txttemp = text("txttemp", "20");
    Chk_lenabled = new ui::CheckBox(run);
    Chk_lenabled->setObjectName("Chk_lenabled");
    Chk_lenabled->SetCaption("Pulse");
    Shape_light = new QFrame(run);
    Shape_light->setObjectName("Shape_light");
    Shape_light->setFixedSize(16, 16);
    Shape_light->setAutoFillBackground(true);
    Shape_light->setFrameShape(QFrame::Box);
    runGrid->addWidget(new QLabel("Acq. time", run), 0, 0);
    runGrid->addWidget(txtlapse, 0, 1);
    runGrid->addWidget(new QLabel("minutes", run), 0, 2);
    runGrid->addWidget(new QLabel("Microplate", run), 1, 0);
    runGrid->addWidget(cmb_well, 1, 1);
    runGrid->addWidget(new QLabel("Temperature", run), 2, 0);
    runGrid->addWidget(txttemp, 2, 1);
    runGrid->addWidget(Chk_lenabled, 3, 0);
    runGrid->addWidget(Shape_light, 3, 1);
    outer->addWidget(run);

    txt_in = text("txt_in", "");
    txt_in->setReadOnly(true);
    lbl_lenrx = new ui::Label(central);
    lbl_lenrx->setObjectName("lbl_lenrx");
    outer->addWidget(txt_in);
    outer->addWidget(lbl_lenrx);
    setCentralWidget(central);

    auto* view = menuBar()->addMenu("View");
    mn_showcomm = view->addAction("Show Communication values");
    mn_showcomm->setObjectName("mn_showcomm");
    mn_showcomm->setCheckable(true);
}

// ---------------------------------------------------------------- console

void Frm_acquire::SetStatus(const std::string& text)
{
    txt_status->SetText(text);
    txt_status->Refresh();
}

void Frm_acquire::SetMonitor(const std::string& text)
{
    txt_in->SetText(text);
    txt_in->Refresh();
}

bool Frm_acquire::ShowComm() const { return mn_showcomm->isChecked(); }

// ---------------------------------------------------------------- device operations

void Frm_acquire::cmd_camera_Click() { camera::SelectCamera(txt_cam->Text(), *this); }

int Frm_acquire::PeltierOff() { return stage.PeltierOff(*this); }

int Frm_acquire::SetFan(int level) { return stage.SetFan(level, *this); }

double Frm_acquire::SetPowerReadTemperature(int& power) { return stage.SetPowerReadTemperature(power, *this); }

void Frm_acquire::SendLightPulse(int level)
{
    lighting::SendLightPulse(level, pulse_countdown, *this, [this](const std::string& caption, uint32_t fill) {
        Chk_lenabled->SetCaption(caption);
        QPalette p = Shape_light->palette();
        p.setColor(QPalette::Window, QColor(int(fill & 0xFF), int((fill >> 8) & 0xFF), int((fill >> 16) & 0xFF)));
        Shape_light->setPalette(p);
    });
}

// ---------------------------------------------------------------- settings record and mask

void Frm_acquire::SaveConfigTxt()
{
    ConfigRecord r{txtcom->Text(),  txtprogram->Text(), txt_gain->Text(), txt_exposure->Text(),
                   txt_led->Text(), txtlapse->Text(),   cmb_well->Text(), txttemp->Text()};
    WriteConfigTxt(r);  // a settings record that cannot be written is not worth stopping for
}

void Frm_acquire::ReadCameraMask(const std::string& path)
{
    auto inUse = ReadCameraMaskFile(path);
    for (size_t i = 0; i < inUse.size(); ++i) camera_in_use[i] = inUse[i];
}

void Frm_acquire::WriteCameraConfig(const std::string& path)
{
    std::array<bool, 6> inUse;
    for (size_t i = 0; i < inUse.size(); ++i) inUse[i] = camera_in_use[i];
    if (!WriteCameraMaskFile(path, inUse)) SetStatus("Could not write the camera mask " + path);
}

// ---------------------------------------------------------------- closing

void Frm_acquire::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

}  // namespace tirmo::app
