#pragma once
// The main window ("Acquisition Page"). It works on the program's instrument state (the session,
// plate, project and live window every window shares) and owns the design-time tree of
// containers with its layout, the menus, the one-second ticker and one object per subsystem
// (window->thermal, ->lighting, ->project, ->camera, ->plate, ->run), each in its own folder, built on the
// window's client area and handed what it needs of the window (the console, the ticker, a menu).
// Members are public so that tests can do what a user does: type into a box, click, tick a timer.
#include <QMainWindow>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "acquisition/RunControls.h"
#include "app/AutoReferenceWindow.h"
#include "app/InstrumentState.h"
#include "app/LightCalibrationWindows.h"
#include "app/MainContainers.h"
#include "app/TextBoxConsole.h"
#include "camera/MainCameraControls.h"
#include "lighting/LightControls.h"
#include "project/ProjectControls.h"
#include "plate/PlateControls.h"
#include "plate/WellMaskTools.h"
#include "reports/ReportControls.h"
#include "thermal/ThermalControls.h"
#include "ui/Forward.h"

class QAction;
class QListWidget;
class QMenu;

namespace tirmo::devicememory {
class FlashPanel;
class PixelMapControls;
}

namespace tirmo::app {

class Frm_advance;
class Frrm_offline;

class Frm_acquire : public QMainWindow, public TextBoxConsole {
    Q_OBJECT
public:
    // The window over the program's instrument state, which outlives it.
    explicit Frm_acquire(InstrumentState& state, QWidget* parent = nullptr);
    ~Frm_acquire() override;

    // ==== link console: where device routines report ====
    // session() is the program's instrument session (link::Console).
    // SetStatus and SetMonitor write txt_status and txt_in (TextBoxConsole).
    bool ShowComm() const override;
    // Shows or hides the serial monitor (txt_in, lbl_lenrx) by the entry's check mark.
    void mn_showcomm_Click();

    // ==== start-up and shutdown (app) ====
    void Form_Load();
    void Form_Unload();
    void ConnectDevice();
    int QuerySerialNumber(int port);
    void SaveConfigTxt();
    void ReadCameraMask(const std::string& path);
    // False, with a status line, when the mask could not be written.
    bool WriteCameraConfig(const std::string& path);

    // ==== window layout ====
    // The design-time tree the subsystems' controls live in, laid out on the proportional grid
    // at start-up and on every resize.
    MainContainers containers;
    // Controls the window keeps for its code but gives no place on screen (the "Setup CAM" boxes
    // the subsystems hand camera settings through, the port box, the LED box, the temperature
    // read-outs): hidden, at their design places.
    QWidget* hidden_controls = nullptr;
    // Places every control for the window's size; draws the plate map again when step 5 says so.
    void LayoutMainWindow();
    // The resize handler: the layout, then every well again while nothing else draws them.
    void Form_Resize();
    // How often a layout drew the plate map again (what a resize left alone can be checked).
    int layout_plate_draws = 0;

    ui::Label* lbl_lenrx = nullptr;
    ui::TextBox* txtcom = nullptr;      // COM number of the link
    // The run settings' boxes: what they show is session().run_settings, read from there.
    ui::TextBox* txtlapse = nullptr;    // acquisition time, minutes
    ui::ComboBox* cmb_well = nullptr;   // plate format
    // Fixed lists the start-up fills; nothing in the program reads or changes them afterwards
    // except cmb_set1/cmb_set2, which name a well's pixel-mask files (in Frame_select).
    QListWidget* lstwell = nullptr;       // A0 .. H11, hidden
    QListWidget* lstchannel = nullptr;    // "0", hidden
    ui::ComboBox* cmb_mode = nullptr;     // analysis mode, disabled, hidden
    ui::ComboBox* cmb_acqmode = nullptr;  // acquisition mode, disabled, hidden
    ui::ComboBox* cmb_set1 = nullptr;     // row letter A .. H
    ui::ComboBox* cmb_set2 = nullptr;     // column number 1 .. 12

    // ==== menus (MainMenus.cpp) ====
    // "Tools" (with "Advanced" and its calibration and factory submenus) and "Help"; the
    // subsystems hang their own entries into them. Entries whose windows or routines are not
    // built yet stay in place, disabled.
    QMenu* mntools = nullptr;
    QMenu* mnadvan = nullptr;          // "Advanced"
    QMenu* mnwellcal = nullptr;        // "Well Format Calibration"
    QMenu* mnlightcal = nullptr;       // "Lighting Calibration"
    QMenu* mntempcal = nullptr;        // "Temperature Calibration"
    QMenu* mn_fac = nullptr;           // "Factory Tools"
    QMenu* mnhelp = nullptr;           // "Help"
    QAction* mncalibratewell = nullptr;
    QAction* mncalibralightback = nullptr;
    QAction* mncalibralight = nullptr;   // hidden, never shown
    QAction* mn_fastled = nullptr;       // hidden, never shown
    QAction* mn_internalref = nullptr;
    QAction* mnadvanced = nullptr;       // "Factory Tools(Require password)"
    QAction* mnfactory_param = nullptr;  // "Factory Parameters(Require Password)"
    QAction* mn_showcomm = nullptr;      // "Show Communication values"
    QAction* chk_saveraw = nullptr;      // "SaveRawData"
    QAction* mnhelpindex = nullptr;
    QAction* mnversion = nullptr;
    QAction* mnabout = nullptr;
    // Pop-up menus: blank deletion and the joint report of the saved-data list.
    QMenu* mndelblank_top = nullptr;
    QAction* mndelblank = nullptr;
    QMenu* mnrightclickmenu = nullptr;
    QAction* mnjointrep = nullptr;
    void mnhelpindex_Click();
    void mnversion_Click();
    void mnabout_Click();
    // Shows or hides the name frame's "Use as Internal Reference" box; on Yes both plate-format
    // lists offer every format that has a layout file (<format>_spc.dat) in config.
    void mn_internalref_Click();
    // The administrator password, asked at every use, then the factory-parameters panel or the
    // factory window (made on first use, shown modeless; the main window stays open).
    void mnfactory_param_Click();
    void mnadvanced_Click();
    std::unique_ptr<Frm_advance> factory;
    // "Close": leaves a calibration view for the run panel and the plate map, every well drawn.
    void cmd_menu_Click();

