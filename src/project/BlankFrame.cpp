// The blank frame of the main window in its two modes: a new blank run (name and length, then
// the run start with the blank store as project), and the choice of the current blank from the
// store's blank runs, "none" or the instrument's factory blank, with the deletion of old runs.
#include <QCursor>
#include <QListWidget>
#include <QMenu>

#include <algorithm>

#include "link/Session.h"
#include "platform/Clock.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "plate/PlateFormat.h"
#include "project/BlankRuns.h"
#include "project/BlankStore.h"
#include "project/ProjectControls.h"
#include "project/ProjectSetup.h"
#include "project/SubprojectReaders.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"

namespace tirmo::project {
namespace {

constexpr int kFactoryCopyPauseMs = 50;
constexpr const char* kNoLink = "COMPORT not found. Plug the equipment and restart the software";

void message(const std::string& text) { ui::dialogs().messageBox(text); }

// Each question replaces the instrument's current blank or removes one of its blank runs.
bool confirmed(const std::string& question) { return ui::ConfirmOverwrite(question); }

}  // namespace

bool ProjectControls::NewBlankMode() const { return !txt_blankname->isHidden(); }

std::string ProjectControls::selectedBlank() const
{
    const QListWidgetItem* item = lst_blank->currentItem();
    return item ? ui::toBytes(item->text()) : std::string();
}

void ProjectControls::fillBlankList(const std::vector<std::string>& entries)
{
    lst_blank->clear();
    for (const std::string& entry : entries) lst_blank->addItem(ui::toQString(entry));
}

// ---------------------------------------------------------------- a new blank run

void ProjectControls::cmd_blank_Click()
{
    needs_.clear_stop_request();
    const link::Session& s = console_.session();
    if (s.run_state != 0) return;
    if (s.dummy_mode == 0 && !s.port_open) return message(kNoLink);
    lst_blank->hide();
    lbl_blankdescription->hide();
    for (QWidget* w : std::initializer_list<QWidget*>{lblblankname, txt_blankname, lbl_timeblank, txt_blanklapse, cmd_okblank})
        w->show();
    frameblank->show();
    frameblank->raise();
}

void ProjectControls::cmd_okblank_Click()
{
    // A blank run skips the Play checks: a plate the run cannot measure is refused here, before
    // anything is changed.
    if (!IsRunFormat(runSettings().PlateFormat())) {
        runSettings().SetBlankRun(false);
        return message(kPlateFormatError);
    }
    const auto lapse = BlankLapse(txt_blanklapse->Text());
    if (!lapse) {
        message(kBlankLapseError);
        runSettings().SetBlankRun(false);
        txt_blanklapse->SetText("60");
        return;
    }
    runSettings().SetAcquisitionTime(std::to_string(platform::RoundHalfEven(*lapse)));
    const std::string name = platform::MakeSafeName(txt_blankname->Text());
    if (name.empty()) {
        message(kBlankNameError);
        txt_blankname->setFocus();
        runSettings().SetBlankRun(false);
        return;
    }
    if (const std::string notice = platform::SafeNameNotice(txt_blankname->Text()); !notice.empty()) message(notice);
    needs_.set_run_names(kBlankRunPrefix + name, kBlankStoreProject + SerialTag(console_.session().serial_number));
    runSettings().SetBlankRun(true);
    needs_.lock_run_boxes(true);
    frameblank->hide();
    needs_.start_run();
}

void ProjectControls::cmd_cancelblank_Click()
{
    runSettings().SetBlankRun(false);
    frameblank->hide();
}

// ---------------------------------------------------------------- choosing a blank

void ProjectControls::lbl_blanktime_DblClick()
{
    if (console_.session().run_state != 0) return;
    fillBlankList(BlankListEntries(console_.session().serial_number, runSettings().PlateFormat()));
    lst_blank->show();
    lbl_blankdescription->show();
    for (QWidget* w : std::initializer_list<QWidget*>{lblblankname, txt_blankname, lbl_timeblank, txt_blanklapse, cmd_okblank})
        w->hide();
    frameblank->show();
    frameblank->raise();
}

void ProjectControls::lst_blank_Click()
{
    const std::string entry = selectedBlank();
    if (entry.empty() || entry == kNoneEntry || entry == kFactoryEntry) return;
    const std::string folder = InFolder(BlankStoreFolder(console_.session().serial_number), entry);
    lbl_blankdescription->SetCaption("[" + ReadSubprojectTime(folder) + "m] " + ReadSubprojectTitle(folder));
}

void ProjectControls::lst_blank_DblClick()
{
    const std::string entry = selectedBlank();
    if (entry.empty()) return;
    const int serial = console_.session().serial_number;
    // The format shown is only used when it is one: its name becomes part of a file name.
    const std::string shown = runSettings().PlateFormat();
    const bool showsFormat = plate::IsPlateFormat(shown);

    if (entry == kNoneEntry) {
        if (showsFormat) {
            BlankTables tables;
            CorrectionNotices notices;
            notices.status = [this](const std::string& text) { console_.SetStatus(text); };
            WriteBlankFile(shown, serial, tables, notices);
            std::copy(tables.values.begin(), tables.values.end(), blank_values.begin());
            blank_lapse = tables.lapse;
        }
        lbl_blanktime->SetCaption(kNoBlank);
        lbl_blankname->SetCaption("");
        frameblank->hide();
        return;
    }

    if (entry == kFactoryEntry) {
        if (!confirmed("Load Factory_Default Blank for " + shown + "?")) return;
        switch (showsFormat ? CopyFactoryBlank(shown, serial) : FactoryCopy::Missing) {
        case FactoryCopy::Copied:
            platform::Sleep(kFactoryCopyPauseMs);
            message(kBlankOk);
            blank_header = ReadBlankHeader(shown);
            lbl_blankname->SetCaption("");
            lbl_blanktime->SetCaption(blank_header);  // the factory stamp as it stands
            break;
        case FactoryCopy::Missing: message(kFactoryBlankMissing); break;
        case FactoryCopy::NotWritten: message(kBlankNotWritten + BlankFilePath(shown, serial)); break;
        }
        frameblank->hide();
        return;
    }

    if (!confirmed("Load " + entry + "?")) return;
    const std::string folder = InFolder(BlankStoreFolder(serial), entry);
    if (!platform::FolderExists(folder)) return message(kBlankFolderMissing);
    // The run's own format, which need not be the one shown.
    const std::string format = ReadSubprojectFormat(folder);
    if (format.empty()) return message(kBlankNoFormat);
    const std::string time = ReadSubprojectTime(folder);
    if (time.empty()) return message(kBlankNoTime);
    SaveBlankRun(folder, format, platform::Val(time));
    frameblank->hide();
}

void ProjectControls::lst_blank_MouseUp(int button, int, int, int)
{
    if (button == 2 && needs_.blank_menu) needs_.blank_menu->popup(QCursor::pos());
}

void ProjectControls::mndelblank_Click()
{
    const std::string entry = selectedBlank();
    if (entry.empty() || entry == kNoneEntry || entry == kFactoryEntry) return;
    if (!confirmed("Delete " + entry + "?")) return;
    const int serial = console_.session().serial_number;
    if (!DeleteBlankRun(InFolder(BlankStoreFolder(serial), entry))) return message(kBlankDeleteError);
    // The blank runs of every format, until the list is opened again.
    fillBlankList(BlankListEntries(serial, std::nullopt));
    if (lst_blank->count() > 1) lst_blank->setCurrentRow(1);
}

}  // namespace tirmo::project
