#pragma once
// The main window's report panel (Frm_report) and its list of saved acquisitions (Listpj in
// frame_offline). The panel collects the options of one report and hands the window's
// acquisition data set to the report writer; it opens at the end of a run (for the run just
// recorded) or on an acquisition double-clicked in the list (for that recording). The written
// report is opened with the desktop's program.
//
// The object creates its controls on the window's client area: the panel as a whole, the list
// and its button where the window's tree moves them by name. What it needs of the rest of the
// window (the plate format in use, the group tables, the list's frame) comes through
// ReportNeeds; the run recorded last it reads from the run's files.
#include <QObject>

#include <array>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "link/Protocol.h"
#include "plate/WellGroups.h"
#include "reports/ReportData.h"
#include "reports/SavedAcquisitions.h"
#include "ui/Forward.h"

class QGroupBox;
class QListWidget;
class QWidget;

namespace tirmo::ui {
class OptionButton;
}

namespace tirmo::reports {

// An acquisition cannot be opened while a run records into the acquisition folder.
inline constexpr const char* kReportWritten = "Report: ";
// The status line when no program of the desktop could show the report, followed by its path:
// told at once when the opener could not start, and when the opener ends without a program for
// the report's file type.
inline constexpr const char* kReportNotOpened = "No program could open the report. It is saved at ";
inline constexpr const char* kRunRecording = "A run is recording. Stop it before opening a saved acquisition.";
inline constexpr const char* kBlankTitle = "Beta version: background noise correction";

struct ReportNeeds {
    std::function<const plate::WellGroups&()> shared_groups;  // the groups the plate map edits
    std::function<plate::WellGroups&()> report_groups;        // the report's own copy
    // Reads an acquisition's chgroup.dat (folder relative to reports: project\acquisition) into
    // the report's copy.
    std::function<void(const std::string&)> read_well_groups;
    // frame_offline, where the list lives (it exists once the window's tree is built).
    std::function<QWidget*()> offline_frame;
};

class ReportControls : public QObject {
    Q_OBJECT
public:
    ReportControls(link::Console& console, QWidget* client, ReportNeeds needs);

    // ---- the panel
    QGroupBox* Frm_report = nullptr;
    ui::ComboBox* Combo_reportbin = nullptr;
    ui::Label* label_binsize = nullptr;
    ui::Label* lblintref = nullptr;
    ui::ComboBox* Combo_reportdivider = nullptr;
    ui::ComboBox* Combo_reportfile = nullptr;
    ui::ComboBox* combo_intref = nullptr;
    ui::CheckBox* chk_blank = nullptr;
    ui::CheckBox* chk_noise = nullptr;
    ui::CheckBox* chk_movingavrg = nullptr;
    std::array<ui::OptionButton*, 4> Option_output{};  // Rows, Array, MapPlot, .bmp
    ui::TextBox* txt_welltype = nullptr;
    ui::CommandButton* cmd_generatereport = nullptr;
    ui::CommandButton* Cmd_closereport = nullptr;

    // Set by a joint report: Generate then turns the joint file into a report, until the panel
    // is opened again for a run or a recording.
    bool joint_mode = false;
    std::string joint_file_name;

    // The start-up's part: the bin, internal-reference, file-type and divider lists (the divider
    // starts as the locale's list separator).
    void FillReportLists();
    // Opens the panel for the run recorded last, with the plate format and groups in use.
    void cmdreport_Click();
    void Cmd_closereport_Click();
    // Writes the report of the window's data set (or re-exports the joint file) into the
    // current acquisition folder and opens it.
    void cmd_generatereport_Click();
    // Ticking Apply_Blank tells whether the acquisition has its own blank copy; without one the
    // box is unticked again.
    void chk_blank_Click();

    // ---- the saved-acquisition list
    QListWidget* Listpj = nullptr;
    // The item data role that holds a Listpj row's text as listed (its tab included).
    static constexpr int kRowRole = Qt::UserRole;
    ui::CommandButton* cmd_load_recording = nullptr;  // "LOAD RECORDED EXPERIMENTS"
    ui::CommandButton* cmd_closeoffline = nullptr;
    // What each row of Listpj stands for, row by row.
    std::vector<BrowserRow> rows;
    std::set<std::string> expanded;  // projects that show their acquisitions
    // Shows the list (filled) over the plate map, or hides it when it is shown.
    void cmd_load_recording_Click();
    void cmd_closeoffline_Click();
    void FillProjectList();
    // A project row opens or closes the project; an acquisition row opens the acquisition for
    // its report.
    void Listpj_DblClick();

    // The acquisition opened from the list; it is the window's data set while the acquisition
    // folder is still its folder (a run that starts moves the folder on).
    struct LoadedRecording {
        std::string folder;
        AcquisitionData data;
    };
    std::optional<LoadedRecording> loaded;
    // The data set a report is made of now, on the plate of txt_welltype with the report's groups.
    // When its run files are refused, refusal (if given) receives why and the data set is empty.
    AcquisitionData DataSet(std::string* refusal = nullptr) const;

private:
    void openPanel(const std::string& format, bool copyGroups);
    void fillBinList();
    void openAcquisition(const BrowserRow& row);
    // The recordings list the panel was opened from, put aside while the panel takes its place
    // and brought back when the panel is closed.
    QWidget* list_under_panel_ = nullptr;
    link::Console& console_;
    ReportNeeds needs_;
};

}  // namespace tirmo::reports
