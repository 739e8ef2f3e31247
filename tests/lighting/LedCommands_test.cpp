#include <gtest/gtest.h>

#include "link/Session.h"
#include "link/CommPort.h"
#include "lighting/LedCommands.h"
#include "platform/Clock.h"
#include "sim/SimDevices.h"
#include "support/FakeClock.h"
#include "support/LinkFixture.h"

namespace tirmo::lighting {
namespace {

using Frames = std::vector<std::string>;

TEST(LedBanks, SplitDependsOnTheGeneration)
{
    EXPECT_EQ(LedFrame(200, 5, 2)->letter, 'l');
    EXPECT_EQ(LedFrame(200, 5, 2)->a, 8);
    EXPECT_EQ(LedFrame(200, 5, 1)->letter, 'L');
    EXPECT_EQ(LedFrame(200, 5, 1)->a, 200);
    EXPECT_EQ(LedFrame(207, 0, 1)->letter, 'L');
    EXPECT_EQ(LedFrame(208, 0, 1)->letter, 'l');
    EXPECT_EQ(LedFrame(208, 0, 1)->a, 0);
    EXPECT_EQ(LedFrame(415, 0, 1)->a, 207);
    EXPECT_EQ(LedFrame(191, 0, 2)->letter, 'L');
    EXPECT_EQ(LedFrame(192, 0, 2)->a, 0);
    EXPECT_EQ(LedFrame(415, 0, 2)->a, 223);
    EXPECT_EQ(LedFrame(10, 0, 3)->letter, 'l');
    EXPECT_FALSE(LedFrame(300, 0, 3)) << "index 300 does not fit a byte without a split";
}

class LedCommandTest : public test::LinkFixture {
protected:
    int simPower(int led)
    {
        return sim->with([led](sim::SimState& s) { return s.leds.power[size_t(led)]; });
    }
    void useGeneration1()
    {
        sim->with([](sim::SimState& s) { return s.serialNumber = 12; });
        session.hardware_generation = 1;
    }
};

TEST_F(LedCommandTest, Led200GoesToBanklOnGeneration2AndToBankLOnGeneration1)
{
    session.hardware_generation = 2;
    SendLedCommand(200, 9, console);
    EXPECT_EQ(sim->rawReceived(), std::string({char(255), 'l', 8, 9, char('l' ^ 8 ^ 9)}));
    EXPECT_EQ(simPower(200), 9);
    EXPECT_EQ(console.lastMonitor(), "l;8;9");

    sim->clearLog();
    useGeneration1();
    SendLedCommand(200, 4, console);
    EXPECT_EQ(sim->rawReceived(), std::string({char(255), 'L', char(200), 4, char('L' ^ 200 ^ 4)}));
    EXPECT_EQ(simPower(200), 4);
    EXPECT_EQ(console.lastMonitor(), "L;200;4");
}

TEST_F(LedCommandTest, AllLedsGoOutAsL255WithThePower)
{
    SendAllLedPower(7, console);
    EXPECT_EQ(sim->rawReceived(), std::string({char(255), 'L', char(255), 7, char(180)}));
    for (int led : {0, 191, 192, 415}) EXPECT_EQ(simPower(led), 7);
    EXPECT_EQ(console.lastMonitor(), "L;255;7");
}

TEST_F(LedCommandTest, CalibrationLedGoesByteByByteAndPausesFiveMsAfterTheReply)
{
    session.hardware_generation = 2;
    test::FakeClock clock;
    test::WriteRecorder recorder;
    int power = 20;
    SendLedPower(200, power, console);
    const double firstDone = platform::MonotonicMs();
    int low = -3;
    SendLedPower(10, low, console);
    EXPECT_EQ(power, 15) << "the caller's power comes back bounded";
    EXPECT_EQ(low, 0);
    EXPECT_EQ(frameList(), (Frames{"l,8,15", "L,10,0"}));
    ASSERT_EQ(recorder.writes.size(), 10u) << "one write per character";
    for (const auto& w : recorder.writes) EXPECT_EQ(w.data.size(), 1u);
    const auto gaps = recorder.gaps();
    for (size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 7u, 8u}) EXPECT_EQ(gaps[i], 1.0) << "1 ms after each character";
    EXPECT_GE(firstDone - recorder.writes[4].atMs, 1.0 + kLedReplyPauseMs) << "the reply is followed by 5 ms";
    EXPECT_GE(gaps[4], 1.0 + kLedReplyPauseMs + 1.0) << "then the next call's flush pause";
    EXPECT_EQ(console.monitor, (Frames{"LED(200)", "l;8;15", "LED(10)", "L;10;0"}));
}

TEST_F(LedCommandTest, ClosingTheLinkDuringAByteByByteFrameStopsIt)
{
    test::FakeClock clock;
    test::WriteRecorder recorder;
    int pumped = 0;
    platform::setEventPump([&] {
        if (++pumped == 3) session.port_open = false;
    });
    int power = 3;
    SendLedPower(5, power, console);
    platform::setEventPump({});
    EXPECT_EQ(recorder.writes.size(), 2u);
    EXPECT_EQ(console.monitor, (Frames{"LED(5)"})) << "nothing shown after the stop";
    EXPECT_EQ(sim->framingErrors().size(), 1u) << "the frame stopped after two bytes";
    sim->expectFramingErrors(1);
}

TEST_F(LedCommandTest, TableAndAllLedSendersSendAnyByteAndRefuseTheRest)
{
    // Only the calibration sender bounds powers to 0..15; these two send what they are given
    // and show "error" for a power that fits no byte, sending nothing.
    session.hardware_generation = 2;
    struct Case {
        int power;
        bool sent;
    };
    for (const Case c : {Case{0, true}, Case{15, true}, Case{16, true}, Case{255, true}, Case{256, false},
                         Case{-1, false}}) {
        sim->clearLog();
        console.errors.clear();
        const std::string p = std::to_string(c.power);
        SendLedCommand(3, c.power, console);
        SendAllLedPower(c.power, console);
        EXPECT_EQ(frameList(), c.sent ? (Frames{"L,3," + p, "L,255," + p}) : Frames{}) << c.power;
        EXPECT_EQ(console.errors, c.sent ? Frames{} : (Frames{"error", "error"})) << c.power;
    }
}

TEST_F(LedCommandTest, CalibrationSenderBoundsThePowerOnBothSides)
{
    struct Case {
        int power, sent;
    };
    for (const Case c : {Case{15, 15}, Case{16, 15}, Case{300, 15}, Case{0, 0}, Case{-1, 0}}) {
        sim->clearLog();
        int power = c.power;
        SendLedPower(4, power, console);
        EXPECT_EQ(power, c.sent) << c.power;
        EXPECT_EQ(frameList(), Frames{"L,4," + std::to_string(c.sent)}) << c.power;
    }
    EXPECT_TRUE(console.errors.empty());
}

TEST_F(LedCommandTest, SingleLedAcceptsEitherBankLetterButAllLedsOnlyTheCapital)
{
    sim->on('L', [](sim::SimState&, const sim::ReceivedFrame& f) { return sim::Reply3('l', f.b); });
    SendLedCommand(3, 5, console);
    EXPECT_EQ(sim->frames().size(), 1u);
    sim->clearLog();
    test::FakeClock clock;
    SendAllLedPower(5, console);
    EXPECT_EQ(frameList(), (Frames{"L,255,5", "L,255,5", "L,255,5"}));
    EXPECT_EQ(console.lastMonitor(), "l;0;5");
}

TEST_F(LedCommandTest, SilentInstrumentGetsThreeSendsAndEmptyWithoutAMessage)
{
    // A silent read flushes the port: the wait must leave the simulator time to take each send
    // first, also on a loaded machine.
    test::QuickTimeouts quick(20, 60);
    test::FakeClock clock;
    sim->setSilent(true);
    SendLedCommand(3, 5, console);
    sim->waitForFrames(3, 5000);  // no reply tells when the last send has been read
    EXPECT_EQ(frameList(), (Frames{"L,3,5", "L,3,5", "L,3,5"}));
    EXPECT_EQ(console.lastMonitor(), "Empty");
    EXPECT_TRUE(console.errors.empty());
}

TEST_F(LedCommandTest, GuardsDifferBetweenTheSenders)
{
    session.dummy_mode = 1;
    SendLedCommand(3, 5, console);
    EXPECT_TRUE(sim->rawReceived().empty()) << "the stored-table sender is skipped in dummy mode";
    SendAllLedPower(5, console);
    EXPECT_EQ(frameList(), (Frames{"L,255,5"})) << "the all-LED sender does not test dummy mode";

    sim->clearLog();
    session.dummy_mode = 0;
    session.port_open = false;
    SendLedCommand(3, 5, console);
    EXPECT_EQ(console.lastStatus(), link::kNotConnected);
    console.status.clear();
    SendAllLedPower(5, console);
    EXPECT_EQ(console.lastStatus(), link::kNotConnected);
    EXPECT_TRUE(sim->rawReceived().empty());
}

TEST_F(LedCommandTest, IndexThatFitsNoByteShowsErrorOnlyFromTheTableSender)
{
    session.hardware_generation = 3;
    SendLedCommand(256, 1, console);
    EXPECT_EQ(console.errors, (Frames{"error"}));
    int power = 1;
    SendLedPower(300, power, console);
    EXPECT_EQ(console.errors.size(), 1u) << "the calibration sender ends silently";
    EXPECT_TRUE(sim->rawReceived().empty());
    SendLedCommand(255, 1, console);
    EXPECT_EQ(frameList(), (Frames{"l,255,1"})) << "the last index that fits the byte";
}

TEST_F(LedCommandTest, BlueLightLevelGoesOutAsT15AndTheIndicatorFollows)
{
    std::string caption;
    uint32_t fill = 0;
    auto indicator = [&](const std::string& c, uint32_t f) {
        caption = c;
        fill = f;
    };
    SendLightPulse(6, 42, console, indicator);
    EXPECT_EQ(sim->rawReceived(), std::string({char(255), 'T', 15, 6, char(93)}));
    EXPECT_EQ(caption, "42");
    EXPECT_EQ(fill, kPulseOnColour);
    EXPECT_EQ(sim->with([](sim::SimState& s) { return s.leds.blueLight; }), 6);
    SendLightPulse(0, 42, console, indicator);
    EXPECT_EQ(caption, "Pulse");
    EXPECT_EQ(fill, kPulseOffColour);
    EXPECT_EQ(sim->with([](sim::SimState& s) { return s.leds.blueLight; }), 0);
}

TEST_F(LedCommandTest, BlueLightWithTheLinkClosedStillResetsTheIndicator)
{
    session.port_open = false;
    link::CommClose(kPort);
    std::string caption = "42";
    SendLightPulse(0, 42, console, [&](const std::string& c, uint32_t) { caption = c; });
    EXPECT_EQ(caption, "Pulse");
    EXPECT_EQ(console.lastMonitor(), "Empty");
}

}  // namespace
}  // namespace tirmo::lighting
