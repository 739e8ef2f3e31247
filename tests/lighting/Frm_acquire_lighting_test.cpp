#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>

#include "link/Session.h"
#include "lighting/LedMap.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "support/AppFixture.h"
#include "ui/Controls.h"
#include "ui/Shape.h"
#include "ui/Timer.h"

namespace tirmo::app {
namespace {

using Frames = std::vector<std::string>;

class MainLightingTest : public test::AppFixture {
protected:
    void connect(int serialNumber = 57)
    {
        attachSimulator(4, serialNumber);
        useFakeClock();
        window->ConnectDevice();
        ASSERT_TRUE(window->session().port_open);
        link::ApplyInstrumentDefaults(window->session());
        sim->clearLog();
    }
    // The blue-light levels sent since the log was cleared.
    std::vector<int> blueLevels() const
    {
        std::vector<int> out;
        for (const auto& f : sim->framesOf('T'))
            if (f.a == 15) out.push_back(f.b);
        return out;
    }
    std::vector<int> levelsAfterWindowAt(double elapsed)
    {
        sim->clearLog();
        window->session().elapsed_seconds = elapsed;
        window->lighting->RunPulseStep();
        return blueLevels();
    }
};

TEST_F(MainLightingTest, ManualPulseTurnsOnCountsDownOnTimer3AndTurnsOff)
{
    connect();
    window->lighting->txt_power->SetText("2");
    window->lighting->txt_pulseon->SetText("1");
    window->lighting->cmd_light->Click();
    EXPECT_EQ(blueLevels(), (std::vector<int>{6}));
    EXPECT_TRUE(window->lighting->pulse_on);
    EXPECT_TRUE(window->Timer3->Enabled());
    EXPECT_EQ(window->lighting->Chk_lenabled->Caption(), "60");
    EXPECT_EQ(window->lighting->Shape_light->FillColor(), 0xFF0000u);

    for (int tick = 1; tick < 60; ++tick) window->Timer3->Tick();
    EXPECT_EQ(blueLevels().size(), 60u) << "the level is sent again every second";
    EXPECT_EQ(window->lighting->Chk_lenabled->Caption(), "1");
    EXPECT_TRUE(window->Timer3->Enabled());

    window->Timer3_Timer();
    EXPECT_EQ(blueLevels().back(), 0);
    EXPECT_FALSE(window->lighting->pulse_on);
    EXPECT_EQ(window->lighting->Chk_lenabled->Caption(), "Pulse");
    EXPECT_EQ(window->lighting->Shape_light->FillColor(), 0xFFFFFFu);
    EXPECT_FALSE(window->Timer3->Enabled()) << "neither a pulse nor temperature control is on";
}

TEST_F(MainLightingTest, LightPulseBoundsItsFieldsBeforeItActs)
{
    connect();
    window->lighting->txt_power->SetText("0");
    window->lighting->txt_pulseon->SetText("15");
    window->lighting->txt_pulseoff->SetText("-4");
    window->lighting->cmd_light->Click();
    EXPECT_EQ(window->lighting->txt_power->Text(), "1");
    EXPECT_EQ(window->lighting->txt_pulseon->Text(), "10");
    EXPECT_EQ(window->lighting->txt_pulseoff->Text(), "0");
    EXPECT_EQ(window->lighting->Chk_lenabled->Caption(), "600");
    EXPECT_EQ(blueLevels(), (std::vector<int>{7}));

    window->lighting->cmd_light->Click();  // a second click ends the pulse at once
    EXPECT_EQ(blueLevels(), (std::vector<int>{7, 0}));
    EXPECT_TRUE(window->Timer3->Enabled()) << "the timer runs until its next tick";
    window->Timer3->Tick();
    EXPECT_FALSE(window->Timer3->Enabled());
    window->lighting->txt_power->SetText("9");
    window->lighting->cmd_light->Click();
    EXPECT_EQ(window->lighting->txt_power->Text(), "7");
    EXPECT_EQ(blueLevels(), (std::vector<int>{7, 0, 1}));
}

TEST_F(MainLightingTest, PowerThatIsNotANumberSendsNothing)
{
    connect();
    window->lighting->txt_power->SetText("bright");
    boxes.expectMessage("The light power must be a number");
    window->lighting->cmd_light->Click();
    EXPECT_TRUE(sim->frames().empty());
    EXPECT_FALSE(window->lighting->pulse_on);
    EXPECT_EQ(window->lighting->txt_power->Text(), "bright");

    // Typed over during a pulse: the tick keeps quiet rather than sending level 8.
    window->lighting->txt_power->SetText("3");
    window->lighting->cmd_light->Click();
    window->lighting->txt_power->SetText("bright");
    window->Timer3->Tick();
    EXPECT_EQ(blueLevels(), (std::vector<int>{5}));
}

TEST_F(MainLightingTest, ARunningPulseSwitchesOffWhateverThePowerBoxHolds)
{
    connect();
    window->lighting->txt_power->SetText("3");
    window->lighting->cmd_light->Click();
    ASSERT_TRUE(window->lighting->pulse_on);

    // Switching off needs no power: a box typed over must not keep the light on.
    window->lighting->txt_power->SetText("bright");
    window->lighting->cmd_light->Click();
    EXPECT_EQ(blueLevels(), (std::vector<int>{5, 0}));
    EXPECT_FALSE(window->lighting->pulse_on);
    EXPECT_EQ(window->lighting->Chk_lenabled->Caption(), "Pulse");

    // Switching on again still wants a number.
    boxes.expectMessage("The light power must be a number");
    window->lighting->txt_power->SetText("bright");
    window->lighting->cmd_light->Click();
    EXPECT_FALSE(window->lighting->pulse_on);
    EXPECT_EQ(blueLevels(), (std::vector<int>{5, 0}));
}

TEST_F(MainLightingTest, LightPulseWithTheLinkClosedOnlyTellsTheUser)
{
    boxes.expectMessage("COMPORT not opened. Click Connect");
    window->lighting->txt_power->SetText("0");
    window->lighting->cmd_light->Click();
    EXPECT_EQ(window->lighting->txt_power->Text(), "0");
    EXPECT_FALSE(window->lighting->pulse_on);
}

TEST_F(MainLightingTest, RunCyclesSendTheLevelInsideTheLitMinutes)
{
    connect();
    window->session().run_state = 1;
    window->lighting->Chk_lenabled->SetValue(1);
    window->lighting->txt_power->SetText("2");
    window->lighting->txt_pulseon->SetText("15");
    window->lighting->txt_pulseoff->SetText("15");
    window->lighting->txt_pulsetimes->SetText("2");
    EXPECT_EQ(levelsAfterWindowAt(100), (std::vector<int>{0}));
    EXPECT_EQ(levelsAfterWindowAt(899), (std::vector<int>{0}));
    EXPECT_EQ(levelsAfterWindowAt(900), (std::vector<int>{6}));
    EXPECT_EQ(window->lighting->Chk_lenabled->Caption(), "900");
    EXPECT_EQ(levelsAfterWindowAt(1799), (std::vector<int>{6}));
    EXPECT_EQ(levelsAfterWindowAt(1810).back(), 0);
    EXPECT_FALSE(window->lighting->pulse_on);
    EXPECT_EQ(levelsAfterWindowAt(2700), (std::vector<int>{6}));
    EXPECT_EQ(levelsAfterWindowAt(3700).back(), 0);
    EXPECT_EQ(levelsAfterWindowAt(3800), (std::vector<int>{0}));
}

TEST_F(MainLightingTest, ClickDuringARunLightsFromTheNextWindowForTheOnMinutes)
{
    connect();
    window->session().run_state = 1;
    window->lighting->txt_pulseon->SetText("10");
    window->session().elapsed_seconds = 0;
    window->lighting->cmd_light->Click();
    EXPECT_FALSE(window->lighting->pulse_on) << "a click at 0 s does nothing";
    window->session().elapsed_seconds = 100;
    window->lighting->cmd_light->Click();
    EXPECT_TRUE(sim->frames().empty()) << "the run's window step sends it";
    EXPECT_EQ(window->lighting->pulse_end, 700);
    EXPECT_EQ(levelsAfterWindowAt(150), (std::vector<int>{6}));
    EXPECT_EQ(window->lighting->Chk_lenabled->Caption(), "550");
    EXPECT_EQ(levelsAfterWindowAt(699), (std::vector<int>{6}));
    EXPECT_EQ(levelsAfterWindowAt(701).back(), 0);
    EXPECT_FALSE(window->lighting->pulse_on);
}

TEST_F(MainLightingTest, BlueLightMenuWarnsThenShowsThePanel)
{
    EXPECT_FALSE(window->lighting->Frame_light->isVisibleTo(window.get()));
    boxes.expectMessage("avoid using Power > 5 during Acquisitions");
    window->lighting->mn_bluelight->trigger();
    EXPECT_TRUE(window->lighting->mn_bluelight->isChecked());
    EXPECT_TRUE(window->lighting->Frame_light->isVisibleTo(window.get()));
    window->lighting->mn_bluelight->trigger();
    EXPECT_FALSE(window->lighting->mn_bluelight->isChecked());
    EXPECT_FALSE(window->lighting->Frame_light->isVisibleTo(window.get()));
    EXPECT_EQ(boxes.shown().size(), 1u);
}

// ---------------------------------------------------------------- LED maps and saved powers

class LedPowerFileTest : public MainLightingTest {
protected:
    // Layouts in config and, in the instrument's folder, powers that tell each LED apart.
    void prepareFiles()
    {
        window->lighting->WriteDefaultLedLayouts();
        lighting::LedMap map;
        for (size_t i = 0; i < map.power.size(); ++i) map.power[i] = int(i % 16);
        ASSERT_TRUE(lighting::WriteLedPower(map, lighting::InstrumentFolder(window->session().serial_number)));
        window->lighting->LoadLedTables();
    }
};

TEST_F(LedPowerFileTest, OneCamerasPowersGoOutAndNoOtherLed)
{
    connect(57);
    prepareFiles();
    window->session().run_state = 1;
    window->lighting->ApplyLedPower(1);
    Frames expected;
    for (int a = 0; a < 64; ++a) expected.push_back("l," + std::to_string(a) + "," + std::to_string((192 + a) % 16));
    EXPECT_EQ(frameList(), expected) << "camera 1 owns LEDs 192..255 in the generation-2 layout";

    sim->clearLog();
    window->lighting->ApplyLedPower(6);
    EXPECT_TRUE(sim->frames().empty()) << "no LED serves camera 6";
    window->session().run_state = 0;
    window->lighting->ApplyLedPower(1);
    window->session().dummy_mode = 1;
    window->session().run_state = 1;
    window->lighting->ApplyLedPower(1);
    window->lighting->ApplyLedPowerWithStatus();
    EXPECT_TRUE(sim->frames().empty()) << "only during a run, never in dummy mode";
}

TEST_F(LedPowerFileTest, EveryLedOfTheFileGoesOutWithItsProgress)
{
    connect(12);
    prepareFiles();
    window->lighting->ApplyLedPowerWithStatus();
    const auto frames = frameList();
    ASSERT_EQ(frames.size(), 416u);
    EXPECT_EQ(frames[207], "L,207,15");
    EXPECT_EQ(frames[208], "l,0,0");
    EXPECT_EQ(frames[415], "l,207,15");
    EXPECT_EQ(window->txt_status->Text(), "setting led=415");
    EXPECT_EQ(sim->with([](sim::SimState& s) { return s.leds.power[300]; }), 300 % 16);
}

TEST_F(LedPowerFileTest, AGarbledPowerFileSendsWhatIsSoundAndSaysWhy)
{
    connect(12);
    platform::MakeFolder(platform::ProgramPath("config_SN12"));
    platform::WriteLines(platform::ProgramPath("config_SN12/ledpower.dat"), {"t", "h", "0,3", "1,x", "2,3"});
    window->lighting->ApplyLedPowerWithStatus();
    EXPECT_EQ(frameList(), (Frames{"L,0,3", "L,2,3"})) << "the row after the garbled one is sent too";
    const std::string problems = "ledpower.dat line 4 is not readable, line skipped / "
                                 "ledpower.dat names only 3 of 416 LEDs; the others keep 0";
    EXPECT_EQ(window->txt_status->Text(), problems);

    window->lighting->LoadLedTables();
    EXPECT_EQ(window->lighting->led_map.power[0], 3);
    EXPECT_EQ(window->lighting->led_map.power[2], 3);
    EXPECT_EQ(window->txt_status->Text(), problems);
}

TEST_F(LedPowerFileTest, StartUpWritesOnlyTheMissingLayoutFiles)
{
    useFakeClock();
    platform::MakeFolder(platform::ProgramPath("config"));
    platform::WriteLines(platform::ProgramPath("config/ldsetup2.dat"), {"kept as it is"});
    boxes.expectInput("PORT ERROR", "");
    window->Form_Load();
    std::string expected;
    for (const auto& line : lighting::LedSetup1Lines()) expected += line + "\r\n";
    EXPECT_EQ(readFile("config/ldsetup1.dat"), expected);
    EXPECT_EQ(readFile("config/ldsetup2.dat"), "kept as it is\r\n");
}

}  // namespace
}  // namespace tirmo::app
