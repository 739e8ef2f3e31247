#pragma once
// The main window's projects and blanks: the project panel (the project list, "New" and
// "Rename", each project's pjsetup.dat on the run panel's boxes, the last project at start-up),
// the display of the blank measurement in use, the blank frame (a new blank run, or the choice,
// re-computation and deletion of blank runs) over the shared project state. The object creates
// its controls on the window's client area (the window's tree moves them into the project column
// and the run panel) and reads the store of the console's instrument. What it needs of the plate
// panel, the temperature list and the run start comes through ProjectNeeds.
#include <functional>
#include <string>
#include <vector>

#include "link/Protocol.h"
#include "plate/PlateState.h"
#include "project/ProjectState.h"
#include "ui/FilterHandle.h"
#include "ui/Forward.h"

class QAction;
class QListWidget;
class QMenu;
class QObject;
class QWidget;

namespace tirmo::project {

struct ProjectNeeds {
    // The temperature list a project's set-up fills (with its change handler) and keeps; its
    // acquisition time and plate format go into the session's run settings.
    ui::ComboBox* txttemp = nullptr;
    // Plate panel: a project's format taken into use (plate map, layout file, band editor's
    // format, block menu); the project's groups loaded into the shared tables and the group
    // list; every well drawn again.
    std::function<void(const std::string& format)> use_format;
    std::function<void(const std::string& project)> load_groups;
    std::function<void()> redraw_wells;
    // The blank-measurement pop-up menu and its "Delete blank read" entry.
    QMenu* blank_menu = nullptr;
    QAction* delete_blank = nullptr;
    // The run start: the name frame's acquisition and project boxes, the lock of the run boxes
    // (time and format) for the run, the stop request cleared, and the run started from the
    // name frame's boxes as its PLAY button does.
    std::function<void(const std::string& acquisition, const std::string& project)> set_run_names;
    std::function<void(bool locked)> lock_run_boxes;
    std::function<void()> clear_stop_request;
    std::function<void()> start_run;
};

class ProjectControls {
public:
    // The panel shows and edits the shared project state; the plate state gives it the format in
    // use and the groups a new project is made with.
    ProjectControls(link::Console& console, ProjectState& state, plate::PlateState& plate, QWidget* client,
                    ProjectNeeds needs = {});
    ~ProjectControls();

    // ==== projects ====
    // Refills the project list and selects selection (which applies it, unless apply is false:
    // the start-up shows the last project first and applies it once, at its end); a name that
    // is not listed is refused with a message and nothing is applied.
    void FillProjectCombo(const std::string& selection, bool apply = true);
    // Applies the project named in the list: its set-up, format, groups, plate map and blank.
    void cmb_project_Click();
    // The project's pjsetup.dat into the time, format and temperature boxes (or a default file
    // when it has none); nothing while a blank run is pending.
    void ReadProjectSetup(const std::string& project);
    // The three boxes into the project's pjsetup.dat; false, after its message, when it could
    // not be written. The run start calls it for the run's project.
    bool WriteProjectSetup(const std::string& project);
    void cmd_loadpj_Click();  // "New"
    void cmd_renpj_Click();   // "Rename"

    // The shared project state, under the names the panel's code uses.
    ProjectState& state;
    std::string& current_project;

    ui::Label* Label_pj = nullptr;            // "Project:"
    ui::ComboBox* cmb_project = nullptr;      // the projects, a drop-down list
    ui::CommandButton* cmd_loadpj = nullptr;  // "New"
    ui::CommandButton* cmd_renpj = nullptr;   // "Rename"

    // ==== the blank in use ====
    // The first line of the blank file of a format in the blank store ("" when missing), and
    // its display as the blank's time and name.
    std::string ReadBlankHeader(const std::string& format);
    void ShowBlankInfo(const std::string& header);
    // The blank of a plate format as the run panel shows it: its caption, header, time and name.
    void ShowBlankOf(const std::string& format);
    // The end of a blank run: the run's activity becomes the store blank of the format (with
    // its message box or status line), and the run panel shows the blank now in use; a blank
    // that was not saved leaves the labels as they were.
    void SaveBlankRun(const std::string& runFolder, const std::string& format, double minutes);

    std::string& blank_header;
    std::vector<int>& blank_values;
    int& blank_lapse;
    std::vector<double>& reference_factor;
    ui::Label* label_blank = nullptr;   // "Using blank [w6]:"
    ui::Label* lbl_blanktime = nullptr;
    ui::Label* lbl_blankname = nullptr;

    // ==== the blank frame ====
    void cmd_blank_Click();        // "Read Blank": the frame for a new blank run
    void cmd_okblank_Click();      // "Start"
    void cmd_cancelblank_Click();
    void lbl_blanktime_DblClick();  // the frame for choosing a blank
    void lst_blank_Click();
    void lst_blank_DblClick();
    void lst_blank_MouseUp(int button, int shift, int x, int y);
    void mndelblank_Click();  // "Delete blank read"
    // Whether the frame shows the new-blank controls (else the blank list).
    bool NewBlankMode() const;

    ui::CommandButton* cmd_blank = nullptr;  // "Read Blank"
    QWidget* frameblank = nullptr;           // "Blank Measurement"
    ui::Label* lblblankname = nullptr;       // "Name:"
    ui::TextBox* txt_blankname = nullptr;
    ui::Label* lbl_timeblank = nullptr;      // "Acq lapse[m]:"
    ui::TextBox* txt_blanklapse = nullptr;
    ui::CommandButton* cmd_okblank = nullptr;      // "Start"
    ui::CommandButton* cmd_cancelblank = nullptr;  // "Cancel"
    QListWidget* lst_blank = nullptr;
    ui::Label* lbl_blankdescription = nullptr;

private:
    void buildProjectPanel(QWidget* client);
    void buildBlankFrame(QWidget* client);
    // The list entry selected, "" when none is.
    std::string selectedBlank() const;
    void fillBlankList(const std::vector<std::string>& entries);
    link::Console& console_;
    plate::PlateState& plate_;
    link::RunSettings& runSettings() { return console_.session().run_settings; }
    ProjectNeeds needs_;
    // Turns the labels' and the list's mouse events into the handlers above.
    ui::FilterHandle events_;
    int reload_watch_ = 0;
};

}  // namespace tirmo::project
