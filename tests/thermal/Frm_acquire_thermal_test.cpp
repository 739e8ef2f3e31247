// The main window's temperature side against the simulated stage: the temperature box, the
// thermostat step on Timer3, the cycles and the out-of-range switch-off.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>
#include <QGroupBox>
#include <QListWidget>

#include "link/Session.h"
#include "link/CommPort.h"
#include "support/AppFixture.h"
#include "support/LinkFixture.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Shape.h"
#include "ui/Timer.h"

namespace tirmo::app {
namespace {

using ui::MsgResult;

class ThermalWindowTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        useFakeClock();  // the thermostat pauses 500 ms and 200 ms per step
    }
    void connect(int serialNumber)
    {
        attachSimulator(4, serialNumber);
        ASSERT_EQ(link::CommOpen(4, "COM4", kLinkSettings), 0);
        window->session().port_slot = 4;
        window->session().port_open = true;
        window->session().serial_number = serialNumber;
        link::ApplyInstrumentDefaults(window->session());
        window->thermal->stage.analog_stage = window->session().hardware_generation == 1;
    }
    void setPlate(double celsius)
    {
        sim->with([celsius](sim::SimState& s) { return s.thermal.temperatureC = celsius; });
    }
    void holdSetPoint(const std::string& setpoint)
    {
        window->thermal->txttemp->SetText(setpoint);
        boxes.expectMessage("pre-heat/pre-cool to " + setpoint + "?", MsgResult::Yes);
        window->thermal->chk_temp->SetValue(1);
    }
    void addRow(const std::string& temperature, const std::string& minutes)
    {
        window->thermal->txt_tcycle->SetText(temperature);
        window->thermal->txt_tcycle_min->SetText(minutes);
        window->thermal->cmd_add_tcycle->Click();
    }
    double now() const { return fakeClock->monotonicMs(); }
    // Keys pressed in the set-point box, as the user types them.
    void typeSetPoint(const std::string& text)
    {
        ASSERT_NE(window->thermal->txttemp->lineEdit(), nullptr) << "the set point box takes typing";
        window->thermal->txttemp->lineEdit()->clear();
        for (char c : text) key(Qt::Key_unknown, QString(QChar(c)));
    }
    void key(int code, const QString& text)
    {
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
        QCoreApplication::sendEvent(window->thermal->txttemp->lineEdit(), &press);
    }
};

TEST_F(ThermalWindowTest, HoldingASetPointWellAboveTheStageHeatsAt220)
{
    connect(57);
    holdSetPoint("30");
    EXPECT_TRUE(window->thermal->control.Settings().control_on);
    EXPECT_TRUE(window->Timer3->Enabled());
    EXPECT_EQ(frameList(), std::vector<std::string>{"T,2,255"});
    sim->clearLog();

    window->Timer3_Timer();
    EXPECT_EQ(frameList(), (std::vector<std::string>{"T,255,30", "T,3,220"}));
    EXPECT_EQ(window->thermal->chk_temp->Caption(), "Temp=25.0\xB0" "C");
    EXPECT_EQ(window->thermal->txt_current->Text(), "25.0");
    EXPECT_EQ(window->thermal->Shape_temp->FillColor(), ui::colour::Red);
    EXPECT_EQ(window->txt_status->Text().rfind("Setting Temp = 30[15:09:", 0), 0u) << window->txt_status->Text();

    sim->clearLog();
    window->Timer3_Timer();
    EXPECT_EQ(frameList(), std::vector<std::string>{"T,3,220"})
        << "the drive reply of the last step is the reading of this one";
}

TEST_F(ThermalWindowTest, TheThermostatBringsTheModelStageToTheSetPointAndHoldsIt)
{
    connect(57);
    sim->with([](sim::SimState& s) { return s.thermal.secondsPerFrame = 1.0; });
    holdSetPoint("30");
    double lowest = 100, highest = 0;
    for (int tick = 0; tick < 400; ++tick) {
        window->Timer3_Timer();
        const double t = sim->with([](sim::SimState& s) { return s.thermal.temperatureC; });
        if (tick >= 200) {
            lowest = std::min(lowest, t);
            highest = std::max(highest, t);
        }
    }
    EXPECT_GT(lowest, 29.0);
    EXPECT_LT(highest, 31.0);
    EXPECT_TRUE(window->thermal->control.Settings().control_on);
}

