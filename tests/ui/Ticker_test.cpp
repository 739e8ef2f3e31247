#include "ui/Ticker.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/Timer.h"

namespace tirmo::ui {
namespace {

// Two users as the main window has them: the temperature work and the light pulse.
struct TickerTest : ::testing::Test {
    TickerTest()
    {
        timer.SetInterval(1000);
        timer.SetEnabled(false);
        temperature = ticker.Register([this] {
            order += "T";
            return temperatureOn;
        });
        pulse = ticker.Register([this] {
            order += "P";
            return pulseOn;
        });
    }
    Timer timer;
    Ticker ticker{timer};
    int temperature = -1, pulse = -1;
    bool temperatureOn = false, pulseOn = false;
    std::string order;
};

TEST_F(TickerTest, RunsWhileAnyUserNeedsItAndStopsWhenNoneDoes)
{
    EXPECT_FALSE(timer.Enabled()) << "nobody needs it yet";
    pulseOn = true;
    ticker.Need(pulse);
    EXPECT_TRUE(timer.Enabled());
    temperatureOn = true;
    ticker.Need(temperature);
    ticker.Release(temperature);
    EXPECT_TRUE(timer.Enabled()) << "the pulse still needs it";
    ticker.RunSteps();
    EXPECT_EQ(order, "TP") << "every step runs, in the order registered";
    EXPECT_TRUE(timer.Enabled());

    pulseOn = false;  // the pulse ended between ticks: the timer runs until the next tick tells
    EXPECT_TRUE(timer.Enabled());
    temperatureOn = false;
    ticker.RunSteps();
    EXPECT_FALSE(timer.Enabled());
    EXPECT_FALSE(ticker.Needs(pulse));
}

TEST_F(TickerTest, AUserThatStartsWithoutWorkIsDroppedAtTheFirstTick)
{
    ticker.Need(temperature);  // the sensor calibration starts the tick with control still off
    EXPECT_TRUE(timer.Enabled());
    ticker.RunSteps();
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(order, "TP");
}

}  // namespace
}  // namespace tirmo::ui
