#include <gtest/gtest.h>

#include "lighting/LightPulse.h"

namespace tirmo::lighting {
namespace {

TEST(PulseSchedule, EachCycleIsDarkThenLitBothEndsIncluded)
{
    const PulseSchedule s{15, 15, 2};
    EXPECT_FALSE(ScheduledPulseEnd(s, 100));
    EXPECT_FALSE(ScheduledPulseEnd(s, 899.9));
    EXPECT_EQ(ScheduledPulseEnd(s, 900), 1800);
    EXPECT_EQ(ScheduledPulseEnd(s, 1800), 1800);
    EXPECT_FALSE(ScheduledPulseEnd(s, 1800.5));
    EXPECT_EQ(ScheduledPulseEnd(s, 2700), 3600);
    EXPECT_EQ(ScheduledPulseEnd(s, 3600), 3600);
    EXPECT_FALSE(ScheduledPulseEnd(s, 3601)) << "after the last cycle the light stays off";
}

TEST(PulseSchedule, JoinedCyclesTakeTheLaterEnd)
{
    const PulseSchedule s{15, 0, 2};
    EXPECT_EQ(ScheduledPulseEnd(s, 0), 900);
    EXPECT_EQ(ScheduledPulseEnd(s, 900), 1800);
    EXPECT_EQ(ScheduledPulseEnd(s, 1800), 1800);
}

TEST(PulseSchedule, AHugeCycleCountDoesNotHoldUpTheWindow)
{
    EXPECT_EQ(ScheduledPulseEnd({1, 1, 1000000000L}, 100), 120);
    EXPECT_FALSE(ScheduledPulseEnd({0, 0, 1000000000L}, 100));
}

TEST(PulseLevel, IsEightMinusAWholePowerFromZeroToSeven)
{
    EXPECT_EQ(PulseLevel("2"), 6);
    EXPECT_EQ(PulseLevel("0"), 8);
    EXPECT_EQ(PulseLevel("7"), 1);
    EXPECT_EQ(PulseLevel("2.5"), 6);
    EXPECT_FALSE(PulseLevel("8"));
    EXPECT_FALSE(PulseLevel("-1"));
    EXPECT_FALSE(PulseLevel("abc")) << "a power that is not a number sends nothing";
}

}  // namespace
}  // namespace tirmo::lighting
