// One exchange at a time on the port, with both windows on the simulated instrument: while a
// frame request or an LED sequence yields between its bytes, Timer3 ticks (thermostat and light
// pulse) and the user clicks in both windows; the instrument must see that exchange's frames
// only, whole, and everything refused must have said so and changed nothing.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "link/Session.h"
#include "camera/CameraWindowFixture.h"
#include "link/CommPort.h"
#include "link/Exchange.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "support/FakeClock.h"
#include "support/TempFolder.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Timer.h"

namespace tirmo::app {
namespace {

using Frames = std::vector<std::string>;

// What a Timer3 tick sends on this instrument while the thermostat holds 30 degrees and a pulse is
// on: a reading (only at the first step; later ones read the reply of the last drive), the analog
// stage's two heating frames, the light level.
const Frames kFirstTick = {"T,255,1", "T,0,0", "T,1,220", "T,15,6"};
const Frames kLaterTick = {"T,0,0", "T,1,220", "T,15,6"};

Frames ledSequence(int power)
{
    Frames out;
    for (int i = 0; i < 416; ++i)
        out.push_back(std::string(i < 208 ? "L," : "l,") + std::to_string(i % 208) + "," + std::to_string(power));
    return out;
}

// A generation-1 instrument: the thermostat drives its analog stage with two frames a step.
class PortExchangeTest : public test::CameraWindowFixture {
protected:
    void SetUp() override
    {
        CameraWindowFixture::SetUp();
        platform::SetProgramFolder(folder.path());
        sim->with([](sim::SimState& s) { return s.serialNumber = 12; });
        session.serial_number = 12;
        link::ApplyInstrumentDefaults(session);
        window->thermal->stage.analog_stage = true;
        window->camera->cmd_default_Click();
        factoryWindow();
    }
    void TearDown() override
    {
        platform::setEventPump({});
        CameraWindowFixture::TearDown();
    }
    // Thermostat held at 30 degrees and a light pulse on, both counted down by Timer3.
    void startTimerWork()
    {
        window->thermal->txttemp->SetText("30");
        boxes.expectMessage("pre-heat/pre-cool to 30?", ui::MsgResult::Yes);
        window->thermal->chk_temp->SetValue(1);
        window->lighting->cmd_light->Click();
        ASSERT_TRUE(window->lighting->pulse_on);
        ASSERT_TRUE(window->Timer3->Enabled());
        sim->clearLog();
    }
    // Whenever the exchange yields: a Timer3 tick, then every button of both windows that would
    // use the port; each must say that it was refused. Those that did not are listed in silent.
    void tickAndClickWhileYielding()
    {
        using Click = std::pair<const char*, std::function<void()>>;
        const std::vector<Click> clicks = {
            {"cam", [this] { window->camera->cmd_camera->Click(); }},
            {"send", [this] { window->camera->cmd_camspeed->Click(); }},
            {">>", [this] { window->camera->cmd_xy->Click(); }},
            {"LightPulse", [this] { window->lighting->cmd_light->Click(); }},
            {"Temperature", [this] { window->thermal->chk_temp->SetValue(0); }},
            {"C3", [this] { window->camera->cmd_camselect_Click(3); }},
            {"+ grab", [this] { window->camera->AcquireCalibrationFrame(); }},
            {"factory cam", [this] { factory->camera->cmd_camera->Click(); }},
            {"factory gain", [this] { factory->camera->cmd_gain->Click(); }},
            {"factory expos.", [this] { factory->camera->cmd_exposure->Click(); }},
            {"factory send", [this] { factory->camera->cmd_camspeed->Click(); }},
            {"factory >>", [this] { factory->camera->cmd_xy->Click(); }},
            {"factory Set camera", [this] { factory->camera->cmd_setcamera->Click(); }},
            {"factory A grab", [this] { factory->camera->GrabFrame(); }},
            {"BLUELIGHT", [this] { factory->lighting->Cmd_bluelight->Click(); }},
            {"FRQLed", [this] { factory->lighting->cmd_frqled->Click(); }},
            {"LD/PWR", [this] { factory->lighting->cmd_led0->Click(); }},
            {"All", [this] { factory->lighting->cmd_ledpowerall->Click(); }},
            {"Apply", [this] { factory->lighting->cmd_ledpower->Click(); }},
            {"saved LED powers", [this] { window->lighting->ApplyLedPowerWithStatus(); }},
            {"factory Get SN", [this] { factory->link->cmdsn->Click(); }},
            {"factory RESET", [this] { factory->link->cmd_reset->Click(); }},
        };
        silent.clear();
        platform::setEventPump([this, clicks, inside = false]() mutable {
            if (inside) return;
            inside = true;
            window->Timer3->Tick();
            for (const auto& [name, click] : clicks) {
                window->txt_status->SetText("");
                factory->txt_status->SetText("");
                click();
                if (window->txt_status->Text() != link::kBusy && factory->txt_status->Text() != link::kBusy)
                    silent.insert(name);
            }
            inside = false;
        });
    }

