// The factory window's shell: its menu, the way back to the main window, simulation and video
// switches, and the link console (connect at 1 Mbaud, serial number, reset).
#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

#include <optional>

#include "app/Frm_advance.h"
#include "app/ProductInfo.h"
#include "camera/CameraControls.h"
#include "link/CommPort.h"
#include "link/Exchange.h"
#include "link/Protocol.h"
#include "platform/Clock.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Make.h"

namespace tirmo::app {

void Frm_advance::buildShell()
{
    QMenu* tools = menuBar()->addMenu("Tools");
    tools->setObjectName("mntools");
    QMenu* advanced = tools->addMenu("Advanced");
    advanced->setObjectName("mnadvan");
    // The calibrations of this window come with its calibration tools: in place, disabled.
    QMenu* wellcal = advanced->addMenu("Well Format Calibration");
    wellcal->addAction("Calibrate position")->setEnabled(false);
    QMenu* lightcal = advanced->addMenu("Lighting Calibration");
    lightcal->addAction("Background light")->setEnabled(false);
    lightcal->addAction("Well illumination")->setEnabled(false);
    lightcal->addAction("Fast led calibration")->setEnabled(false);
    QMenu* tempcal = advanced->addMenu("Temperature Calibration");
    tempcal->setObjectName("mntempcal");
    connect(tempcal->addAction("Calibrate"), &QAction::triggered, this, [this] { mncalibratetemp_Click(); });
    QMenu* fac = advanced->addMenu("Factory Tools");
    fac->addAction("Enable Internal Reference ")->setEnabled(false);
    QAction* adv = fac->addAction("Factory Tools(Require password)");
    adv->setObjectName("mnadvanced");
    connect(adv, &QAction::triggered, this, [this] { mnadvanced_Click(); });
    QMenu* help = menuBar()->addMenu("Help");
    QAction* helpIndex = help->addAction("Help Index");
    helpIndex->setObjectName("mnhelpindex");
    connect(helpIndex, &QAction::triggered, this,
            [this] { OpenHelpFile(this, [this](const std::string& text) { SetStatus(text); }); });
    connect(help->addAction("SoftVersion"), &QAction::triggered, this, [this] { mnversion_Click(); });
    help->addSeparator();
    connect(help->addAction("About"), &QAction::triggered, this, [this] { mnabout_Click(); });

    auto* link = new QGroupBox("Link", frame_advanced);
    link->setObjectName("frame_link");
    auto* grid = new QGridLayout(link);
    grid->addWidget(ui::MakeLabel(link, "lblcom", "COM"), 0, 0);
    txtcom = ui::MakeTextBox(link, "txtcom", "3");
    grid->addWidget(txtcom, 0, 1);
    cmdopen = ui::MakeButton(link, "cmdopen", "Connected", [this] { cmdopen_Click(); });
    grid->addWidget(cmdopen, 0, 2);
    cmdsn = ui::MakeButton(link, "cmdsn", "Get SN", [this] { cmdsn_Click(); });
    grid->addWidget(cmdsn, 1, 0);
    cmd_reset = ui::MakeButton(link, "cmd_reset", "RESET", [this] { cmd_reset_Click(); });
    grid->addWidget(cmd_reset, 1, 1);
    chkdummy = ui::MakeCheckBox(link, "chkdummy", "Dummy");
    chkdummy->onClick([this] { chkdummy_Click(); });
    grid->addWidget(chkdummy, 1, 2);
    chk_video = ui::MakeCheckBox(link, "chk_video", "Video_mode");
    chk_video->onClick([this] { chk_video_Click(); });
    grid->addWidget(chk_video, 2, 0, 1, 2);
    chk_exportbmp = ui::MakeCheckBox(link, "chk_exportbmp", "Export_videoBMP");
    grid->addWidget(chk_exportbmp, 3, 0, 1, 3);
    Command_fullframe = ui::MakeButton(link, "Command_fullframe", "Full_frame");
    Command_fullframe->setEnabled(false);  // the frame tools come with the camera's factory tools
    grid->addWidget(Command_fullframe, 2, 2);
    tools_->addWidget(link);
}

void Frm_advance::Form_Load()
{
    frame_advanced->show();
    // The read-out speed code of the instrument's generation (offline the generation is 1).
    camera->txt_speed->SetText(session().hardware_generation < 2 ? "7" : "8");
    camera->txt_speed->Refresh();
    // The simulation switch shows what the session holds (the start clears it).
    chkdummy->blockSignals(true);
    chkdummy->SetValue(session().dummy_mode != 0 ? 1 : 0);
    chkdummy->blockSignals(false);
}

void Frm_advance::cmd_menu_Click()
{
    frame_advanced->hide();
    if (main_window) {
        main_window->show();
        main_window->raise();
    }
}

void Frm_advance::Form_Unload()
{
    if (main_window) {
        main_window->show();
        main_window->raise();
    }
}

void Frm_advance::chkdummy_Click() { session().dummy_mode = chkdummy->Value() == 1 ? 1 : 0; }

void Frm_advance::chk_video_Click()
{
    Command_fullframe->SetCaption(chk_video->Value() == 1 ? "Video_frame" : "Full_frame");
    if (chk_exportbmp->Value() != 1) return;
    const std::string folder = platform::ProgramPath("bmp_exp");
    if (!platform::FolderExists(folder) && !platform::MakeFolder(folder)) SetStatus("Could not create the folder " + folder);
}

void Frm_advance::mnversion_Click() { ui::dialogs().messageBox(VersionText()); }

void Frm_advance::mnabout_Click() { ui::dialogs().messageBox(AboutText()); }

void Frm_advance::mncalibratetemp_Click()
{
    if (session().dummy_mode == 0 && !session().port_open) {
        ui::dialogs().messageBox("Operation not possible in OFFLINE Mode");
        return;
    }
    // The calibration panel itself is the temperature stage's; this window keeps the offset it
    // started from.
    temp_offset = session().temp_offset;
}

void Frm_advance::mnadvanced_Click()
{
    if (!AdministratorPassword(ui::dialogs().inputBox("Enter password"))) {
        ui::dialogs().messageBox("Wrong password");
        return;
    }
    frame_advanced->show();
    cmd_menu->show();
}

// ---------------------------------------------------------------- link console

namespace {

// The port box's number: its leading number rounded (halves to even); nullopt when that does
// not fit 16 bits.
std::optional<int> boxPort(const std::string& text)
{
    const double v = platform::Val(text);
    try {
        return platform::ToInt16(v);
    } catch (const platform::NumberError&) {
        return std::nullopt;
    }
}

}  // namespace

void Frm_advance::cmdopen_Click()
{
    link::Session& s = session();
    if (s.port_open) {
        // The link's own slot is closed, whatever the box names now: the box may have been
        // edited since the link was opened elsewhere.
        s.port_open = false;
        link::CommClose(s.port_slot);
        cmdopen->SetCaption("DisConnected");
        return;
    }
    const std::optional<int> port = boxPort(txtcom->Text());
    if (!port) {
        link::CommClose(s.port_slot);
        s.port_open = false;
        return;
    }
    const link::Exchange exchange(*this);
    if (!exchange) return;
    s.port_slot = *port;
    if (link::CommOpen(*port, "COM" + std::to_string(*port), kFactoryLinkSettings) != 0) return;
    cmdopen->SetCaption("Connected");
    s.port_open = true;
}

void Frm_advance::cmdsn_Click()
{
    if (session().dummy_mode != 0) return;
    const link::Exchange exchange(*this);
    if (!exchange) return;
    const int slot = session().port_slot;
    link::CommFlush(slot);
    platform::Sleep(link::kFlushPauseMs);
    const link::Frame frame = *link::MakeFrame('N', 0, 0);
    SetMonitor("sending " + frame.bytes());
    link::CommWrite(slot, frame.bytes());
    const std::string reply = link::PollReply(session(), 3);
    SetMonitor(reply.empty() ? "Empty" : "in:" + link::ReplyTrace(reply));
    long value = 0;
    if (reply.size() >= 2) value += long(static_cast<unsigned char>(reply[1])) * 256;
    if (reply.size() >= 3) value += static_cast<unsigned char>(reply[2]);
    SetStatus("Serial Number = SN" + std::to_string(value));
}

void Frm_advance::cmd_reset_Click()
{
    // A reset while another exchange holds the port would split it: say so instead.
    const link::Exchange exchange(*this);
    if (!exchange) return;
    link::SendReset(session());
}

}  // namespace tirmo::app
