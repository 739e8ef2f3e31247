#include <gtest/gtest.h>

#include "lighting/LedCommands.h"
#include "support/LinkFixture.h"

namespace tirmo::lighting {
namespace {

TEST(LedBanks, SplitDependsOnTheGeneration)
{
    EXPECT_EQ(LedFrame(200, 5, 2)->letter, 'l');
    EXPECT_EQ(LedFrame(200, 5, 2)->a, 8);
    EXPECT_EQ(LedFrame(200, 5, 1)->letter, 'L');
    EXPECT_EQ(LedFrame(200, 5, 1)->a, 200);
    EXPECT_EQ(LedFrame(415, 0, 1)->a, 207);
    EXPECT_EQ(LedFrame(415, 0, 2)->a, 223);
    EXPECT_EQ(LedFrame(10, 0, 3)->letter, 'l');
    EXPECT_FALSE(LedFrame(300, 0, 3)) << "index 300 does not fit a byte without a split";
}

class LightPulseTest : public test::LinkFixture {};

TEST_F(LightPulseTest, LevelGoesOutAsT15AndTheIndicatorFollows)
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
    SendLightPulse(0, 42, console, indicator);
    EXPECT_EQ(caption, "Pulse");
    EXPECT_EQ(fill, kPulseOffColour);
    EXPECT_EQ(sim->with([](sim::SimState& s) { return s.leds.blueLight; }), 0);
}

}  // namespace
}  // namespace tirmo::lighting