    std::set<std::string> silent;
    test::TempFolder folder;
    test::FakeClock clock;  // the thermostat's and the LED sequence's pauses take no time
};

struct YieldingExchange {
    const char* name;
    std::function<void(Frm_acquire&, Frm_advance&)> run;
    Frames frames;
};

TEST_F(PortExchangeTest, AYieldingExchangeStaysWholeWhileTimer3TicksAndTheUserClicks)
{
    const YieldingExchange cases[] = {
        {"main window + grab", [](Frm_acquire& w, Frm_advance&) { w.camera->AcquireCalibrationFrame(); }, {"C,0,43"}},
        {"run's window fetch, tried twice",
         [this](Frm_acquire& w, Frm_advance&) {
             sim->corruptCheckNext(1);
             EXPECT_EQ(w.camera->ReadCameraActivity(0).size(), 26170u);
         },
         {"C,0,43", "C,0,43"}},
        {"factory reduced image", [](Frm_acquire&, Frm_advance& f) { f.camera->GrabFrame(); }, {"C,0,65"}},
        {"calibration LED", [](Frm_acquire& w, Frm_advance&) { int power = 3; w.lighting->SendLedPower(5, power); }, {"L,5,3"}},
        {"factory Apply",
         [](Frm_acquire&, Frm_advance& f) {
             f.lighting->txt_led->SetText("4");
             f.lighting->cmd_ledpower->Click();
         },
         ledSequence(4)},
    };
    startTimerWork();
    bool first = true;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const long countdown = window->lighting->pulse_countdown;
        tickAndClickWhileYielding();
        c.run(*window, *factory);
        platform::setEventPump({});

        EXPECT_EQ(frameList(), c.frames);
        EXPECT_EQ(sim->framingErrors(), Frames{});
        EXPECT_EQ(silent, std::set<std::string>{}) << "every click was refused with the busy message";
        // What the refused clicks and ticks left alone.
        EXPECT_EQ(window->thermal->chk_temp->Value(), 1);
        EXPECT_TRUE(window->thermal->control.Settings().control_on);
        EXPECT_TRUE(window->lighting->pulse_on);
        EXPECT_EQ(window->lighting->pulse_countdown, countdown);
        EXPECT_EQ(factory->lighting->txt_valueled->Text(), "0") << "LD/PWR steps the LED number only when it sends";
        EXPECT_EQ(window->camera->txt_cam->Text(), "0") << "the refused camera set-up did not start";

        // The ticks skipped during the exchange run at the next one.
        sim->clearLog();
        window->Timer3->Tick();
        EXPECT_EQ(frameList(), first ? kFirstTick : kLaterTick);
        EXPECT_EQ(window->lighting->pulse_countdown, countdown - 1);
        first = false;
        sim->clearLog();
    }
}

TEST_F(PortExchangeTest, ARefusedGrabOrWindowLeavesTheBoxesAsTheyWere)
{
    window->camera->txt_xfin->SetText("100");
    window->camera->txtprogram->SetText("?");
    platform::setEventPump([this, inside = false]() mutable {
        if (inside) return;
        inside = true;
        window->camera->cmd_xy->Click();
        window->camera->AcquireCalibrationFrame();
        inside = false;
    });
    factory->lighting->cmd_ledpower->Click();
    platform::setEventPump({});
    EXPECT_EQ(frameList(), ledSequence(3));
    EXPECT_EQ(window->camera->txt_lines->Text(), "143") << ">> would have shown 101 lines";
    EXPECT_EQ(window->camera->txtprogram->Text(), "?") << "the grab would have shown its mode";
}

TEST_F(PortExchangeTest, ClosingTheWindowDuringAnExchangeStopsItAndLeavesTheInstrumentAtRest)
{
    window->unloaded = false;
    int calls = 0;
    platform::setEventPump([&] {
        // Between the second and the third byte of the third LED frame.
        if (++calls == 13) window->Form_Unload();
    });
    factory->lighting->cmd_ledpower->Click();
    platform::setEventPump({});
    EXPECT_FALSE(session.port_open);
    EXPECT_FALSE(link::CommIsOpen(kPort));
    EXPECT_EQ(frameList(), (Frames{"L,0,3", "L,1,3", "T,1,0", "T,2,0", "T,15,0", "C,6,0"}))
        << "the shutdown acted at once; the LED sequence sent nothing more";
    // The LED frame cut short is the one broken frame the instrument saw.
    EXPECT_EQ(sim->framingErrors(), Frames{"broken frame 255 76 255 84 1"});
    sim->expectFramingErrors(1);
}

}  // namespace
}  // namespace tirmo::app
