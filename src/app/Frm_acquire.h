#pragma once
// The main window ("Acquisition Page"). It owns the instrument session, the design-time tree of
// containers with its layout, the menus, the one-second ticker and one object per subsystem
// (window->thermal, ->lighting, ->project, ->camera, ->run), each in its own folder, built on the
// window's client area and handed what it needs of the window (the console, the ticker, a menu).
// The camera pictures and set-up sequence and the plate controls are still members of the window,
// defined in their folders (src/<subsystem>/Frm_acquire_<name>.cpp). Members are public so that
// tests can do what a user does: type into a box, click, tick a timer.
#include <QMainWindow>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "acquisition/RunControls.h"
#include "app/MainContainers.h"
#include "app/TextBoxConsole.h"
#include "camera/CameraControls.h"
#include "camera/FrameStore.h"
#include "camera/PixelMask.h"
#include "lighting/LightControls.h"
#include "project/ProjectControls.h"
#include "plate/BandTables.h"
#include "plate/PlateMap.h"
#include "plate/WellGroups.h"
#include "plate/WellTable.h"
#include "thermal/ThermalControls.h"
#include "ui/Forward.h"

class QAction;
class QGroupBox;
class QListWidget;
class QMenu;

namespace tirmo::app {

// The window owns the program's instrument session; a base so that it exists before the console
// that is bound to it.
struct SessionOwner {
    link::Session owned_session;
};

class Frm_acquire : public QMainWindow, private SessionOwner, public TextBoxConsole {
    Q_OBJECT
public:
    // The window in a session of its own (the program's), or in one it shares with its caller.
    explicit Frm_acquire(QWidget* parent = nullptr);
    explicit Frm_acquire(link::Session& session, QWidget* parent = nullptr);
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
    void WriteCameraConfig(const std::string& path);

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
    ui::TextBox* txtlapse = nullptr;    // acquisition time, minutes
    ui::ComboBox* cmb_well = nullptr;   // plate format
    QAction* mn_showcomm = nullptr;     // "Show Communication values"
    QMenu* menu_view = nullptr;

    bool offline_mode = false;
    // An instrument answered the search; a typed port that opened leaves it false.
    bool instrument_answered = false;
    std::array<bool, 7> camera_in_use{true, true, true, true, true, true, true};
    std::string current_project;
    // Set once the shutdown has run; the start-up stops at its next step when it finds it set.
    bool unloaded = false;

    // ==== acquisition run state (acquisition) ====
    // The run's tables that the plate map shows: the accumulated activity per well number, the
    // movement count per pixel (1..window_pixel_count) of the window just counted, and per
    // camera (0..5) and window (0..8) each pixel's well and its place along the column and row
    // axes. The run start sizes and fills them.
    std::vector<double> well_activity = std::vector<double>(97);
    long window_pixel_count = 0;
    std::vector<long> pixel_activity = std::vector<long>(97);
    using PixelTable = std::array<std::array<std::vector<int>, 9>, 6>;
    PixelTable pixel_well, pixel_column, pixel_row;

    // ==== camera (camera) ====
    void buildCameraControls();
    // "Setup CAM": select, gain, exposure, speed and read-out window of a camera, in the object
    // the factory window has as well.
    std::unique_ptr<camera::CameraControls> camera;
    // Frame transfer: frames go into frame_store; the run's fetches return the block, "Error"
    // or an empty text for no result.
    void ReadCameraImage(const std::string& frame, bool draw);
    std::string ReadCameraActivity(int camera);
    std::string ReadCameraScan(int camera, int window);
    void AcquireCalibrationFrame();
    void GrabFrame();
    // Image display on Picact, Picact2 and Picrealtime.
    void SetFrameScale();
    void DrawGrayImage(int camera, int lines, int pixels);
    void DrawCameraImage();
    void DrawCameraGrid(int camera);
    void ClearRealtimeBar(int slot);
    void DrawLiveActivity(int camera, int window, const std::string& frame, const std::string& difference,
                          int have_difference);
    // Start-up: Picrealtime cleared and scaled (0, 0)-(100, 100).
    void ResetRealtimePicture();

