// One exchange at a time on the port, with both windows on the simulated instrument: while a
// frame request or the factory's LED sequence yields, Timer3 ticks (thermostat and light pulse)
// and the user clicks; the instrument must see whole frames only.
#include <gtest/gtest.h>

#include <functional>

#include "app/ModuleState.h"
#include "camera/CameraWindowFixture.h"
#include "link/Exchange.h"
#include "platform/Clock.h"
#include "support/FakeClock.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Timer.h"

namespace tirmo::app {
namespace {

using Frames = std::vector<std::string>;

// A generation-1 instrument: the thermostat drives its analog stage with two frames a step.
class PortExchangeTest : public test::CameraWindowFixture {
protected:
    void SetUp() override
    {
        CameraWindowFixture::SetUp();
        sim->with([](sim::SimState& s) { return s.serialNumber = 12; });
        mod::serial_number = 12;
        mod::hardware_generation = 1;
        window->stage.analog_stage = true;
        window->cmd_default_Click();
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
        window->txttemp->SetText("30");
        boxes.expectMessage("pre-heat/pre-cool to 30?", ui::MsgResult::Yes);
        window->chk_temp->SetValue(1);
        window->cmd_light->Click();
        ASSERT_TRUE(window->pulse_on);
        ASSERT_TRUE(window->Timer3->Enabled());
        sim->clearLog();
    }
    // While the exchange yields, every tenth time: a Timer3 tick, then the user's clicks.
    void whileYielding(const std::function<void()>& clicks)
    {
        platform::setEventPump([this, clicks, calls = 0, inside = false]() mutable {
            if (inside || calls++ % 10 != 0) return;
            inside = true;
            window->Timer3->Tick();
            clicks();
            inside = false;
        });
    }
    int lettersOf(char letter) const { return int(sim->framesOf(letter).size()); }

    test::FakeClock clock;  // the thermostat's and the LED sequence's pauses take no time
};

TEST_F(PortExchangeTest, AFrameRequestStaysWholeWhileTimer3TicksAndTheUserClicks)
{
    startTimerWork();
    const long countdown = window->pulse_countdown;
    window->txt_xfin->SetText("100");  // a ">>" that went out would change the camera's window
    whileYielding([this] {
        window->cmd_xy->Click();
        window->cmd_light->Click();
        factory->cmd_ledpowerall->Click();
        factory->cmd_ledpower->Click();
    });
    window->txt_xfin->SetText("142");
    window->AcquireCalibrationFrame();
    platform::setEventPump({});

    EXPECT_EQ(frameList(), Frames{"C,0,43"});
    EXPECT_EQ(window->lbl_lenrx->Caption().substr(0, 21), "LEN(Rx) = 26170/26170") << window->lbl_lenrx->Caption();
    EXPECT_TRUE(window->frame_store.Has(0, 143, 182)) << "the last line of the window was read";
    EXPECT_TRUE(sim->framingErrors().empty());
    // The refused clicks said so and changed nothing.
    EXPECT_EQ(window->txt_status->Text(), link::kBusy);
    EXPECT_EQ(factory->txt_status->Text(), link::kBusy);
    EXPECT_EQ(window->txt_lines->Text(), "143") << "the refused >> left the window boxes alone";
    EXPECT_TRUE(window->pulse_on) << "the refused LightPulse click did not switch the pulse off";
    EXPECT_EQ(window->pulse_countdown, countdown) << "the skipped ticks did not count the pulse down";

    // The ticks skipped during the request run at the next one.
    window->Timer3->Tick();
    EXPECT_EQ(frameList(), (Frames{"C,0,43", "T,255,1", "T,0,0", "T,1,220", "T,15,6"}));
    EXPECT_EQ(window->pulse_countdown, countdown - 1);
}

TEST_F(PortExchangeTest, TheFactoryLedSequenceStaysWholeWhileTimer3TicksAndTheUserClicks)
{
    startTimerWork();
    whileYielding([this] {
        window->cmd_xy->Click();
        window->AcquireCalibrationFrame();
        factory->cmd_led0->Click();
        factory->cmd_ledpower->Click();
    });
    factory->txt_led->SetText("4");
    factory->cmd_ledpower->Click();
    platform::setEventPump({});

    const Frames frames = frameList();
    ASSERT_EQ(frames.size(), 416u) << "only the LED frames, nothing mixed in";
    for (int i = 0; i < 416; ++i)
        EXPECT_EQ(frames[size_t(i)], std::string(i < 208 ? "L," : "l,") + std::to_string(i % 208) + ",4");
    EXPECT_TRUE(sim->framingErrors().empty());
    EXPECT_EQ(window->txt_status->Text(), link::kBusy);
    EXPECT_EQ(factory->txt_status->Text(), link::kBusy);
    EXPECT_EQ(window->txtprogram->Text(), "+") << "the refused grab did not touch the boxes";
    EXPECT_EQ(factory->txt_valueled->Text(), "0") << "the refused LD/PWR did not step the LED number";

    window->Timer3->Tick();
    EXPECT_EQ(lettersOf('T'), 4) << "reading, direction, power, light: the next tick ran";
}

}  // namespace
}  // namespace tirmo::app
