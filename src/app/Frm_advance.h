#pragma once
// The factory window: engineering tools of the instrument. It shares the link with the main
// window and reports into its own status line and communication monitor. Subsystems add their
// tools in their own folders (src/<subsystem>/Frm_advance_<name>.cpp), as for the main window.
#include <QMainWindow>

#include <string>

#include "lighting/LedMap.h"
#include "link/Protocol.h"

class QGroupBox;
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

class Frm_advance : public QMainWindow, public link::Console {
    Q_OBJECT
public:
    explicit Frm_advance(QWidget* parent = nullptr);
    ~Frm_advance() override;

    void SetStatus(const std::string& text) override;
    void SetMonitor(const std::string& text) override;

    ui::TextBox* txt_status = nullptr;
    ui::TextBox* txt_in = nullptr;
    ui::Label* lbl_lenrx = nullptr;
    ui::TextBox* txtcom = nullptr;
    QGroupBox* frame_advanced = nullptr;  // "Advanced parameters"

    // ==== camera (camera) ====
    void buildCameraTools();
    // ==== end camera ====

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