    QGroupBox* frame_setupcam = nullptr;  // "Setup CAM"
    ui::TextBox* txtprogram = nullptr;    // mode letter of the last frame request
    ui::PictureBox* Picact = nullptr;       // plate map or camera picture
    ui::PictureBox* Picact2 = nullptr;      // live activity picture
    ui::PictureBox* Picrealtime = nullptr;  // per-frame progress bar

    camera::FrameStore frame_store;
    int camera_index = 0;           // the camera shown or scanned, 0..5
    bool plate_view_shown = false;  // the plate map, not a camera picture, is on Picact
    // The run's good-frame count of the current camera window and its pixel mask, as the live
    // picture reads them (the acquisition run keeps them up to date).
    long frame_counter = 0;
    camera::WindowPixelMask window_pixel_mask;
    // Camera set-up sequence and the well-calibration panel: choosing a camera sets it up from
    // the instrument's defaults, grabs its window twice, reads the format's bands and fills the
    // band selectors. A click while a set-up is running is refused: the running one yields to
    // the window between commands, and a second sequence would interleave its frames with it.
    void cmd_camselect_Click(int Index);
    bool CameraSetupRunning() const { return camselect_running_; }
    // What a click refused during the running set-up asks the user to know; the set-up shows it
    // again as it ends.
    std::string setup_notice;
    void GrabCameraImage(bool& draw);
    // Resends the camera settings as they stand in the boxes (no status, no yield).
    void ApplyCameraSettings();
    std::string InitRowColumnSelectors(int& camera, int& column, int& row);
    void SetColumnRange(int& camera, int& column);
    void SetRowRange(int& camera, int& row);
    void cmb_column_Click();
    void cmb_row_Click();

    QGroupBox* Frame_calibration = nullptr;  // "Well Calibration"
    std::array<ui::CommandButton*, 6> cmd_camselect{};  // "C0" .. "C5"
    ui::ComboBox* cmb_column = nullptr;
    ui::ComboBox* cmb_row = nullptr;
    ui::TextBox* txt_column_start = nullptr;
    ui::TextBox* txt_column_end = nullptr;
    ui::TextBox* txt_row_start = nullptr;
    ui::TextBox* txt_row_end = nullptr;

private:
    void buildCalibrationPanel();
    bool camselect_running_ = false;

public:
    // ==== end camera ====

    // ==== plate (plate) ====
    void buildPlateControls();
    // Plate format in use and its tables; readers report what they skipped in txt_status.
    void SetCurrentFormat(const std::string& format);
    void ReadPlateSpec(const std::string& format);
    void ReadFormatFiles(const std::string& format);
    void WriteFormatFiles(const std::string& format);
    // Start-up: the default plate layout files (_spc.dat) missing in config.
    void WriteMissingSpecFiles();

    // The plate-related part of the start-up: selectors, check marks, block menu, groups of the
    // current project, band selectors of camera 0 and the colour scale.
    void InitPlateView();

    // Plate map on Picact (and the camera window chart on Picact2).
    void DrawPlateLayout(const std::string& format);
    void DrawDisabledWells(int well);
    void DrawWell(int well);
    void RedrawAllWells();
    void DrawPlateWells(int camera, int window);
    void DrawPlateActivity(double minutes, int camera, int window, int mode);
    void BuildColorScale();
    void ResetPlatePicture();
    void DrawActivityChart(int camera, int window);

    // Well groups: the shared tables, chgroup.dat, the group list, the block menu and the
    // mouse selection on the map.
    void LoadWellGroups(const std::string& folder);
    void ReadWellGroups(const std::string& folder);
    bool SaveWellGroups(const std::string& folder);
    void BuildGroupList(int group);
    void BuildGroupOptionMenu();
    // False, with the groups left alone and a status line, for a block that does not divide
    // the plate.
    bool GroupWellsInBlocks(const std::string& caption);
    void ClearGroups();
    void Picact_MouseDown(int button, int shift, double x, double y);
    void Picact_MouseUp(int button, int shift, double x, double y);
    void combogrup_DblClick();
    void combogrup_KeyPress(int key);
    void Cmd_clear_Click();
    void mnopciongrup_Click(int index);