    bool offline_mode = false;
    // An instrument answered the search; a typed port that opened leaves it false.
    bool instrument_answered = false;
    // Set once the shutdown has run; the start-up stops at its next step when it finds it set.
    bool unloaded = false;

    // ==== the shared state the panels show and edit ====
    // session() is instrument.session.
    InstrumentState& instrument;
    // What the run asks of the project, over the shared project state.
    project::ProjectRunActions project_actions{*this, instrument.project_state};

    // ==== camera (camera) ====
    // "Setup CAM" (the boxes the factory window has as well), the pictures, the frame store and
    // the set-up sequence with the calibration panel's camera buttons and band selectors.
    std::unique_ptr<camera::MainCameraControls> camera;

    // ==== plate (plate) ====
    // The format in use and its tables, the plate map, the well groups and the band editor.
    std::unique_ptr<plate::PlateControls> plate;
    // "set" and "Reset all" of the pixel-mask frame, over the camera's frames and picture.
    std::unique_ptr<plate::WellMaskTools> masks;

    // ==== projects and corrections (project) ====
    std::unique_ptr<project::ProjectControls> project;


    // ==== lighting (lighting) ====
    std::unique_ptr<lighting::LightControls> lighting;


    // ==== temperature (thermal) ====
    std::unique_ptr<thermal::ThermalControls> thermal;


    // ==== acquisition run (acquisition) ====
    // Run preparation, camera window set-up and window completion, with the run's own tables
    // (the plate map's activity view, the live picture's frame count and pixel mask);
    // it reaches the window through run_window_ only.
    std::unique_ptr<acquisition::RunControls> run;
    // What the autoreference round shows, and the "Calibrate position" menu entry.
    std::unique_ptr<AutoReferenceWindow> autoref;
    // The autoreference round the run start runs.
    std::unique_ptr<acquisition::RunAutoReference> autoreference;
    // "Background light": the light alignment of every camera.
    std::unique_ptr<MainLightCalibration> lightcal;

    // ==== reports (reports) ====
    // The report panel over the run's data set.
    std::unique_ptr<reports::ReportControls> report;
    // "LOAD RECORDED EXPERIMENTS" hides this window and opens the saved-data window, made anew
    // each time (what it loaded goes with it when it closes); closing it shows this one again.
    ui::CommandButton* cmd_load_recording = nullptr;
    std::unique_ptr<Frrm_offline> offline;
    void cmd_load_recording_Click();
    // The recordings frame's list and close button keep their places; the saved-data window
    // lists the recordings.
    QListWidget* Listpj = nullptr;
    ui::CommandButton* cmd_closeoffline = nullptr;


    // ==== instrument memory (devicememory) ====
    // The backup and restore panel in frame_flash.
    std::unique_ptr<devicememory::FlashPanel> flash;
    // "Apply to all" in Frame_select and the window's pixel-enable table.
    std::unique_ptr<devicememory::PixelMapControls> pixelmap;

    // ==== the one-second tick ====
    // 1000 ms: temperature first, then the light-pulse countdown, each a user of the ticker that
    // runs Timer3 while any of them needs it; a tick that finds another exchange on the port is
    // skipped whole.
    ui::Timer* Timer3 = nullptr;
    std::unique_ptr<ui::Ticker> ticker;
    void Timer3_Timer();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;


private:
    QWidget* client_ = nullptr;
    std::unique_ptr<acquisition::RunWindow> run_window_;
    void buildControls();
    // txtlapse, cmb_well, the camera entries and chk_saveraw show and edit the session's run
    // settings.
    void bindRunSettings();
    int settings_watch_ = 0;
    void watchForHangUp();
    void buildMenus();
    // After the subsystems have hung their entries: the order the Tools menu shows them in.
    void orderToolsMenu();
    void connectShellButtons();
    // What the camera needs of lighting, the plate, the run and the status row; what the plate
    // needs of the camera, the run panel, the project and the run.
    camera::MainCameraNeeds NeedsOfCamera();
    plate::PlateNeeds NeedsOfPlate();
    reports::ReportNeeds NeedsOfReport();
    // What the project panel and the blank frame need of the plate, the run panel and the run.
    project::ProjectNeeds NeedsOfProject();
    void openLink(int port);
    // The start-up's fixed lists, created empty where the tree keeps them.
    void buildStartupLists();
    // The first start with an instrument: its folders, and its calibration sets read from its
    // memory and installed; what could not be restored is appended to the status line.
    std::string PrepareInstrument();
};

// The settings text of every port the main window opens.
inline constexpr const char* kLinkSettings = "baud=115200 parity=N data=8 stop=1";

}  // namespace tirmo::app
