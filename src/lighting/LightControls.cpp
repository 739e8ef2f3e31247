// The main window's lighting: the LED command layer, the LED maps and the saved powers, the blue
// light panel with its pulses, and the default layout files written at start-up.
#include <QAction>
#include <QGridLayout>
#include <QStyle>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>

#include <algorithm>

#include "lighting/LightControls.h"
#include "lighting/LedCommands.h"
#include "lighting/LedMap.h"
#include "lighting/LedPowerApply.h"
#include "lighting/LightPulse.h"
#include "link/Exchange.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Make.h"
#include "ui/Shape.h"
#include "ui/Ticker.h"
#include "ui/Timer.h"

namespace tirmo::lighting {
namespace {

constexpr const char* kBlueLightWarning =
    "* Only available in some Hardware versions * \n\nOFF: Power=0 MAXIMUM: Power=7\nWarning!\n"
    "avoid using Power > 5 during Acquisitions";
constexpr const char* kPowerNotANumber = "The light power must be a number from 1 to 7";

}  // namespace

LightControls::LightControls(link::Console& console, ui::Ticker& ticker, QWidget* client, QMenu* viewMenu)
    : QObject(client), console_(console), ticker_(ticker)
{
    build(client, viewMenu);
    // The tick counts a pulse down while one is on.
    ticks_ = ticker_.Register([this] {
        PulseTimerStep();
        return pulse_on;
    });
}

namespace {
// The type whose whole line (ascent to descent) fits the boxes of the panel's lower rows.
constexpr int kLightPanelPoints = 7;
}  // namespace

void LightControls::build(QWidget* client, QMenu* viewMenu)
{
    auto* leds = new QGroupBox(client);
    auto* ledGrid = new QGridLayout(leds);
    txt_led = ui::MakeTextBox(leds, "txt_led", "7");
    ledGrid->addWidget(new QLabel("LED", leds), 0, 0);
    ledGrid->addWidget(txt_led, 0, 1);
    leds->resize(leds->sizeHint());

    Frame_light = new QGroupBox(client);
    Frame_light->setObjectName("Frame_light");
    auto* grid = new QGridLayout(Frame_light);
    txt_power = ui::MakeTextBox(Frame_light, "txt_power", "2");
    txt_power->setToolTip("1 to 7 power level");
    txt_pulsetimes = ui::MakeTextBox(Frame_light, "txt_pulsetimes", "1");
    txt_pulsetimes->setToolTip("how many cycles");
    txt_pulseon = ui::MakeTextBox(Frame_light, "txt_pulseon", "15");
    txt_pulseon->setToolTip("time on (minutes)");
    txt_pulseoff = ui::MakeTextBox(Frame_light, "txt_pulseoff", "15");
    txt_pulseoff->setToolTip("time off (minutes)");
    cmd_light = ui::MakeButton(Frame_light, "cmd_light", "LightPulse", [this] { cmd_light_Click(); });
    cmd_light->setToolTip("manual turn on/off");
    Chk_lenabled = ui::MakeCheckBox(Frame_light, "Chk_lenabled", "Enable");
    Chk_lenabled->setToolTip("Enable light cycles");
    // Every change of a pulse box, typed or set by code, reaches the settings the run reads.
    auto keep = [this] {
        pulse_boxes = {Chk_lenabled->Value() == 1, txt_pulsetimes->Text(), txt_pulseon->Text(), txt_pulseoff->Text(),
                       txt_power->Text()};
    };
    for (ui::TextBox* box : {txt_power, txt_pulsetimes, txt_pulseon, txt_pulseoff})
        connect(box, &QLineEdit::textChanged, this, keep);
    connect(Chk_lenabled, &QCheckBox::stateChanged, this, keep);
    keep();
    Shape_light = ui::MakeShape(Frame_light, "Shape_light");
    Shape_light->setFixedSize(16, 16);
    Shape_light->SetFillColor(kPulseOffColour);
    // The run panel gives the light panel little room: three rows in a smaller type, the
    // pulse switch above the power and cycle count above the minutes on and off, each box as
    // wide as a day's minutes need.
    QFont small = Frame_light->font();
    small.setPointSize(kLightPanelPoints);
    Frame_light->setFont(small);
    grid->setContentsMargins(4, 1, 4, 1);
    grid->setVerticalSpacing(1);
    grid->setHorizontalSpacing(3);
    grid->addWidget(cmd_light, 0, 0, 1, 2);
    grid->addWidget(Chk_lenabled, 0, 2, 1, 2);
    grid->addWidget(Shape_light, 0, 4);
    const struct {
        const char* caption;
        ui::TextBox* box;
        int row, column;
    } fields[] = {{"Power", txt_power, 1, 0}, {"Cycles", txt_pulsetimes, 1, 2}, {"On", txt_pulseon, 2, 0}, {"Off", txt_pulseoff, 2, 2}};
    for (const auto& f : fields) {
        grid->addWidget(new QLabel(f.caption, Frame_light), f.row, f.column);
        grid->addWidget(f.box, f.row, f.column + 1, 1, f.column == 2 ? 2 : 1);
    }
    for (QWidget* w : Frame_light->findChildren<QWidget*>()) w->setMinimumHeight(1);
    // The check box's square needs its whole height; the boxes under it do with less.
    grid->setRowMinimumHeight(0, Chk_lenabled->style()->pixelMetric(QStyle::PM_IndicatorHeight) + 2);
    for (int column : {1, 3}) grid->setColumnStretch(column, 1);
    Frame_light->setVisible(false);  // shown only through the menu
    Frame_light->resize(Frame_light->sizeHint());

    mn_bluelight = viewMenu->addAction("Enable Blue Lighting");
    mn_bluelight->setObjectName("mn_bluelight");
    mn_bluelight->setCheckable(true);
    // The handler decides the check mark itself, from the mark the entry had before the click.
    connect(mn_bluelight, &QAction::triggered, this, [this](bool checked) {
        mn_bluelight->setChecked(!checked);
        mn_bluelight_Click();
    });
}

// ---------------------------------------------------------------- LED command layer

void LightControls::SendLedCommand(int index, int power) { lighting::SendLedCommand(index, power, console_); }

void LightControls::SendLedPower(int index, int& power) { lighting::SendLedPower(index, power, console_); }

void LightControls::SendAllLedPower(int level) { lighting::SendAllLedPower(level, console_); }

void LightControls::SendLightPulse(int level)
{
    lighting::SendLightPulse(level, pulse_countdown, console_, [this](const std::string& caption, uint32_t fill) {
        Chk_lenabled->SetCaption(caption);
        Shape_light->SetFillColor(fill);
    });
}

// ---------------------------------------------------------------- light panel and pulses

void LightControls::mn_bluelight_Click()
{
    if (!mn_bluelight->isChecked()) {
        ui::dialogs().messageBox(kBlueLightWarning);
        mn_bluelight->setChecked(true);
        Frame_light->setVisible(true);
    } else {
        mn_bluelight->setChecked(false);
        Frame_light->setVisible(false);
    }
}

void LightControls::cmd_light_Click()
{
    const link::Exchange exchange(console_);  // refused: the pulse stays as it is
    if (!exchange) return;
    if (!console_.session().port_open) {
        ui::dialogs().messageBox(link::kNotConnected);
        return;
    }
    // A power that is not a number would otherwise read as 0 and light the plate at level 7.
    // Switching a pulse off needs no power, so a box typed over never keeps the light on.
    if (!pulse_on && !TypedWholeNumber(txt_power->Text())) {
        ui::dialogs().messageBox(kPowerNotANumber);
        return;
    }
    PulseFields fields{txt_power->Text(), txt_pulseon->Text(), txt_pulseoff->Text()};
    BoundPulseFields(fields);
    txt_power->SetText(fields.power);
    txt_pulseon->SetText(fields.pulseOn);
    txt_pulseoff->SetText(fields.pulseOff);

    auto action = ManualPulseClick({pulse_on, pulse_end, pulse_countdown}, console_.session().run_state == 1, console_.session().elapsed_seconds,
                                             platform::Val(txt_power->Text()), platform::Val(txt_pulseon->Text()));
    if (action.startTimer) ticker_.Need(ticks_);
    if (action.send) SendLightPulse(action.level);
}

void LightControls::PulseTimerStep()
{
    TimerPulseStep({pulse_on, pulse_end, pulse_countdown}, txt_power->Text(),
                             [this](int level) { SendLightPulse(level); });
}

void LightControls::RunPulseStep()
{
    std::optional<PulseSchedule> schedule;
    if (Chk_lenabled->Value() == 1) {
        const double cycles = std::clamp(platform::Val(txt_pulsetimes->Text()), -1e9, 1e9);
        schedule = PulseSchedule{platform::Val(txt_pulseon->Text()), platform::Val(txt_pulseoff->Text()),
                                           long(platform::RoundHalfEven(cycles))};
    }
    lighting::RunPulseStep({pulse_on, pulse_end, pulse_countdown}, console_.session().elapsed_seconds, schedule, txt_power->Text(),
                           [this](int level) { SendLightPulse(level); });
}

// ---------------------------------------------------------------- LED maps

void LightControls::LoadLedTables()
{
    // The layout of this generation only: another generation's file would number the LEDs wrongly.
    std::string layout;
    const std::string config = "config/";
    if (console_.session().hardware_generation == 1) layout = platform::ProgramPath(config + kLedSetup1Name);
    if (console_.session().hardware_generation == 2) layout = platform::ProgramPath(config + kLedSetup2Name);
    auto problems = lighting::LoadLedTables(led_map, layout, InstrumentFolder(console_.session().serial_number));
    if (!problems.empty()) console_.SetStatus(ProblemText(problems));
}

void LightControls::WriteLedPositions()
{
    const std::string folder = InstrumentFolder(console_.session().serial_number);
    if (!lighting::WriteLedPositions(led_map, folder))
        console_.SetStatus("Could not write " + folder + "/" + kLedPositionsName);
}

void LightControls::WriteLedPower()
{
    const std::string folder = InstrumentFolder(console_.session().serial_number);
    if (!lighting::WriteLedPower(led_map, folder))
        console_.SetStatus("Could not write " + folder + "/" + kLedPowerName);
}

void LightControls::ApplyLedPower(int camera) { ApplySavedLedPower(camera, led_map, console_); }

void LightControls::ApplyLedPowerWithStatus() { ApplyAllSavedLedPower(console_); }

void LightControls::WriteDefaultLedLayouts()
{
    auto ensure = [this](const char* name, bool (*write)(const std::string&)) {
        if (platform::FileExists(platform::ProgramPath(std::string("config/") + name))) return;
        if (!write("\\config")) console_.SetStatus(std::string("Could not write config/") + name);
    };
    ensure(kLedSetup1Name, WriteLedSetup1File);
    ensure(kLedSetup2Name, WriteLedSetup2File);
}

}  // namespace tirmo::lighting
