#pragma once
// The main window ("Acquisition Page"): its start-up connection to the instrument, its shutdown,
// and the controls the device routines report into. Subsystems add their controls and handlers
// here; their logic stays in their own folders and the window only holds and shows it.
#include <QMainWindow>

#include <array>
#include <string>

#include "link/Protocol.h"
#include "thermal/TemperatureStage.h"

class QAction;
class QFrame;
class QGroupBox;

namespace tirmo::ui {
class TextBox;
class Label;
class ComboBox;
class CheckBox;
class CommandButton;
}  // namespace tirmo::ui

namespace tirmo::app {

class Frm_acquire : public QMainWindow, public link::Console {
    Q_OBJECT
public:
    explicit Frm_acquire(QWidget* parent = nullptr);
    ~Frm_acquire() override;

    // --- link::Console: where device routines report ---
    void SetStatus(const std::string& text) override;
    void SetMonitor(const std::string& text) override;
    bool ShowComm() const override;

    // --- start-up and shutdown ---
    void Form_Load();
    void Form_Unload();
    void ConnectDevice();
    int QuerySerialNumber(int port);
    void SaveConfigTxt();
    void ReadCameraMask(const std::string& path);
    void WriteCameraConfig(const std::string& path);

    // --- device operations the window owns (logic in camera/, lighting/, thermal/) ---
    void cmd_camera_Click();
    int PeltierOff();
    int SetFan(int level);
    double SetPowerReadTemperature(int& power);
    void SendLightPulse(int level);

    // --- controls ---
    ui::TextBox* txt_status = nullptr;  // status line
    ui::TextBox* txt_in = nullptr;      // communication monitor
    ui::Label* lbl_lenrx = nullptr;
    ui::TextBox* txtcom = nullptr;      // COM number of the link
    ui::TextBox* txtprogram = nullptr;  // mode letter of the last frame request
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
    ui::TextBox* txt_led = nullptr;
    ui::TextBox* txtlapse = nullptr;    // acquisition time, minutes
    ui::ComboBox* cmb_well = nullptr;   // plate format
    ui::TextBox* txttemp = nullptr;     // temperature set point
    ui::CheckBox* Chk_lenabled = nullptr;
    QFrame* Shape_light = nullptr;
    QAction* mn_showcomm = nullptr;     // "Show Communication values"
    QGroupBox* frame_setupcam = nullptr;

    // --- window state ---
    bool offline_mode = false;
    std::array<bool, 7> camera_in_use{true, true, true, true, true, true, true};
    std::string current_project;
    long pulse_countdown = 0;
    thermal::TemperatureStage stage;
    bool unloaded = false;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void openLink(int port);
};

// The settings text of every port the main window opens.
inline constexpr const char* kLinkSettings = "baud=115200 parity=N data=8 stop=1";

}  // namespace tirmo::app
