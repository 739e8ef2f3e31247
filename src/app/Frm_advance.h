#pragma once
// The factory window: engineering tools of the instrument. It shares the link with the main
// window and reports into its own status line and communication monitor. Subsystems add their
// tools in their own folders (src/<subsystem>/Frm_advance_<name>.cpp), as for the main window.
#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "app/TextBoxConsole.h"
#include "camera/CameraControls.h"
#include "camera/FrameStore.h"
#include "lighting/LedMap.h"
#include "plate/BandTables.h"
#include "plate/PlateMap.h"
#include "plate/PlateSelection.h"
#include "plate/WellGroups.h"
#include "plate/WellTable.h"
#include "ui/Forward.h"

class QCloseEvent;
class QGroupBox;
class QResizeEvent;
class QScrollArea;
class QVBoxLayout;

namespace tirmo::app {

class Frm_advance : public QMainWindow, public TextBoxConsole {
    Q_OBJECT
public:
    // The factory window works in the main window's session (its link and instrument).
    // Its plate map groups wells in the shared group tables (the main window's); alone, in
    // tables of its own.
    explicit Frm_advance(link::Session& session, QWidget* parent = nullptr);
    Frm_advance(link::Session& session, plate::WellGroups& shared_groups, QWidget* parent = nullptr);
    ~Frm_advance() override;

    // SetStatus and SetMonitor write txt_status and txt_in (TextBoxConsole).

    ui::Label* lbl_lenrx = nullptr;
    ui::TextBox* txtcom = nullptr;
    // "Advanced parameters": the tools, in a scroll area so that each stays reachable in the
    // frame's narrow column.
    QGroupBox* frame_advanced = nullptr;
    QScrollArea* frame_advanced_scroll = nullptr;

    // ==== window frame and layout (Frm_advance.cpp) ====
    ui::Shape* Shape5 = nullptr;
    ui::Line* Line5 = nullptr;
    ui::Label* lbl_status = nullptr;  // "Status:"
    ui::Label* lblrx = nullptr;       // "Rx", kept hidden by the layout
    ui::TextBox* txt_timepass = nullptr;
    QWidget* frame_main = nullptr;    // Picact2, Picact and Picrealtime
    ui::PictureBox* Picact2 = nullptr;
    ui::PictureBox* Picrealtime = nullptr;
    // Places the controls on the grid of the window's current client area.
    void ArrangeControls();
    void Form_Resize();
    // The tools in the frame's column: small type, tight grids, narrow boxes and buttons.
    void CompactTools(QWidget* toolsPanel);

    // The transmit panel (hidden) with the circle-selection frame, and the pixel-mask panel
    // "Select" on Picact2 (hidden until shown).
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame8 = nullptr;
    ui::Shape* Shape_circle_selection = nullptr;
    QGroupBox* Frame_select = nullptr;
    ui::CommandButton* cmd_close_frame2 = nullptr;  // "X"
    // 0 or 2; 2 while the circle selection is on (solid shape). The window's well-mask build
    // reads it.
    int circle_selection_mode = 0;
    void Frame8_Click();
    void cmd_close_frame2_Click();

    // ==== shell (Frm_advance_shell.cpp) ====
    // The window the "Close" button and closing go back to (shown modeless).
    QWidget* main_window = nullptr;
    ui::CommandButton* cmd_menu = nullptr;   // "Close"
    ui::CheckBox* chkdummy = nullptr;        // "Dummy"
    ui::CheckBox* chk_video = nullptr;       // "Video_mode"
    ui::CheckBox* chk_exportbmp = nullptr;   // "Export_videoBMP"
    ui::CommandButton* Command_fullframe = nullptr;
    void Form_Load();
    void cmd_menu_Click();
    void Form_Unload();
    void chkdummy_Click();
    void chk_video_Click();
    void mnversion_Click();
    void mnabout_Click();
    void mnadvanced_Click();
    // Temperature "Calibrate": refused offline unless simulating; keeps the offset it starts from.
    void mncalibratetemp_Click();
    double temp_offset = 0;

    // ==== link console (Frm_advance_link.cpp) ====
    // Opens the port of txtcom at 1 Mbaud, or closes the link; the caption says which.
    void cmdopen_Click();
    // Shows the instrument's serial number in the status line (and nowhere else).
    void cmdsn_Click();
    // The unframed reset: "Z" 132 times.
    void cmd_reset_Click();
    ui::CommandButton* cmdopen = nullptr;    // "Connected" / "DisConnected"
    ui::CommandButton* cmdsn = nullptr;      // "Get SN"
    ui::CommandButton* cmd_reset = nullptr;  // "RESET"

