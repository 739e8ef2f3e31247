#include "app/Frm_acquire.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QVBoxLayout>

#include "app/ConfigFiles.h"
#include "link/Exchange.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Make.h"
#include "ui/Timer.h"

namespace tirmo::app {

Frm_acquire::Frm_acquire(QWidget* parent) : QMainWindow(parent), TextBoxConsole(owned_session)
{
    setObjectName("Frm_acquire");
    setWindowTitle("Acquisition Page");
    buildControls();
}

Frm_acquire::Frm_acquire(link::Session& session, QWidget* parent) : QMainWindow(parent), TextBoxConsole(session)
{
    setObjectName("Frm_acquire");
    setWindowTitle("Acquisition Page");
    buildControls();
}

Frm_acquire::~Frm_acquire() = default;

void Frm_acquire::buildControls()
{
    auto* central = new QWidget(this);
    panels_ = new QVBoxLayout(central);
    txt_status = ui::MakeTextBox(central, "txt_status");
    txt_status->setReadOnly(true);
    panels_->addWidget(txt_status);

    auto* run = new QGroupBox(central);
    auto* grid = new QGridLayout(run);
    txtcom = ui::MakeTextBox(run, "txtcom", "3");
    txtlapse = ui::MakeTextBox(run, "txtlapse", "30");
    cmb_well = ui::MakeComboBox(run, "cmb_well");
    cmb_well->AddItem("w6");
    cmb_well->AddItem("w24");
    cmb_well->SetText("w6");
    grid->addWidget(new QLabel("COM", run), 0, 0);
    grid->addWidget(txtcom, 0, 1);
    grid->addWidget(new QLabel("Acq. time", run), 1, 0);
    grid->addWidget(txtlapse, 1, 1);
    grid->addWidget(new QLabel("minutes", run), 1, 2);
    grid->addWidget(new QLabel("Microplate", run), 2, 0);
    grid->addWidget(cmb_well, 2, 1);
    panels_->addWidget(run);

    menu_view = menuBar()->addMenu("View");
    mn_showcomm = menu_view->addAction("Show Communication values");
    mn_showcomm->setObjectName("mn_showcomm");
    mn_showcomm->setCheckable(true);

    Timer3 = new ui::Timer(this);
    Timer3->SetInterval(1000);
    Timer3->SetEnabled(false);
    Timer3->onTick([this] { Timer3_Timer(); });

    buildCameraControls();
    buildPlateControls();
    buildLightingControls();
    buildThermalControls();
    buildProjectControls();

    txt_in = ui::MakeTextBox(central, "txt_in");
    txt_in->setReadOnly(true);
    lbl_lenrx = ui::MakeLabel(central, "lbl_lenrx");
    panels_->addWidget(txt_in);
    panels_->addWidget(lbl_lenrx);
    setCentralWidget(central);
}

// ---------------------------------------------------------------- console

bool Frm_acquire::ShowComm() const { return mn_showcomm->isChecked(); }

// ---------------------------------------------------------------- shared timer

void Frm_acquire::Timer3_Timer()
{
    // A tick that comes while another exchange holds the port (it came during one of its yields)
    // is skipped whole: the thermostat, the cycle and the pulse go on at the next tick.
    const link::Exchange tick;
    if (!tick) return;
    TemperatureTimerStep();
    PulseTimerStep();
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
