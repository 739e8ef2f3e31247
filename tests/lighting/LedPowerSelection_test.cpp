#include <gtest/gtest.h>

#include "lighting/LedPowerSelection.h"

namespace tirmo::lighting {
namespace {

TEST(LedPowerTargets, EveryRunFormatAimsAtAGreyAboveZero)
{
    EXPECT_EQ(TargetsFor("p35"), (CalibrationTargets{178, 166}));
    EXPECT_EQ(TargetsFor("w6"), (CalibrationTargets{178, 166}));
    EXPECT_EQ(TargetsFor("w24"), (CalibrationTargets{128, 115}));
    // No targets of their own: aiming at 0 would leave every LED of the run dark.
    for (const char* format : {"w12", "w48", "w96f"}) EXPECT_EQ(TargetsFor(format), (CalibrationTargets{128, 115})) << format;
    for (const char* format : {"w96u", "", "W6", "w 6"}) EXPECT_FALSE(TargetsFor(format)) << format;
}

TEST(LedPowerSelection, TheHighestLevelWhoseReadingDoesNotExceedTheTarget)
{
    struct Case {
        std::array<int, kCalibrationLevels> readings;
        int target, power;
    };
    const Case cases[] = {
        {{0, 25, 50, 75, 100, 125, 150, 175, 200}, 178, 7},
        {{0, 25, 50, 75, 100, 125, 150, 175, 178}, 178, 8},  // equal to the target still fits
        {{0, 25, 50, 75, 100, 125, 150, 175, 179}, 178, 7},
        {{179, 180, 181, 182, 183, 184, 185, 186, 187}, 178, 0},  // above even at level 0
        {{0, 0, 0, 0, 0, 0, 0, 0, 0}, 128, 8},
        {{0, 90, 200, 120, 200, 200, 200, 200, 200}, 128, 3},  // the last fitting level, not the first gap
    };
    for (const Case& c : cases) EXPECT_EQ(SelectLedPower(c.readings, c.target), c.power) << c.target;
}

TEST(LedPowerSelection, TheCheckReadingCorrectsByOneOrTwoLevels)
{
    struct Case {
        int power, reading, target, expected;
    };
    const Case cases[] = {
        // T = 115: 1.2 T = 138, 0.3 T = 34.5, 0.2 T = 23.
        {5, 115, 115, 5}, {5, 116, 115, 4}, {5, 138, 115, 4}, {5, 139, 115, 3},
        {5, 35, 115, 5},  {5, 34, 115, 6},  {5, 23, 115, 6},  {5, 22, 115, 7},
        {8, 0, 115, 8},   {7, 0, 115, 8},   {6, 0, 115, 8},   {7, 30, 115, 8}, {8, 30, 115, 8},
        {1, 200, 115, 0}, {0, 200, 115, 0}, {0, 120, 115, 0}, {2, 200, 115, 0},
        // T = 166 (from the single-well formats): 1.2 T = 199.2.
        {7, 175, 166, 6}, {7, 199, 166, 6}, {7, 200, 166, 5}, {6, 166, 166, 6}, {6, 50, 166, 6}, {6, 49, 166, 7},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AdjustLedPower(c.power, c.reading, c.target), c.expected)
            << "power " << c.power << " reading " << c.reading << " T " << c.target;
}

class LedReadingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        map.camera[7] = 2;
        setRect(7, 10, 12, 20, 21);
    }
    void setRect(int led, int x1, int x2, int y1, int y2)
    {
        map.x1[size_t(led)] = x1;
        map.x2[size_t(led)] = x2;
        map.y1[size_t(led)] = y1;
        map.y2[size_t(led)] = y2;
    }
    LedMap map;
    camera::FrameStore frames;
};

TEST_F(LedReadingTest, MeanOfTheCountedPositionsRoundedHalfToEven)
{
    for (int x = 10; x <= 12; ++x)
        for (int y = 20; y <= 21; ++y) frames.Set(2, x, y, 100);
    frames.Set(2, 10, 20, 103);  // sum 603 over 6: 100.5 -> 100
    EXPECT_EQ(ReadLed(map, 7, 2, frames, {}), 100);
    frames.Set(2, 10, 20, 109);  // 609 / 6 = 101.5 -> 102
    EXPECT_EQ(ReadLed(map, 7, 2, frames, {}), 102);
    frames.Set(2, 11, 21, -1);  // an empty cell does not count: 509 / 5 = 101.8
    EXPECT_EQ(ReadLed(map, 7, 2, frames, {}), 102);
    // Only what the mask takes: the column x = 10 (109 and 100).
    EXPECT_EQ(ReadLed(map, 7, 2, frames, [](int, int x, int) { return x == 10; }), 104);
    EXPECT_FALSE(ReadLed(map, 7, 3, frames, {})) << "another camera's frame holds nothing there";
}

