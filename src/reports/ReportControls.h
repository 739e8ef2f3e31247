#pragma once
// A window's report panel (Frm_report): the main window's and the saved-data window's each.
// The panel collects the options of one report and hands the window's acquisition data set to
// the report writer; in the main window it opens at the end of a run (for the run just
// recorded), in the saved-data window on the recording loaded there. The written report is
// opened with the desktop's program.
//
// The object creates the panel on the window's client area. What it needs of the rest of the
// window (the plate format in use, the group tables, the window's own recording) comes through
// ReportNeeds; the run recorded last it reads from the run's files.
#include <QObject>

#include <array>
#include <functional>
#include <string>

#include "link/Protocol.h"
#include "plate/WellGroups.h"
#include "reports/ReportData.h"
#include "ui/Forward.h"

class QGroupBox;
class QWidget;

namespace tirmo::ui {
class OptionButton;
}

namespace tirmo::reports {

inline constexpr const char* kReportWritten = "Report: ";
// The status line when no program of the desktop could show the report, followed by its path:
// told at once when the opener could not start, and when the opener ends without a program for
// the report's file type.
inline constexpr const char* kReportNotOpened = "No program could open the report. It is saved at ";
// An acquisition cannot be loaded while a run records into the acquisition folder.
inline constexpr const char* kRunRecording = "A run is recording. Stop it before opening a saved acquisition.";
inline constexpr const char* kBlankTitle = "Beta version: background noise correction";

struct ReportNeeds {
    std::function<const plate::WellGroups&()> shared_groups;  // the groups the plate map edits
    std::function<plate::WellGroups&()> report_groups;        // the report's own copy
    // Reads an acquisition's chgroup.dat (folder relative to reports: project\acquisition) into
    // the report's copy.
    std::function<void(const std::string&)> read_well_groups;
    // The window's own loaded recording, when it holds one; without it a report is made of
    // the run files of the current acquisition folder (the run recorded last).
    std::function<const AcquisitionData*()> window_data;
    // A MapPlot report of that plate format: the window hands the acquisition on to the
    // chemotaxis window.
    std::function<void(const std::string& format)> open_map_plot;
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
    // The panel set for a recording of that plate format, as an ordinary report (shown or not).
    void PrepareFor(const std::string& format);
    // After a joint report: Generate re-exports fileName (in reports\default_project) with a
    // time bin; the options that do not apply to it are disabled. Shows the panel.
    void EnterJointMode(const std::string& fileName);
    // Writes the report of the window's data set (or re-exports the joint file) into the
    // current acquisition folder and opens it.
    void cmd_generatereport_Click();
    // Ticking Apply_Blank tells whether the acquisition has its own blank copy; without one the
    // box is unticked again.
    void chk_blank_Click();

    // The data set a report is made of now, on the plate of txt_welltype with the report's groups.
    // When its run files are refused, refusal (if given) receives why and the data set is empty.
    AcquisitionData DataSet(std::string* refusal = nullptr) const;

private:
    void openPanel(const std::string& format, bool copyGroups);
    void fillBinList();
    link::Console& console_;
    ReportNeeds needs_;
};

}  // namespace tirmo::reports