    // Band editing, the well-area check, saving and the plate-format change.
    void col_start_menos_Click();
    void col_start_mas_Click();
    void col_end_menos_Click();
    void col_end_mas_Click();
    void row_start_menos_Click();
    void row_start_mas_Click();
    void row_end_menos_Click();
    void row_end_mas_Click();
    // Typed entry of the selected column band's start: Enter (13) applies it; leaving the box
    // applies it, or shows the stored start again when the box is empty.
    void txt_column_start_KeyPress(int key);
    void txt_column_start_LostFocus();
    void ShowWellAreaPercent();
    void cmd_grabarconfig_Click();
    void cmb_formatplate_Click();
    void cmb_well_Click();
    void cam_disabled_Click(int Index);
    void cmd_goset_Click();
    void Timer5_Timer();

    std::string current_format = "w6";
    int plate_rows = 2;
    int plate_columns = 3;
    plate::WellTable well_table;
    plate::ColumnBands column_bands;
    plate::RowBands row_bands;
    plate::ColumnLabels column_labels;
    plate::RowLabels row_labels;
    // The format whose band files the band tables were last read from; the editor's save writes
    // the tables only into that format's files.
    std::string bands_format;
    // The shared group tables (well_group, group_names, group_used) and the report panel's pair
    // read from a saved acquisition.
    plate::WellGroups groups;
    plate::WellGroups report_groups;
    std::unique_ptr<plate::PlateMap> plate_map;
    int colour_count = 6;
    std::array<uint32_t, 7> colour_table{};
    bool drag_active = false;
    int drag_start_row = 0;
    int drag_start_column = 0;
    std::array<std::string, 25> block_options;

    ui::ComboBox* cmb_formatplate = nullptr;  // format of the band editor
    ui::TextBox* txt_well_percent = nullptr;
    ui::CommandButton* col_start_menos = nullptr;
    ui::CommandButton* col_start_mas = nullptr;
    ui::CommandButton* col_end_menos = nullptr;
    ui::CommandButton* col_end_mas = nullptr;
    ui::CommandButton* row_start_menos = nullptr;
    ui::CommandButton* row_start_mas = nullptr;
    ui::CommandButton* row_end_menos = nullptr;
    ui::CommandButton* row_end_mas = nullptr;
    ui::CommandButton* cmd_grabarconfig = nullptr;  // "Save->Next Area"
    ui::Timer* Timer5 = nullptr;                    // one-shot redraw of the camera view
    ui::TextBox* txt_nrow = nullptr;
    ui::TextBox* txt_ncol = nullptr;
    QWidget* frame_group = nullptr;
    ui::ComboBox* combogrup = nullptr;               // "Group Names:"
    ui::CommandButton* Cmd_clear = nullptr;          // "CLEAR LIST"
    ui::CommandButton* cmd_goset = nullptr;          // "AUTO-ARRANGE"
    QMenu* mngroup = nullptr;
    std::array<QAction*, 24> mnopciongrup{};
    std::array<QAction*, 6> cam_disabled{};          // "DISABLE CAM0 (A1)" ..

private:
    void buildGroupControls();

public:
    // ==== end plate ====

    // ==== projects and corrections (project) ====
    std::unique_ptr<project::ProjectControls> project;


    // ==== lighting (lighting) ====
    std::unique_ptr<lighting::LightControls> lighting;


    // ==== temperature (thermal) ====
    std::unique_ptr<thermal::ThermalControls> thermal;


    // ==== acquisition run (acquisition) ====
    // Run preparation, camera window set-up and window completion, with the run's own tables;
    // it reaches the window through run_window_ only.
    std::unique_ptr<acquisition::RunControls> run;


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

    // A subsystem's frame goes onto the client area; the tree's adoption then moves what the
    // layout names into its container.
    void addPanel(QWidget* panel);

private:
    QWidget* client_ = nullptr;
    std::unique_ptr<acquisition::RunWindow> run_window_;
    void buildControls();
    void openLink(int port);
};

// The settings text of every port the main window opens.
inline constexpr const char* kLinkSettings = "baud=115200 parity=N data=8 stop=1";

}  // namespace tirmo::app
