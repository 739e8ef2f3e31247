#include <gtest/gtest.h>

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

TEST(ThermostatTest, BandsAndStagesPickThePwm)
{
    Thermostat t;
    EXPECT_EQ(t.Choose(-5, 0).pwm, 220);
    t.settle_counter = 50;  // stage 3 outside a run
    DriveChoice c = t.Choose(-5, 0);
    EXPECT_EQ(c.drive, Drive::Heat);
    EXPECT_EQ(c.pwm, 245) << "the table asks for the ceiling; PeltierHeat cuts it to 230";
    EXPECT_EQ(t.Choose(-2, 0).pwm, 240);
    EXPECT_EQ(t.Choose(2, 0).drive, Drive::Cool);
    EXPECT_EQ(t.Choose(2, 0).pwm, 245);
    t.settle_counter = 50;  // stage 4 during a run
    EXPECT_EQ(t.Choose(-0.7, 1).pwm, 235);
    t.settle_counter = 0;
    EXPECT_EQ(t.Choose(-1, 0).pwm, 160) << "d = -1 belongs to the -3..-1 band";
    EXPECT_EQ(t.Choose(1, 0).pwm, 150) << "d = 1 belongs to the 0.5..1 band";
    EXPECT_EQ(t.Choose(5, 0).pwm, 240);
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
}

}  // namespace
}  // namespace tirmo::thermal
