#pragma once
// The saved-data window's list of recorded projects and acquisitions (Listpj) and the
// recording loaded from it. A double-click on a project row opens or closes the project; on an
// acquisition row it loads the acquisition into `recording`, which the window's report panel,
// bar plot and heat maps read. A right click on a selection offers the joint report of the
// chosen acquisitions and a view of the folder opened last.
//
// The rows show each project with the date of its first acquisition and each acquisition with
// its start and title (SavedAcquisitions); the list keeps beside every row the folder it stands
// for.
#include <QObject>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "link/Protocol.h"
#include "reports/JointReport.h"
#include "reports/LoadedRecording.h"
#include "reports/SavedAcquisitions.h"
#include "ui/Forward.h"

class QAction;
class QListWidget;
class QMenu;
class QWidget;

namespace tirmo::reports {

struct BrowserNeeds {
    // A project was opened or closed: the window hides its plot buttons.
    std::function<void()> project_toggled;
    // recording holds a newly loaded acquisition.
    std::function<void()> recording_loaded;
    // The acquisition chosen has no activity file (any more): nothing of the one loaded before
    // may be shown or reported for it.
    std::function<void()> recording_missing;
    // A joint report was written (or could not be): the window's panel goes into joint mode.
    std::function<void(const JointOutcome&)> joint_written;
};

class RecordingBrowser : public QObject {
    Q_OBJECT
public:
    // The list is made in frame (the window's frame_offline); the back button beside it.
    RecordingBrowser(link::Console& console, QWidget* frame, BrowserNeeds needs);

    QListWidget* Listpj = nullptr;
    ui::CommandButton* lblback = nullptr;  // "> Hide subfolders"
    // The search row beside it: the list is not filtered by it; Back empties the box.
    ui::Label* lbl_search = nullptr;        // "Filter by:"
    ui::TextBox* txt_search = nullptr;
    ui::CommandButton* cmd_lupa = nullptr;  // "Apply"
    QMenu* mnrightclickmenu = nullptr;
    QAction* mnexplore_folder = nullptr;  // "Explore Folder"
    QAction* mnjointrep = nullptr;        // "Joint Report"
    // The item data role that holds a row's text as listed (its tab included).
    static constexpr int kRowRole = 0x0100;  // Qt::UserRole

    // What each row stands for, row by row; the projects that show their acquisitions.
    std::vector<BrowserRow> rows;
    std::set<std::string> expanded;
    // The folder the folder view opens: the project opened last, or the recording loaded.
    std::string recording_folder;
    LoadedRecording recording;
    bool loaded = false;  // recording holds an acquisition

    void FillProjectList();
    void Listpj_DblClick();
    // button 2 (the right one) with a selection pops the menu up at the pointer.
    void Listpj_MouseUp(int button);
    // Closes every project, empties txt_search and makes the first row the current one.
    void lblback_Click();
    void mnexplore_folder_Click();
    // Asks about the outlier filter, writes the joint report of the selected acquisition rows
    // and hands the outcome to the window.
    void mnjointrep_Click();

private:
    void loadRow(int current, const BrowserRow& row);
    link::Console& console_;
    BrowserNeeds needs_;
};

}  // namespace tirmo::reports