TEST_F(ThermalWindowTest, AStageReporting55DegreesIsSwitchedOffAndTheReasonStaysShown)
{
    connect(57);
    holdSetPoint("30");
    sim->with([](sim::SimState& s) { return s.thermal.reportOutOfRange = true; });
    sim->clearLog();
    window->Timer3_Timer();
    EXPECT_EQ(window->thermal->chk_temp->Caption(), "OUTSPEC![55\xB0" "C]");
    EXPECT_EQ(window->thermal->chk_temp->Value(), 0);
    EXPECT_EQ(window->thermal->Shape_temp->FillColor(), ui::colour::Black);
    EXPECT_FALSE(window->thermal->control.Settings().control_on);
    EXPECT_FALSE(window->Timer3->Enabled());
    EXPECT_EQ(frameList(), (std::vector<std::string>{"T,255,30", "T,1,0", "T,2,128"}))
        << "the Peltier goes off once: unticking by code does not run the box's handler a second time";
}

TEST_F(ThermalWindowTest, DuringARunTheBoxOnlySwitchesControlAndOutOfRangeStopsThePeltier)
{
    connect(57);
    window->session().run_state = 1;
    window->thermal->txttemp->SetText("30");
    window->thermal->chk_temp->SetValue(1);
    EXPECT_TRUE(window->thermal->control.Settings().control_on);
    EXPECT_FALSE(window->Timer3->Enabled()) << "the acquisition tick regulates during a run";
    sim->with([](sim::SimState& s) { return s.thermal.reportOutOfRange = true; });
    int setpoint = 30;
    EXPECT_DOUBLE_EQ(window->thermal->RegulateTemperature(setpoint), 55.0);
    EXPECT_EQ(window->thermal->chk_temp->Caption(), "OUTSPEC![55\xB0" "C]");
    EXPECT_EQ(window->thermal->chk_temp->Value(), 0);
    EXPECT_EQ(frameList(), (std::vector<std::string>{"T,255,30", "T,1,0"}));
}

TEST_F(ThermalWindowTest, UntickingDuringARunSwitchesThePeltierOff)
{
    connect(57);
    window->session().run_state = 1;
    window->thermal->chk_temp->SetValue(1);
    int setpoint = 30;
    window->thermal->RegulateTemperature(setpoint);
    ASSERT_GT(sim->with([](sim::SimState& s) { return s.thermal.peltierPower; }), 0);
    window->thermal->chk_temp->SetValue(0);
    EXPECT_FALSE(window->thermal->control.Settings().control_on);
    EXPECT_EQ(window->thermal->Shape_temp->FillColor(), ui::colour::White);
    EXPECT_EQ(sim->with([](sim::SimState& s) { return s.thermal.peltierPower; }), 0)
        << "the Peltier must not go on heating unregulated for the rest of the run";
}

TEST_F(ThermalWindowTest, AReadingThatFailsAlwaysEndsWithThePeltierOff)
{
    test::QuickTimeouts quick;
    connect(57);
    holdSetPoint("30");
    sim->setSilent(true);
    sim->clearLog();
    window->Timer3_Timer();
    EXPECT_EQ(window->thermal->txt_current->Text(), "-1.0") << "no reading is -1, never 0 degrees";
    EXPECT_EQ(window->thermal->chk_temp->Value(), 0);
    sim->waitForFrames(3, 5000);  // no reply tells when the last frame has been read
    EXPECT_EQ(frameList(), (std::vector<std::string>{"T,255,30", "T,1,0", "T,2,128"}));

    // Reading only (the acquisition tick with the box clear): a silent stage is switched off too.
    sim->clearLog();
    int setpoint = 0;
    EXPECT_EQ(window->thermal->RegulateTemperature(setpoint), -1);
    sim->waitForFrames(2, 5000);
    EXPECT_EQ(frameList(), (std::vector<std::string>{"T,255,45", "T,1,0"}));

    // A closed link is no reading either: with the box ticked offline the caption shows none.
    window->session().port_open = false;
    EXPECT_EQ(window->thermal->RegulateTemperature(setpoint), -1);
    EXPECT_EQ(window->thermal->txt_current->Text(), "-1.0");
    holdSetPoint("30");
    window->Timer3_Timer();
    EXPECT_EQ(window->thermal->chk_temp->Caption(), "Temperature");
}

