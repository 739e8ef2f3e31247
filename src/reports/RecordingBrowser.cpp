#include "reports/RecordingBrowser.h"

#include <QAction>
#include <QCursor>
#include <QFontDatabase>
#include <QListWidget>
#include <QMenu>

#include "link/Session.h"
#include "platform/Clock.h"
#include "platform/Launcher.h"
#include "platform/ProgramFolder.h"
#include "reports/AcquisitionFiles.h"
#include "reports/ReportControls.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/FixedWidthFont.h"
#include "ui/Make.h"
#include "ui/OwnerThread.h"

namespace tirmo::reports {

namespace {

std::string Joined(const std::vector<std::string>& notes)
{
    std::string s;
    for (const std::string& n : notes) s += (s.empty() ? "" : "; ") + n;
    return s;
}

}  // namespace

RecordingBrowser::RecordingBrowser(link::Console& console, QWidget* frame, BrowserNeeds needs)
    : console_(console), needs_(std::move(needs))
{
    Listpj = new QListWidget(frame);
    Listpj->setObjectName("Listpj");
    // Rows line up their dates and names in columns only in a fixed-width face: Courier New, or
    // a face of the desktop that measures as fixed-width in its place.
    Listpj->setFont(ui::FixedWidthFont("Courier New", QFontDatabase::systemFont(QFontDatabase::FixedFont).pointSize()));
    // Several acquisitions are chosen together for a joint report.
    Listpj->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Listpj->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Listpj, &QListWidget::itemDoubleClicked, this, [this] { Listpj_DblClick(); });
    connect(Listpj, &QWidget::customContextMenuRequested, this, [this] { Listpj_MouseUp(2); });
    lblback = ui::MakeButton(frame, "lblback", "> Hide subfolders", [this] { lblback_Click(); });
    lblback->setFlat(true);
    lbl_search = ui::MakeLabel(frame, "lbl_search", "Filter by:");
    txt_search = ui::MakeTextBox(frame, "txt_search");
    cmd_lupa = ui::MakeButton(frame, "cmd_lupa", "Apply");

    mnrightclickmenu = new QMenu(frame);
    mnrightclickmenu->setObjectName("mnrightclickmenu");
    mnexplore_folder = mnrightclickmenu->addAction("Explore Folder");
    mnexplore_folder->setObjectName("mnexplore_folder");
    connect(mnexplore_folder, &QAction::triggered, this, [this] { mnexplore_folder_Click(); });
    mnjointrep = mnrightclickmenu->addAction("Joint Report");
    mnjointrep->setObjectName("mnjointrep");
    connect(mnjointrep, &QAction::triggered, this, [this] { mnjointrep_Click(); });
}

void RecordingBrowser::FillProjectList()
{
    // Projects without any recording folder are not listed here: there is nothing to open.
    rows = BrowserRows(platform::ProgramPath("reports"), expanded, false);
    Listpj->clear();
    for (const BrowserRow& row : rows) {
        // A list box draws no tab stops: the row is shown with blanks in place of its tab, and
        // the row itself, tab and all, is the item's data.
        std::string shown = row.text;
        for (size_t at = shown.find('\t'); at != std::string::npos; at = shown.find('\t', at)) shown.replace(at, 1, "  ");
        auto* item = new QListWidgetItem(ui::toQString(shown));
        item->setData(kRowRole, ui::toQString(row.text));
        Listpj->addItem(item);
        if (!row.project && !row.acquisition.empty())
            recording_folder = InFolder(platform::ProgramPath("reports"), row.project_name) + "/";
    }
}

void RecordingBrowser::Listpj_DblClick()
{
    const int current = Listpj->currentRow();
    if (current < 0 || size_t(current) >= rows.size()) return;
    const BrowserRow row = rows[size_t(current)];
    if (row.project) {
        recording.project_name = row.project_name;
        if (!expanded.erase(row.project_name)) expanded.insert(row.project_name);
        FillProjectList();
        if (needs_.project_toggled) needs_.project_toggled();
        Listpj->setCurrentRow(std::min(current, Listpj->count() - 1));
        return;
    }
    loadRow(current, row);
}

