#include <gtest/gtest.h>

#include "plate/BandEditor.h"

namespace tirmo::plate {
namespace {

// The default "w24" bands of camera 2: columns 5..75 and 75..142, rows 10..90 and 90..170.
ColumnBands w24Columns()
{
    ColumnBands b;
    b.first[2] = 2;
    b.last[2] = 3;
    b.start[2] = {5, 75};
    b.end[2] = {75, 142};
    return b;
}

TEST(BandEditor, NeighbouringBandsAreKeptInOrderForColumnsAndRowsAlike)
{
    ColumnBands b = w24Columns();
    EXPECT_EQ(MoveBandEdge(b, 2, 0, BandButton::EndUp, 142), 76);
    EXPECT_EQ(b.start[2][1], 76) << "band 1's start moves with band 0's end";
    EXPECT_EQ(MoveBandEdge(b, 2, 1, BandButton::StartDown, 142), 75);
    EXPECT_EQ(b.end[2][0], 75) << "band 0's end follows band 1's start down";
    RowBands rows;
    rows.first[2] = 0;
    rows.last[2] = 1;
    rows.start[2] = {10, 90};
    rows.end[2] = {90, 170};
    EXPECT_EQ(MoveBandEdge(rows, 2, 0, BandButton::EndUp, 182), 91);
    EXPECT_EQ(rows.start[2][1], 91) << "row band 1's start moves with row band 0's end";
    EXPECT_EQ(MoveBandEdge(rows, 2, 1, BandButton::StartDown, 182), 90);
    EXPECT_EQ(rows.end[2][0], 90);
    // The last band has no next band: its end passes the unused slot after it untouched.
    rows.start[2][2] = 0;
    EXPECT_EQ(MoveBandEdge(rows, 2, 1, BandButton::EndUp, 182), 171);
    EXPECT_EQ(rows.start[2][2], 0);
    // Moving apart leaves the neighbour where it is, from either side.
    EXPECT_EQ(MoveBandEdge(rows, 2, 1, BandButton::StartUp, 182), 91);
    EXPECT_EQ(rows.end[2][0], 90);
    EXPECT_EQ(MoveBandEdge(rows, 2, 0, BandButton::EndDown, 182), 89);
    EXPECT_EQ(rows.start[2][1], 91);
}

TEST(BandEditor, AnEdgeOutsideTheTablesMovesNothing)
{
    ColumnBands b = w24Columns();
    EXPECT_EQ(MoveBandEdge(b, 2, -1, BandButton::StartUp, 142), std::nullopt);
    EXPECT_EQ(MoveBandEdge(b, 7, 0, BandButton::StartUp, 142), std::nullopt);
    EXPECT_EQ(MoveBandEdge(b, 2, 13, BandButton::StartUp, 142), std::nullopt);
}

TEST(BandEditor, AMoveThatLeavesABandEndingBeforeItsStartIsRefusedWhole)
{
    struct Case {
        const char* what;
        int band;
        BandButton button;
        int start0, end0, start1, end1;
        std::optional<int> moved;
    } cases[] = {
        {"end - down to its start", 0, BandButton::EndDown, 5, 41, 75, 142, 40},
        {"end - below its start", 0, BandButton::EndDown, 40, 40, 75, 142, std::nullopt},
        {"end - below the first pixel", 0, BandButton::EndDown, 0, 0, 75, 142, std::nullopt},
        {"start + up to its end", 1, BandButton::StartUp, 5, 75, 141, 142, 142},
        {"start + beyond its end", 1, BandButton::StartUp, 5, 75, 142, 142, std::nullopt},
        {"end + pushes the next start past its end", 0, BandButton::EndUp, 5, 75, 75, 75, std::nullopt},
        {"start - pulls the previous end below its start", 1, BandButton::StartDown, 40, 40, 40, 142, std::nullopt},
    };
    for (const Case& c : cases) {
        ColumnBands b = w24Columns();
        b.start[2] = {c.start0, c.start1};
        b.end[2] = {c.end0, c.end1};
        const ColumnBands before = b;
        EXPECT_EQ(MoveBandEdge(b, 2, c.band, c.button, 142), c.moved) << c.what;
        if (!c.moved) {
            EXPECT_TRUE(b.start == before.start && b.end == before.end) << c.what << ": left as it was";
        }
    }
}

TEST(BandEditor, TypedColumnStartIsTakenOnlyStrictlyInsideTheLines)
{
    // 143 lines: starts 1 to 141 are taken, rounded halves to even; the previous band's end
    // meets the new start.
    struct Case {
        double typed;
        std::optional<int> stored;
    };
    for (const Case c : {Case{1, 1}, Case{141, 141}, Case{80, 80}, Case{0.5, 0}, Case{1.5, 2}, Case{2.5, 2},
                         Case{0, std::nullopt}, Case{-3, std::nullopt}, Case{142, std::nullopt},
                         Case{141.5, 142}, Case{500, std::nullopt}}) {
        ColumnBands b = w24Columns();
        EXPECT_EQ(SetTypedColumnStart(b, 2, 1, c.typed, 143), c.stored) << c.typed;
        if (c.stored) {
            EXPECT_EQ(b.start[2][1], *c.stored) << c.typed;
            EXPECT_EQ(b.end[2][0], *c.stored) << c.typed;
        } else {
            EXPECT_EQ(b.start[2], (std::array<int, 13>{5, 75})) << "a refused start changes nothing";
            EXPECT_EQ(b.end[2], (std::array<int, 13>{75, 142}));
        }
    }
    ColumnBands b = w24Columns();
    EXPECT_EQ(SetTypedColumnStart(b, 2, 0, 9, 143), 9);
    EXPECT_EQ(b.end[2], (std::array<int, 13>{75, 142})) << "band 0 has no previous band";
    EXPECT_EQ(SetTypedColumnStart(b, 2, -1, 9, 143), std::nullopt);
    EXPECT_EQ(SetTypedColumnStart(b, 7, 0, 9, 143), std::nullopt);
    EXPECT_EQ(SetTypedColumnStart(b, 2, 0, 40000, 50000), std::nullopt) << "beyond a 16-bit band edge";
}

TEST(WellAreaPercent, EachW6WellIsComparedWithTheMean)
{
    ColumnBands columns;
    RowBands rows;
    for (int c = 0; c < 6; ++c) {
        columns.first[size_t(c)] = columns.last[size_t(c)] = c / 2;
        columns.start[size_t(c)][0] = 5;
        columns.end[size_t(c)][0] = 140;
        rows.first[size_t(c)] = rows.last[size_t(c)] = c % 2;
        rows.start[size_t(c)][0] = 10;
        rows.end[size_t(c)][0] = 165;
    }
    columns.end[3][0] = 275;  // camera 3's well (B2) twice as wide: mean 7/6 of the others
    const std::string text = WellAreaPercentText("w6", columns, rows);
    EXPECT_NE(text.find("Well(B2)=1.71\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Well(A1)=0.86\r\n"), std::string::npos) << text;
}

TEST(WellAreaPercent, W24ListsTheWellsCameraByCamera)
{
    ColumnBands columns;
    RowBands rows;
    for (int c = 0; c < 6; ++c) {
        columns.start[size_t(c)] = {0, 10};
        columns.end[size_t(c)] = {10, 20};
        rows.start[size_t(c)] = {0, 10};
        rows.end[size_t(c)] = {10, 20};
    }
    rows.end[1][1] = 30;  // camera 1, row band 1: wells D1 and D2 twice as tall
    const std::string text = WellAreaPercentText("w24", columns, rows);
    EXPECT_EQ(text.rfind("w24\r\nWell(A1)=0.92\r\nWell(B1)=0.92\r\nWell(A2)=0.92\r\nWell(B2)=0.92\r\nWell(C1)", 0), 0u)
        << text;
    EXPECT_NE(text.find("Well(C1)=0.92\r\nWell(D1)=1.85\r\nWell(C2)=0.92\r\nWell(D2)=1.85\r\n"), std::string::npos);
    EXPECT_NE(text.find("Well(C6)=0.92\r\nWell(D6)=0.92\r\n"), std::string::npos);
}

TEST(WellAreaPercent, NoBandsAndOtherFormatsDoNotDivide)
{
    const ColumnBands columns;
    const RowBands rows;
    const std::string text = WellAreaPercentText("w6", columns, rows);
    EXPECT_EQ(text.rfind("w6\r\nWell(A1)=-\r\nWell(B1)=-\r\n", 0), 0u) << text;
    EXPECT_EQ(WellAreaPercentText("p35", columns, rows), "");
    EXPECT_EQ(WellAreaPercentText("", columns, rows), "");
}

}  // namespace
}  // namespace tirmo::plate
