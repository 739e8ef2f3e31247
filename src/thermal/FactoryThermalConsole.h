#pragma once
// The factory window's temperature tools: its "Calibrate" entry, and the console that drives
// the Peltier stage and the fan by hand (direction, a timed drive test that reads the
// temperature every three seconds, the fan, and two readings). It sends through the stage's
// own frame code and reports in the window's console.
#include <memory>
#include <string>

#include "link/Protocol.h"
#include "link/Session.h"
#include "ui/Forward.h"

class QGroupBox;
class QWidget;

namespace tirmo::ui {
class Timer;
}

namespace tirmo::thermal {

class FactoryThermalConsole {
public:
    // The console's frame is made on parent; the window places it.
    FactoryThermalConsole(link::Console& console, QWidget* parent);
    ~FactoryThermalConsole();

    // Temperature "Calibrate": refused offline unless simulating; keeps the offset it starts from.
    void mncalibratetemp_Click();
    double temp_offset = 0;

    void Cmd_coolheat_Click();
    void Cmd_peltier_Click();
    void Timer_peltier_Timer();
    void Cmd_fan_Click();
    void cmd_measuretemp_Click();
    void cmd_measuretemp2_Click();
    // The window closes: a running drive test stops and the Peltier is switched off, and a fan
    // switched on here goes back to its resting level.
    void StopTests();

    // The reading command of this window: the decoded value unchecked, -1 when no reply came or
    // the link is closed, 0 for a reply letter it does not take. Keeps digital_stage.
    double SetPowerReadTemperature(int power);
    // The power byte of the reading for the direction and drive mode.
    int ReadingPower() const;

    bool digital_stage = false;
    bool cooling_selected = false;
    bool peltier_test_on = false;
    bool fan_test_on = false;

    QGroupBox* frame_peltier = nullptr;
    ui::CommandButton* Cmd_coolheat = nullptr;
    ui::CommandButton* Cmd_peltier = nullptr;
    ui::TextBox* txt_peltierpwm = nullptr;
    ui::CommandButton* Cmd_fan = nullptr;
    ui::TextBox* txt_fanpwm = nullptr;
    ui::CommandButton* cmd_measuretemp = nullptr;
    ui::CommandButton* cmd_measuretemp2 = nullptr;
    std::unique_ptr<ui::Timer> Timer_peltier;  // 3000 ms, off at start

private:
    link::Session& session() const { return console_.session(); }
    void showReading(double reading);
    void takeDriveReply(const std::string& reply);
    void startTest(int pwm);
    void stopTest();
    link::Console& console_;
};

}  // namespace tirmo::thermal
