// The port held for one exchange at a time, and the simulator's framing check that finds an
// exchange split by another.
#include <gtest/gtest.h>

#include "link/Session.h"
#include "link/CommPort.h"
#include "link/Exchange.h"
#include "link/Protocol.h"
#include "platform/Clock.h"
#include "support/LinkFixture.h"

namespace tirmo::link {
namespace {

using test::LinkFixture;
using Texts = std::vector<std::string>;

class ExchangeTest : public LinkFixture {};

TEST_F(ExchangeTest, TheHolderAndItsOwnStepsHaveThePortHandlersInItsYieldsDoNot)
{
    {
        const Exchange sequence;
        EXPECT_TRUE(Exchange()) << "a command of the sequence joins it";
        const platform::NestedEventLoop yield;  // a handler run while the sequence yields
        EXPECT_TRUE(PortBusy());
        EXPECT_FALSE(Exchange());
        EXPECT_TRUE(console.status.empty()) << "timer work is refused quietly";
        EXPECT_FALSE(Exchange(console));
        EXPECT_EQ(console.status, Texts{kBusy});
    }
    const platform::NestedEventLoop yield;
    EXPECT_FALSE(PortBusy()) << "released when the sequence ends";
}

// Whatever a refused caller tries, nothing reaches the instrument and the holder's reply is not
// flushed away; closing the link is never refused.
TEST_F(ExchangeTest, ARefusedCallerCannotTouchThePortButCanCloseIt)
{
    const Exchange transfer;
    ASSERT_EQ(CommWrite(session.port_slot, MakeFrame('G', 0, 20)->bytes()), 5);  // the holder's request
    {
        const platform::NestedEventLoop yield;
        std::string data;
        const std::vector<std::pair<const char*, std::function<long()>>> refused = {
            {"CommFlush", [this] { return CommFlush(session.port_slot); }},
            {"CommWrite", [this] { return CommWrite(session.port_slot, MakeFrame('T', 2, 0)->bytes()); }},
            {"CommWrite", [this] { return CommWriteBytes(session.port_slot, {255, 'T', 2, 0, 'T' ^ 2}); }},
            {"CommRead", [&] { return CommRead(session.port_slot, data, 3); }},
        };
        for (const auto& [source, call] : refused) {
            EXPECT_EQ(call(), kPortInUse) << source;
            EXPECT_EQ(LastCommError().source, source);
            EXPECT_EQ(LastCommError().message, "Port busy.");
        }
        const SendResult r = SendFrame(session, *MakeFrame('L', 3, 5), {});
        EXPECT_TRUE(r.stopped);
        EXPECT_EQ(r.sends, 0);
        SendReset(session);
    }
    EXPECT_EQ(PollReply(session, 3), std::string({'G', 0, 20})) << "the holder still gets its reply";
    EXPECT_EQ(sim->rawReceived(), MakeFrame('G', 0, 20)->bytes());
    {
        const platform::NestedEventLoop yield;
        EXPECT_EQ(CommClose(session.port_slot), 0);
        EXPECT_FALSE(CommIsOpen(session.port_slot));
    }
}

// A rest sequence sends every frame, but once the instrument has left one reply out it listens
// no more: the echo of the gain command is not waited for, and the command goes out thrice.
TEST_F(ExchangeTest, ARestSequenceListensOnlyWhileTheInstrumentAnswers)
{
    const test::QuickTimeouts quick;
    const SendOptions echo{.maxSends = kMaxSends, .confirm = EchoIs('G'), .afterEach = {}};
    for (const int unanswered : {0, 1}) {
        sim->silentNext(unanswered);
        const Exchange rest{Exchange::Takeover{}};
        SendFrame(session, *MakeFrame('T', 15, 0), {});
        EXPECT_EQ(SendFrame(session, *MakeFrame('G', 0, 20), echo).sends, unanswered ? 3 : 1);
    }
}

// ---------------------------------------------------------------- the simulator's framing check

struct Received {
    const char* name;
    std::string bytes;
    bool unframedAllowed;
    Texts errors;
};

TEST_F(ExchangeTest, TheSimulatorFindsEveryBrokenOrInterleavedFrame)
{
    const std::string y = MakeFrame('y', 0, 1)->bytes();
    const Received cases[] = {
        {"whole frames", MakeFrame('G', 0, 20)->bytes() + MakeFrame('L', 255, 7)->bytes(), false, {}},
        {"reset", "ZZZ", false, {}},
        {"a request split by another frame", std::string({char(255), 'C', 0}) + y + std::string({'+', 'C' ^ '+'}),
         false, {"broken frame 255 67 0 255 121", "bytes outside a frame: 43 104"}},
        {"a frame cut short", std::string({char(255), 'L', 3}), false, {"incomplete frame 255 76 3"}},
        {"a wrong check byte", std::string({char(255), 'E', 0, 20, 0}), false, {"broken frame 255 69 0 20 0"}},
        {"unframed text", "AB" + y, false, {"bytes outside a frame: 65 66"}},
        {"unframed text where the test allows it", "AB" + y, true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim::InstrumentSimulator instrument;
        instrument.attachAsCom(5);
        ASSERT_EQ(CommOpen(5, "COM5", "baud=115200 parity=N data=8 stop=1"), 0);
        instrument.allowUnframedBytes(c.unframedAllowed);
        CommWrite(5, c.bytes);
        EXPECT_EQ(instrument.framingErrors(), c.errors);
        instrument.expectFramingErrors(int(c.errors.size()));
        CommClose(5);
    }
}

}  // namespace
}  // namespace tirmo::link
