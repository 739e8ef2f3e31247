// The factory window's temperature console. Each operation holds the port for its whole
// sequence, so the main window's thermostat tick cannot put a frame between its frames.
#include "thermal/FactoryThermalConsole.h"

#include <algorithm>

#include <QGridLayout>
#include <QGroupBox>

#include "lighting/LedCommands.h"
#include "link/Exchange.h"
#include "platform/Clock.h"
#include "platform/Convert.h"
#include "thermal/TemperatureStage.h"
#include "ui/Colour.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Make.h"
#include "ui/Timer.h"

namespace tirmo::thermal {
namespace {

constexpr int kTestIntervalMs = 3000;
constexpr int kPauseMs = 500;
constexpr int kDirectionDevice = 0, kDriveDevice = 1, kFanDevice = 2, kSecondReading = 240, kReadDevice = 255;
constexpr int kHeat = 0, kCool = 255;
// Reading power bytes: single-frame drive 50 (heating) and 10 (cooling); two-frame drive the
// default sensor line's raw value for those temperatures, times 5.
constexpr int kDigitalHeatPower = 50, kDigitalCoolPower = 10;
constexpr int kAnalogHeatPower = 191, kAnalogCoolPower = 76;
constexpr int kSecondReadingMaxHigh = 15;

// A PWM typed into a box: 0..255, or nullopt after telling the user.
std::optional<int> typedPwm(const std::string& text, const char* box)
{
    const auto v = lighting::TypedWholeNumber(text);
    if (v && *v >= 0 && *v <= 255) return int(*v);
    ui::dialogs().messageBox(std::string(box) + " must be a number from 0 to 255");
    return std::nullopt;
}

}  // namespace

FactoryThermalConsole::FactoryThermalConsole(link::Console& console, QWidget* parent)
    : Timer_peltier(std::make_unique<ui::Timer>()), console_(console)
{
    // One row, so that the console fits the strip under the window's picture.
    auto* f = frame_peltier = new QGroupBox(parent);
    f->setObjectName("frame_peltier");
    auto* grid = new QGridLayout(f);
    Cmd_coolheat = ui::MakeButton(f, "Cmd_coolheat", "COOL/HEAT", [this] { Cmd_coolheat_Click(); });
    Cmd_peltier = ui::MakeButton(f, "Cmd_peltier", "PELTIER ON/OFF", [this] { Cmd_peltier_Click(); });
    txt_peltierpwm = ui::MakeTextBox(f, "txt_peltierpwm", "100");
    Cmd_fan = ui::MakeButton(f, "Cmd_fan", "FAN ON/OFF", [this] { Cmd_fan_Click(); });
    txt_fanpwm = ui::MakeTextBox(f, "txt_fanpwm", "255");
    cmd_measuretemp = ui::MakeButton(f, "cmd_measuretemp", "Measure T1", [this] { cmd_measuretemp_Click(); });
    cmd_measuretemp2 = ui::MakeButton(f, "cmd_measuretemp2", "Measure T2", [this] { cmd_measuretemp2_Click(); });
    grid->addWidget(Cmd_coolheat, 0, 0);
    grid->addWidget(txt_peltierpwm, 0, 1);
    grid->addWidget(Cmd_peltier, 0, 2);
    grid->addWidget(txt_fanpwm, 0, 3);
    grid->addWidget(Cmd_fan, 0, 4);
    grid->addWidget(cmd_measuretemp, 0, 5);
    grid->addWidget(cmd_measuretemp2, 0, 6);
    Timer_peltier->SetEnabled(false);
    Timer_peltier->SetInterval(kTestIntervalMs);
    Timer_peltier->onTick([this] { Timer_peltier_Timer(); });
}

FactoryThermalConsole::~FactoryThermalConsole() = default;

void FactoryThermalConsole::mncalibratetemp_Click()
{
    if (session().dummy_mode == 0 && !session().port_open) {
        ui::dialogs().messageBox("Operation not possible in OFFLINE Mode");
        return;
    }
    // The calibration panel itself is the temperature stage's; this window keeps the offset it
    // started from.
    temp_offset = session().temp_offset;
}

int FactoryThermalConsole::ReadingPower() const
{
    if (digital_stage) return cooling_selected ? kDigitalCoolPower : kDigitalHeatPower;
    return cooling_selected ? kAnalogCoolPower : kAnalogHeatPower;
}

double FactoryThermalConsole::SetPowerReadTemperature(int power)
{
    const link::Exchange exchange(console_);
    // A closed link is no reading: showing 0 would read as a frozen stage.
    if (!exchange || !session().port_open) return kNoReading;
    link::FlushLink(session(), 0);
    const std::string reply = SendStageFrame(session(), kReadDevice, std::clamp(power, 0, 255));
    const int generation = session().hardware_generation;
    double result = kNoReading;
    if (!reply.empty()) {
        if (reply[0] == 'T') digital_stage = true;
        else if (reply[0] == 't' && generation < 2) digital_stage = false;
        result = StageReplyValue(reply, generation).value_or(0);
    }
    if (generation >= 2) digital_stage = true;
    return result;
}

void FactoryThermalConsole::showReading(double reading)
{
    if (reading == kNoReading) {
        console_.SetStatus("--");
        return;
    }
    const double shown = digital_stage ? reading : reading * session().temp_slope + session().temp_offset;
    console_.SetStatus(platform::Format(shown, "0.0"));
}

void FactoryThermalConsole::takeDriveReply(const std::string& reply)
{
    digital_stage = !reply.empty() && reply[0] == 'T';
    if (session().hardware_generation >= 2) digital_stage = true;
    console_.SetMonitor(link::ReplyTrace(reply));
}

void FactoryThermalConsole::startTest(int pwm)
{
    peltier_test_on = true;
    ui::SetButtonFace(Cmd_peltier, ui::colour::Green);
    Timer_peltier->SetEnabled(true);
    takeDriveReply(SendStageFrame(session(), kDriveDevice, pwm));
}

void FactoryThermalConsole::stopTest()
{
    peltier_test_on = false;
    ui::SetButtonFace(Cmd_peltier, ui::colour::White);
    Timer_peltier->SetEnabled(false);
    takeDriveReply(SendStageFrame(session(), kDriveDevice, 0));
}

void FactoryThermalConsole::Cmd_coolheat_Click()
{
    const link::Exchange exchange(console_);
    if (!exchange) return;
    if (!session().port_open) {
        ui::dialogs().messageBox(link::kNotConnected);
        return;
    }
    const bool wasTesting = peltier_test_on;
    if (session().hardware_generation >= 2) digital_stage = true;
    // The two-frame drive cannot change direction under power: the test pauses around it.
    const bool pause = !digital_stage && wasTesting;
    std::optional<int> pwm;
    if (pause) {
        pwm = typedPwm(txt_peltierpwm->Text(), "The Peltier PWM");
        if (!pwm) return;
        link::FlushLink(session());
        stopTest();
        platform::Sleep(kPauseMs);
    }
    link::FlushLink(session());
    int direction = kCool;
    if (cooling_selected) {
        direction = kHeat;
        cooling_selected = false;
        ui::SetButtonFace(Cmd_coolheat, ui::colour::Red);
    } else {
        cooling_selected = true;
        ui::SetButtonFace(Cmd_coolheat, ui::colour::Blue);
    }
    const std::string reply = SendStageFrame(session(), kDirectionDevice, direction);
    digital_stage = !reply.empty() && reply[0] == 'T';
    console_.SetMonitor(link::ReplyTrace(reply));
    if (session().hardware_generation >= 2) digital_stage = true;
    const int power = ReadingPower();
    platform::Sleep(kPauseMs);
    SetPowerReadTemperature(power);
    if (pause) {
        platform::Sleep(kPauseMs);
        link::FlushLink(session());
        startTest(*pwm);
    }
}

void FactoryThermalConsole::Cmd_peltier_Click()
{
    const link::Exchange exchange(console_);
    if (!exchange) return;
    if (!session().port_open) {
        ui::dialogs().messageBox(link::kNotConnected);
        return;
    }
    // A PWM that fits no byte is refused here, before anything is sent, rather than inside
    // every tick of the test.
    std::optional<int> pwm;
    if (!peltier_test_on) {
        pwm = typedPwm(txt_peltierpwm->Text(), "The Peltier PWM");
        if (!pwm) return;
    }
    SendStageFrame(session(), kFanDevice, kFanFull, link::SendForm::Text);
    link::FlushLink(session());
    if (peltier_test_on) stopTest();
    else startTest(*pwm);
}

void FactoryThermalConsole::Timer_peltier_Timer()
{
    const link::Exchange exchange;  // a tick while a command holds the port waits for the next
    if (!exchange || !session().port_open) return;
    if (session().hardware_generation >= 2) digital_stage = true;
    const double reading = SetPowerReadTemperature(ReadingPower());
    platform::Sleep(kPauseMs);
    showReading(reading);
    // The box was checked when the test started; a value typed since that fits no byte keeps
    // the drive where it is.
    const auto pwm = lighting::TypedWholeNumber(txt_peltierpwm->Text());
    if (!pwm || *pwm < 0 || *pwm > 255) {
        console_.SetStatus("The Peltier PWM must be a number from 0 to 255: drive unchanged");
        return;
    }
    console_.SetMonitor(link::ReplyTrace(SendStageFrame(session(), kDriveDevice, int(*pwm), link::SendForm::Text)));
}

void FactoryThermalConsole::Cmd_fan_Click()
{
    const link::Exchange exchange(console_);
    if (!exchange) return;
    if (!session().port_open) {
        ui::dialogs().messageBox(link::kNotConnected);
        return;
    }
    link::FlushLink(session());
    int pwm = 0;
    if (!fan_test_on) {
        if (platform::Val(txt_fanpwm->Text()) > 255) txt_fanpwm->SetText("255");
        const auto typed = typedPwm(txt_fanpwm->Text(), "The fan PWM");
        if (!typed) return;
        pwm = *typed;
        fan_test_on = true;
        ui::SetButtonFace(Cmd_fan, ui::colour::Green);
    } else {
        fan_test_on = false;
        ui::SetButtonFace(Cmd_fan, ui::colour::White);
    }
    console_.SetMonitor(link::ReplyTrace(SendStageFrame(session(), kFanDevice, pwm)));
}

void FactoryThermalConsole::cmd_measuretemp_Click()
{
    const double reading = SetPowerReadTemperature(0);
    if (session().hardware_generation == 2) digital_stage = true;
    showReading(reading);
}

void FactoryThermalConsole::cmd_measuretemp2_Click()
{
    const link::Exchange exchange(console_);
    if (!exchange) return;
    if (!session().port_open) {
        console_.SetStatus(link::kNotConnected);
        return;
    }
    link::FlushLink(session());
    const std::string reply = SendStageFrame(session(), kSecondReading, 0, link::SendForm::Text);
    if (reply.empty()) {
        console_.SetMonitor("received: -1");
        return;
    }
    console_.SetMonitor("received: " + link::ReplyTrace(reply));
    if (reply.size() < 3) return;
    const int hi = static_cast<unsigned char>(reply[1]), lo = static_cast<unsigned char>(reply[2]);
    if (hi <= kSecondReadingMaxHigh) console_.SetStatus(platform::NumberText((hi * 256 + lo) / 16.0));
}

void FactoryThermalConsole::StopTests()
{
    if (!peltier_test_on && !fan_test_on) return;
    Timer_peltier->SetEnabled(false);
    const link::Exchange exchange(console_);
    const bool send = exchange && session().port_open;
    if (peltier_test_on) {
        peltier_test_on = false;
        ui::SetButtonFace(Cmd_peltier, ui::colour::White);
        if (send) takeDriveReply(SendStageFrame(session(), kDriveDevice, 0));
    }
    if (fan_test_on) {
        fan_test_on = false;
        ui::SetButtonFace(Cmd_fan, ui::colour::White);
        if (send) SendStageFrame(session(), kFanDevice, kFanHalf);
    }
}

}  // namespace tirmo::thermal