TEST_F(ThermalWindowTest, AnUnansweredDriveIsNotTakenForTheNextReading)
{
    test::QuickTimeouts quick;
    connect(57);
    holdSetPoint("30");
    window->Timer3_Timer();
    ASSERT_DOUBLE_EQ(window->thermal->stage.last_temperature, 25.0);

    // The stage falls silent: the drive of the next step brings no temperature back, so the
    // step after it must read anew rather than drive on the old value for ever.
    sim->setSilent(true);
    window->Timer3_Timer();
    EXPECT_EQ(window->thermal->stage.last_temperature, 0);
    sim->clearLog();
    window->Timer3_Timer();
    sim->waitForFrames(3, 5000);
    EXPECT_EQ(frameList(), (std::vector<std::string>{"T,255,30", "T,1,0", "T,2,128"}));
    EXPECT_FALSE(window->thermal->control.Settings().control_on);
}

TEST_F(ThermalWindowTest, AnsweringNoLeavesTheBoxClearAndTheStageOffOnce)
{
    connect(57);
    window->thermal->txttemp->SetText("30");
    boxes.expectMessage("pre-heat/pre-cool to 30?", MsgResult::No);
    window->thermal->chk_temp->SetValue(1);
    EXPECT_EQ(window->thermal->chk_temp->Value(), 0);
    EXPECT_EQ(window->thermal->chk_temp->Caption(), "Temperature");
    EXPECT_FALSE(window->thermal->control.Settings().control_on);
    EXPECT_FALSE(window->Timer3->Enabled());
    EXPECT_EQ(frameList(), (std::vector<std::string>{"T,1,0", "T,2,128"}));
}

TEST_F(ThermalWindowTest, ATypedSetPointIsHeldWithin20To37)
{
    connect(57);
    holdSetPoint("30");
    struct Case {
        const char* typed;
        const char* held;
    };
    for (const Case c : {Case{"37", "37"}, Case{"38", "37"}, Case{"40", "37"}, Case{"20", "20"}, Case{"19", "20"},
                         Case{"15", "20"}, Case{"33.4", "33.4"}}) {
        typeSetPoint(c.typed);
        ASSERT_EQ(window->thermal->txttemp->Text(), c.typed) << "the box takes typing";
        int setpoint = window->thermal->SetPointValue();
        window->thermal->RegulateTemperature(setpoint);
        EXPECT_EQ(window->thermal->txttemp->Text(), c.held) << c.typed;
    }
    // A typed set point is regulated towards like a chosen one: 33.4 is asked for as 33.
    window->thermal->thermostat.ForceReading();
    sim->clearLog();
    window->Timer3_Timer();
    EXPECT_EQ(frameList().front(), "T,255,33");
}

TEST_F(ThermalWindowTest, EnterOnATypedListedSetPointCountsAsChoosingIt)
{
    connect(57);
    holdSetPoint("30");
    window->Timer3_Timer();
    ASSERT_NE(window->thermal->thermostat.force_reading, -1);
    typeSetPoint("25");
    EXPECT_NE(window->thermal->thermostat.force_reading, -1) << "typing alone chooses nothing";
    key(Qt::Key_Return, "\r");
    EXPECT_EQ(window->thermal->thermostat.force_reading, -1) << "the next step reads anew";
    EXPECT_EQ(window->thermal->txttemp->ListIndex(), 5);
}

