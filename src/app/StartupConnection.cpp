// The start-up connection: the search for the instrument on COM1 to COM15, the serial-number
// query, and the typed port or offline mode.
#include "app/Frm_acquire.h"
#include "link/CommPort.h"
#include "platform/Clock.h"
#include "platform/Convert.h"
#include "platform/SerialDevice.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"

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

}  // namespace tirmo::app
