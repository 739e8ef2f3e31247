// Side sums and the six chemotaxis index kinds, live and over the report's window of scans.
#include <gtest/gtest.h>

#include "chemotaxis/ChemotaxisIndex.h"

namespace tirmo::chemotaxis {
namespace {

struct Pixel {
    int x, y;
    int64_t v;
};

SideSums Sum(int width, int height, std::initializer_list<Pixel> pixels)
{
    SideAccumulator acc(width, height);
    for (const Pixel& p : pixels) {
        acc.AddPixel(p.x, p.y, p.v);
        acc.CloseRow(p.y);
    }
    return acc.sums();
}

TEST(ChemotaxisIndexTest, PixelsCountOnTheirSidesAndTheMiddleLinesOnNeither)
{
    struct Case {
        const char* what;
        int width, height;
        Pixel p;
        SideSums expected;
    };
    const Case cases[] = {
        {"top left", 10, 10, {9, 0, 5}, {5, 0, 0, 5, 5, 0, 0, 0}},
        {"bottom right", 10, 10, {0, 9, 5}, {0, 5, 5, 0, 0, 0, 0, 5}},
        {"just above the middle column", 10, 10, {6, 9, 1}, {0, 1, 0, 1, 0, 1, 0, 0}},
        {"just below it", 10, 10, {4, 0, 1}, {1, 0, 1, 0, 0, 0, 1, 0}},
        {"on the middle column: in its row's side only", 10, 10, {5, 0, 7}, {7, 0, 0, 0, 0, 0, 0, 0}},
        {"on the middle row: top or bottom only", 10, 10, {9, 5, 7}, {0, 0, 0, 7, 0, 0, 0, 0}},
        {"odd width has no middle column", 9, 9, {5, 5, 2}, {0, 2, 0, 2, 0, 2, 0, 0}},
        {"past 16 bits", 10, 10, {9, 0, 100000}, {100000, 0, 0, 100000, 100000, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        const SideSums s = Sum(c.width, c.height, {c.p});
        const SideSums& e = c.expected;
        EXPECT_EQ(std::vector<int64_t>({s.left, s.right, s.bottom, s.top, s.top_left, s.top_right, s.bottom_left,
                                        s.bottom_right}),
                  std::vector<int64_t>({e.left, e.right, e.bottom, e.top, e.top_left, e.top_right, e.bottom_left,
                                        e.bottom_right}))
            << c.what;
    }
}

TEST(ChemotaxisIndexTest, EachKindComparesItsSidesLiveAndOverTheWindow)
{
    struct Case {
        const char* what;
        std::initializer_list<Pixel> pixels;
        std::array<double, 6> live;    // CI_XR, CI_XL, CI_YT, CI_YB, CI_QL, CI_QR
        std::array<double, 6> window;
    };
    const Case cases[] = {
        {"no activity", {}, {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}},
        {"top left only", {{8, 1, 3}, {9, 0, 4}}, {-1, 1, 1, -1, 1, -1}, {-1, 1, 1, -1, 1, -1}},
        {"upper half only", {{8, 1, 3}, {9, 8, 3}}, {0, 0, 1, -1, 0, 0}, {0, 0, 1, -1, 0, 0}},
        {"three quarters right", {{1, 9, 30000}, {1, 1, 10000}}, {0.5, -0.5, -1, 1, 0.5, -0.5},
         {0.5, -0.5, -1, 1, 0.5, -0.5}},
        // The live quadrant index divides by top + bottom, which holds the middle row's activity.
        {"middle row lowers only the live quadrants", {{9, 0, 3}, {9, 5, 1}}, {-1, 1, 1, -1, 0.75, -0.75},
         {-1, 1, 1, -1, 1, -1}},
    };
    for (const Case& c : cases) {
        SideSumStore store(1, 0);
        store.Set(0, 0, Sum(10, 10, c.pixels));
        for (size_t k = 0; k < kIndexKinds.size(); ++k) {
            EXPECT_DOUBLE_EQ(LiveIndex(store.at(0, 0), kIndexKinds[k]), c.live[k]) << c.what << " live " << k;
            EXPECT_DOUBLE_EQ(WindowIndex(store, 0, kIndexKinds[k], 0, 0), c.window[k]) << c.what << " window " << k;
        }
    }
}

TEST(ChemotaxisIndexTest, TheWindowNeverPassesTheLastScan)
{
    struct Case {
        int t, last, m;
        std::vector<int> scans;
    };
    const Case cases[] = {
        {7, 10, 2, {7, 8, 9}}, {8, 10, 2, {8, 7, 6}}, {9, 10, 2, {9, 8, 7}}, {10, 10, 2, {10, 9, 8}},
        {0, 10, 2, {0, 1, 2}}, {4, 10, 0, {4}},       {10, 10, 0, {10}},
    };
    for (const Case& c : cases) EXPECT_EQ(WindowScans(c.t, c.last, c.m), c.scans) << c.t << "/" << c.last;

    // The sums follow the window: scan k holds k on the right, 1 on the left.
    SideSumStore store(2, 10);
    for (int k = 0; k <= 10; ++k) store.Set(1, k, SideSums{1, k, 0, 0, 0, 0, 0, 0});
    const WindowSides last = WindowSum(store, 1, IndexKind::XRight, 8, 2);
    EXPECT_DOUBLE_EQ(last.a, 8 + 7 + 6);
    EXPECT_DOUBLE_EQ(last.b, 3);
    EXPECT_DOUBLE_EQ(WindowSum(store, 0, IndexKind::XRight, 8, 2).a, 0) << "another well's sums";
    EXPECT_DOUBLE_EQ(WindowQuadrant(store, 1, Quadrant::TopLeft, 10, 2), 0);
}

TEST(ChemotaxisIndexTest, TimeMarksAndTheChosenKind)
{
    EXPECT_EQ(TimeMarks(3), (std::array<int, 4>{0, 1, 2, 3}));
    EXPECT_EQ(TimeMarks(0), (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(TimeMarks(10), (std::array<int, 4>{2, 5, 7, 10}));

    struct Case {
        int analysis;
        std::array<bool, 6> ticked;
        std::optional<IndexKind> kind;
    };
    const Case cases[] = {
        {0, {false, false, true, false, true, false}, IndexKind::YTop},
        {1, {false, false, true, false, false, true}, IndexKind::QuadRight},
        {0, {false, false, false, false, true, true}, std::nullopt},
        {1, {true, false, false, false, false, false}, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ChosenKind(c.analysis, c.ticked), c.kind) << c.analysis;
}

}  // namespace
}  // namespace tirmo::chemotaxis
