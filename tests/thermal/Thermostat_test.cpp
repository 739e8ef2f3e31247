#include <gtest/gtest.h>

#include <array>

#include "thermal/Thermostat.h"

namespace tirmo::thermal {
namespace {

TEST(ThermostatTest, ReadingPowerByteFollowsDriveModeAndSetPoint)
{
    EXPECT_EQ(Thermostat::ReadingPowerByte(0, false), 45);
    EXPECT_EQ(Thermostat::ReadingPowerByte(0, true), 177);
    EXPECT_EQ(Thermostat::ReadingPowerByte(30, false), 30);
    EXPECT_EQ(Thermostat::ReadingPowerByte(30, true), 1);
}

TEST(ThermostatTest, AnalogReadingsGoThroughTheWorkingLineAndTheRangeCheckThroughTheNominalOne)
{
    Thermostat t;
    Conversion c = t.Convert(21, true);
    EXPECT_NEAR(c.sensor, 20.032, 1e-9);
    EXPECT_NEAR(c.temperature, 20.032, 1e-9);
    t.working_temp_slope = 1.7;
    t.working_temp_offset = -14;
    c = t.Convert(21, true);
    EXPECT_NEAR(c.sensor, 20.032, 1e-9);
    EXPECT_NEAR(c.temperature, 21.7, 1e-9);
    c = t.Convert(24.5, false);
    EXPECT_DOUBLE_EQ(c.sensor, 24.5);
    EXPECT_DOUBLE_EQ(c.temperature, 24.5);
}

TEST(ThermostatTest, NoReadingIsMinusOneAndOutOfTheSafeRangeInEitherMode)
{
    Thermostat t;
    for (bool analog : {false, true}) {
        const Conversion c = t.Convert(-1, analog);
        EXPECT_FALSE(c.reading);
        EXPECT_EQ(c.temperature, -1) << "a missing reading is never shown as a temperature";
        EXPECT_FALSE(Thermostat::InSafeRange(c.sensor));
    }
    EXPECT_FALSE(Thermostat::InSafeRange(8.0));
    EXPECT_TRUE(Thermostat::InSafeRange(8.1));
    EXPECT_FALSE(Thermostat::InSafeRange(51.0));
}

TEST(ThermostatTest, EachSideOfEveryBandBoundPicksItsDriveAndPwm)
{
    using Pwm = std::array<int, 4>;  // stages 1..4, once the stage already drives that way
    const Pwm below3{220, 240, 245, 245}, to1{160, 200, 240, 245}, toHalf{100, 130, 160, 235},
        to0{100, 130, 160, 240}, toPlusHalf{150, 170, 200, 200}, toPlus1{150, 170, 240, 245},
        to1Half{230, 237, 240, 245}, toPlus3{235, 241, 245, 245}, above3{240, 243, 245, 245};
    struct Case {
        double d;
        Drive drive;
        Pwm pwm;
        Drive fromRest;  // the dead band (-0.5 < d <= 0.5) starts no drive
    };
    const Drive H = Drive::Heat, C = Drive::Cool, O = Drive::Off;
    const Case cases[] = {
        {-3.01, H, below3, H}, {-3, H, to1, H},       {-1, H, to1, H},          {-0.99, H, toHalf, H},
        {-0.5, H, toHalf, H},  {-0.49, H, to0, O},    {0, H, to0, O},           {0.01, C, toPlusHalf, O},
        {0.5, C, toPlusHalf, O}, {0.51, C, toPlus1, C}, {1, C, toPlus1, C},     {1.01, C, to1Half, C},
        {1.5, C, to1Half, C},  {1.51, C, toPlus3, C}, {3, C, toPlus3, C},       {3.01, C, above3, C},
    };
    for (const Case& c : cases) {
        Thermostat t;
        EXPECT_EQ(t.Choose(c.d, 0).drive, c.fromRest) << c.d;
        t.heating_on = t.cooling_on = true;
        for (int stage = 1; stage <= 4; ++stage) {
            t.settle_counter = 20 * (stage - 1);
            EXPECT_EQ(t.Choose(c.d, 0).drive, c.drive) << c.d;
            EXPECT_EQ(t.Choose(c.d, 0).pwm, c.pwm[size_t(stage - 1)]) << c.d << " stage " << stage;
        }
    }
    // The stages change at 20, 40 and 60 steady steps, during a run at 10, 20 and 30.
    Thermostat t;
    for (const int runState : {0, 1})
        for (const auto& [counter, stage] : {std::pair{19, 1}, {20, 2}, {39, 2}, {40, 3}, {59, 3}, {60, 4}}) {
            t.settle_counter = runState == 1 ? counter / 2 : counter;
            EXPECT_EQ(t.Stage(runState), stage) << counter << " run " << runState;
        }
}

TEST(ThermostatTest, DeadBandDrivesOnlyInTheDirectionAlreadyTaken)
{
    Thermostat t;
    t.settle_counter = 7;
    DriveChoice c = t.Choose(0.3, 0);
    EXPECT_EQ(c.drive, Drive::Off);
    t.Apply(c);
    EXPECT_EQ(t.settle_counter, 0);
    EXPECT_EQ(t.DriveColour(), kHoldingColour);

    t.Apply({Drive::Heat, 160});
    EXPECT_EQ(t.DriveColour(), kHeatingColour);
    c = t.Choose(-0.3, 0);
    EXPECT_EQ(c.drive, Drive::Heat);
    EXPECT_EQ(c.pwm, 100);
    EXPECT_EQ(t.Choose(0.3, 0).drive, Drive::Off) << "no cooling after a heating step";
    t.Apply({Drive::Cool, 150});
    EXPECT_FALSE(t.heating_on);
    EXPECT_EQ(t.Choose(0.3, 0).pwm, 150);
    EXPECT_EQ(t.DriveColour(), kCoolingColour);
}

TEST(ThermostatTest, SettlingClimbsThreeTimesAsFastDuringARun)
{
    Thermostat t;
    t.Settle(30, 1);  // first step: the reference moves to 30
    EXPECT_EQ(t.settle_counter, 0);
    for (int i = 0; i < 10; ++i) t.Settle(30.2, 1);
    EXPECT_EQ(t.settle_counter, 30);
    EXPECT_EQ(t.Stage(1), 4);
    EXPECT_EQ(t.Stage(0), 2) << "outside a run 30 steady steps are only stage 2";
    t.settle_counter = 99;
    t.Settle(30, 1);
    EXPECT_EQ(t.settle_counter, 102);
    t.Settle(30, 1);
    EXPECT_EQ(t.settle_counter, 102) << "the counter stops at 100 or just above";
    t.Settle(31, 1);
    EXPECT_EQ(t.settle_counter, 0);
    EXPECT_EQ(t.settle_reference, 31);
    // A move of 0.8 degrees or more starts the count anew; less is steady.
    t.settle_reference = 0;
    t.Settle(0.79, 0);
    EXPECT_EQ(t.settle_counter, 1);
    t.Settle(0.8, 0);
    EXPECT_EQ(t.settle_counter, 0);
}

}  // namespace
}  // namespace tirmo::thermal