TEST_F(ThermalWindowTest, ASetPointBoxWithoutANumberStopsTheDriveInsteadOfLeavingItOn)
{
    connect(57);
    holdSetPoint("30");
    window->Timer3_Timer();
    ASSERT_TRUE(window->thermal->thermostat.heating_on);
    ASSERT_GT(sim->with([](sim::SimState& s) { return s.thermal.peltierPower; }), 0);

    // The user empties the box while control is on: nothing can be regulated towards, and the
    // stage must not go on heating with the range check no longer applied.
    window->thermal->txttemp->SetText("");
    sim->clearLog();
    window->Timer3_Timer();
    EXPECT_EQ(frameList(), (std::vector<std::string>{"T,255,45", "T,1,0"}));
    EXPECT_EQ(sim->with([](sim::SimState& s) { return s.thermal.peltierPower; }), 0);
    EXPECT_FALSE(window->thermal->thermostat.heating_on);
    EXPECT_TRUE(window->thermal->control.Settings().control_on) << "a set point typed again is held again";

    window->thermal->txttemp->SetText("30");
    sim->clearLog();
    window->Timer3_Timer();
    EXPECT_EQ(frameList(), (std::vector<std::string>{"T,255,30", "T,3,220"}));
}

TEST_F(ThermalWindowTest, AnalogStageHeatsWithDirectionThenDrive)
{
    connect(12);
    holdSetPoint("30");
    sim->clearLog();
    window->Timer3_Timer();
    EXPECT_EQ(frameList(), (std::vector<std::string>{"T,255,1", "T,0,0", "T,1,220"}));
    EXPECT_EQ(window->thermal->txt_current->Text(), "25.0");
    EXPECT_EQ(window->txt_status->Text(), "heat_an:220");
}

TEST_F(ThermalWindowTest, CycleStepsOnTheMonotonicClockAndEndsWithTheStageOff)
{
    connect(57);
    window->thermal->mn_tcycle_Click();
    EXPECT_TRUE(window->thermal->mn_tcycle->isChecked());
    EXPECT_FALSE(window->thermal->Frame_tcycle->isHidden());
    addRow("25", "1");
    addRow("30", "2");
    ASSERT_EQ(window->thermal->CycleRows(), (std::vector<std::string>{"T25;1", "T30;2"}));
    boxes.expectMessage("Start temperature cycle?", MsgResult::Yes);
    const double start = now();
    window->thermal->chk_temp->SetValue(1);
    EXPECT_EQ(window->thermal->txttemp->Text(), "25");
    EXPECT_TRUE(window->Timer3->Enabled());
    EXPECT_TRUE(window->thermal->cmd_add_tcycle->isHidden());

    // A wall-clock jump must not move the cycle on.
    fakeClock->setWall(std::chrono::system_clock::now() + std::chrono::hours(5));
    double tickStart = now();
    while (window->thermal->txttemp->Text() == "25" && now() - start < 70000) {
        tickStart = now();
        window->Timer3_Timer();
        fakeClock->advanceMs(300);
    }
    EXPECT_EQ(window->thermal->txttemp->Text(), "30");
    EXPECT_GT(tickStart - start, 60000);
    EXPECT_LT(tickStart - start, 61500);
    EXPECT_EQ(window->thermal->txt_tcycle->Text(), "30");
    EXPECT_EQ(window->thermal->txt_tcycle_min->Text(), "2");

    sim->clearLog();
    const double second = tickStart;
    while (window->thermal->control.Settings().control_on && now() - second < 200000) {
        tickStart = now();
        window->Timer3_Timer();
        fakeClock->advanceMs(300);
    }
    EXPECT_GT(tickStart - second, 120000);
    EXPECT_LT(tickStart - second, 121500);
    const std::vector<std::string> frames = frameList();
    ASSERT_GE(frames.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(frames.end() - 2, frames.end()), (std::vector<std::string>{"T,1,0", "T,2,128"}));
    EXPECT_EQ(window->thermal->chk_temp->Value(), 0);
    EXPECT_EQ(window->thermal->chk_temp->Caption(), "Temperature");
    EXPECT_FALSE(window->Timer3->Enabled());
    EXPECT_FALSE(window->thermal->cmd_add_tcycle->isHidden());
}