    // ==== camera (camera) ====
    void buildCameraTools();
    // The camera boxes and buttons: the main window's object, sending the factory way; gain and
    // exposure have buttons of their own here.
    std::unique_ptr<camera::CameraControls> camera;
    void cmd_gain_Click();
    void cmd_exposure_Click();
    // Resends the camera settings from this window's boxes, unscaled, 100 ms apart.
    void cmd_setcamera_Click();
    // Frame transfer and display on the factory window's own picture and frame table.
    void ReadCameraImage(const std::string& frame);
    void GrabFrame();
    void SetFrameScale();
    void DrawGrayImage(int camera, int lines, int pixels);
    void DrawCameraImage();
    // The band grid of a camera from this window's own band tables, and the green centre cross
    // while chk_cross is ticked.
    void DrawCameraGrid(int camera);

    QGroupBox* frame_camera = nullptr;
    ui::CommandButton* cmd_gain = nullptr;
    ui::CommandButton* cmd_exposure = nullptr;
    ui::CommandButton* cmd_setcamera = nullptr;
    ui::TextBox* txt_crc = nullptr;  // extra bytes per line of a camera block
    ui::CheckBox* chk_cross = nullptr;  // "Green_CROSS"
    ui::PictureBox* Picact = nullptr;
    camera::FrameStore frame_store;
    // ==== end camera ====

    // ==== plate (plate) ====
    // This window's own plate and band tables, apart from the main window's.
    plate::WellTable well_table;
    plate::ColumnBands column_bands;
    plate::RowBands row_bands;
    plate::ColumnLabels column_labels;
    plate::RowLabels row_labels;
    // Its plate map on Picact: its own size, tables and drag, the shared groups. No "[OFF]"
    // marks: it does not look at the camera mask.
    void DrawPlateLayout(const std::string& format);
    void DrawWell(int well);
    void Picact_MouseDown(int button, int shift, double x, double y);
    void Picact_MouseUp(int button, int shift, double x, double y);
    // The factory window keeps no group list: nothing to rebuild.
    void RefreshGroupList(int group);
    // The group a left drag gives (the main window's list); 0 when nobody says.
    std::function<int()> group_to_assign;
    int plate_rows = 0;     // 0 until its plate layout has been drawn
    int plate_columns = 0;
    std::string plate_format;  // the format its layout was drawn for (label size)
    int run_state = 0;         // -1 while one of its light calibrations runs
    plate::PlateSelection selection;
    plate::WellGroups& groups;
    std::unique_ptr<plate::PlateMap> plate_map;
    // ==== end plate ====

    // ==== lighting (lighting) ====
    void buildLightingTools();
    void Cmd_bluelight_Click();    // "BLUELIGHT(0-7)"
    void cmd_frqled_Click();       // "FRQLed"
    void cmd_led0_Click();         // "LD/PWR"
    void cmd_ledpower_Click();     // "Apply"
    void cmd_ledpowerall_Click();  // "All"
    // The factory window's own LED sender and LED map.
    void SendLedPower(int index, int power);
    void LoadLedTables();
    void WriteLedPositions();
    void WriteLedPower();

    ui::TextBox* txt_blue = nullptr;
    ui::CommandButton* Cmd_bluelight = nullptr;
    ui::TextBox* txt_frqled = nullptr;
    ui::CommandButton* cmd_frqled = nullptr;
    ui::TextBox* txt_valueled = nullptr;
    ui::TextBox* txt_value = nullptr;
    ui::CommandButton* cmd_led0 = nullptr;
    ui::ComboBox* txt_led = nullptr;
    ui::CommandButton* cmd_ledpower = nullptr;
    ui::CommandButton* cmd_ledpowerall = nullptr;
    lighting::LedMap led_map;
    // ==== end lighting ====

    // ==== temperature (thermal) ====
    void buildThermalTools();
    // ==== end temperature ====

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    QVBoxLayout* tools_ = nullptr;  // each subsystem adds its frames here

private:
    void buildShell();
    void buildPlateMap();
    plate::WellGroups own_groups_;
    std::array<bool, 7> no_camera_off_{true, true, true, true, true, true, true};
};

// The settings text of the factory window's connect button: the service rate.
inline constexpr const char* kFactoryLinkSettings = "baud=1000000 parity=N data=8 stop=1";

}  // namespace tirmo::app
