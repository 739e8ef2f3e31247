#include <gtest/gtest.h>

#include "link/Session.h"
#include "camera/CameraCommands.h"
#include "camera/CameraWindowFixture.h"
#include "link/CommPort.h"
#include "link/Exchange.h"
#include "platform/Clock.h"
#include "support/FakeClock.h"
#include "ui/Controls.h"

namespace tirmo::camera {
namespace {

using Frames = std::vector<std::string>;

class CameraCommandsTest : public test::LinkFixture {
protected:
    test::FakeClock clock;  // the commands' pauses take no time; the simulator answers at once
};

TEST_F(CameraCommandsTest, GainAndExposureGoOutAsHighAndLowByte)
{
    EXPECT_TRUE(SendGain(300, console));
    EXPECT_TRUE(SendGain(40, console));
    EXPECT_TRUE(SendExposure(20, console));
    EXPECT_EQ(frameList(), (Frames{"G,1,44", "G,0,40", "E,0,20"}));
    EXPECT_EQ(static_cast<unsigned char>(sim->rawReceived()[4]), 106);
    EXPECT_EQ(console.lastMonitor(), "E;0;20");
    EXPECT_EQ(sim->with([](sim::SimState& s) { return s.cameras.gain; }), 40);
}

TEST_F(CameraCommandsTest, ValuesThatDoNotFitTwoBytesABusyPortAndAClosedLinkSendNothing)
{
    EXPECT_FALSE(SendGain(32768, console));
    EXPECT_FALSE(SendExposure(-1, console));
    for (const char* outside : {"32768", "-1"}) EXPECT_FALSE(SendFactoryGain(outside, console)) << outside;
    EXPECT_EQ(console.errors, (std::vector<std::string>(4, "error")));
    {
        const link::Exchange other;  // another exchange holds the port
        const platform::NestedEventLoop yield;
        EXPECT_FALSE(SendFactoryGain("10", console));
        EXPECT_EQ(console.lastStatus(), link::kBusy);
    }
    session.port_open = false;
    EXPECT_FALSE(SendGain(10, console));
    EXPECT_EQ(console.lastStatus(), link::kNotConnected);
    session.port_open = true;
    session.dummy_mode = 1;
    EXPECT_FALSE(SendExposure(10, console));
    EXPECT_TRUE(sim->rawReceived().empty());
    EXPECT_TRUE(console.monitor.empty()) << "dummy mode shows nothing";
}

TEST_F(CameraCommandsTest, AnUnansweredExposureIsWrittenThreeTimes)
{
    test::QuickTimeouts quick;
    sim->setSilent(true);
    EXPECT_FALSE(SendExposure(20, console));
    EXPECT_EQ(sim->framesOf('E').size(), 3u);
    EXPECT_EQ(console.lastMonitor(), "Empty");
}

TEST_F(CameraCommandsTest, EchoLettersCompareCaseSensitivelyExceptTheFactoryGain)
{
    sim->on('G', [](sim::SimState&, const sim::ReceivedFrame& f) { return std::string({'g', char(f.a), char(f.b)}); });
    EXPECT_FALSE(SendGain(20, console));
    EXPECT_EQ(sim->framesOf('G').size(), 3u);
    sim->clearLog();
    EXPECT_TRUE(SendFactoryGain("300.7", console));
    for (const char* inside : {"32767", "0"}) EXPECT_TRUE(SendFactoryGain(inside, console)) << inside;
    EXPECT_EQ(frameList(), (Frames{"G,1,45", "G,127,255", "G,0,0"})) << "hi the integer part, lo the rest rounded";
    EXPECT_FALSE(SendFactoryGain("ten", console));
    EXPECT_EQ(console.errors, (std::vector<std::string>{"error"}));
}

TEST_F(CameraCommandsTest, SpeedShowsItsFrameThenEveryReply)
{
    sim->wrongEchoNext(1);
    EXPECT_TRUE(SendSpeed(8, console));
    const link::Frame frame = *link::MakeFrame('S', 0, 8);
    EXPECT_EQ(console.monitor, (std::vector<std::string>{"sending " + frame.bytes(), std::string("?;0;8"), "S;0;8"}));
    EXPECT_EQ(sim->framesOf('S').size(), 2u);
    console.monitor.clear();
    EXPECT_TRUE(SendSpeed(5, console, Variant::Factory));
    EXPECT_EQ(console.monitor.front(), "sending S;0;5");
    EXPECT_FALSE(SendSpeed(256, console));
    EXPECT_EQ(console.errors, (std::vector<std::string>{"error"}));
}

TEST_F(CameraCommandsTest, SpeedHasNoLinkTestOfItsOwn)
{
    test::QuickTimeouts quick;
    link::CommClose(kPort);
    session.port_open = false;
    EXPECT_FALSE(SendSpeed(7, console));
    EXPECT_EQ(console.lastMonitor(), "Empty");
    EXPECT_TRUE(console.status.empty());
}

TEST_F(CameraCommandsTest, AWindowPairGoesOutStartFirstEachConfirmedBeforeTheNext)
{
    sim->wrongEchoNext(1);
    EXPECT_TRUE(SendWindowPair('y', 0, 142, console));
    EXPECT_EQ(frameList(), (Frames{"y,0,0", "y,0,0", "Y,0,142"}));
    EXPECT_EQ(clock.sleptMs(), 10 + 100 + 100) << "a retry pause and 100 ms after each frame";
}

TEST_F(CameraCommandsTest, FactoryWindowPairsTraceTheirValuesAndFlushBeforeEachFrame)
{
    EXPECT_TRUE(SendWindowPair('x', 1, 183, console, Variant::Factory));
    EXPECT_EQ(console.monitor, (std::vector<std::string>{"sending x;0;1", "x;0;1", "sending X0;183", "X;0;183"}));
    const double before = clock.sleptMs();
    EXPECT_TRUE(SendWindowPair('y', 0, 142, console, Variant::Factory));
    EXPECT_EQ(clock.sleptMs() - before, 2 * (1 + 10 + 100)) << "flush pause, the 'y' pair's pause after each try";
}

TEST_F(CameraCommandsTest, AWindowLimitThatDoesNotFitAByteSendsNeitherFrameOfItsPair)
{
    EXPECT_FALSE(SendWindowPair('y', 0, 300, console));
    EXPECT_TRUE(sim->rawReceived().empty()) << "the start frame alone would leave the camera half set";
    EXPECT_EQ(console.lastStatus(), "Read-out window y/Y not sent: 300 does not fit a byte (0 to 255)");
    EXPECT_FALSE(SendWindowPair('x', -1, 183, console));
    EXPECT_EQ(console.lastStatus(), "Read-out window x/X not sent: -1 does not fit a byte (0 to 255)");
    EXPECT_TRUE(console.errors.empty());
}

TEST(CameraDefaults, SpeedCodeByGeneration)
{
    EXPECT_EQ(DefaultSpeedCode(1), "7");
    EXPECT_EQ(DefaultSpeedCode(2), "8");
}

// ---------------------------------------------------------------- the windows' handlers

class SetupCamTest : public test::CameraWindowFixture {
protected:
    test::FakeClock clock;
};

TEST_F(SetupCamTest, CameraFourIsSelectedWithPacedBytes)
{
    test::WriteRecorder recorder;
    window->camera->txt_cam->SetText("4");
    window->camera->cmd_camera->Click();
    EXPECT_EQ(sim->rawReceived(), std::string({char(255), 67, 4, 0, 71}));
    ASSERT_EQ(recorder.writes.size(), 5u);
    for (double gap : recorder.gaps()) EXPECT_GE(gap, 15.0);
    EXPECT_EQ(window->txt_in->Text(), "4 <- Camera");
}

TEST_F(SetupCamTest, TheDefaultWindowGoesOutAsYThenX)
{
    session.hardware_generation = 2;
    window->camera->txt_xfin->SetText("10");
    window->camera->txt_lines->SetText("1");
    window->camera->cmd_default->Click();
    EXPECT_EQ(window->camera->txt_speed->Text(), "8");
    EXPECT_EQ(window->camera->txt_lines->Text(), "1") << "the defaults send and derive nothing";
    EXPECT_TRUE(sim->rawReceived().empty());

    window->camera->cmd_xy->Click();
    EXPECT_EQ(window->camera->txt_lines->Text(), "143");
    EXPECT_EQ(window->camera->txt_pix->Text(), "183");
    EXPECT_EQ(frameList(), (Frames{"y,0,0", "Y,0,142", "x,0,1", "X,0,183"}));
    const std::string raw = sim->rawReceived();
    ASSERT_EQ(raw.size(), 20u);
    EXPECT_EQ(static_cast<unsigned char>(raw[4]), 121);
    EXPECT_EQ(static_cast<unsigned char>(raw[9]), 215);
    EXPECT_EQ(static_cast<unsigned char>(raw[14]), 121);
    EXPECT_EQ(static_cast<unsigned char>(raw[19]), 239);
    const auto w = sim->with([](sim::SimState& s) { return s.cameras.windows[size_t(s.cameras.selectedCamera)]; });
    EXPECT_EQ(w.lines(), 143);
    EXPECT_EQ(w.pix(), 183);
}

TEST_F(SetupCamTest, AnEndLimitOf300KeepsItsPairBackAndTheOtherPairGoesOut)
{
    window->camera->txt_xfin->SetText("300");
    window->camera->cmd_xy_Click();
    EXPECT_EQ(window->camera->txt_lines->Text(), "301");
    EXPECT_EQ(frameList(), (Frames{"x,0,1", "X,0,183"}));
    EXPECT_EQ(window->txt_status->Text(), "Read-out window y/Y not sent: 300 does not fit a byte (0 to 255)");
}

TEST_F(SetupCamTest, WindowBoxesAreDerivedInDummyModeAndWithoutALink)
{
    session.dummy_mode = 1;
    window->camera->txt_yini->SetText("11");
    window->camera->cmd_xy_Click();
    EXPECT_EQ(window->camera->txt_pix->Text(), "173");
    session.dummy_mode = 0;
    session.port_open = false;
    boxes.expectMessage(link::kNotConnected);
    window->camera->txt_xini->SetText("2");
    window->camera->cmd_xy_Click();
    EXPECT_EQ(window->camera->txt_lines->Text(), "141");
    boxes.expectMessage("error");
    window->camera->txt_xini->SetText("two");
    window->camera->cmd_xy_Click();
    EXPECT_TRUE(sim->rawReceived().empty());
}

TEST_F(SetupCamTest, SpeedButtonRoundsItsBoxAndTakesTextAsZero)
{
    window->camera->txt_speed->SetText("2.5");
    window->camera->cmd_camspeed->Click();
    window->camera->txt_speed->SetText("fast");
    window->camera->cmd_camspeed->Click();
    EXPECT_EQ(frameList(), (Frames{"S,0,2", "S,0,0"}));
    boxes.expectMessage("error");
    window->camera->txt_speed->SetText("300");
    window->camera->cmd_camspeed->Click();
}

TEST_F(SetupCamTest, FactoryButtonsSendTheFactoryWay)
{
    auto& f = factoryWindow();
    test::WriteRecorder recorder;
    f.camera->txt_cam->SetText("3");
    f.camera->cmd_camera->Click();
    ASSERT_EQ(recorder.writes.size(), 1u) << "one piece, no pauses";
    EXPECT_EQ(recorder.writes[0].data, std::string({char(255), 67, 3, 0, 64}));
    EXPECT_EQ(f.txt_in->Text(), "3 <- Camera");

    f.camera->txt_gain->SetText("40");
    f.camera->cmd_gain->Click();
    f.camera->txt_exposure->SetText("20.5");
    f.camera->cmd_exposure->Click();
    f.camera->cmd_default->Click();
    f.camera->cmd_xy->Click();
    EXPECT_EQ(frameList(), (Frames{"C,3,0", "G,0,40", "E,0,20", "y,0,0", "Y,0,142", "x,0,1", "X,0,183"}));
    EXPECT_EQ(f.txt_in->Text(), "X;0;183");
    boxes.expectMessage("error");
    f.camera->txt_exposure->SetText("bright");
    f.camera->cmd_exposure->Click();
}

}  // namespace
}  // namespace tirmo::camera
