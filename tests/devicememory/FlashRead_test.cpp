#include <gtest/gtest.h>

#include <deque>

#include "link/Session.h"
#include "devicememory/FlashRead.h"
#include "devicememory/LinkFlashPort.h"
#include "devicememory/MemoryImage.h"
#include "sim/InstrumentSimulator.h"
#include "support/FakeClock.h"
#include "support/LinkFixture.h"

namespace tirmo::devicememory {
namespace {

// Replies handed out one request at a time; nullopt stands for a closed link.
class ScriptedPort : public FlashPort {
public:
    std::optional<std::string> RequestBlock(int bank, int line) override
    {
        requests.push_back({bank, line});
        if (replies.empty()) return std::string();
        auto r = replies.front();
        replies.pop_front();
        return r;
    }
    void ShowReply(const std::string& trace, const std::string& length) override
    {
        shown.push_back(trace);
        lengths.push_back(length);
    }
    std::deque<std::optional<std::string>> replies;
    std::vector<std::pair<int, int>> requests;
    std::vector<std::string> shown, lengths;
};

std::string dataOf(char fill) { return std::string(96, fill); }

std::string reply(int requestByte, int line, const std::string& data)
{
    return std::string{'F', char(requestByte), char(line)} + data + char(CheckByte(data));
}

class FlashReadTest : public ::testing::Test {
protected:
    test::FakeClock clock;
    ScriptedPort port;
};

TEST_F(FlashReadTest, AnAcceptedReplyEndsTheAttempts)
{
    port.replies = {reply(242, 8, dataOf('a'))};
    EXPECT_EQ(ReadFlashLines(port, 2, 8), dataOf('a'));
    EXPECT_EQ(port.requests, (std::vector<std::pair<int, int>>{{2, 8}}));
    EXPECT_EQ(port.lengths, std::vector<std::string>{"Len(Rx) = 100"});
    EXPECT_EQ(clock.sleptMs(), 0) << "no retry pause";
}

TEST_F(FlashReadTest, RejectedRepliesAreTriedThreeTimesAndTheLastOneIsHandedOn)
{
    const std::string good = reply(240, 4, dataOf('d'));
    std::string lowerF = good, shortOne = good.substr(0, 99), plainBank = good, badXor = good, longer = good + "x";
    lowerF[0] = 'f';
    plainBank[1] = char(0);
    badXor[99] = char(badXor[99] ^ 1);
    for (const std::string& bad : {lowerF, shortOne, plainBank, badXor, longer}) {
        ScriptedPort p;
        p.replies = {bad, bad, bad, good};
        const std::string block = ReadFlashLines(p, 0, 4);
        EXPECT_EQ(p.requests.size(), 3u) << "never a fourth attempt";
        EXPECT_EQ(block, (bad.substr(3) + std::string(96, '\0')).substr(0, 96));
        ASSERT_EQ(p.lengths.size(), 1u) << "the monitor shows the last reply once";
        EXPECT_EQ(p.lengths[0], "Len(Rx) = " + std::to_string(bad.size()));
    }
    EXPECT_EQ(clock.sleptMs(), 5 * 3 * kFlashRetryPauseMs);
}

TEST_F(FlashReadTest, ARetryThatIsAcceptedGivesTheBlock)
{
    port.replies = {std::string(), reply(243, 72, dataOf('z'))};
    EXPECT_EQ(ReadFlashLines(port, 3, 72), dataOf('z'));
    EXPECT_EQ(port.requests.size(), 2u);
}

TEST_F(FlashReadTest, NoReplyGivesZerosAndAnEmptyTrace)
{
    EXPECT_EQ(ReadFlashLines(port, 0, 4), std::string(96, '\0'));
    EXPECT_EQ(port.requests.size(), 3u);
    EXPECT_EQ(port.shown, std::vector<std::string>{"C0L4:Empty"});
    EXPECT_EQ(port.lengths, std::vector<std::string>{"Len(Rx) = 0"});
}

TEST_F(FlashReadTest, AClosedLinkSendsNothingAndLeavesTheMonitor)
{
    port.replies = {std::nullopt};
    EXPECT_EQ(ReadFlashLines(port, 1, 4), "");
    EXPECT_EQ(port.requests.size(), 1u);
    EXPECT_TRUE(port.shown.empty());
}

TEST(FlashReplyTrace, PrintableBytesAsThemselvesOthersAsCodes)
{
    EXPECT_EQ(FlashReplyTrace(12, std::string{'F', char(241), 12, ' ', '!', 0}), "C0L12:F,\xF1,12,32,!,0,");
    EXPECT_EQ(FlashReplyTrace(4, ""), "C0L4:Empty");
}

class LinkFlashPortTest : public test::LinkFixture {
protected:
    test::FakeClock clock;
    std::vector<std::string> lengths;
    LinkFlashPort port{console, [this](const std::string& t) { lengths.push_back(t); }};
};

TEST_F(LinkFlashPortTest, EveryAttemptSendsTheSameReadRequest)
{
    test::QuickTimeouts quick;
    sim->setSilent(true);
    EXPECT_EQ(ReadFlashLines(port, 2, 12), std::string(96, '\0'));
    ASSERT_TRUE(sim->waitForFrames(3));
    const std::string frame{char(255), 'F', char(242), 12, char('F' ^ 242 ^ 12)};
    EXPECT_EQ(sim->rawReceived(), frame + frame + frame);
    EXPECT_EQ(console.monitor, std::vector<std::string>{"C0L12:Empty"});
    EXPECT_EQ(lengths, std::vector<std::string>{"Len(Rx) = 0"});
    // Each attempt: the flush, the pause after the request, five empty reads of 1 ms, the pause before the next.
    EXPECT_EQ(clock.sleptMs(), 3 * (20 + 10 + 5 * 1 + 100));
}

TEST_F(LinkFlashPortTest, ABlockComesBackFromTheSimulatedMemory)
{
    const std::string data = RecordBlock("Tempfactor:1L_2x1i/", EncodeHundredths(-16.34) + EncodeHundredths(1.732));
    sim->with([&](sim::SimState& s) { s.flash.put(1, 4, data); });
    EXPECT_EQ(ReadFlashLines(port, 1, 4), data);
    EXPECT_EQ(sim->framesOf('F').size(), 1u);
    EXPECT_EQ(lengths, std::vector<std::string>{"Len(Rx) = 100"});
}

TEST_F(LinkFlashPortTest, AClosedLinkIsRefusedWithoutAFrame)
{
    session.port_open = false;
    EXPECT_EQ(ReadFlashLines(port, 0, 4), "");
    EXPECT_EQ(console.status, std::vector<std::string>{"COMPORT not opened. Click Connect"});
    EXPECT_TRUE(console.monitor.empty());
    EXPECT_EQ(sim->rawReceived(), "");
}

}  // namespace
}  // namespace tirmo::devicememory
