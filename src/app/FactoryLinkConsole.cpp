#include "app/FactoryLinkConsole.h"

#include <QGridLayout>
#include <QGroupBox>

#include <optional>

#include "link/CommPort.h"
#include "link/Exchange.h"
#include "platform/Clock.h"
#include "platform/Convert.h"
#include "ui/Controls.h"
#include "ui/Make.h"

namespace tirmo::app {
using namespace link;

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

FactoryLinkConsole::FactoryLinkConsole(Console& console, QWidget* parent) : console_(console)
{
    frame_link = new QGroupBox("Link", parent);
    frame_link->setObjectName("frame_link");
    grid = new QGridLayout(frame_link);
    grid->addWidget(ui::MakeLabel(frame_link, "lblcom", "COM"), 0, 0);
    txtcom = ui::MakeTextBox(frame_link, "txtcom", "3");
    grid->addWidget(txtcom, 0, 1);
    cmdopen = ui::MakeButton(frame_link, "cmdopen", "Connected", [this] { cmdopen_Click(); });
    grid->addWidget(cmdopen, 0, 2);
    cmdsn = ui::MakeButton(frame_link, "cmdsn", "Get SN", [this] { cmdsn_Click(); });
    grid->addWidget(cmdsn, 1, 0);
    cmd_reset = ui::MakeButton(frame_link, "cmd_reset", "RESET", [this] { cmd_reset_Click(); });
    grid->addWidget(cmd_reset, 1, 1);
    chkdummy = ui::MakeCheckBox(frame_link, "chkdummy", "Dummy");
    chkdummy->onClick([this] { chkdummy_Click(); });
    grid->addWidget(chkdummy, 1, 2);
}

void FactoryLinkConsole::ShowLink()
{
    const Session& s = session();
    if (s.port_open) txtcom->SetText(std::to_string(s.port_slot));
    cmdopen->SetCaption(s.port_open ? "Connected" : "DisConnected");
}

void FactoryLinkConsole::chkdummy_Click() { session().dummy_mode = chkdummy->Value() == 1 ? 1 : 0; }

void FactoryLinkConsole::cmdopen_Click()
{
    Session& s = session();
    if (s.port_open) {
        // The link's own slot is closed, whatever the box names now: the box may have been
        // edited since the link was opened elsewhere.
        s.port_open = false;
        CommClose(s.port_slot);
        cmdopen->SetCaption("DisConnected");
        return;
    }
    const std::optional<int> port = boxPort(txtcom->Text());
    if (!port) {
        CommClose(s.port_slot);
        s.port_open = false;
        return;
    }
    const Exchange exchange(console_);
    if (!exchange) return;
    s.port_slot = *port;
    if (CommOpen(*port, "COM" + std::to_string(*port), kFactoryLinkSettings) != 0) return;
    cmdopen->SetCaption("Connected");
    s.port_open = true;
}

void FactoryLinkConsole::cmdsn_Click()
{
    if (session().dummy_mode != 0) return;
    const Exchange exchange(console_);
    if (!exchange) return;
    const int slot = session().port_slot;
    CommFlush(slot);
    platform::Sleep(kFlushPauseMs);
    const Frame frame = *MakeFrame('N', 0, 0);
    console_.SetMonitor("sending " + frame.bytes());
    CommWrite(slot, frame.bytes());
    const std::string reply = PollReply(session(), 3);
    console_.SetMonitor(reply.empty() ? "Empty" : "in:" + ReplyTrace(reply));
    long value = 0;
    if (reply.size() >= 2) value += long(static_cast<unsigned char>(reply[1])) * 256;
    if (reply.size() >= 3) value += static_cast<unsigned char>(reply[2]);
    console_.SetStatus("Serial Number = SN" + std::to_string(value));
}

void FactoryLinkConsole::cmd_reset_Click()
{
    // A reset while another exchange holds the port would split it: say so instead.
    const Exchange exchange(console_);
    if (!exchange) return;
    SendReset(session());
}

}  // namespace tirmo::app
