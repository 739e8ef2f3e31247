// The factory window's lighting tools: the blue light, the LED PWM frequency, single LEDs, every
// LED one by one or all at once, and the window's own LED sender and LED map.
#include "lighting/FactoryLightTools.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include "lighting/LedCommands.h"
#include "lighting/LedMap.h"
#include "link/Exchange.h"
#include "platform/Clock.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "ui/ComboBox.h"
#include "ui/Colour.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Make.h"

namespace tirmo::lighting {
namespace {

constexpr int kBankLeds = 208;  // "Apply" walks 0..207 of both banks whatever the generation
constexpr int kBankPause1Ms = 200;
constexpr int kBankPause2Ms = 100;
constexpr int kMaxBlueLevel = 7;

// A typed box value that must be a number: nullopt after telling the user.
std::optional<long> typedNumber(const std::string& text, const char* what)
{
    auto v = TypedWholeNumber(text);
    if (!v) ui::dialogs().messageBox(std::string(what) + " must be a number");
    return v;
}

}  // namespace

FactoryLightTools::FactoryLightTools(link::Console& console, QWidget* parent) : console_(console)
{
    auto* blue = frame_blue = new QGroupBox(parent);
    auto* blueGrid = new QGridLayout(blue);
    txt_blue = ui::MakeTextBox(blue, "txt_blue", "0");
    Cmd_bluelight = ui::MakeButton(blue, "Cmd_bluelight", "BLUELIGHT(0-7)", [this] { Cmd_bluelight_Click(); });
    blueGrid->addWidget(txt_blue, 0, 0);
    blueGrid->addWidget(Cmd_bluelight, 0, 1);

    auto* leds = frame_leds = new QGroupBox(parent);
    auto* grid = new QGridLayout(leds);
    txt_led = ui::MakeComboBox(leds, "txt_led");
    txt_led->setEditable(true);
    for (int p = 0; p <= kMaxLedPower; ++p) txt_led->AddItem(std::to_string(p));
    txt_led->SetText("3");
    cmd_ledpowerall = ui::MakeButton(leds, "cmd_ledpowerall", "All", [this] { cmd_ledpowerall_Click(); });
    cmd_ledpower = ui::MakeButton(leds, "cmd_ledpower", "Apply", [this] { cmd_ledpower_Click(); });
    txt_valueled = ui::MakeTextBox(leds, "txt_valueled", "0");
    txt_value = ui::MakeTextBox(leds, "txt_value", "0");
    cmd_led0 = ui::MakeButton(leds, "cmd_led0", "LD/PWR", [this] { cmd_led0_Click(); });
    txt_frqled = ui::MakeTextBox(leds, "txt_frqled", "0");
    cmd_frqled = ui::MakeButton(leds, "cmd_frqled", "FRQLed", [this] { cmd_frqled_Click(); });
    grid->addWidget(txt_led, 0, 0);
    grid->addWidget(cmd_ledpowerall, 0, 1);
    grid->addWidget(cmd_ledpower, 0, 2);
    grid->addWidget(new QLabel("LED", leds), 1, 0);
    grid->addWidget(txt_valueled, 1, 1);
    grid->addWidget(txt_value, 1, 2);
    grid->addWidget(cmd_led0, 1, 3);
    grid->addWidget(txt_frqled, 2, 0);
    grid->addWidget(cmd_frqled, 2, 1);
    for (int column = 0; column < grid->columnCount(); ++column) grid->setColumnStretch(column, 1);

    auto* cal = frame_ledcal = new QGroupBox(parent);
    cal->setObjectName("frame_ledcal");
    auto* calRow = new QGridLayout(cal);
    Cmd_ledfactory = ui::MakeButton(cal, "Cmd_ledfactory", "1.LED Factory Setup");
    Cmd_ledcal = ui::MakeButton(cal, "Cmd_ledcal", "2.LED Basal Calib.");
    Cmd_ledinplate = ui::MakeButton(cal, "Cmd_ledinplate", "3.LED InPlate Calib.");
    calRow->addWidget(Cmd_ledfactory, 0, 0);
    calRow->addWidget(Cmd_ledcal, 0, 1);
    calRow->addWidget(Cmd_ledinplate, 1, 0, 1, 2);
}

void FactoryLightTools::Cmd_bluelight_Click()
{
    const link::Exchange exchange(console_);
    if (!exchange) return;
    if (!session().port_open) {
        ui::dialogs().messageBox(link::kNotConnected);
        return;
    }
    link::FlushLink(session());
    auto typed = typedNumber(txt_blue->Text(), "The blue light level");
    if (!typed || *typed < 0 || *typed > 255) return;
    int value = int(*typed);
    if (value == 0) {
        ui::SetButtonFace(Cmd_bluelight, ui::colour::White);
    } else {
        ui::SetButtonFace(Cmd_bluelight, ui::colour::Green);
        if (value > kMaxBlueLevel) {
            value = kMaxBlueLevel;
            txt_blue->SetText(std::to_string(kMaxBlueLevel));
        }
    }
    // The factory sends the level as typed, without the main window's 8-minus mapping.
    auto result = link::SendFrame(session(), *link::MakeFrame('T', kBlueLightDevice, value), {});
    console_.SetMonitor(link::ReplyTrace(result.reply));
}

void FactoryLightTools::cmd_frqled_Click()
{
    const link::Exchange exchange(console_);
    if (!exchange) return;
    if (!session().port_open) {
        ui::dialogs().messageBox(link::kNotConnected);
        return;
    }
    link::FlushLink(session());
    auto typed = typedNumber(txt_frqled->Text(), "The LED frequency");
    if (!typed) return;
    auto frame = link::MakeFrame('s', *typed, 0);
    if (!frame) {
        console_.ShowError("error");
        return;
    }
    auto result = link::SendFrame(session(), *frame, {});
    console_.SetMonitor(link::ReplyTrace(result.reply));
}

void FactoryLightTools::cmd_led0_Click()
{
    if (session().dummy_mode != 0) return;
    const link::Exchange exchange(console_);  // refused: the LED number does not move on
    if (!exchange) return;
    if (!link::LinkGuard(console_)) return;
    link::FlushLink(session());
    auto led = typedNumber(txt_valueled->Text(), "The LED number");
    if (!led) return;
    auto power = typedNumber(txt_value->Text(), "The LED power");
    if (!power) return;
    auto frame = LedFrame(int(*led), int(*power), session().hardware_generation);
    if (!frame) {
        console_.ShowError("error");
        return;
    }
    link::SendOptions o;
    o.maxSends = link::kMaxSends;
    o.confirm = [](const std::string& reply) { return reply[0] == 'L' || reply[0] == 'l'; };
    auto result = link::SendFrame(session(), *frame, o);
    console_.SetMonitor(link::ReplyTrace(result.reply));
    txt_valueled->SetText(std::to_string(*led + 1));  // repeated clicks walk through the LEDs
}

void FactoryLightTools::cmd_ledpower_Click()
{
    if (session().dummy_mode != 0) return;
    // The 416 frames as one exchange, the pause between the banks included: every frame yields
    // between its bytes, and nothing else may reach the instrument until the last.
    const link::Exchange exchange(console_);
    if (!exchange) return;
    if (!link::LinkGuard(console_)) return;
    link::FlushLink(session());
    if (!typedNumber(txt_led->Text(), "The LED power")) return;
    const double typed = platform::Val(txt_led->Text());
    if (typed > kMaxLedPower) txt_led->SetText("15");
    if (typed < 0) txt_led->SetText("0");
    const char banks[] = {'L', 'l'};
    for (int bank = 0; bank < 2; ++bank) {
        if (bank == 1) {
            platform::Sleep(kBankPause1Ms);
            platform::DoEvents();
            platform::Sleep(kBankPause2Ms);
        }
        for (int i = 0; i < kBankLeds; ++i) {
            // The box is read for every LED: events run between the characters, and a power
            // typed meanwhile goes out unbounded, or ends the walk when it fits no byte.
            auto power = typedNumber(txt_led->Text(), "The LED power");
            if (!power) return;
            auto frame = link::MakeFrame(banks[bank], i, *power);
            if (!frame) {
                console_.ShowError("error");
                return;
            }
            const std::string label = std::to_string(bank) + "(" + std::to_string(i) + ")";
            if (!SendLedFrameYielding(*frame, label, console_)) return;
        }
    }
}

void FactoryLightTools::cmd_ledpowerall_Click()
{
    const link::Exchange exchange(console_);
    if (!exchange) return;
    if (!link::LinkGuard(console_)) return;
    link::FlushLink(session());
    auto power = typedNumber(txt_led->Text(), "The LED power");
    if (!power) return;
    // Unlike "Apply", the box is not bounded to 15 here: any power that fits a byte goes out.
    auto frame = link::MakeFrame('L', kAllLeds, *power);
    if (!frame) {
        console_.ShowError("error");
        return;
    }
    link::SendOptions o;
    o.maxSends = link::kMaxSends;
    o.confirm = link::EchoIs('L');
    auto result = link::SendFrame(session(), *frame, o);
    console_.SetMonitor(link::ReplyTrace(result.reply));
}

void FactoryLightTools::SendLedPower(int index, int power)
{
    const link::Exchange exchange(console_);
    if (!exchange) return;
    link::FlushLink(session());
    // This window keeps its power box in range rather than the argument, which goes out as the
    // calibration gives it; one that fits no byte ends the call silently.
    const double box = platform::Val(txt_led->Text());
    if (box > kMaxLedPower) txt_led->SetText("15");
    if (box < 0) txt_led->SetText("0");
    auto frame = LedFrame(index, power, session().hardware_generation);
    if (!frame) return;
    SendLedFrameYielding(*frame, "(" + std::to_string(index) + ")", console_);
}

void FactoryLightTools::LoadLedTables()
{
    auto problems = lighting::LoadLedTables(
        led_map, platform::ProgramPath(std::string("config/") + kFactoryLayoutName),
        InstrumentFolder(session().serial_number));
    if (!problems.empty()) console_.SetStatus(ProblemText(problems));
}

void FactoryLightTools::WriteLedPositions()
{
    // The factory's positions always go to config, whatever instrument is connected.
    if (!lighting::WriteLedPositions(led_map, "config"))
        console_.SetStatus(std::string("Could not write config/") + kLedPositionsName);
}

void FactoryLightTools::WriteLedPower()
{
    const std::string folder = InstrumentFolder(session().serial_number);
    if (!lighting::WriteLedPower(led_map, folder))
        console_.SetStatus("Could not write " + folder + "/" + kLedPowerName);
}

}  // namespace tirmo::lighting
