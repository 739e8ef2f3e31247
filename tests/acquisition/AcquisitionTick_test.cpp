#include <gtest/gtest.h>

#include <random>

#include "acquisition/AcquisitionTick.h"

namespace tirmo::acquisition {
namespace {

TEST(ElapsedText, ShowsWholeDaysElapsedAcrossTheDayBoundary)
{
    const struct {
        double seconds;
        const char* text;
    } cases[] = {{0, "[00] 00:00.00"},          {59.9, "[00] 00:00.59"},     {61, "[00] 00:01.01"},
                 {3600, "[00] 01:00.00"},       {86399.9, "[00] 23:59.59"},  {86400, "[01] 00:00.00"},
                 {2 * 86400 + 3661, "[02] 01:01.01"}, {40 * 86400, "[40] 00:00.00"}, {-5, "[00] 00:00.00"}};
    for (const auto& k : cases) EXPECT_EQ(ElapsedText(k.seconds), k.text) << k.seconds;
}

TEST(FrameFailed, EmptyAndErrorRepliesFailAnythingElseIsAFrame)
{
    EXPECT_TRUE(FrameFailed(""));
    EXPECT_TRUE(FrameFailed("Error"));
    EXPECT_TRUE(FrameFailed("Error: time-out"));
    EXPECT_FALSE(FrameFailed("Erro"));
    EXPECT_FALSE(FrameFailed("error"));
    EXPECT_FALSE(FrameFailed(std::string(1, '\0')));
}

TEST(DifferenceImage, IsCurrentMinusPreviousAround128Clamped)
{
    const std::string previous{char(0), char(255), char(100), char(100), char(0), char(200)};
    const std::string current{char(255), char(0), char(100), char(227), char(127), char(72)};
    const std::string d = DifferenceImage(previous, current);
    ASSERT_EQ(d.size(), current.size());
    // 255 + 128 clamps to 255; -255 + 128 to 0; 127 is the last unclamped value up, -128 down.
    const int expected[] = {255, 0, 128, 255, 255, 0};
    for (size_t i = 0; i < d.size(); ++i) EXPECT_EQ(int(uint8_t(d[i])), expected[i]) << i;
    EXPECT_EQ(int(uint8_t(DifferenceImage(std::string(1, char(101)), std::string(1, char(227)))[0])), 254);
    EXPECT_EQ(int(uint8_t(DifferenceImage(std::string(1, char(201)), std::string(1, char(74)))[0])), 1);
    // A shorter previous frame counts as dark where it ends.
    EXPECT_EQ(DifferenceImage("", std::string(2, char(10))), std::string(2, char(138)));
}

TEST(FrameStatus, CountsScansAndCamerasFromOneAndWindowsAndFramesFromZero)
{
    EXPECT_EQ(FrameStatus(0, 0, 0, 0), "[Scan1_C1.0] Frame #0/10");
    EXPECT_EQ(FrameStatus(11, 5, 3, 10), "[Scan12_C6.3] Frame #10/10");
}

TEST(RandomFrame, HasTheWindowsSizeAndSpreadsOverTheWholeGreyRange)
{
    std::mt19937 g(7);
    const std::string f = RandomFrame(g, 21060);
    ASSERT_EQ(f.size(), 21060u);
    int low = 255, high = 0;
    for (char c : f) {
        low = std::min(low, int(uint8_t(c)));
        high = std::max(high, int(uint8_t(c)));
    }
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 255);
    EXPECT_NE(RandomFrame(g, 100), RandomFrame(g, 100));
    EXPECT_TRUE(RandomFrame(g, 0).empty());
}

}  // namespace
}  // namespace tirmo::acquisition