TEST_F(ThermalWindowTest, TheCycleMenuEntryTogglesOncePerClick)
{
    window->thermal->mn_tcycle->trigger();
    EXPECT_TRUE(window->thermal->mn_tcycle->isChecked());
    EXPECT_FALSE(window->thermal->Frame_tcycle->isHidden());
    window->thermal->mn_tcycle->trigger();
    EXPECT_FALSE(window->thermal->mn_tcycle->isChecked());
    EXPECT_TRUE(window->thermal->Frame_tcycle->isHidden());
}

TEST_F(ThermalWindowTest, CountdownShowsTheMinutesLeft)
{
    connect(57);
    window->thermal->mn_tcycle_Click();
    addRow("25", "2");
    boxes.expectMessage("Start temperature cycle?", MsgResult::Yes);
    window->thermal->chk_temp->SetValue(1);
    fakeClock->advanceMs(30000);
    window->Timer3_Timer();
    EXPECT_EQ(window->thermal->txt_tcycle_min->Text(), "1.5");
}

TEST_F(ThermalWindowTest, YesWithAnEmptyCycleListLeavesNothingHalfOn)
{
    connect(57);
    window->thermal->mn_tcycle_Click();
    boxes.expectMessage("Start temperature cycle?", MsgResult::Yes);
    boxes.expectMessage("Temperature cycles not defined");
    window->thermal->chk_temp->SetValue(1);
    EXPECT_EQ(window->thermal->chk_temp->Value(), 0);
    EXPECT_FALSE(window->thermal->control.Settings().control_on);
    EXPECT_FALSE(window->Timer3->Enabled());
    EXPECT_TRUE(sim->frames().empty());
}

TEST_F(ThermalWindowTest, BadCycleRowsAreRefusedWithAMessage)
{
    boxes.expectMessage("Temperature cycle row not valid: Tabc;5");
    addRow("abc", "5");
    boxes.expectMessage("Temperature cycle row not valid: T25;");
    addRow("25", "");
    EXPECT_EQ(window->thermal->List_temp_cycle->count(), 0);
    addRow("25", "10");
    EXPECT_EQ(window->thermal->CycleRows(), std::vector<std::string>{"T25;10"});
    window->thermal->cmd_clr_tcycle->Click();
    EXPECT_TRUE(window->thermal->CycleRows().empty());
}

TEST_F(ThermalWindowTest, EndOfCycleLeavesTheTimerToARunningLightPulse)
{
    connect(57);
    window->thermal->mn_tcycle_Click();
    addRow("25", "0");
    boxes.expectMessage("Start temperature cycle?", MsgResult::Yes);
    window->thermal->chk_temp->SetValue(1);
    window->lighting->pulse_on = true;  // a light pulse with time still to run
    window->lighting->pulse_countdown = 100;
    fakeClock->advanceMs(1000);
    window->Timer3_Timer();
    EXPECT_FALSE(window->thermal->control.Settings().control_on);
    EXPECT_TRUE(window->Timer3->Enabled()) << "the pulse countdown still needs the timer";
}

TEST_F(ThermalWindowTest, AnotherTickAfterTheCycleWasStoppedDoesNotStepIt)
{
    connect(57);
    window->thermal->mn_tcycle_Click();
    addRow("25", "0");
    addRow("30", "0");
    boxes.expectMessage("Start temperature cycle?", MsgResult::Yes);
    window->thermal->chk_temp->SetValue(1);
    window->thermal->chk_temp->SetValue(0);
    window->lighting->pulse_on = true;  // the timer goes on ticking for a light pulse
    window->Timer3->SetEnabled(true);
    fakeClock->advanceMs(5000);
    window->Timer3_Timer();
    EXPECT_EQ(window->thermal->txttemp->Text(), "25");
}

}  // namespace
}  // namespace tirmo::app
