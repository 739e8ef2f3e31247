#pragma once
// The factory window's lighting tools: the blue light, the LED PWM frequency, single LEDs, every
// LED one by one or all at once, and the window's own LED sender and LED map. They report
// through the factory window's console.
#include "lighting/LedMap.h"
#include "link/Protocol.h"
#include "ui/Forward.h"

class QGroupBox;
class QWidget;

namespace tirmo::lighting {

class FactoryLightTools {
public:
    // Both frames are made on parent; the window places them.
    FactoryLightTools(link::Console& console, QWidget* parent);

    void Cmd_bluelight_Click();    // "BLUELIGHT(0-7)"
    void cmd_frqled_Click();       // "FRQLed"
    void cmd_led0_Click();         // "LD/PWR"
    void cmd_ledpower_Click();     // "Apply"
    void cmd_ledpowerall_Click();  // "All"
    void SendLedPower(int index, int power);
    void LoadLedTables();
    void WriteLedPositions();
    void WriteLedPower();

    QGroupBox* frame_blue = nullptr;  // the blue light
    QGroupBox* frame_leds = nullptr;  // single LEDs, every LED, the PWM frequency
    QGroupBox* frame_ledcal = nullptr;  // the three light calibrations, in two rows
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
    // The light calibrations of this window's camera; the window runs them.
    ui::CommandButton* Cmd_ledfactory = nullptr;  // "1.LED Factory Setup"
    ui::CommandButton* Cmd_ledcal = nullptr;      // "2.LED Basal Calib."
    ui::CommandButton* Cmd_ledinplate = nullptr;  // "3.LED InPlate Calib.": on a plate of culture medium
    LedMap led_map;

private:
    link::Session& session() const { return console_.session(); }
    link::Console& console_;
};

}  // namespace tirmo::lighting
