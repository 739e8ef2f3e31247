#pragma once
// The backup and restore panel of the instrument's memory (frame_flash, "Send to / Receive from
// Flash"): a check box per calibration set, "SEND" (write the checked sets from the calibration
// files and read each back), "RECEIVE" (restore the checked sets into the calibration folder;
// "Done" when every one was restored, else "Not restored:" and the sets that were not),
// "X" (close the panel), "ReCalc" beside the internal-reference box (renew the instrument's
// internal-reference factor files from the reference runs) and the progress picture. The panel
// object fills the window's frame with its controls and works over the window's console and
// session. One transfer at a time: a click on SEND, RECEIVE or ReCalc while one runs is refused.
#include <QObject>

#include <array>
#include <functional>
#include <string>

#include "link/Protocol.h"
#include "ui/Forward.h"

class QWidget;

namespace tirmo::devicememory {

class FlashPanel : public QObject {
    Q_OBJECT
public:
    // frame: the window's frame_flash; showLength shows "Len(Rx) = n" in the window's lbl_lenrx.
    FlashPanel(link::Console& console, QWidget* frame, std::function<void(const std::string&)> showLength);

    void cmd_sendflash_Click();
    void cmd_receiveflash_Click();
    void cmd_closeflashmenu_Click();
    // After a Yes, renews intfactor_<format>.dat for w6, p35 and w24 and says "done"; a file that
    // could not be renewed is named instead.
    void cmd_recalc_internal_Click();

    QWidget* frame_flash = nullptr;
    std::array<ui::CheckBox*, 5> Check_flash{};
    ui::CommandButton* cmd_sendflash = nullptr;     // "SEND"
    ui::CommandButton* cmd_receiveflash = nullptr;  // "RECEIVE"
    ui::CommandButton* cmd_closeflashmenu = nullptr;  // "X"
    ui::CommandButton* cmd_recalc_internal = nullptr;  // "ReCalc"
    ui::PictureBox* Picture_progress = nullptr;
    // A SEND or RECEIVE is running.
    bool transferring = false;
    // The window's "Internal Reference:" list stands at "Apply" or "Update": a factor
    // recalculation then shows where it found the reference runs. Unset: always.
    std::function<bool()> intref_announced;

private:
    std::array<bool, 5> checked() const;
    bool announceReference() const;
    void progress(const std::string& text);
    // False, with the status line saying so, while a transfer runs or another exchange holds the
    // port; for a transfer over the link also, with a message, while the link is closed.
    bool startTransfer(bool needsLink = true);

    link::Console& console_;
    std::function<void(const std::string&)> showLength_;
};

}  // namespace tirmo::devicememory
