#include <gtest/gtest.h>

#include "link/Session.h"
#include "camera/CameraSelect.h"
#include "support/FakeClock.h"
#include "support/LinkFixture.h"

namespace tirmo::camera {
namespace {

TEST(CameraByte, OnlyASingleDigitZeroToFiveSelectsACamera)
{
    EXPECT_EQ(CameraByte("4"), 4);
    EXPECT_EQ(CameraByte("6"), 6);
    EXPECT_EQ(CameraByte("7"), 6);
    EXPECT_EQ(CameraByte(""), 6);
    EXPECT_EQ(CameraByte(" 1"), 6);
    EXPECT_EQ(CameraByte("01"), 6);
}

class CameraSelectTest : public test::LinkFixture {};

TEST_F(CameraSelectTest, SelectsWithPacedBytesAndTheCameraNumberEcho)
{
    test::FakeClock clock;
    test::WriteRecorder recorder;
    EXPECT_TRUE(SelectCamera("4", console));
    EXPECT_EQ(sim->rawReceived(), std::string({char(255), 67, 4, 0, 71}));
    auto f = sim->frames();
    ASSERT_EQ(f.size(), 1u);
    ASSERT_EQ(recorder.writes.size(), 5u);
    for (double gap : recorder.gaps()) EXPECT_GE(gap, 15.0);
    EXPECT_EQ(console.lastMonitor(), "4 <- Camera");
}

TEST_F(CameraSelectTest, AReplyThatMerelyBeginsWithTheCameraDoesNotConfirmIt)
{
    sim->on('C', [](sim::SimState&, const sim::ReceivedFrame&) { return std::string(1, char(13)); });
    EXPECT_FALSE(SelectCamera("1", console));
    EXPECT_EQ(sim->frames().size(), 3u);
    EXPECT_EQ(console.lastMonitor(), "13 <- Camera");
}

TEST_F(CameraSelectTest, DummyModeAndClosedLinkSendNothing)
{
    session.dummy_mode = 1;
    EXPECT_FALSE(SelectCamera("2", console));
    session.dummy_mode = 0;
    session.port_open = false;
    EXPECT_FALSE(SelectCamera("2", console));
    EXPECT_EQ(console.lastStatus(), "COMPORT not opened. Click Connect");
    EXPECT_TRUE(sim->rawReceived().empty());
}

}  // namespace
}  // namespace tirmo::camera
