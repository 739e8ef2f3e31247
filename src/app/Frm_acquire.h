#pragma once
// The main window ("Acquisition Page"). The window holds controls and thin handlers; each
// subsystem defines its own members in its own folder (src/<subsystem>/Frm_acquire_<name>.cpp)
// and keeps its logic in plain classes there. Members are public so that tests can do what a
// user does: type into a box, click, tick a timer.
#include <QMainWindow>

#include <array>
#include <string>

#include "lighting/LedMap.h"
#include "link/Protocol.h"
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
    void cmd_camera_Click();

    QGroupBox* frame_setupcam = nullptr;  // "Setup CAM"
    ui::TextBox* txtprogram = nullptr;    // mode letter of the last frame request
    ui::TextBox* txt_cam = nullptr;
    ui::CommandButton* cmd_camera = nullptr;
    ui::TextBox* txt_gain = nullptr;
    ui::TextBox* txt_exposure = nullptr;
    ui::TextBox* txt_speed = nullptr;
    ui::TextBox* txt_xini = nullptr;
    ui::TextBox* txt_xfin = nullptr;
    ui::TextBox* txt_yini = nullptr;
    ui::TextBox* txt_yfin = nullptr;
    ui::TextBox* txt_lines = nullptr;
    ui::TextBox* txt_pix = nullptr;
    // ==== end camera ====

    // ==== plate (plate) ====
    void buildPlateControls();
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
