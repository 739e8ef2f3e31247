#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "link/CommPort.h"
#include "link/Protocol.h"
#include "platform/SerialDevice.h"
#include "sim/InstrumentSimulator.h"
#include "support/LinkFixture.h"

namespace tirmo::link {
namespace {

const std::string kSettings = "baud=115200 parity=N data=8 stop=1";

class CommPortTest : public ::testing::Test {
protected:
    void SetUp() override { sim.attachAsCom(3); }
    void TearDown() override
    {
        CommCloseAll();
        ::setenv("TIRMO_COM3", "", 1);
    }
    sim::InstrumentSimulator sim;
};

TEST_F(CommPortTest, OpeningAnOpenSlotIsRefusedAsPortInUse)
{
    ASSERT_EQ(CommOpen(3, "COM3", kSettings), 0);
    EXPECT_EQ(CommOpen(3, "COM3", kSettings), -1);
    EXPECT_EQ(LastCommError().message, "Port in use.");
    EXPECT_EQ(LastCommError().source, "CommOpen");
    EXPECT_TRUE(CommIsOpen(3));
    EXPECT_EQ(CommClose(3), 0);
    EXPECT_EQ(CommClose(3), 0) << "closing a closed slot does nothing";
}

TEST_F(CommPortTest, MissingPortGivesCode2AndLeavesSlotClosed)
{
    EXPECT_EQ(CommOpen(5, "COM5", kSettings), 2);
    EXPECT_EQ(LastCommError().source, "CommOpen (CreateFile)");
    EXPECT_FALSE(CommIsOpen(5));
    ::setenv("TIRMO_COM6", "/dev/does-not-exist-tirmo", 1);
    EXPECT_EQ(CommOpen(6, "COM6", kSettings), 2);
    ::setenv("TIRMO_COM6", "", 1);
    // Without a TIRMO_COM<n>, USB adapters come first, then modems, then the board's own ports.
    const std::pair<int, const char*> devices[] = {{0, ""}, {1, "/dev/ttyUSB0"}, {6, "/dev/ttyUSB5"}, {7, "/dev/ttyACM0"},
                                                   {10, "/dev/ttyACM3"}, {11, "/dev/ttyS0"}, {16, "/dev/ttyS5"}, {17, ""}};
    for (const auto& [com, device] : devices) {
        const std::string var = "TIRMO_COM" + std::to_string(com);
        ::unsetenv(var.c_str());
        EXPECT_EQ(platform::DevicePathForPort(com), device) << com;
        ::setenv(var.c_str(), "", 1);
    }
}

TEST_F(CommPortTest, PortHeldByAnotherProgramGivesCode5)
{
    int fd = ::open(sim.devicePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(CommOpen(3, "COM3", kSettings), 5);
    EXPECT_FALSE(CommIsOpen(3));
    ::close(fd);
    EXPECT_EQ(CommOpen(3, "COM3", kSettings), 0);
}

TEST_F(CommPortTest, RefusedSettingsReleaseThePort)
{
    EXPECT_NE(CommOpen(3, "COM3", "baud=12345 parity=N data=8 stop=1"), 0);
    EXPECT_EQ(LastCommError().source, "CommOpen (BuildCommDCB)");
    EXPECT_FALSE(CommIsOpen(3)) << "a failure after the port was obtained must not keep holding it";
    EXPECT_EQ(CommOpen(3, "COM3", "baud=1000000 parity=N data=8 stop=1"), 0);
}

TEST_F(CommPortTest, SlotsOutsideTheTableAreRefusedByEveryOperation)
{
    for (int slot : {0, 17}) {
        EXPECT_NE(CommOpen(slot, "COM0", kSettings), 0);
        EXPECT_EQ(LastCommError().source, "CommOpen");
        EXPECT_NE(CommClose(slot), 0);
        EXPECT_NE(CommFlush(slot), 0);
        std::string data = "old";
        EXPECT_EQ(CommRead(slot, data, 1), -1);
        EXPECT_TRUE(data.empty());
        EXPECT_EQ(LastCommError().source, "CommFlush");
        EXPECT_EQ(CommWrite(slot, "x"), 0);
        EXPECT_EQ(LastCommError().source, "CommWrite");
    }
    // The first and the last slot of the table are slots like any other.
    for (int slot : {1, kSlotCount}) {
        sim.attachAsCom(slot);
        const std::string com = "COM" + std::to_string(slot);
        ASSERT_EQ(CommOpen(slot, com, kSettings), 0) << slot;
        EXPECT_TRUE(CommIsOpen(slot));
        EXPECT_EQ(CommWrite(slot, MakeFrame('N', 0, 0)->bytes()), 5);
        EXPECT_EQ(CommFlush(slot), 0);
        EXPECT_EQ(CommClose(slot), 0);
        EXPECT_FALSE(CommIsOpen(slot));
        ::setenv(("TIRMO_" + com).c_str(), "", 1);
    }
}

TEST_F(CommPortTest, IoOnASlotThatIsNotOpenNeverReachesADescriptor)
{
    ASSERT_EQ(CommOpen(3, "COM3", kSettings), 0);
    ASSERT_EQ(CommClose(3), 0);
    EXPECT_EQ(CommWrite(3, "abc"), 0);
    std::string data;
    EXPECT_EQ(CommRead(3, data, 1), -1);
    EXPECT_NE(CommFlush(3), 0);
    EXPECT_TRUE(sim.rawReceived().empty());
}

TEST_F(CommPortTest, ReadReturnsWhatCameAfterTheGapAndFlushes)
{
    sim.on('Q', [](sim::SimState&, const sim::ReceivedFrame&) { return std::string(20, 'q'); });
    ASSERT_EQ(CommOpen(3, "COM3", kSettings), 0);
    std::string frame = {char(255), 'Q', 0, 0, 'Q'};
    ASSERT_EQ(CommWrite(3, frame), 5);
    std::string data;
    double t0 = sim::NowMs();
    EXPECT_EQ(CommRead(3, data, 32), 20);
    double took = sim::NowMs() - t0;
    EXPECT_EQ(data, std::string(20, 'q'));
    EXPECT_GE(took, 90) << "a read waits the gap after the last byte";
    EXPECT_LT(took, 400) << "but not the whole time-out";
}

TEST_F(CommPortTest, ReadOnASilentPortTakesTheTotalTimeOut)
{
    ASSERT_EQ(CommOpen(3, "COM3", kSettings), 0);
    std::string data = "old";
    double t0 = sim::NowMs();
    EXPECT_EQ(CommRead(3, data, 1), 0);
    double took = sim::NowMs() - t0;
    EXPECT_TRUE(data.empty());
    EXPECT_GE(took, 490);
    EXPECT_LT(took, 900);
}

TEST_F(CommPortTest, WritesReachTheInstrumentWithEveryByteValue)
{
    ASSERT_EQ(CommOpen(3, "COM3", "baud=1000000 parity=N data=8 stop=1"), 0);
    sim.allowUnframedBytes(true);  // raw bytes, no frames
    std::string all;
    for (int i = 0; i < 256; ++i)
        if (i != 255) all += char(i);  // a 255 would start a frame in the simulator's parser
    EXPECT_EQ(CommWriteBytes(3, {all.begin(), all.end()}), long(all.size()));
    for (int i = 0; i < 200 && sim.rawReceived().size() < all.size(); ++i) ::usleep(2000);
    EXPECT_EQ(sim.rawReceived(), all);
}

}  // namespace
}  // namespace tirmo::link
