#pragma once
// The camera speed and read-out window controls that the main window and the factory window
// both have, alike in name, first value and order, and what their ">>" and "Default" buttons
// do. The camera settings object (CameraControls) of each window passes itself: the boxes, the
// error box and the senders are its window's.
#include <QWidget>

#include <string>

#include "camera/CameraCommands.h"
#include "link/Exchange.h"
#include "link/Protocol.h"
#include "platform/Convert.h"
#include "ui/Controls.h"
#include "ui/Make.h"

namespace tirmo::camera {

// The speed box and its "send", the read-out window boxes with the lines and pixels they give,
// ">>" and "Default", created in this order under parent.
template <class Window>
void MakeReadoutControls(Window& w, QWidget* parent)
{
    w.txt_speed = ui::MakeTextBox(parent, "txt_speed", "7");
    w.cmd_camspeed = ui::MakeButton(parent, "cmd_camspeed", "send", [p = &w] { p->cmd_camspeed_Click(); });
    w.txt_xini = ui::MakeTextBox(parent, "txt_xini", "0");
    w.txt_xfin = ui::MakeTextBox(parent, "txt_xfin", "142");
    w.txt_yini = ui::MakeTextBox(parent, "txt_yini", "1");
    w.txt_yfin = ui::MakeTextBox(parent, "txt_yfin", "183");
    w.txt_lines = ui::MakeTextBox(parent, "txt_lines", "143");
    w.txt_pix = ui::MakeTextBox(parent, "txt_pix", "183");
    w.cmd_xy = ui::MakeButton(parent, "cmd_xy", ">>", [p = &w] { p->cmd_xy_Click(); });
    w.cmd_default = ui::MakeButton(parent, "cmd_default", "Default", [p = &w] { p->cmd_default_Click(); });
}

// ">>": the lines and pixels of the window in the boxes are shown, then the window is sent, y
// first, the four frames as one exchange. A box that holds no 16-bit whole number stops it with
// the error box; while another exchange holds the port nothing changes but the status line.
template <class Window>
void SendReadoutWindow(Window& w)
{
    const link::Exchange exchange(w.console());
    if (!exchange) return;
    const auto limits = ReadReadoutLimits(w.txt_xini->Text(), w.txt_xfin->Text(), w.txt_yini->Text(), w.txt_yfin->Text());
    if (!limits) {
        w.ShowError("error");
        return;
    }
    w.txt_lines->SetText(std::to_string(limits->lines()));
    w.txt_lines->Refresh();
    w.txt_pix->SetText(std::to_string(limits->pixels()));
    w.txt_pix->Refresh();
    SendReadoutLimits(*limits, w.console(), w.variant());
}

// "Default": the speed code of the hardware generation and the default read-out window.
template <class Window>
void ShowDefaultReadout(Window& w)
{
    auto put = [](ui::TextBox* box, const std::string& value) {
        box->SetText(value);
        box->Refresh();
    };
    put(w.txt_speed, DefaultSpeedCode(w.session().hardware_generation));
    put(w.txt_xini, std::to_string(kDefaultXini));
    put(w.txt_xfin, std::to_string(kDefaultXfin));
    put(w.txt_yini, std::to_string(kDefaultYini));
    put(w.txt_yfin, std::to_string(kDefaultYfin));
}

}  // namespace tirmo::camera
