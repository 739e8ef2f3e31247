#pragma once
// The factory window: engineering tools of the instrument. It shares the link with the main
// window and reports into its own status line and communication monitor. Subsystems add their
// tools in their own folders (src/<subsystem>/Frm_advance_<name>.cpp), as for the main window.
#include <QMainWindow>

#include <memory>
#include <string>

#include "app/TextBoxConsole.h"
#include "camera/CameraControls.h"
#include "camera/FrameStore.h"
#include "lighting/LedMap.h"
#include "plate/BandTables.h"
#include "plate/WellTable.h"
#include "ui/Forward.h"

class QGroupBox;
class QVBoxLayout;

namespace tirmo::app {

class Frm_advance : public QMainWindow, public TextBoxConsole {
    Q_OBJECT
public:
    // The factory window works in the main window's session (its link and instrument).
    explicit Frm_advance(link::Session& session, QWidget* parent = nullptr);
    ~Frm_advance() override;

    // SetStatus and SetMonitor write txt_status and txt_in (TextBoxConsole).

    ui::Label* lbl_lenrx = nullptr;
    ui::TextBox* txtcom = nullptr;
    QGroupBox* frame_advanced = nullptr;  // "Advanced parameters"

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
    QVBoxLayout* tools_ = nullptr;  // each subsystem adds its frames here
};

}  // namespace tirmo::app
