#include <gtest/gtest.h>

#include "link/Session.h"
#include "support/FakeClock.h"
#include "support/LinkFixture.h"
#include "thermal/TemperatureStage.h"

namespace tirmo::thermal {
namespace {

class TemperatureStageTest : public test::LinkFixture {
protected:
    TemperatureStage stage;
};

TEST_F(TemperatureStageTest, DecodesEachGenerationsReplyWithoutOverflow)
{
    session.hardware_generation = 2;
    EXPECT_DOUBLE_EQ(stage.DecodeTemperatureReply(std::string({'T', 1, char(144)}), session.hardware_generation), 25.0);
    EXPECT_EQ(stage.DecodeTemperatureReply(std::string({'T', 6, 64}), session.hardware_generation), 0) << "100 degrees is not valid";
    EXPECT_EQ(stage.DecodeTemperatureReply(std::string({'T', 0, 0}), session.hardware_generation), 0);
    EXPECT_EQ(stage.DecodeTemperatureReply(std::string({'t', 125, 0}), session.hardware_generation), 0) << "'t' is refused on generation 2";
    session.hardware_generation = 1;
    EXPECT_DOUBLE_EQ(stage.DecodeTemperatureReply(std::string({'t', 125, 0}), session.hardware_generation), 25.0);
    EXPECT_DOUBLE_EQ(stage.DecodeTemperatureReply(std::string({'t', char(200), 0}), session.hardware_generation), 40.0)
        << "a first data byte of 128 or more is a large positive raw value, not a negative one";
}

TEST_F(TemperatureStageTest, PeltierOffSendsPowerZeroAndKeepsTheReportedTemperature)
{
    session.hardware_generation = 2;
    sim->with([](sim::SimState& s) { return s.thermal.temperatureC = 30.0; });
    EXPECT_EQ(stage.PeltierOff(console), 1);
    EXPECT_EQ(frameList(), std::vector<std::string>{"T,1,0"});
    EXPECT_DOUBLE_EQ(stage.last_temperature, 30.0);
    EXPECT_EQ(console.lastMonitor(), "T;1;224");
}

TEST_F(TemperatureStageTest, FanFrameGoesOutEvenWithTheLinkMarkedClosed)
{
    session.port_open = false;
    EXPECT_EQ(stage.SetFan(255, console), 1);
    EXPECT_EQ(sim->rawReceived(), std::string({char(255), 'T', 2, char(255), char(169)}));
    EXPECT_EQ(stage.SetFan(300, console), -1);
    EXPECT_EQ(stage.PeltierOff(console), -1);
    EXPECT_EQ(console.lastStatus(), "COMPORT not opened. Click Connect");
    EXPECT_EQ(sim->frames().size(), 1u);
}

TEST_F(TemperatureStageTest, HeatingUsesOneFrameOnGenerationTwoAndTwoOnAnAnalogStage)
{
    test::FakeClock clock;
    test::WriteRecorder recorder;
    session.hardware_generation = 2;
    int pwm = 250;
    EXPECT_EQ(stage.PeltierHeat(pwm, console), 1);
    EXPECT_EQ(pwm, 230);
    session.hardware_generation = 1;
    stage.analog_stage = true;
    pwm = 100;
    EXPECT_EQ(stage.PeltierHeat(pwm, console), 1);
    EXPECT_EQ(frameList(), (std::vector<std::string>{"T,3,230", "T,0,0", "T,1,100"}));
    ASSERT_EQ(recorder.writes.size(), 3u);
    EXPECT_GE(recorder.gaps()[1], 100.0) << "direction, then power 100 ms later";
}

TEST_F(TemperatureStageTest, CoolingLimitsTo245AndUsesTheCoolDirectionOnAnAnalogStage)
{
    test::FakeClock clock;
    session.hardware_generation = 2;
    int pwm = 250;
    EXPECT_EQ(stage.PeltierCool(pwm, console), 1);
    EXPECT_EQ(pwm, 245);
    pwm = 240;
    stage.PeltierCool(pwm, console);
    session.hardware_generation = 1;
    stage.analog_stage = true;
    pwm = 250;
    stage.PeltierCool(pwm, console);
    EXPECT_EQ(frameList(), (std::vector<std::string>{"T,4,245", "T,4,240", "T,0,255", "T,1,245"}));
    EXPECT_EQ(console.lastStatus(), "cool_an:245");
}

TEST_F(TemperatureStageTest, ReadingPowerIsLimitedAndWrittenBack)
{
    session.hardware_generation = 2;
    int power = 300;
    stage.SetPowerReadTemperature(power, console);
    EXPECT_EQ(power, 255);
    power = -3;
    stage.SetPowerReadTemperature(power, console);
    EXPECT_EQ(power, 0);
    EXPECT_EQ(frameList(), (std::vector<std::string>{"T,255,255", "T,255,0"}));
}

TEST_F(TemperatureStageTest, ReadingDecodesTheReplyAndRefusesInvalidOnes)
{
    session.hardware_generation = 2;
    std::string answer;
    sim->on('T', [&answer](sim::SimState&, const sim::ReceivedFrame&) { return answer; });
    int power = 0;
    answer = std::string({'T', 1, char(144)});
    EXPECT_DOUBLE_EQ(stage.SetPowerReadTemperature(power, console), 25.0);
    EXPECT_DOUBLE_EQ(stage.last_temperature, 25.0);
    answer = std::string({'T', 6, 64});
    EXPECT_EQ(stage.SetPowerReadTemperature(power, console), kNoReading) << "100 degrees is not a reading";
    answer = std::string({'T', 0, 0});
    EXPECT_EQ(stage.SetPowerReadTemperature(power, console), kNoReading);
    answer = std::string({'t', 125, 0});
    EXPECT_EQ(stage.SetPowerReadTemperature(power, console), kNoReading) << "'t' is refused on generation 2";
    EXPECT_FALSE(stage.analog_stage);
    EXPECT_DOUBLE_EQ(stage.last_temperature, 25.0) << "an invalid reading leaves the last one";
}

TEST_F(TemperatureStageTest, TheReplyLetterChoosesTheDriveModeOnGenerationOne)
{
    session.hardware_generation = 1;
    std::string answer = std::string({'t', 125, 0});
    sim->on('T', [&answer](sim::SimState&, const sim::ReceivedFrame&) { return answer; });
    int power = 0;
    EXPECT_DOUBLE_EQ(stage.SetPowerReadTemperature(power, console), 25.0);
    EXPECT_TRUE(stage.analog_stage);
    answer = std::string({'T', 1, char(144)});
    EXPECT_DOUBLE_EQ(stage.SetPowerReadTemperature(power, console), 25.0);
    EXPECT_FALSE(stage.analog_stage);
    EXPECT_EQ(stage.DecodeTemperatureReply(answer, session.hardware_generation), 0) << "the drive replies of generation 1 decode only 't'";
}

TEST_F(TemperatureStageTest, AClosedLinkIsNoReadingNotZeroDegrees)
{
    session.port_open = false;
    int power = 0;
    EXPECT_EQ(stage.SetPowerReadTemperature(power, console), kNoReading);
    EXPECT_EQ(console.lastStatus(), "COMPORT not opened. Click Connect");
    int pwm = 100;
    EXPECT_EQ(stage.PeltierHeat(pwm, console), -1);
    EXPECT_EQ(stage.PeltierCool(pwm, console), -1);
    EXPECT_TRUE(sim->frames().empty());
}

TEST_F(TemperatureStageTest, ASilentStageGivesEmptyAndMinusOne)
{
    test::QuickTimeouts quick;
    sim->setSilent(true);
    int power = 0;
    EXPECT_EQ(stage.SetPowerReadTemperature(power, console), kNoReading);
    EXPECT_EQ(stage.PeltierOff(console), -1);
    EXPECT_EQ(console.lastMonitor(), "Empty");
}

}  // namespace
}  // namespace tirmo::thermal
