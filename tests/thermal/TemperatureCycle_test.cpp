#include <gtest/gtest.h>

#include "thermal/TemperatureCycle.h"

namespace tirmo::thermal {
namespace {

TEST(TemperatureCycleTest, RowsOfDifferentWidthsSplitAtTheirOwnSemicolon)
{
    EXPECT_EQ(SplitCycleRow("T5;10").temperature, "5");
    EXPECT_EQ(SplitCycleRow("T5;10").minutes, "10");
    EXPECT_EQ(SplitCycleRow("T25;10").temperature, "25");
    EXPECT_EQ(SplitCycleRow("T25;10").minutes, "10");
    EXPECT_EQ(MakeCycleRow("30", "2"), "T30;2");
    EXPECT_EQ(CycleMinutes("2.5"), 2);
    EXPECT_EQ(CycleMinutes("x"), 0);
}

TEST(TemperatureCycleTest, BadRowsAreRefusedWithAMessageNamingThem)
{
    EXPECT_EQ(CycleRowProblem("T25;30"), "");
    EXPECT_EQ(CycleRowProblem("T5;10"), "");
    EXPECT_EQ(CycleRowProblem("T25;0"), "");
    EXPECT_EQ(CycleRowProblem("T25;1,5"), "") << "a typed comma is a decimal point";
    EXPECT_EQ(CycleRowProblem("T24,5;1.5"), "");
    for (const char* row : {"T;", "T25;", "T;5", "Tabc;5", "T25;x", "T25", "25;5", "T0;5", "T25;-1", "T25;1,5,2"}) {
        const std::string problem = CycleRowProblem(row);
        EXPECT_NE(problem.find("Temperature cycle row not valid: " + std::string(row)), std::string::npos) << row;
    }
}

TEST(TemperatureCycleTest, RowsFollowTheMonotonicClock)
{
    const std::vector<std::string> rows{"T25;1", "T30;2"};
    TemperatureCycle c;
    c.Start(5000);
    auto t = c.Advance(rows, 5000 + 30000);
    EXPECT_EQ(t.step, TemperatureCycle::Step::Countdown);
    EXPECT_DOUBLE_EQ(t.minutesLeft, 0.5);
    EXPECT_EQ(c.Advance(rows, 5000 + 60000).step, TemperatureCycle::Step::Countdown) << "a row lasts its whole minute";
    EXPECT_EQ(c.Advance(rows, 5000 + 60001).step, TemperatureCycle::Step::NextRow);
    EXPECT_EQ(c.cycle_row, 1);
    EXPECT_EQ(c.Advance(rows, 5000 + 60001 + 120000).step, TemperatureCycle::Step::Countdown);
    EXPECT_EQ(c.Advance(rows, 5000 + 60002 + 120000).step, TemperatureCycle::Step::End);
    EXPECT_FALSE(c.running);
    // A cycle whose rows are gone from the list ends at its next tick.
    c.Start(0);
    EXPECT_EQ(c.Advance({}, 1).step, TemperatureCycle::Step::End);
    EXPECT_FALSE(c.running);
}

}  // namespace
}  // namespace tirmo::thermal