void RecordingBrowser::loadRow(int current, const BrowserRow& row)
{
    link::Session& s = console_.session();
    // The load makes the acquisition the current one: while a run records, the rest of the
    // run would go into it.
    if (s.run_state != 0) {
        ui::dialogs().messageBox(kRunRecording);
        return;
    }
    LoadedRecording next = recording;
    const LoadOutcome outcome = LoadRecording(next, platform::ProgramPath("reports"), row,
                                              [](const std::string& prompt) { return ui::dialogs().inputBox(prompt); });
    // The list's current row goes back to the project row while the load has not got through.
    int projectRow = current;
    while (projectRow > 0 && !rows[size_t(projectRow)].project) --projectRow;
    switch (outcome.result) {
    case LoadResult::FolderNotFound:
        recording = std::move(next);
        ui::dialogs().messageBox(kErrorFindingFolder);
        Listpj->setCurrentRow(projectRow);
        return;
    case LoadResult::BadTime:
    case LoadResult::BadFormat:
        recording = std::move(next);
        recording_folder = recording.recording_folder;
        console_.SetStatus(outcome.result == LoadResult::BadTime ? kBadTime : kBadFormat);
        Listpj->setCurrentRow(projectRow);
        return;
    case LoadResult::Refused:
        // Nothing of it is sound: what was loaded before stays.
        console_.SetStatus(outcome.refusal);
        ui::dialogs().messageBox(outcome.refusal);
        return;
    case LoadResult::NoActivity:
        recording = std::move(next);
        loaded = false;
        recording_folder = recording.recording_folder;
        console_.SetStatus("No current_activity.txt in " + recording.recording_folder);
        if (needs_.recording_missing) needs_.recording_missing();
        Listpj->setCurrentRow(current);
        return;
    case LoadResult::Loaded:
        break;
    }
    recording = std::move(next);
    loaded = true;
    recording_folder = recording.recording_folder;
    s.acquisition_folder = recording.recording_folder;
    if (recording.last_record() < 0)
        console_.SetStatus("No scan recorded in " + recording.recording_folder);
    else if (!recording.notes.empty())
        console_.SetStatus("Loaded as far as sound: " + Joined(recording.notes));
    else
        console_.SetStatus("Loaded " + recording.recording_folder);
    if (needs_.recording_loaded) needs_.recording_loaded();
    Listpj->setCurrentRow(current);
}

void RecordingBrowser::Listpj_MouseUp(int button)
{
    if (button != 2 || Listpj->selectedItems().isEmpty()) return;
    mnrightclickmenu->popup(QCursor::pos());
}

void RecordingBrowser::lblback_Click()
{
    txt_search->clear();
    expanded.clear();
    FillProjectList();
    if (Listpj->count() > 0) Listpj->setCurrentRow(0);
}

void RecordingBrowser::mnexplore_folder_Click()
{
    if (recording_folder.empty()) {
        console_.SetStatus("Open a project or a recording first");
        return;
    }
    // The opener may start and only tell by its end that no program of the desktop shows folders.
    const std::string notOpened = "No program could open " + recording_folder;
    const auto ended = [this, notOpened](int status) {
        if (status != 0) console_.SetStatus(notOpened);
    };
    if (!platform::OpenWithDesktop(recording_folder, ui::OnOwnerThread(this, ended))) console_.SetStatus(notOpened);
}

void RecordingBrowser::mnjointrep_Click()
{
    const bool filter = ui::dialogs().messageBox(kOutlierQuestion, ui::MsgButtons::YesNo) == ui::MsgResult::Yes;
    std::vector<JointSource> sources;
    for (int i = 0; i < Listpj->count() && size_t(i) < rows.size(); ++i)
        if (Listpj->item(i)->isSelected() && !rows[size_t(i)].project)
            sources.push_back({rows[size_t(i)].project_name, rows[size_t(i)].acquisition});
    const std::string reports = platform::ProgramPath("reports");
    const JointOutcome outcome = WriteJointReport(reports, sources, filter, platform::WallNow());
    if (outcome.written)
        // The whole path: the file goes to the reports' default project, not to a chosen one.
        console_.SetStatus("Joint report " + InFolder(InFolder(reports, "default_project"), outcome.file_name) +
                           (outcome.notes.empty() ? "" : " (" + Joined(outcome.notes) + ")"));
    else if (!outcome.refusal.empty())
        console_.SetStatus("No joint report: " + outcome.refusal);
    else
        console_.SetStatus("The joint report could not be written in reports/default_project");
    if (needs_.joint_written) needs_.joint_written(outcome);
}

}  // namespace tirmo::reports
