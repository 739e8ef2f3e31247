#pragma once
// The factory window's link tools, in its "Link" frame: the port box with the connect button
// (1 Mbaud, the service rate), the serial number query, the unframed reset and the simulation
// switch. They report through the window's console.
#include <string>

#include "link/Protocol.h"
#include "ui/Forward.h"

class QGridLayout;
class QGroupBox;
class QWidget;

namespace tirmo::app {

using link::Console;
using link::Session;

// The settings text of the factory window's connect button: the service rate.
inline constexpr const char* kFactoryLinkSettings = "baud=1000000 parity=N data=8 stop=1";

class FactoryLinkConsole {
public:
    // The "Link" frame is made on parent; the window adds its own switches to grid and places
    // the frame.
    FactoryLinkConsole(Console& console, QWidget* parent);

    // Opens the port of txtcom at 1 Mbaud, or closes the link; the caption says which.
    void cmdopen_Click();
    // The link as it is when the window is shown, whoever opened or closed it: the open port in
    // the port box and "Connected", or "DisConnected" with the box as it was left.
    void ShowLink();
    // Shows the instrument's serial number in the status line (and nowhere else).
    void cmdsn_Click();
    // The unframed reset: "Z" 132 times.
    void cmd_reset_Click();
    void chkdummy_Click();

    QGroupBox* frame_link = nullptr;  // "Link"
    QGridLayout* grid = nullptr;
    ui::TextBox* txtcom = nullptr;
    ui::CommandButton* cmdopen = nullptr;    // "Connected" / "DisConnected"
    ui::CommandButton* cmdsn = nullptr;      // "Get SN"
    ui::CommandButton* cmd_reset = nullptr;  // "RESET"
    ui::CheckBox* chkdummy = nullptr;        // "Dummy"

private:
    Session& session() const { return console_.session(); }
    Console& console_;
};

}  // namespace tirmo::app
