// The main window's temperature controls: the stage commands, the thermostat step, the
// temperature box with its set point, the temperature cycles and the temperature side of the
// one-second timer. The sensor calibration is in Frm_acquire_thermal_cal.cpp.
#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <ctime>

#include "thermal/ThermalControls.h"
#include "link/Session.h"
#include "link/Exchange.h"
#include "platform/Clock.h"
#include "platform/Convert.h"
#include "thermal/FrmTempCal.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Make.h"
#include "ui/Shape.h"
#include "ui/Ticker.h"
#include "ui/Timer.h"

namespace tirmo::thermal {
namespace {


constexpr int kSettingPauseMs = 500;
constexpr const char* kIdleCaption = "Temperature";
const std::string kDegrees = "\xB0";  // texts are Latin-1 bytes

// The menu of that name under parent, made with the caption when it is not there yet (several
// subsystems hang their entries in the same menus).
template <class Parent>
QMenu* menuNamed(Parent* parent, const char* name, const char* caption)
{
    for (QMenu* m : parent->template findChildren<QMenu*>(QString(name), Qt::FindDirectChildrenOnly))
        return m;
    QMenu* m = parent->addMenu(caption);
    m->setObjectName(name);
    return m;
}

std::string timeOfDay(std::chrono::system_clock::time_point when)
{
    std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[16];
    std::strftime(buf, sizeof buf, "%H:%M:%S", &tm);
    return buf;
}

std::string oneDecimal(double x) { return platform::NumberText(double(platform::RoundHalfEven(x * 10.0)) / 10.0); }

}  // namespace

ThermalControls::ThermalControls(link::Console& console, TemperatureStage& stage, ui::Ticker& ticker, QWidget* client,
                                 QMenuBar* menus)
    : QObject(client), stage(stage), control(console, thermostat, stage, cycle, [this] { ticker_.Release(ticks_); }),
      console_(console), ticker_(ticker)
{
    build(client, menus);
    // The tick runs the temperature work while control is on (the cycle runs inside it).
    ticks_ = ticker_.Register([this] {
        TemperatureTimerStep();
        return control.Settings().control_on;
    });
}

void ThermalControls::build(QWidget* client, QMenuBar* menus)
{
    // The run panel's temperature row; the window's tree moves it into Frame_menu.
    chk_temp = ui::MakeCheckBox(client, "chk_temp", kIdleCaption);
    txttemp = ui::MakeComboBox(client, "txttemp");
    // A set point is typed as well as chosen; the thermostat step holds it within the list's range.
    txttemp->setEditable(true);
    for (int t = kSetPointLow; t <= kSetPointHigh; ++t) txttemp->AddItem(std::to_string(t));
    txttemp->SetListIndex(0);
    // The set point is read from the box where it changes (typed, chosen, or set by the cycle),
    // so the thermostat step works with a number.
    control.Settings().set_point_text = txttemp->Text();
    connect(txttemp, &QComboBox::currentTextChanged, this, [this] { control.Settings().set_point_text = txttemp->Text(); });
    control.Settings().box_ticked = chk_temp->Value() == 1;
    // toggled comes before the box's click handler runs, so the handler already finds the state
    // changed; stateChanged adds the change to a grey tick, which toggled does not report.
    const auto takeTicked = [this] { control.Settings().box_ticked = chk_temp->Value() == 1; };
    connect(chk_temp, &QCheckBox::toggled, this, takeTicked);
    connect(chk_temp, &QCheckBox::stateChanged, this, takeTicked);
    Shape_temp = ui::MakeShape(client, "Shape_temp");
    Shape_temp->setFixedSize(16, 16);
    for (QWidget* w : std::initializer_list<QWidget*>{chk_temp, txttemp}) w->resize(w->sizeHint());
    // The read-outs, which the window keeps out of sight (chk_temp's caption shows the temperature).
    auto* frame = new QGroupBox(client);
    auto* grid = new QGridLayout(frame);
    txt_current = ui::MakeTextBox(frame, "txt_current");
    txt_current->setReadOnly(true);
    Txt_sensortemp = ui::MakeTextBox(frame, "Txt_sensortemp");
    Txt_sensortemp->setReadOnly(true);
    grid->addWidget(txt_current, 0, 0);
    grid->addWidget(Txt_sensortemp, 0, 1);
    frame->resize(frame->sizeHint());

    Frame_tcycle = new QGroupBox("Temperature cycle", client);
    Frame_tcycle->setObjectName("Frame_tcycle");
    auto* cycleGrid = new QGridLayout(Frame_tcycle);
    List_temp_cycle = new QListWidget(Frame_tcycle);
    List_temp_cycle->setObjectName("List_temp_cycle");
    txt_tcycle = ui::MakeTextBox(Frame_tcycle, "txt_tcycle");
    txt_tcycle_min = ui::MakeTextBox(Frame_tcycle, "txt_tcycle_min");
    cmd_add_tcycle = ui::MakeButton(Frame_tcycle, "cmd_add_tcycle", "Add");
    cmd_clr_tcycle = ui::MakeButton(Frame_tcycle, "cmd_clr_tcycle", "Clear");
    cycleGrid->addWidget(List_temp_cycle, 0, 0, 1, 4);
    cycleGrid->addWidget(new QLabel("T", Frame_tcycle), 1, 0);
    cycleGrid->addWidget(txt_tcycle, 1, 1);
    cycleGrid->addWidget(new QLabel("min", Frame_tcycle), 1, 2);
    cycleGrid->addWidget(txt_tcycle_min, 1, 3);
    cycleGrid->addWidget(cmd_add_tcycle, 2, 1);
    cycleGrid->addWidget(cmd_clr_tcycle, 2, 3);
    Frame_tcycle->hide();
    Frame_tcycle->resize(Frame_tcycle->sizeHint());

    frmtempcal = new FrmTempCal(client);
    frmtempcal->hide();

    QMenu* tools = menuNamed(menus, "mntools", "Tools");
    QMenu* advanced = menuNamed(tools, "mnadvan", "Advanced");
    QMenu* tempcal = menuNamed(advanced, "mntempcal", "Temperature Calibration");
    mncalibratetemp = tempcal->addAction("Calibrate");
    mncalibratetemp->setObjectName("mncalibratetemp");
    mn_tcycle = tools->addAction("Enable Temperature cycle");
    mn_tcycle->setObjectName("mn_tcycle");
    mn_tcycle->setCheckable(true);

    chk_temp->onClick([this] { chk_temp_Click(); });
    txttemp->onClick([this] { txttemp_Click(); });
    cmd_add_tcycle->onClick([this] { cmd_add_tcycle_Click(); });
    cmd_clr_tcycle->onClick([this] { cmd_clr_tcycle_Click(); });
    frmtempcal->cmd_sett1->onClick([this] { cmd_sett1_Click(); });
    frmtempcal->cmd_set2->onClick([this] { cmd_set2_Click(); });
    frmtempcal->cmd_closetmpcal->onClick([this] { cmd_closetmpcal_Click(); });
    frmtempcal->cmd_canceltemp->onClick([this] { cmd_canceltemp_Click(); });
    connect(mncalibratetemp, &QAction::triggered, this, [this] { mncalibratetemp_Click(); });
    // The handler decides the check mark itself, so Qt's own toggle is taken back first.
    connect(mn_tcycle, &QAction::triggered, this, [this](bool checked) {
        {
            QSignalBlocker block(mn_tcycle);
            mn_tcycle->setChecked(!checked);
        }
        mn_tcycle_Click();
    });
}

// ---------------------------------------------------------------- stage commands

int ThermalControls::PeltierOff() { return stage.PeltierOff(console_); }
int ThermalControls::PeltierHeat(int& pwm) { return stage.PeltierHeat(pwm, console_); }
int ThermalControls::PeltierCool(int& pwm) { return stage.PeltierCool(pwm, console_); }
int ThermalControls::SetFan(int level) { return stage.SetFan(level, console_); }
double ThermalControls::SetPowerReadTemperature(int& power) { return stage.SetPowerReadTemperature(power, console_); }

// ---------------------------------------------------------------- thermostat step

int ThermalControls::SetPointValue() const { return control.SetPointValue(); }

double ThermalControls::RegulateTemperature(int& setpoint)
{
    const ThermostatStepResult step = control.Step(setpoint);
    ShowThermostatStep(step);
    return step.conversion.temperature;
}

void ThermalControls::ShowThermostatStep(const ThermostatStepResult& step)
{
    const Conversion& c = step.conversion;
    Txt_sensortemp->SetText(platform::Format(c.sensor, "0.0"));
    txt_current->SetText(platform::Format(c.temperature, "0.0"));
    // A closed link or a silent stage gave no temperature: the caption shows none rather than the
    // -1 that stands for it.
    chk_temp->SetCaption(c.reading ? "Temp=" + platform::Format(c.temperature, "0.0") + kDegrees + "C" : kIdleCaption);
    if (!step.held_set_point.empty()) txttemp->SetText(step.held_set_point);
    if (step.out_of_range && c.reading)
        chk_temp->SetCaption("OUTSPEC![" + std::to_string(platform::RoundHalfEven(c.temperature)) + kDegrees + "C]");
    if (step.fill_changed) Shape_temp->SetFillColor(step.fill);
    if (step.out_of_range) {
        SetTemperatureBoxQuietly(0);
        if (console_.session().run_state < 1) {
            cmd_add_tcycle->show();
            cmd_clr_tcycle->show();
        }
    }
}

// ---------------------------------------------------------------- temperature box and set point

void ThermalControls::SetTemperatureBoxQuietly(int value)
{
    ui::RunningFlag quiet(chk_temp_quiet_);
    chk_temp->SetValue(value);
}

void ThermalControls::ShowTemperatureControlOff()
{
    const bool wasTicked = chk_temp->Value() != 0;
    chk_temp->SetCaption(kIdleCaption);
    SetTemperatureBoxQuietly(0);
    Shape_temp->SetFillColor(kIdleColour);
    if (!wasTicked) return;
    cmd_add_tcycle->show();
    cmd_clr_tcycle->show();
}

void ThermalControls::StopTemperatureTimer()
{
    // The light-pulse countdown, if on, keeps the tick running for itself.
    ticker_.Release(ticks_);
}

void ThermalControls::SwitchTemperatureControlOff(bool keepIndicator)
{
    const bool running = console_.session().run_state >= 1;
    if (!keepIndicator) {
        if (!running) chk_temp->SetCaption(kIdleCaption);
        Shape_temp->SetFillColor(kIdleColour);
    }
    control.SwitchOff();
    if (running) return;
    cmd_add_tcycle->show();
    cmd_clr_tcycle->show();
}

void ThermalControls::chk_temp_Click()
{
    // Changes by this window's own code are handled where they are made.
    if (chk_temp_quiet_) return;
    const bool checked = chk_temp->Value() != 0;
    // Ticked or unticked while another exchange holds the port: the box goes back, nothing changes.
    if (link::PortBusy()) {
        SetTemperatureBoxQuietly(checked ? 0 : 1);
        console_.SetStatus(link::kBusy);
        return;
    }
    if (console_.session().run_state >= 1) {
        thermostat.ResetForNewControl();
        ticker_.Release(ticks_);
        if (checked)
            control.Settings().control_on = true;
        else
            SwitchTemperatureControlOff(false);
        return;
    }
    if (!checked) {
        SwitchTemperatureControlOff(false);
        return;
    }
    thermostat.ResetForNewControl();
    auto refuse = [this] {
        chk_temp->SetCaption(kIdleCaption);
        SetTemperatureBoxQuietly(0);
        SwitchTemperatureControlOff(false);
    };

    if (mn_tcycle->isChecked()) {
        if (ui::dialogs().messageBox("Start temperature cycle?", ui::MsgButtons::YesNo) != ui::MsgResult::Yes) {
            refuse();
            mn_tcycle->setChecked(false);
            return;
        }
        const std::vector<std::string> rows = CycleRows();
        std::string problem = rows.empty() ? "Temperature cycles not defined" : std::string();
        for (size_t i = 0; i < rows.size() && problem.empty(); ++i) problem = CycleRowProblem(rows[i]);
        if (!problem.empty()) {
            ui::dialogs().messageBox(problem);
            chk_temp->SetCaption(kIdleCaption);
            SetTemperatureBoxQuietly(0);
            cmd_add_tcycle->show();
            cmd_clr_tcycle->show();
            return;
        }
        cycle.Start(platform::MonotonicMs());
        List_temp_cycle->setCurrentRow(0);
        const CycleRow row = SplitCycleRow(rows[0]);
        txt_tcycle->SetText(row.temperature);
        txt_tcycle_min->SetText(row.minutes);
        txttemp->SetText(txt_tcycle->Text());
        control.Settings().control_on = true;
        SetFan(kFanFull);
        cmd_add_tcycle->hide();
        cmd_clr_tcycle->hide();
        ticker_.Need(ticks_);
        return;
    }

    if (ui::dialogs().messageBox("pre-heat/pre-cool to " + txttemp->Text() + "?", ui::MsgButtons::YesNo) ==
        ui::MsgResult::Yes) {
        control.Settings().control_on = true;
        SetFan(kFanFull);
        ticker_.Need(ticks_);
    } else {
        refuse();
    }
}

void ThermalControls::txttemp_Click() { thermostat.ForceReading(); }

// ---------------------------------------------------------------- cycles

void ThermalControls::mn_tcycle_Click()
{
    const bool on = !mn_tcycle->isChecked();
    Frame_tcycle->setVisible(on);
    mn_tcycle->setChecked(on);
}

std::vector<std::string> ThermalControls::CycleRows() const
{
    std::vector<std::string> rows;
    for (int i = 0; i < List_temp_cycle->count(); ++i) rows.push_back(ui::toBytes(List_temp_cycle->item(i)->text()));
    return rows;
}

void ThermalControls::cmd_add_tcycle_Click()
{
    const std::string row = MakeCycleRow(txt_tcycle->Text(), txt_tcycle_min->Text());
    const std::string problem = CycleRowProblem(row);
    if (!problem.empty()) {
        ui::dialogs().messageBox(problem);
        return;
    }
    List_temp_cycle->addItem(ui::toQString(row));
}

void ThermalControls::cmd_clr_tcycle_Click() { List_temp_cycle->clear(); }

// ---------------------------------------------------------------- Timer3, temperature side

void ThermalControls::TemperatureTimerStep()
{
    if (mn_tcycle->isChecked() && cycle.running) {
        const std::vector<std::string> rows = CycleRows();
        const auto tick = cycle.Advance(rows, platform::MonotonicMs());
        switch (tick.step) {
        case TemperatureCycle::Step::Countdown:
            List_temp_cycle->setCurrentRow(cycle.cycle_row);
            txt_tcycle_min->SetText(oneDecimal(tick.minutesLeft));
            break;
        case TemperatureCycle::Step::NextRow: {
            List_temp_cycle->setCurrentRow(cycle.cycle_row);
            const CycleRow row = SplitCycleRow(rows[size_t(cycle.cycle_row)]);
            txt_tcycle->SetText(row.temperature);
            txttemp->SetText(txt_tcycle->Text());
            txt_tcycle_min->SetText(row.minutes);
            break;
        }
        case TemperatureCycle::Step::End:
            SetTemperatureBoxQuietly(0);
            SwitchTemperatureControlOff(false);
            break;
        }
    }
    if (control.Settings().control_on) {
        console_.SetStatus("Setting Temp = " + std::to_string(control.SetPointValue()) + "[" + timeOfDay(platform::WallNow()) + "]");
        platform::Sleep(kSettingPauseMs);
        int setpoint = control.SetPointValue();
        RegulateTemperature(setpoint);
    }
}

}  // namespace tirmo::thermal
