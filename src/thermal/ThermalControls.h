#pragma once
// The main window's temperature controls: the stage commands, what the thermostat step shows,
// the temperature box with its set point, the temperature cycles and the sensor calibration. The
// object creates its controls on the window's client area (the window's tree moves them into
// their containers) and hangs its entries in the window's menus. It reports through the console
// it is given, works in that console's session, drives the stage it is given (the instrument's,
// which the run drives as well), and takes the one-second tick as a user of the window's ticker.
#include <QObject>

#include <string>
#include <vector>

#include "link/Protocol.h"
#include "thermal/TemperatureControl.h"
#include "thermal/TemperatureCycle.h"
#include "thermal/TemperatureStage.h"
#include "thermal/Thermostat.h"
#include "ui/Forward.h"

class QAction;
class QGroupBox;
class QListWidget;
class QMenuBar;
class QWidget;

namespace tirmo::thermal {

class FrmTempCal;

class ThermalControls : public QObject {
    Q_OBJECT
public:
    ThermalControls(link::Console& console, TemperatureStage& stage, ui::Ticker& ticker, QWidget* client, QMenuBar* menus);

    // Stage commands (the stage reports to the console).
    int PeltierOff();
    int PeltierHeat(int& pwm);
    int PeltierCool(int& pwm);
    int SetFan(int level);
    double SetPowerReadTemperature(int& power);
    // One thermostat step towards setpoint (0 or less: read and show only); returns the
    // temperature, or -1 when no reading came.
    double RegulateTemperature(int& setpoint);
    // What a step read and decided, into the temperature boxes and the indicator.
    void ShowThermostatStep(const ThermostatStepResult& step);
    // After the control was switched off elsewhere (a run's stop): the box captioned
    // "Temperature" and unticked without its handler, the indicator white, and the cycle
    // buttons back when the box was ticked, as its handler would have left them.
    void ShowTemperatureControlOff();
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
    ui::ComboBox* txttemp = nullptr;         // set point, typed or chosen from "20".."37"
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

    thermal::TemperatureStage& stage;
    thermal::Thermostat thermostat;
    thermal::TemperatureCycle cycle;
    // The step and the switching off over the session's thermal settings, which chk_temp and
    // txttemp show and edit.
    thermal::TemperatureControl control;
    // Calibration points: readings R1, R2 and reference temperatures T1, T2.
    double cal_r1 = 0, cal_t1 = 0, cal_r2 = 0, cal_t2 = 0;

private:
    void build(QWidget* client, QMenuBar* menus);
    // Unticks (or ticks) chk_temp without running chk_temp_Click: the code that changes the box
    // does the switching itself, so a change by code never re-enters the thermostat or the cycle.
    void SetTemperatureBoxQuietly(int value);
    // Temperature control off with the Peltier off; keepIndicator leaves the caption and the
    // indicator as the caller set them (an out-of-range reading stays visible).
    void SwitchTemperatureControlOff(bool keepIndicator);
    // The temperature work needs no more ticks (the pulse may still need them).
    void StopTemperatureTimer();
    bool chk_temp_quiet_ = false;


    link::Console& console_;
    ui::Ticker& ticker_;
    int ticks_ = -1;  // this object's handle at the ticker
};

}  // namespace tirmo::thermal
