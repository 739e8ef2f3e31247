#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <tuple>

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

// The counter in its plainest form, pair by pair and frame by frame, with no shortcut.
int countPlainly(const FrameHistory& h, int p, int w)
{
    if (!(p >= 1 && p - w >= 1 && p + w < h.pixel_count())) return 0;
    const int q[4] = {p - 1, p - w, p - w - 1, p - w + 1};
    double baseline = 0;
    for (int k = 1; k <= 10; ++k) {
        double frame = 0;
        for (int n : q) frame += std::abs(h.at(p, k) + h.at(n, k)) / 2.0;
        baseline += frame / 4;
    }
    baseline /= 10;
    int events = 0;
    for (int k = 1; k <= 10; ++k) {
        bool moved = false;
        for (int n : q) {
            const double d1 = h.at(p, k) - h.at(p, k - 1), d2 = h.at(n, k) - h.at(n, k - 1);
            const double a = std::abs(d1 + d2) / 2;
            if (a > 4.0 / 100 * baseline && a > 4.0 && ((d1 > 4.0 && d2 > 4.0) || (d1 < -4.0 && d2 < -4.0)))
                moved = true;
        }
        events += moved;
    }
    return events;
}

TEST(CountActivityEvents, AgreesWithThePlainCountOnNoisyNeighbourhoodsOfEveryBrightness)
{
    std::mt19937 random(7);
    for (int base : {20, 60, 124, 126, 180, 240}) {
        for (int width : {3, 17}) {
            const int count = width * 9 + 5;
            std::vector<std::array<int16_t, kWindowFrames>> values(size_t(count) + 1);
            for (auto& pixel : values) {
                int v = base + int(random() % 21) - 10;
                for (auto& frame : pixel) {
                    v = std::clamp(v + int(random() % 31) - 15, 0, 255);
                    frame = int16_t(v);
                }
            }
            // Filled value by value, and filled as the window completion fills it.
            FrameHistory one, block;
            one.Reset(count);
            block.Reset(count);
            std::array<std::string, kWindowFrames> frames;
            for (int p = 1; p <= count; ++p)  // pixel 0 holds no frame value in either
                for (int k = 0; k < kWindowFrames; ++k) one.set(p, k, values[size_t(p)][size_t(k)]);
            for (int k = 0; k < kWindowFrames; ++k)
                for (int p = 1; p <= count; ++p) frames[size_t(k)] += char(values[size_t(p)][size_t(k)]);
            std::array<const unsigned char*, kWindowFrames> bytes{};
            for (int k = 0; k < kWindowFrames; ++k)
                bytes[size_t(k)] = reinterpret_cast<const unsigned char*>(frames[size_t(k)].data());
            block.FillPixels(bytes, 1, count);
            // Every pixel the block fill reaches holds what the value-by-value fill holds, the
            // pixels of its last, short block too (on the last line they count no event).
            const FrameHistory &a = one, &b = block;
            for (int p = 1; p <= count; ++p) {
                ASSERT_TRUE(std::equal(a.pixel(p), a.pixel(p) + kWindowFrames, b.pixel(p))) << "pixel " << p;
                const PixelMoves ma = a.moves()[p], mb = b.moves()[p];
                ASSERT_EQ(std::tie(ma.rises, ma.falls, ma.sum), std::tie(mb.rises, mb.falls, mb.sum)) << "pixel " << p;
            }
            int moving = 0;
            for (int p = 0; p <= count + 1; ++p) {
                const int expected = countPlainly(one, p, width);
                ASSERT_EQ(CountActivityEvents(one, p, width), expected) << "base " << base << " pixel " << p;
                ASSERT_EQ(CountActivityEvents(block, p, width), expected) << "base " << base << " pixel " << p;
                moving += expected > 0;
            }
            EXPECT_GT(moving, 0) << base;
        }
    }
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
