#pragma once
// The main window ("Acquisition Page"). The window holds controls and thin handlers; each
// subsystem defines its own members in its own folder (src/<subsystem>/Frm_acquire_<name>.cpp)
// and keeps its logic in plain classes there. Members are public so that tests can do what a
// user does: type into a box, click, tick a timer.
#include <QMainWindow>

#include <array>
#include <string>

#include "camera/FrameStore.h"
#include "camera/PixelMask.h"
#include "link/Protocol.h"
#include "plate/BandTables.h"
#include "plate/WellTable.h"
#include "thermal/TemperatureStage.h"

class QAction;
class QGroupBox;
class QMenu;
class QVBoxLayout;

namespace tirmo::ui {
class TextBox;
class Label;
class ComboBox;
class CheckBox;
class CommandButton;
class Shape;
class Timer;
class PictureBox;
}  // namespace tirmo::ui

namespace tirmo::app {

class Frm_acquire : public QMainWindow, public link::Console {
    Q_OBJECT
public:
    explicit Frm_acquire(QWidget* parent = nullptr);
    ~Frm_acquire() override;

    // ==== link console: where device routines report ====
    void SetStatus(const std::string& text) override;
    void SetMonitor(const std::string& text) override;
    bool ShowComm() const override;

    // ==== start-up and shutdown (app) ====
    void Form_Load();
    void Form_Unload();
    void ConnectDevice();
    int QuerySerialNumber(int port);
    void SaveConfigTxt();
    void ReadCameraMask(const std::string& path);
    void WriteCameraConfig(const std::string& path);

    ui::TextBox* txt_status = nullptr;  // status line
    ui::TextBox* txt_in = nullptr;      // communication monitor
    ui::Label* lbl_lenrx = nullptr;
    ui::TextBox* txtcom = nullptr;      // COM number of the link
    ui::TextBox* txtlapse = nullptr;    // acquisition time, minutes
    ui::ComboBox* cmb_well = nullptr;   // plate format
    QAction* mn_showcomm = nullptr;     // "Show Communication values"
    QMenu* menu_view = nullptr;

    bool offline_mode = false;
    std::array<bool, 7> camera_in_use{true, true, true, true, true, true, true};
    std::string current_project;
    bool unloaded = false;

    // ==== acquisition run state (acquisition) ====
    int run_state = 0;             // 0 idle, 1 running
    double elapsed_seconds = 0;    // seconds since the run started

    // ==== camera (camera) ====
    void buildCameraControls();
    // "Setup CAM": select, gain, exposure, speed and read-out window of a camera.
    void cmd_camera_Click();
    void SendGain(int value);
    void SendExposure(int value);
    void SendSpeed(int code);
    void cmd_camspeed_Click();
    void cmd_xy_Click();
    void SendWindowY(int start, int end);
    void SendWindowX(int start, int end);
    void cmd_default_Click();
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
    ui::TextBox* txt_cam = nullptr;
    ui::CommandButton* cmd_camera = nullptr;
    ui::TextBox* txt_gain = nullptr;
    ui::TextBox* txt_exposure = nullptr;
    ui::TextBox* txt_speed = nullptr;
    ui::CommandButton* cmd_camspeed = nullptr;  // "send"
    ui::TextBox* txt_xini = nullptr;
    ui::TextBox* txt_xfin = nullptr;
    ui::TextBox* txt_yini = nullptr;
    ui::TextBox* txt_yfin = nullptr;
    ui::TextBox* txt_lines = nullptr;
    ui::TextBox* txt_pix = nullptr;
    ui::CommandButton* cmd_xy = nullptr;       // ">>"
    ui::CommandButton* cmd_default = nullptr;  // "Default"
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
    // ==== end camera ====

    // ==== plate (plate) ====
    void buildPlateControls();
    // Plate format in use and its tables; readers report what they skipped in txt_status.
    void SetCurrentFormat(const std::string& format);
    void ReadPlateSpec(const std::string& format);
    void ReadFormatFiles(const std::string& format);
    void WriteFormatFiles(const std::string& format);
    // Start-up: the default specification files missing in config.
    void WriteMissingSpecFiles();

    std::string current_format = "w6";
    int plate_rows = 2;
    int plate_columns = 3;
    plate::WellTable well_table;
    plate::ColumnBands column_bands;
    plate::RowBands row_bands;
    plate::ColumnLabels column_labels;
    plate::RowLabels row_labels;
    // ==== end plate ====

    // ==== lighting (lighting) ====
    void buildLightingControls();
    void SendLightPulse(int level);
    // The light-pulse countdown of one Timer3 tick; it also stops Timer3 when neither a pulse
    // nor temperature control is on.
    void PulseTimerStep();

    ui::TextBox* txt_led = nullptr;
    ui::CheckBox* Chk_lenabled = nullptr;
    ui::Shape* Shape_light = nullptr;
    bool pulse_on = false;
    long pulse_end = 0;
    long pulse_countdown = 0;
    // ==== end lighting ====

    // ==== temperature (thermal) ====
    void buildThermalControls();
    int PeltierOff();
    int SetFan(int level);
    double SetPowerReadTemperature(int& power);
    // The temperature work of one Timer3 tick (thermostat and cycles).
    void TemperatureTimerStep();

    ui::TextBox* txttemp = nullptr;       // temperature set point
    bool temperature_control_on = false;
    thermal::TemperatureStage stage;
    // ==== end temperature ====

    // ==== shared one-second timer ====
    ui::Timer* Timer3 = nullptr;  // 1000 ms: temperature first, then the light-pulse countdown
    void Timer3_Timer();

protected:
    void closeEvent(QCloseEvent* event) override;

    QVBoxLayout* panels_ = nullptr;  // each subsystem adds its frames here

private:
    void buildControls();
    void openLink(int port);
};

// The settings text of every port the main window opens.
inline constexpr const char* kLinkSettings = "baud=115200 parity=N data=8 stop=1";

}  // namespace tirmo::app
