#pragma once
// The main window's lighting: the LED command layer, the LED maps and the saved powers, the blue
// light panel with its pulses, and the default layout files written at start-up. The object
// creates its controls on the window's client area (the window's tree moves the light panel into
// the run panel), adds its entry to the window's View menu, reports through the console it is
// given and takes the one-second tick for the pulse countdown as a user of the window's ticker.
#include <QObject>

#include <string>

#include "lighting/LedMap.h"
#include "lighting/LightPulse.h"
#include "link/Protocol.h"
#include "ui/Forward.h"

class QAction;
class QGroupBox;
class QMenu;
class QWidget;

namespace tirmo::lighting {

class LightControls : public QObject {
    Q_OBJECT
public:
    LightControls(link::Console& console, ui::Ticker& ticker, QWidget* client, QMenu* viewMenu);

    // LED command layer (the stored power table, the calibrations, every LED at once, the blue light).
    void SendLedCommand(int index, int power);
    void SendLedPower(int index, int& power);
    void SendAllLedPower(int level);
    void SendLightPulse(int level);
    // The light-pulse countdown of one Timer3 tick.
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
    // The pulse settings the boxes above show, kept in step with every change of them.
    PulseBoxes pulse_boxes;
    bool pulse_on = false;
    long pulse_end = 0;
    long pulse_countdown = 0;
    lighting::LedMap led_map;

private:
    void build(QWidget* client, QMenu* viewMenu);

    link::Console& console_;
    ui::Ticker& ticker_;
    int ticks_ = -1;  // this object's handle at the ticker
};

}  // namespace tirmo::lighting
