// The start-up: the search for the instrument on COM1 to COM15, the serial-number query, the
// typed port or offline mode, and what the load handler sets up from the result.
#include "app/ConfigFiles.h"
#include "app/Frm_acquire.h"
#include "thermal/ThermalControls.h"
#include "link/CommPort.h"
#include "plate/BandFiles.h"
#include "platform/Clock.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "platform/SerialDevice.h"
#include "project/LastProject.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/PictureBox.h"

namespace tirmo::app {
namespace {

constexpr int kLastScannedPort = 15;
constexpr int kScanPauseMs = 100;
constexpr int kQueryPauseMs = 10;
constexpr int kQueriesPerPort = 2;

bool isAnswer(int serial) { return serial >= 0 && serial <= 255; }

// What the search's open step gives when the window was closed before the port was opened.
constexpr long kSearchStopped = -2;

}  // namespace

int Frm_acquire::QuerySerialNumber(int port)
{
    if (session().dummy_mode != 0) return -1;
    link::CommFlush(port);
    platform::Sleep(link::kFlushPauseMs);
    const link::Frame frame = *link::MakeFrame('N', 0, 0);
    const std::string sending = "sending " + frame.bytes();
    SetMonitor(sending);
    link::CommWrite(port, frame.bytes());
    const std::string reply = link::PollReply(session(), 3, link::kEmptyReadLimit, link::kEmptyReadPauseMs, port);
    if (reply.empty()) {
        SetMonitor("Empty");
        return -1;
    }
    // The serial number must fit a 16-bit signed value: a short reply or a first data byte of
    // 128 or more cannot be decoded.
    if (reply.size() < 3 || static_cast<unsigned char>(reply[1]) >= 128) {
        SetMonitor(sending);
        ShowError("error");
        return -1;
    }
    SetMonitor("in:" + link::ReplyTrace(reply));
    return int(link::ReplyValue(reply));
}

// Opens the link on port and marks it open; false (program offline) when the port does not open.
void Frm_acquire::openLink(int port)
{
    if (unloaded) return;  // the shutdown has run: the instrument stays at rest
    if (link::CommOpen(port, "COM" + std::to_string(port), kLinkSettings) != 0) {
        // The port answered a moment ago but cannot be opened again: carry on offline rather
        // than pretend a link exists.
        session().port_open = false;
        session().serial_number = 0;
        offline_mode = true;
        SetStatus("Offline Mode");
        return;
    }
    session().port_slot = port;
    session().port_open = true;
}

void Frm_acquire::ConnectDevice()
{
    session().com_number = 1;
    instrument_answered = false;
    show();
    // The search lets the window run events, and one of them may close it: the shutdown has
    // then run, and the search opens nothing more.
    auto opening = [this](int n) -> long {
        SetStatus("Opening Port [" + std::to_string(n) + "]");
        platform::DoEvents();
        platform::Sleep(kScanPauseMs);
        if (unloaded) return kSearchStopped;
        return link::CommOpen(n, "COM" + std::to_string(n), kLinkSettings);
    };

    bool found = false;
    // First attempt: COM1, one query.
    if (opening(1) != 0) {
        if (unloaded) return;
        session().com_number = 0;
    } else {
        int answer = QuerySerialNumber(1);
        if (isAnswer(answer)) {
            session().serial_number = answer;
            found = true;
            txtcom->SetText("1");  // the port box names the port actually used
        } else {
            session().com_number = 0;
            session().serial_number = 0;
        }
        link::CommClose(1);
    }

    // The scan starts again from COM1 when the first attempt failed.
    while (!found && session().com_number < kLastScannedPort) {
        const int n = ++session().com_number;
        long result = opening(n);
        if (unloaded) return;
        if (result != 0 && result != platform::kErrPortBusy) continue;
        for (int q = 0; q < kQueriesPerPort && !found; ++q) {
            platform::Sleep(kQueryPauseMs);
            int answer = QuerySerialNumber(n);
            if (isAnswer(answer)) {
                session().serial_number = answer;
                found = true;
                SetStatus("Status = Connected on COM[ " + std::to_string(n) + " ] SN#" +
                          platform::Format(answer, "0000"));
                txtcom->SetText(std::to_string(n));
            } else {
                session().serial_number = 0;
            }
        }
        link::CommClose(n);
    }
    // A query's message box lets the window close as well.
    if (unloaded) return;

    if (found) {
        instrument_answered = true;
        offline_mode = false;
        SaveConfigTxt();
        openLink(session().com_number);
        return;
    }

    const std::string answer = ui::dialogs().inputBox(
        "COM(" + std::to_string(session().com_number) + ") PORT ERROR. Type New Port number or <Enter> to go Offline");
    auto goOffline = [this] {
        offline_mode = true;
        SetStatus("Offline Mode");
    };
    if (unloaded) return;
    if (platform::Trim(answer).empty()) return goOffline();
    int typed = 0;
    try {
        typed = platform::WholeNumber16(answer);
    } catch (const platform::NumberError&) {
        return goOffline();
    }
    if (typed < 1 || typed > kLastScannedPort) return goOffline();
    session().com_number = typed;
    if (link::CommOpen(typed, "COM" + std::to_string(typed), kLinkSettings) != 0) {
        ui::dialogs().messageBox("Invalid Port Number. Offline Mode");
        return goOffline();
    }
    txtcom->SetText(std::to_string(typed));
    txtcom->Refresh();
    SaveConfigTxt();
    link::CommClose(typed);
    openLink(typed);
}

void Frm_acquire::Form_Load()
{
    session().dummy_mode = 0;
    session().acquisition_folder = platform::ProgramFolder();
    ConnectDevice();
    // Closed (or stopped by a signal) during the search: the shutdown has left the instrument
    // at rest, and the start-up must not wake it again.
    if (unloaded) return;

    session().hardware_generation = session().serial_number < 50 ? 1 : 2;
    platform::MakeFolder(platform::ProgramPath("reports"));
    platform::MakeFolder(platform::ProgramPath("config"));
    if (!offline_mode && session().serial_number > 0) {
        const std::string sn = "SN" + std::to_string(session().serial_number);
        const bool firstStart = !platform::FolderExists(platform::ProgramPath("config_" + sn));
        platform::MakeFolder(platform::ProgramPath("config_" + sn));
        platform::MakeFolder(platform::ProgramPath("reports/_internal_reference" + sn));
        platform::MakeFolder(platform::ProgramPath("reports/_internal_blank_measurement" + sn));
        // First start with this instrument on this computer: its band files, from config or
        // the defaults.
        if (firstStart) plate::InstallFormatFiles("config_" + sn);
    }
    if (offline_mode)
        SetStatus("Offline Mode");
    else if (instrument_answered)
        SetStatus("OK. Connected to TIRMO SN" + std::to_string(session().serial_number));
    else  // a typed port that opened: the link is kept, but nothing confirmed an instrument on it
        SetStatus("COM" + std::to_string(session().port_slot) + " open, but the instrument did not answer (SN" +
                  std::to_string(session().serial_number) + ")");

    if (session().hardware_generation == 1) {
        session().default_gain = 10;
        session().default_exposure = 20;
    } else if (session().serial_number >= 57 && session().serial_number <= 59) {
        session().default_gain = 20;
        session().default_exposure = 28;
    } else {
        session().default_gain = 15;
        session().default_exposure = 20;
    }
    camera->txt_gain->SetText(std::to_string(session().default_gain));
    camera->txt_exposure->SetText(std::to_string(session().default_exposure));
    thermal->stage.analog_stage = session().hardware_generation == 1;

    ReadCameraMask(CameraMaskPath(session().serial_number));
    project->current_project = project::LoadLastProject(session().serial_number);
    lighting->WriteDefaultLedLayouts();
    thermal->ReadTempCalibration();
    if (unloaded) return;  // its message box may have been closed by a termination signal

    if (cmb_well->Text().empty()) cmb_well->SetText("w6");
    plate->SetCurrentFormat(cmb_well->Text());
    plate->ReadPlateSpec(plate->current_format);
    plate->WriteMissingSpecFiles();

    this->camera->Picact->Scale(0, 0, 500, 2048);
    this->camera->camera_index = 0;
    plate->ReadFormatFiles(plate->current_format);
    camera->cmd_default_Click();
    plate->InitPlateView();
    this->camera->ResetRealtimePicture();

    if (unloaded) return;
    if (!offline_mode && session().dummy_mode == 0) {
        thermal->SetFan(128);
        int power = 0;
        thermal->SetPowerReadTemperature(power);
    }
    report->FillReportLists();
    project->SelectLastProject();
    // Every control to its place for the window's size, the plate map drawn at its size.
    LayoutMainWindow();
}

}  // namespace tirmo::app
