#include <gtest/gtest.h>

#include <unistd.h>

#include "link/Session.h"
#include "link/CommPort.h"
#include "link/Protocol.h"
#include "platform/Clock.h"
#include "support/FakeClock.h"
#include "support/LinkFixture.h"

namespace tirmo::link {
namespace {

using test::LinkFixture;
using test::QuickTimeouts;

TEST(Frame, CheckByteAndSixteenBitValues)
{
    auto gain300 = MakeFrame16('G', 300);
    ASSERT_TRUE(gain300);
    EXPECT_EQ(gain300->bytes(), std::string({char(255), 'G', 1, 44, char(106)}));
    EXPECT_EQ(MakeFrame16('G', 20)->bytes(), std::string({char(255), 'G', 0, 20, char(83)}));
    EXPECT_EQ(MakeFrame('C', 6, 0)->bytes(), std::string({char(255), 'C', 6, 0, char(69)}));
    EXPECT_EQ(MakeFrame('L', 255, 7)->check(), 180);
    EXPECT_EQ(MakeFrame('T', 15, 6)->check(), 93);
    EXPECT_FALSE(MakeFrame('Y', 0, 300));
    EXPECT_FALSE(MakeFrame16('E', 40000));
    EXPECT_FALSE(MakeFrame16('E', -1));
}

TEST(ReplyLog, TraceShowsLetterThenDecimalBytes)
{
    EXPECT_EQ(ReplyTrace(""), "Empty");
    EXPECT_EQ(ReplyTrace(std::string({'G', 0, 20})), "G;0;20");
    EXPECT_EQ(ReplyTrace(std::string({'T', 1, char(144)})), "T;1;144");
    EXPECT_EQ(ReplyValue(std::string({'N', 1, 44})), 300);
}

class ProtocolTest : public LinkFixture {};

TEST_F(ProtocolTest, EchoedCommandIsConfirmedAtTheFirstSend)
{
    SendOptions o;
    o.maxSends = kMaxSends;
    o.confirm = EchoIs('G');
    auto r = SendFrame(session, *MakeFrame16('G', 300), o);
    EXPECT_TRUE(r.confirmed);
    EXPECT_EQ(r.sends, 1);
    EXPECT_EQ(ReplyTrace(r.reply), "G;1;44");
    EXPECT_EQ(sim->rawReceived(), std::string({char(255), 'G', 1, 44, char(106)}));
}

TEST_F(ProtocolTest, WrongEchoIsSentAgainAfterTenMilliseconds)
{
    test::FakeClock clock;
    test::WriteRecorder recorder;
    sim->wrongEchoNext(1);
    SendOptions o;
    o.maxSends = kMaxSends;
    o.confirm = EchoIs('E');
    auto r = SendFrame(session, *MakeFrame16('E', 42), o);
    EXPECT_TRUE(r.confirmed);
    EXPECT_EQ(r.sends, 2);
    EXPECT_EQ(sim->framesOf('E').size(), 2u);
    ASSERT_EQ(recorder.writes.size(), 2u);
    EXPECT_GE(recorder.gaps()[0], 10.0);
}

TEST_F(ProtocolTest, SilentInstrumentGetsThreeSendsAndAnEmptyLog)
{
    QuickTimeouts quick;
    sim->setSilent(true);
    SendOptions o;
    o.maxSends = kMaxSends;
    o.confirm = EchoIs('E');
    auto r = SendFrame(session, *MakeFrame16('E', 42), o);
    EXPECT_FALSE(r.confirmed);
    EXPECT_EQ(r.sends, 3);
    EXPECT_EQ(ReplyTrace(r.reply), "Empty");
    EXPECT_EQ(sim->framesOf('E').size(), 3u);
}

TEST_F(ProtocolTest, PacedBytesGoOutFifteenMillisecondsApart)
{
    test::FakeClock clock;
    test::WriteRecorder recorder;
    SendOptions o;
    o.form = SendForm::Paced15;
    o.replyLength = 1;
    auto r = SendFrame(session, *MakeFrame('C', 4, 0), o);
    EXPECT_EQ(r.reply, std::string(1, char(4)));
    auto frames = sim->framesOf('C');
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].a, 4);
    ASSERT_EQ(recorder.writes.size(), 5u) << "one write per byte";
    for (double gap : recorder.gaps()) EXPECT_GE(gap, 15.0);
}

TEST_F(ProtocolTest, YieldingSendStopsWhenTheLinkClosesMeanwhile)
{
    int events = 0;
    platform::setEventPump([&] {
        if (++events == 3) session.port_open = false;  // a handler closed the link between bytes
    });
    SendOptions o;
    o.form = SendForm::Yielding;
    auto r = SendFrame(session, *MakeFrame('L', 3, 5), o);
    platform::setEventPump({});
    EXPECT_TRUE(r.stopped);
    for (int i = 0; i < 100 && sim->rawReceived().size() < 2; ++i) ::usleep(1000);
    ::usleep(20000);
    EXPECT_EQ(sim->rawReceived().size(), 2u);
    EXPECT_EQ(sim->framingErrors(), std::vector<std::string>{"incomplete frame 255 76"});
    sim->expectFramingErrors(1);
}

TEST_F(ProtocolTest, GuardRefusesAClosedLinkWithTheStatusText)
{
    session.port_open = false;
    EXPECT_FALSE(LinkGuard(console));
    EXPECT_EQ(console.lastStatus(), "COMPORT not opened. Click Connect");
    session.port_open = true;
    EXPECT_TRUE(LinkGuard(console));
}

TEST_F(ProtocolTest, OneByteThenSilenceEndsThePollWithWhatCame)
{
    QuickTimeouts quick;
    sim->on('E', [](sim::SimState&, const sim::ReceivedFrame&) { return std::string("E"); });
    SendOptions o;
    o.maxSends = kMaxSends;
    o.confirm = EchoIs('E');
    auto r = SendFrame(session, *MakeFrame16('E', 1), o);
    EXPECT_EQ(r.reply, "E");
    EXPECT_TRUE(r.confirmed) << "the echo letter alone confirms";
}

TEST_F(ProtocolTest, ResetWritesZ132TimesUnframedWithoutReading)
{
    test::FakeClock clock;
    session.port_open = false;  // neither the guard nor dummy mode stops it
    session.dummy_mode = 1;
    SendReset(session);
    for (int i = 0; i < 300 && sim->with([](sim::SimState& s) { return s.resetCount; }) < 132; ++i)
        ::usleep(2000);
    EXPECT_EQ(sim->rawReceived(), std::string(132, 'Z'));
    EXPECT_EQ(clock.sleptMs(), 1 + 132 * 10);
}

}  // namespace
}  // namespace tirmo::link
