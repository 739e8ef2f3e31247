#pragma once
// The main window ("Acquisition Page"). The window holds controls and thin handlers; each
// subsystem defines its own members in its own folder (src/<subsystem>/Frm_acquire_<name>.cpp)
// and keeps its logic in plain classes there. Members are public so that tests can do what a
// user does: type into a box, click, tick a timer.
#include <QMainWindow>

#include <array>
#include <string>
#include <vector>

#include "camera/FrameStore.h"
#include "camera/PixelMask.h"
#include "lighting/LedMap.h"
#include "link/Protocol.h"
#include "plate/BandTables.h"
#include "plate/WellTable.h"
#include "thermal/TemperatureCycle.h"
#include "thermal/TemperatureStage.h"
#include "thermal/Thermostat.h"

class QAction;
class QGroupBox;
class QListWidget;
class QMenu;
class QVBoxLayout;

namespace tirmo::thermal {
class FrmTempCal;
}

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
    // LED command layer (the stored power table, the calibrations, every LED at once, the blue light).
    void SendLedCommand(int index, int power);
    void SendLedPower(int index, int& power);
    void SendAllLedPower(int level);
    void SendLightPulse(int level);
    // The light-pulse countdown of one Timer3 tick; it also stops Timer3 when neither a pulse
    // nor temperature control is on.
    void PulseTimerStep();
    // The light-pulse step at the end of each camera window of a run.
    void RunPulseStep();
    void mn_bluelight_Click();
    void cmd_light_Click();
    // LED maps: load, save, and the saved powers sent to the instrument.
    void LoadLedTables();
    void WriteLedPositions();
    void WriteLedPower();
    void ApplyLedPower(int camera);
    void ApplyLedPowerWithStatus();
    // Start-up: the default layout files of both generations, each only when config lacks it.
    void WriteDefaultLedLayouts();

    QAction* mn_bluelight = nullptr;  // "Enable Blue Lighting"
    QGroupBox* Frame_light = nullptr;
    ui::TextBox* txt_power = nullptr;
    ui::TextBox* txt_pulsetimes = nullptr;
    ui::TextBox* txt_pulseon = nullptr;
    ui::TextBox* txt_pulseoff = nullptr;
    ui::CommandButton* cmd_light = nullptr;
    ui::TextBox* txt_led = nullptr;
    ui::CheckBox* Chk_lenabled = nullptr;
    ui::Shape* Shape_light = nullptr;
    bool pulse_on = false;
    long pulse_end = 0;
    long pulse_countdown = 0;
    lighting::LedMap led_map;
    // ==== end lighting ====

    // ==== temperature (thermal) ====
    void buildThermalControls();
    // Stage commands (the stage reports to this window).
    int PeltierOff();
    int PeltierHeat(int& pwm);
    int PeltierCool(int& pwm);
    int SetFan(int level);
    double SetPowerReadTemperature(int& power);
    // One thermostat step towards setpoint (0 or less: read and show only); returns the
    // temperature, or -1 when no reading came.
    double RegulateTemperature(int& setpoint);
    // The temperature work of one Timer3 tick (cycles, then the thermostat).
    void TemperatureTimerStep();
    // The set point of txttemp as a whole number (0 when it holds none).
    int SetPointValue() const;

    void chk_temp_Click();
    void txttemp_Click();
    void mn_tcycle_Click();
    void cmd_add_tcycle_Click();
    void cmd_clr_tcycle_Click();
    std::vector<std::string> CycleRows() const;

    // Sensor calibration.
    void ReadTempCalibration();
    bool WriteTempCalibration();
    void mncalibratetemp_Click();
    void cmd_sett1_Click();
    void cmd_set2_Click();
    void cmd_closetmpcal_Click();
    void cmd_canceltemp_Click();

    ui::CheckBox* chk_temp = nullptr;        // "Temperature": temperature control on/off
    ui::ComboBox* txttemp = nullptr;         // set point list "20".."37"
    ui::Shape* Shape_temp = nullptr;         // drive indicator
    ui::TextBox* txt_current = nullptr;      // the temperature
    ui::TextBox* Txt_sensortemp = nullptr;   // the range-check value
    QAction* mn_tcycle = nullptr;            // "Enable Temperature cycle"
    QAction* mncalibratetemp = nullptr;      // temperature "Calibrate"
    QGroupBox* Frame_tcycle = nullptr;
    QListWidget* List_temp_cycle = nullptr;
    ui::TextBox* txt_tcycle = nullptr;       // row temperature / the current row's while cycling
    ui::TextBox* txt_tcycle_min = nullptr;   // row minutes / minutes left while cycling
    ui::CommandButton* cmd_add_tcycle = nullptr;
    ui::CommandButton* cmd_clr_tcycle = nullptr;
    thermal::FrmTempCal* frmtempcal = nullptr;

    bool temperature_control_on = false;
    thermal::TemperatureStage stage;
    thermal::Thermostat thermostat;
    thermal::TemperatureCycle cycle;
    // Calibration points: readings R1, R2 and reference temperatures T1, T2.
    double cal_r1 = 0, cal_t1 = 0, cal_r2 = 0, cal_t2 = 0;

private:
    // Unticks (or ticks) chk_temp without running chk_temp_Click: the code that changes the box
    // does the switching itself, so a change by code never re-enters the thermostat or the cycle.
    void SetTemperatureBoxQuietly(int value);
    // Temperature control off with the Peltier off; keepIndicator leaves the caption and the
    // indicator as the caller set them (an out-of-range reading stays visible).
    void SwitchTemperatureControlOff(bool keepIndicator);
    // Stops Timer3 unless a light pulse still needs it.
    void StopTemperatureTimer();
    bool chk_temp_quiet_ = false;

public:
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
