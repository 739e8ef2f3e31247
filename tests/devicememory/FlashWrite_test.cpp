#include <gtest/gtest.h>

#include "devicememory/FlashWrite.h"
#include "devicememory/LinkFlashPort.h"
#include "link/CommPort.h"
#include "sim/InstrumentSimulator.h"
#include "support/FakeClock.h"
#include "support/LinkFixture.h"

namespace tirmo::devicememory {
namespace {

using Bytes = std::vector<int>;

Bytes bytesOf(const std::string& s)
{
    Bytes out;
    for (char c : s) out.push_back(static_cast<unsigned char>(c));
    return out;
}

// The write side against the simulated instrument's buffer and memory.
class FlashWriteTest : public test::LinkFixture {
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        notices.message = [this](const std::string& t) { messages.push_back(t); };
        notices.status = [this](const std::string& t) { status.push_back(t); };
    }
    std::string buffer() { return sim->with([](sim::SimState& s) { return s.flash.buffer; }); }
    std::string block(int bank, int line) { return sim->with([&](sim::SimState& s) { return s.flash.block(bank, line); }); }
    size_t framesOf(char letter) const { return sim->framesOf(letter).size(); }

    test::FakeClock clock;
    test::QuickTimeouts quick;
    LinkFlashPort port{console};
    MemoryNotices notices;
    std::vector<std::string> messages, status;
};

TEST_F(FlashWriteTest, FramesAndTheLinesTheyCarry)
{
    EXPECT_EQ(bytesOf(BufferByteFrame(0, 0)), (Bytes{255, 102, 0, 0, 102}));
    EXPECT_EQ(bytesOf(BufferByteFrame(95, 65)), (Bytes{255, 102, 95, 65, 120}));
    EXPECT_EQ(bytesOf(CommitFrame(1, 4)), (Bytes{255, 70, 1, 4, 67}));

    struct Case {
        int line;
        std::string data, sent;
        size_t keptLength;
    };
    const std::string thirty = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123";
    const Case cases[] = {
        {0, "twenty characters...", "twenty characters..." + std::string(4, '\0'), 24},
        {1, "", std::string(24, '\0'), 24},
        {2, thirty, thirty.substr(0, 24), 30},
        {3, std::string(24, char(255)), std::string(24, char(255)), 24},  // the start value inside frames
    };
    for (const Case& c : cases) {
        std::string data = c.data;
        EXPECT_EQ(WriteFlashBufferLine(port, c.line, data, notices), WriteOutcome::Done) << c.line;
        EXPECT_EQ(data.size(), c.keptLength) << c.line;
        EXPECT_EQ(buffer().substr(size_t(c.line) * 24, 24), c.sent) << c.line;
    }
    EXPECT_EQ(framesOf('f'), 96u);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(console.lastMonitor(), "rcv(23):,102,95,255");

    ASSERT_EQ(CommitFlashLines(port, 2, 12), WriteOutcome::Done);
    EXPECT_EQ(block(2, 12), buffer());
    EXPECT_EQ(console.lastMonitor(), "rcv():70");
}

TEST_F(FlashWriteTest, AStaleAnswerIsDroppedBeforeTheLine)
{
    // An answer nobody read: without the flush it would shift every echo of the line.
    link::CommWrite(kPort, BufferByteFrame(90, 7));
    sim->settle();
    std::string data = "stale bytes never shift";
    EXPECT_EQ(WriteFlashBufferLine(port, 0, data, notices), WriteOutcome::Done);
    EXPECT_TRUE(messages.empty());
}

TEST_F(FlashWriteTest, EchoFaults)
{
    struct Case {
        const char* what;
        std::function<void()> fault;
        WriteOutcome outcome;
        size_t framesSent;
        std::vector<std::string> messages;
        std::string monitor;
    };
    const Case cases[] = {
        {"no echo for byte 5: the rest of the line is not sent",
         [this] { sim->with([](sim::SimState& s) { s.flash.dropEchoes(5, 1); return 0; }); }, WriteOutcome::NoEcho, 6, {},
         "Empty/No response Headline2"},
        {"a wrong echo is shown and the line goes on", [this] { sim->wrongEchoNext(1); }, WriteOutcome::WrongEcho, 24,
         {"instruction confirmation error:634897"}, "rcv(23):,102,71,0"},
        {"a short echo is a wrong one", [this] { sim->shortReplyNext(1); }, WriteOutcome::WrongEcho, 24,
         {"instruction confirmation error:10248"}, "rcv(23):,102,71,0"},
    };
    for (const Case& c : cases) {
        sim->clearLog();
        messages.clear();
        c.fault();
        std::string data = "ab";
        EXPECT_EQ(WriteFlashBufferLine(port, 2, data, notices), c.outcome) << c.what;
        EXPECT_EQ(framesOf('f'), c.framesSent) << c.what;
        EXPECT_EQ(messages, c.messages) << c.what;
        EXPECT_EQ(console.lastMonitor(), c.monitor) << c.what;
    }
}

TEST_F(FlashWriteTest, AnUnansweredCommitSaysSoAndAClosedLinkSendsNothing)
{
    sim->silentNext(1);
    EXPECT_EQ(CommitFlashLines(port, 1, 4), WriteOutcome::NoAnswer);
    EXPECT_EQ(console.lastMonitor(), "Empty/No response Headline4");

    session.port_open = false;
    std::string data = "x";
    EXPECT_EQ(WriteFlashBufferLine(port, 0, data, notices), WriteOutcome::Closed);
    EXPECT_EQ(CommitFlashLines(port, 1, 4), WriteOutcome::Closed);
    EXPECT_EQ(framesOf('f'), 0u);
    EXPECT_EQ(framesOf('F'), 1u);
}

TEST_F(FlashWriteTest, TheSelfTestLeavesEveryCalibrationRecordAlone)
{
    const std::string before = sim->with([](sim::SimState& s) { return s.flash.banks; })[1];
    ASSERT_EQ(WriteVerifyFlashLine(port, notices), WriteOutcome::Done);
    std::string pattern;
    for (int n = 0; n < 4; ++n)
        for (int i = 0; i < 24; ++i) pattern += char(i);
    EXPECT_EQ(block(kSelfTestBank, kSelfTestLine), pattern);
    EXPECT_EQ(sim->with([](sim::SimState& s) { return s.flash.banks; })[1], before);
    EXPECT_EQ(console.lastMonitor(), "rcv(24):70");
    EXPECT_TRUE(status.empty());
}

}  // namespace
}  // namespace tirmo::devicememory