TEST_F(LedReadingTest, PositionsOutsideTheFrameArePassedOverAndNothingCountedIsNoReading)
{
    frames.Set(2, 192, 192, 80);
    frames.Set(2, 0, 0, 60);
    setRect(7, 190, 250, 192, 400);  // reaches beyond 192 on both axes
    EXPECT_EQ(ReadLed(map, 7, 2, frames, {}), 80);
    setRect(7, -5, 0, -3, 0);
    EXPECT_EQ(ReadLed(map, 7, 2, frames, {}), 60);
    setRect(7, -1, -1, -1, -1);  // no band found by the light alignment
    EXPECT_FALSE(ReadLed(map, 7, 2, frames, {}));
    setRect(7, 193, 32767, 193, 32767);
    EXPECT_FALSE(ReadLed(map, 7, 2, frames, {}));
    setRect(7, 5, 4, 5, 9);  // an empty rectangle
    EXPECT_FALSE(ReadLed(map, 7, 2, frames, {}));
    EXPECT_FALSE(ReadLed(map, -1, 2, frames, {}));
    EXPECT_FALSE(ReadLed(map, kLedCount, 2, frames, {}));
}

TEST(CameraLeds, TheLedsTheMapGivesACameraInOrder)
{
    LedMap map;
    map.camera.fill(1);
    map.camera[3] = 0;
    map.camera[400] = 0;
    map.camera[415] = 5;
    EXPECT_EQ(CameraLeds(map, 0), (std::vector<int>{3, 400}));
    EXPECT_EQ(CameraLeds(map, 5), std::vector<int>{415});
    EXPECT_TRUE(CameraLeds(map, 6).empty());
    EXPECT_EQ(CameraLeds(map, 1).size(), size_t(kLedCount - 3));
}

TEST(EvenOutLedPowers, ReadingsBetweenNinetyFivePercentAndTheMeanStay)
{
    LedMap map;
    LevelReadings readings(static_cast<size_t>(kLedCount));
    for (int led : {0, 1, 2, 3})
        for (int l = 0; l < kCalibrationLevels; ++l) readings[size_t(led)][size_t(l)] = 20 * l;
    map.power[0] = 4;  // 80: above 0.95 avg (78.375), below avg: unchanged
    map.power[1] = 3;  // 60: raised while at or below avg: 80, then 100 stops it
    map.power[2] = 5;  // 100: lowered while at or above 0.7 avg (57.75): 80, 60, then 40
    map.power[3] = 4;  // 80
    // avg = (80 + 60 + 100 + 90) / 4 with LED 3 reading 90 at its power.
    readings[3][4] = 90;
    EvenOutLedPowers(map, {0, 1, 2, 3}, readings);
    EXPECT_EQ(map.power[0], 4);
    EXPECT_EQ(map.power[1], 5);
    EXPECT_EQ(map.power[2], 2);
    EXPECT_EQ(map.power[3], 2) << "90 >= avg: 90, then 60 at level 3, then 40 at level 2";
}

TEST(EvenOutLedPowers, TheRulesOfTheSecondRound)
{
    LevelReadings readings(static_cast<size_t>(kLedCount));
    for (int led = 0; led < 4; ++led)
        for (int l = 0; l < kCalibrationLevels; ++l) readings[size_t(led)][size_t(l)] = 10 * l;
    LedMap map;
    // Readings at the powers: 40, 20, 60, 40 -> avg 40.
    map.power = {};
    map.power[0] = 4;
    map.power[1] = 2;
    map.power[2] = 6;
    map.power[3] = 4;
    EvenOutLedPowers(map, {0, 1, 2, 3}, readings);
    // An LED reading exactly avg is lowered while its reading stays >= 0.7 avg (28): 40, 30 -> 2.
    EXPECT_EQ(map.power[0], 2);
    // 20 <= 0.95 avg: raised while reading <= 40: 2 -> 3 -> 4 -> 5 (50 stops it).
    EXPECT_EQ(map.power[1], 5);
    // 60 >= avg: lowered while >= 28: 6, 5, 4, 3 -> 2.
    EXPECT_EQ(map.power[2], 2);
    EXPECT_EQ(map.power[3], 2);
}

TEST(EvenOutLedPowers, NoLedsNoMeanNoChange)
{
    LedMap map;
    map.power.fill(3);
    const LevelReadings readings(static_cast<size_t>(kLedCount));
    EvenOutLedPowers(map, {}, readings);
    LedMap same;
    same.power.fill(3);
    EXPECT_EQ(map.power, same.power);
    // Readings all 0: avg 0, every LED reads <= 0.95 x 0 and climbs to 8.
    EvenOutLedPowers(map, {5}, readings);
    EXPECT_EQ(map.power[5], 8);
    // A power outside the measured levels is left alone and kept out of the mean.
    map.power[6] = 12;
    EvenOutLedPowers(map, {6}, readings);
    EXPECT_EQ(map.power[6], 12);
}

}  // namespace
}  // namespace tirmo::lighting
