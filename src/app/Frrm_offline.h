#pragma once
// The saved-data window ("Saved Data Analysis"): recordings already on disk. It lists the
// projects and their acquisitions, loads one, shows it as a group bar plot (or, with the heat
// maps, per pixel), writes its reports and joint reports. It works on the program's instrument state and
// owns one object per subsystem, like the main window; the main window hides while it is open
// and comes back when it closes. Its controls are laid out from the main window's size.
#include <QMainWindow>

#include <array>
#include <map>
#include <memory>
#include <string>

#include <QRect>

#include "app/InstrumentState.h"
#include "app/TextBoxConsole.h"
#include "reports/GroupBarPlot.h"
#include "reports/HeatMapControls.h"
#include "reports/RecordingBrowser.h"
#include "reports/ReportControls.h"
#include "ui/Forward.h"

class QAction;
class QCloseEvent;
class QMenu;
class QResizeEvent;
class QScrollBar;

namespace tirmo::ui {
class OptionButton;
}

namespace tirmo::app {

// Where the layout puts each control for a main window of width x height (pixels): the frames'
// children relative to their frame, every other control to the window's client area. Line5 is
// the rectangle through its two ends.
std::map<std::string, QRect> OfflineGeometry(int width, int height);

class Frrm_offline : public QMainWindow, public TextBoxConsole {
    Q_OBJECT
public:
    // mainWindow is hidden by whoever opens this window and shown again when it closes.
    Frrm_offline(InstrumentState& state, QWidget* mainWindow);
    ~Frrm_offline() override;

    // The state every window shares; session() is instrument.session.
    InstrumentState& instrument;

    QWidget* main_window = nullptr;

    // ==== shell ====
    ui::Shape* Shape5 = nullptr;
    ui::Line* Line5 = nullptr;
    ui::Label* lbl_status = nullptr;  // "Status:"; txt_status is the console's
    ui::CommandButton* cmd_closeoffline = nullptr;  // "<< Back"
    QWidget* frame_offline = nullptr;              // Listpj and cmd_report
    ui::CommandButton* cmd_report = nullptr;       // "Report..."
    ui::Label* lbl_reportexport = nullptr;         // the panel's title: what Generate writes
    // The plot area: Picreal is the bar plot's and the heat maps' picture. The heat maps' time
    // bar, frame, buttons and export menu are the heat-map object's, named here for the layout.
    ui::PictureBox* Picreal = nullptr;
    QScrollBar* HScroll_time = nullptr;
    ui::Label* lbl_scan = nullptr;     // "Scan[0]: 0m"
    ui::TextBox* txt_cframe = nullptr;
    ui::CommandButton* cmd_plotheat = nullptr;  // "Load HeatMAP"
    QWidget* frame_heatmap = nullptr;
    ui::CommandButton* cmd_plotheatsum = nullptr;  // "[SUM]"
    ui::CommandButton* cmd_plotheatkin = nullptr;  // "[KINETICS]"
    std::array<ui::OptionButton*, 3> opt_hetmap_color{};  // "B&&W", "Grey", "Colour"
    QMenu* mn_exporta = nullptr;
    QAction* bmpexporta = nullptr;
    QAction* bmpexporta_seq = nullptr;
    QAction* bmpexporta_csvseq = nullptr;

    void Form_Load();
    void Form_Resize();
    // Places the controls from the main window's current size; nothing while it is minimised.
    void LayoutControls();
    void cmd_closeoffline_Click();
    void Form_Unload();
    void cmd_report_Click();

    // ==== the subsystems' objects ====
    std::unique_ptr<reports::RecordingBrowser> browser;  // Listpj and the loaded recording
    std::unique_ptr<reports::ReportControls> report;     // Frm_report
    std::unique_ptr<reports::GroupBarPlot> barplot;      // combogrup and cmd_plotbar
    std::unique_ptr<reports::HeatMapControls> heatmap;   // Load HeatMAP, its views and exports

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildShell();
    void buildHeatMaps();
    void recordingLoaded();
    void projectToggled();
    void recordingMissing();
    void jointWritten(const reports::JointOutcome& outcome);
    QWidget* client_ = nullptr;
    bool unloaded_ = false;
};

}  // namespace tirmo::app
