// The main window's temperature-sensor calibration: the saved line in tempfactor.dat and the
// two-point calibration in the frame frmtempcal.
#include <cmath>

#include "thermal/ThermalControls.h"
#include "platform/Convert.h"
#include "platform/Locale.h"
#include "platform/ProgramFolder.h"
#include "thermal/FrmTempCal.h"
#include "thermal/TempCalibration.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Ticker.h"
#include "ui/Timer.h"

namespace tirmo::thermal {

void ThermalControls::ReadTempCalibration()
{
    const std::string path = TempFactorPath(console_.session().serial_number);
    const TempFactorRead read = ReadTempFactorFile(path);
    console_.session().temp_offset = read.factors.offset;
    console_.session().temp_slope = read.factors.slope;
    switch (read.status) {
    case TempFactorStatus::Ok: break;
    case TempFactorStatus::Missing: WriteTempCalibration(); break;
    case TempFactorStatus::Corrupt: ui::dialogs().messageBox("Error in tempfactor file. Using defaults"); break;
    case TempFactorStatus::OutOfLimit:
        console_.SetStatus("[#T001]: Temperature Calibration factors out of limit. Using default parameters");
        break;
    }
    thermostat.working_temp_offset = console_.session().temp_offset;
    thermostat.working_temp_slope = console_.session().temp_slope;
}

bool ThermalControls::WriteTempCalibration()
{
    // The file carries the user's decimal separator (OFFSET=-16,34 on a comma locale); every
    // reader takes both.
    return WriteTempFactorFile(TempFactorPath(console_.session().serial_number),
                                        {console_.session().temp_offset, console_.session().temp_slope}, platform::DecimalSeparator());
}

void ThermalControls::mncalibratetemp_Click()
{
    if (console_.session().dummy_mode == 0 && !console_.session().port_open) {
        ui::dialogs().messageBox("Operation not possible in OFFLINE Mode");
        return;
    }
    if (console_.session().run_state >= 1) {
        console_.SetStatus("Temperature Calibration not possible in playMode");
        return;
    }
    // The thermostat shows readings through the nominal line while the points are taken.
    console_.session().temp_offset = kDefaultOffset;
    console_.session().temp_slope = kDefaultSlope;
    thermostat.working_temp_offset = kDefaultOffset;
    thermostat.working_temp_slope = kDefaultSlope;
    frmtempcal->txt_temp1->setEnabled(true);
    frmtempcal->cmd_sett1->setEnabled(true);
    frmtempcal->txt_temp2->setEnabled(false);
    frmtempcal->cmd_set2->setEnabled(false);
    frmtempcal->cmd_closetmpcal->setEnabled(false);
    frmtempcal->show();
    ticker_.Need(ticks_);
}

void ThermalControls::cmd_sett1_Click()
{
    if (platform::Val(txt_current->Text()) <= 0 || thermostat.raw_reading <= 0) {
        ui::dialogs().messageBox("Please, Write a valid number");
        return;
    }
    const double t = platform::Val(frmtempcal->txt_temp1->Text());
    if (!(t >= 15 && t <= 40)) {
        ui::dialogs().messageBox("Please, Write a valid number (15 to 40)");
        frmtempcal->txt_temp1->SetText("22");
        return;
    }
    // The sensor's own reading, before the line under calibration is applied to it.
    cal_r1 = thermostat.raw_reading;
    cal_t1 = t;
    frmtempcal->txt_temp2->setEnabled(true);
    frmtempcal->cmd_set2->setEnabled(true);
    frmtempcal->txt_temp1->setEnabled(false);
    frmtempcal->cmd_sett1->setEnabled(false);
}

void ThermalControls::cmd_set2_Click()
{
    if (platform::Val(txt_current->Text()) <= 0 || thermostat.raw_reading <= 0) return;
    const double t = platform::Val(frmtempcal->txt_temp2->Text());
    if (!(t >= 8 && t <= 51)) {
        ui::dialogs().messageBox("Valid Values between8-51\xB0" "C");
        frmtempcal->txt_temp2->SetText("35");
        frmtempcal->cmd_closetmpcal->setEnabled(false);
        return;
    }
    cal_r2 = thermostat.raw_reading;
    cal_t2 = t;
    if (std::fabs(cal_t2 - cal_t1) < 5) {
        ui::dialogs().messageBox("Difference between temperatures must be >5 degrees");
        frmtempcal->cmd_closetmpcal->setEnabled(false);
        return;
    }
    const CalibrationFit fit =
        FitTwoPoints({cal_r1, cal_t1}, {cal_r2, cal_t2}, thermostat.raw_reading);
    if (fit.sameReading) {
        ui::dialogs().messageBox(
            "Temperature Calibration Out of Range!\n Verify measurement values\n"
            "The sensor reading did not change between the two points");
        frmtempcal->cmd_closetmpcal->setEnabled(false);
        return;
    }
    if (fit.accepted) {
        thermostat.working_temp_offset = RoundTo2(fit.b);
        thermostat.working_temp_slope = RoundTo2(fit.m);
        ui::dialogs().messageBox("Parameters:\n[m=" + platform::Format(fit.m, "0.00") + "];[b=" +
                                 platform::Format(fit.b, "0.00") + "]\nDELTA20=" +
                                 platform::Format(fit.deltas.delta20, "0.00") + "\nDELTA37=" +
                                 platform::Format(fit.deltas.delta37, "0.00"));
        frmtempcal->cmd_closetmpcal->setEnabled(true);
    } else {
        ui::dialogs().messageBox("Temperature Calibration Out of Range!\n Verify measurement values\nDELTA20=" +
                                 platform::NumberText(RoundTo2(fit.deltas.delta20)) + "\nDELTA37=" +
                                 platform::NumberText(RoundTo2(fit.deltas.delta37)));
        frmtempcal->cmd_closetmpcal->setEnabled(false);
    }
}

void ThermalControls::cmd_closetmpcal_Click()
{
    console_.session().temp_offset = thermostat.working_temp_offset;
    console_.session().temp_slope = thermostat.working_temp_slope;
    platform::MakeFolder(CalibrationFolder(console_.session().serial_number));
    if (!WriteTempCalibration()) {
        ui::dialogs().messageBox("Could not write " + TempFactorPath(console_.session().serial_number));
        return;
    }
    if (chk_temp->Value() == 0) StopTemperatureTimer();
    frmtempcal->hide();
    frmtempcal->parentWidget()->update();
}

void ThermalControls::cmd_canceltemp_Click()
{
    if (ui::dialogs().messageBox("Exit without Saving changes?", ui::MsgButtons::YesNo) != ui::MsgResult::Yes) return;
    if (chk_temp->Value() == 0) StopTemperatureTimer();
    frmtempcal->hide();
    ReadTempCalibration();
    frmtempcal->parentWidget()->update();
}

}  // namespace tirmo::thermal
