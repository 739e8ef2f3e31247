#include <gtest/gtest.h>

#include <functional>

#include "acquisition/ActivityCounter.h"

namespace tirmo::acquisition {
namespace {

// A window of 8 lines of 5 pixels (pixels 0..40); the pixel under test is 22, its neighbours
// 21 (before it) and 16, 17, 18 (the line before).
constexpr int kWidth = 5;
constexpr int kCount = 40;
constexpr int kPixel = 22;
constexpr int kNeighbours[] = {21, 17, 16, 18};

// value(frame) for the pixel, the first neighbour and the three other neighbours; every other
// pixel holds 100 in every frame.
struct Neighbourhood {
    std::function<int(int)> pixel, first, others;
};

FrameHistory historyOf(const Neighbourhood& n, int count = kCount, int p = kPixel, int w = kWidth)
{
    FrameHistory h;
    h.Reset(count);
    for (int q = 0; q <= count; ++q)
        for (int k = 0; k < kWindowFrames; ++k) h.set(q, k, 100);
    const int neighbours[] = {p - 1, p - w, p - w - 1, p - w + 1};
    for (int k = 0; k < kWindowFrames; ++k) {
        h.set(p, k, n.pixel(k));
        h.set(neighbours[0], k, n.first(k));
        for (int i = 1; i < 4; ++i) h.set(neighbours[i], k, n.others(k));
    }
    return h;
}

std::function<int(int)> constant(int v)
{
    return [v](int) { return v; };
}
std::function<int(int)> rising(int from, int step)
{
    return [from, step](int k) { return from + step * k; };
}
// `from` up to frame 4, `from + jump` from frame 5 on: one transition, into frame 5.
std::function<int(int)> jumpAtFive(int from, int jump)
{
    return [from, jump](int k) { return k < 5 ? from : from + jump; };
}

TEST(CountActivityEvents, CountsTheFramesInWhichAPixelPairMovedTogether)
{
    struct Case {
        const char* what;
        Neighbourhood n;
        int events;
    };
    const Case cases[] = {
        {"eleven identical frames", {constant(120), constant(120), constant(120)}, 0},
        // Frames 1..10 run 110..200: baseline 155, every change of 10 passes 6.2.
        {"all five rising by 10 from 100", {rising(100, 10), rising(100, 10), rising(100, 10)}, 10},
        {"pixel up, every neighbour down", {rising(100, 10), rising(200, -10), rising(200, -10)}, 0},
        {"pair changing by exactly 4", {rising(50, 4), rising(50, 4), constant(50)}, 0},
        {"pair changing by exactly -4", {rising(90, -4), rising(90, -4), constant(50)}, 0},
        {"pair changing by 5", {rising(50, 5), rising(50, 5), constant(50)}, 10},
        {"pixel by 5, neighbour by 4", {rising(50, 5), rising(50, 4), constant(50)}, 0},
        // Baseline about 202 (4 % is 8.1): a mean change of 7 is noise, 9 is movement.
        {"baseline 200, pair jumping by 7", {jumpAtFive(200, 7), jumpAtFive(200, 7), constant(200)}, 0},
        {"baseline 200, pair jumping by 9", {jumpAtFive(200, 9), jumpAtFive(200, 9), constant(200)}, 1},
        {"baseline 200, pair falling by 9", {jumpAtFive(209, -9), jumpAtFive(209, -9), constant(200)}, 1},
        {"only one neighbour of four needed", {rising(100, 10), rising(100, 10), rising(200, -10)}, 10},
    };
    for (const Case& c : cases) EXPECT_EQ(CountActivityEvents(historyOf(c.n), kPixel, kWidth), c.events) << c.what;
}

TEST(CountActivityEvents, PixelsOnTheFirstOrLastLineCountNothing)
{
    const Neighbourhood moving{rising(100, 10), rising(100, 10), rising(100, 10)};
    // p - w = 1 is the first pixel that has a line before it; p - w = 0 is not.
    EXPECT_EQ(CountActivityEvents(historyOf(moving, kCount, 6, kWidth), 6, kWidth), 10);
    EXPECT_EQ(CountActivityEvents(historyOf(moving, kCount, 6, kWidth), 5, kWidth), 0);
    // p + w = count - 1 still has a line after it; p + w = count does not.
    EXPECT_EQ(CountActivityEvents(historyOf(moving, kCount, 34, kWidth), 34, kWidth), 10);
    EXPECT_EQ(CountActivityEvents(historyOf(moving, kCount, 35, kWidth), 35, kWidth), 0);
    EXPECT_EQ(CountActivityEvents(historyOf(moving), 0, kWidth), 0);
    EXPECT_EQ(CountActivityEvents(historyOf(moving), -3, kWidth), 0);
    EXPECT_EQ(CountActivityEvents(historyOf(moving), kPixel, 0), 0) << "no line width, no line before";
}

TEST(FrameHistory, KeepsTheElevenFramesOfAPixelTogether)
{
    FrameHistory h;
    h.Reset(3);
    EXPECT_EQ(h.pixel_count(), 3);
    h.set(2, 10, 255);
    h.set(3, 0, 7);
    EXPECT_EQ(h.pixel(2) + kWindowFrames, h.pixel(3));
    EXPECT_EQ(h.pixel(2)[kWindowFrames], 7);
    EXPECT_EQ(h.at(2, 10), 255);
    h.Reset(1);
    EXPECT_EQ(h.at(1, 0), 0) << "a reset clears every value";
}

}  // namespace
}  // namespace tirmo::acquisition
