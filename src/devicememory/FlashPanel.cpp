#include "devicememory/FlashPanel.h"

#include <initializer_list>
#include <sstream>

#include <QGridLayout>
#include <QWidget>

#include "devicememory/CalibrationReaders.h"
#include "devicememory/CalibrationWriters.h"
#include "devicememory/InternalFactors.h"
#include "devicememory/LinkFlashPort.h"
#include "link/Exchange.h"
#include "platform/ProgramFolder.h"
#include "project/CorrectionFolders.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Make.h"
#include "ui/PictureBox.h"

namespace tirmo::devicememory {

FlashPanel::FlashPanel(link::Console& console, QWidget* frame, std::function<void(const std::string&)> showLength)
    : frame_flash(frame), console_(console), showLength_(std::move(showLength))
{
    auto* grid = new QGridLayout(frame);
    for (size_t i = 0; i < Check_flash.size(); ++i) {
        Check_flash[i] = ui::MakeCheckBox(frame, QString("Check_flash%1").arg(i), SetCaption(kCalibrationSets[i]));
        grid->addWidget(Check_flash[i], int(i), 0, 1, 2);
    }
    cmd_sendflash = ui::MakeButton(frame, "cmd_sendflash", "SEND", [this] { cmd_sendflash_Click(); });
    cmd_receiveflash = ui::MakeButton(frame, "cmd_receiveflash", "RECEIVE", [this] { cmd_receiveflash_Click(); });
    cmd_closeflashmenu = ui::MakeButton(frame, "cmd_closeflashmenu", "X", [this] { cmd_closeflashmenu_Click(); });
    Picture_progress = ui::MakePicture(frame, "Picture_progress", 200, 40);
    Picture_progress->Scale(0, 0, 100, 100);
    cmd_closeflashmenu->setFixedWidth(cmd_closeflashmenu->sizeHint().height());
    grid->addWidget(cmd_closeflashmenu, 0, 2, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(cmd_sendflash, 1, 2);
    grid->addWidget(cmd_receiveflash, 2, 2);
    cmd_recalc_internal = ui::MakeButton(frame, "cmd_recalc_internal", "ReCalc", [this] { cmd_recalc_internal_Click(); });
    grid->addWidget(cmd_recalc_internal, 3, 2);
    grid->addWidget(Picture_progress, 5, 0, 1, 3);
}

std::array<bool, 5> FlashPanel::checked() const
{
    std::array<bool, 5> out{};
    for (size_t i = 0; i < out.size(); ++i) out[i] = Check_flash[i]->Value() == 1;
    return out;
}

namespace {

// The text broken at its blanks into lines that fit the picture's width: the list of the sets
// that were not written or restored must be read whole, not run out of the picture.
std::string wrapToWidth(const ui::PictureBox& picture, const std::string& text)
{
    std::istringstream words(text);
    std::string out, line, word;
    while (words >> word) {
        const std::string longer = line.empty() ? word : line + " " + word;
        if (!line.empty() && picture.TextWidth(longer) > picture.ScaleWidth()) {
            out += line + "\n";
            line = word;
        } else {
            line = longer;
        }
    }
    return out + line;
}

}  // namespace

void FlashPanel::progress(const std::string& text)
{
    Picture_progress->Cls();
    if (!text.empty()) {
        Picture_progress->SetCurrentX(0);
        Picture_progress->SetCurrentY(0);
        Picture_progress->Print(wrapToWidth(*Picture_progress, text));
    }
    Picture_progress->Refresh();
}

namespace {
struct Transferring {
    explicit Transferring(bool& flag) : flag_(flag) { flag_ = true; }
    ~Transferring() { flag_ = false; }
    bool& flag_;
};
}  // namespace

bool FlashPanel::startTransfer(bool needsLink)
{
    if (transferring) {
        console_.SetStatus(link::kBusy);
        return false;
    }
    // What an earlier transfer left in the status line (a set not found in the memory) is no
    // outcome of this one.
    console_.SetStatus("");
    if (needsLink && !console_.session().port_open) {
        ui::dialogs().messageBox(link::kNotConnected);
        return false;
    }
    return true;
}

void FlashPanel::cmd_sendflash_Click()
{
    if (!startTransfer()) return;
    const link::Exchange exchange(console_);
    if (!exchange) return;
    const Transferring running(transferring);
    LinkFlashPort port(console_, showLength_);
    WriterContext context{port, console_.session().serial_number, {}, {}};
    context.notices.message = [](const std::string& text) { ui::dialogs().messageBox(text); };
    context.notices.status = [this](const std::string& text) { console_.SetStatus(text); };
    context.notices.progress = [this](const std::string& text) { progress(text); };
    context.correction.message = context.notices.message;
    context.correction.status = context.notices.status;
    context.announce_reference = announceReference();
    SendCalibrationSets(checked(), context);
}

void FlashPanel::cmd_receiveflash_Click()
{
    if (!startTransfer()) return;
    const link::Exchange exchange(console_);
    if (!exchange) return;
    const Transferring running(transferring);
    LinkFlashPort port(console_, showLength_);
    MemoryNotices notices;
    notices.message = [](const std::string& text) { ui::dialogs().messageBox(text); };
    notices.status = [this](const std::string& text) { console_.SetStatus(text); };
    notices.progress = [this](const std::string& text) { progress(text); };
    const std::string folder = platform::ResolvePath(project::CalibrationFolder(console_.session().serial_number));
    ReceiveCalibrationSets(checked(), port, folder, notices);
}

bool FlashPanel::announceReference() const { return !intref_announced || intref_announced(); }

void FlashPanel::cmd_closeflashmenu_Click() { frame_flash->hide(); }

void FlashPanel::cmd_recalc_internal_Click()
{
    // A SEND renews and reads these same files.
    if (!startTransfer(false)) return;
    if (!ui::ConfirmOverwrite(kRecalcQuestion, ui::MsgButtons::YesNoCancel)) return;
    project::CorrectionNotices notices;
    notices.message = [](const std::string& text) { ui::dialogs().messageBox(text); };
    notices.status = [this](const std::string& text) { console_.SetStatus(text); };
    bool renewed = true;
    for (const char* format : {"w6", "p35", "w24"}) {
        const RecordSource s = RecalculateInternalFactors(format, console_.session().serial_number, notices, announceReference());
        if (!s.ok()) {
            renewed = false;
            notices.Message(s.error);
        }
    }
    // "done" after a file that kept its old factors would have the user send those.
    if (renewed) ui::dialogs().messageBox("done");
}

}  // namespace tirmo::devicememory
