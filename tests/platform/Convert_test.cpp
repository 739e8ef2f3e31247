#include <gtest/gtest.h>

#include "platform/Convert.h"
#include "support/FakeClock.h"

namespace tirmo::platform {
namespace {

TEST(Val, TakesTheLeadingNumberElseZero)
{
    EXPECT_EQ(Val("12abc"), 12);
    EXPECT_EQ(Val("  -3.5e1x"), -35);
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val(""), 0);
    EXPECT_EQ(Val("1 2"), 12);
    EXPECT_EQ(Val(".5"), 0.5);
    EXPECT_EQ(Val("&HFF"), 255);
    EXPECT_EQ(Val("7,5"), 7.5) << "a typed comma is a decimal point";
    EXPECT_EQ(Val("7,5.2"), 7.5) << "the second separator ends the number";
    EXPECT_EQ(Val("-,25x"), -0.25);
}

TEST(Rounding, StoringIntoIntegersRoundsHalvesToEven)
{
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(2.51), 3);
}

TEST(WholeNumber, RefusesTextThatIsNotANumberAndValuesThatDoNotFit)
{
    EXPECT_EQ(WholeNumber16(" 42 "), 42);
    EXPECT_EQ(WholeNumber16("2.5"), 2);
    EXPECT_THROW(WholeNumber16("abc"), NumberError);
    EXPECT_THROW(WholeNumber16(""), NumberError);
    EXPECT_THROW(WholeNumber16("12x"), NumberError);
    EXPECT_THROW(WholeNumber16("40000"), NumberError);
    EXPECT_THROW(WholeNumber16("inf"), NumberError);
    EXPECT_EQ(WholeNumber32("40000"), 40000);
}

TEST(WholeNumber, HugeValuesAreOverflowBeforeAnyIntegerConversion)
{
    // A typed "1e300" must be refused by a range test, not by converting it to an integer.
    EXPECT_THROW(WholeNumber16("1e300"), NumberError);
    EXPECT_THROW(WholeNumber16("-1e300"), NumberError);
    EXPECT_THROW(WholeNumber32("1e300"), NumberError);
    EXPECT_THROW(ToInt16(-1e300), NumberError);
    EXPECT_EQ(ToInt16(-32768.4), -32768);
    EXPECT_EQ(WholeNumber32("-2147483648"), -2147483648L);
}

TEST(Format, MasksRoundHalvesAwayFromZero)
{
    EXPECT_EQ(Format(2.5, "0"), "3");
    EXPECT_EQ(Format(-2.5, "0"), "-3");
    EXPECT_EQ(Format(0.25, "0.0"), "0.3");
    EXPECT_EQ(Format(1.005, "0.00"), "1.01");
    EXPECT_EQ(Format(7, "00"), "07");
    EXPECT_EQ(Format(57, "0000"), "0057");
    EXPECT_EQ(Format(123, "00"), "123");
    EXPECT_EQ(Format(9.96, "0.0"), "10.0");
    EXPECT_EQ(Format(-0.04, "0.0"), "0.0");
}

TEST(NumberText, IntegersWithoutPointOthersPlain)
{
    EXPECT_EQ(NumberText(25), "25");
    EXPECT_EQ(NumberText(-3), "-3");
    EXPECT_EQ(NumberText(2.5), "2.5");
    EXPECT_EQ(NumberText(0.1 + 0.2), "0.3");
}

TEST(Dates, TheMasks)
{
    test::FakeClock clock;
    auto now = clock.wallNow();
    EXPECT_EQ(FormatDate(now, "yyyymmdd_hhmmss"), "20260314_150926");
    EXPECT_EQ(FormatDate(now, "yyyymmddhhmmss"), "20260314150926");
    EXPECT_EQ(FormatDate(now, "yyyy/mm/dd_hh:mm:ss"), "2026/03/14_15:09:26");
    EXPECT_EQ(FormatDate(now, "yyyymmdd hh:mm"), "20260314 15:09");
    EXPECT_EQ(FormatDate(now, "yyyymmddhhmm"), "202603141509");
}

TEST(SafeName, OnlyLettersAndDigitsSurviveLowerCased)
{
    const struct { std::string typed, safe; } cases[] = {
        {"My Run #1", "my_run__1"},
        {"\xe9t\xe9", "_t_"},
        {"\xC3\x89lan-2", "__lan_2"},  // each byte of an accented letter becomes "_"
        {"", ""},
        {"../../x", "______x"},
        {"/etc", "_etc"},
        {"AZaz09", "azaz09"},
        {"@[`{/:", "______"},  // the neighbours of the kept ranges
        {std::string(101, 'Q'), std::string(101, 'q')},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MakeSafeName(c.typed), c.safe) << c.typed;
        EXPECT_EQ(MakeSafeName(c.typed).find_first_of("/\\."), std::string::npos) << c.typed;
    }
    // A name that keeps no letter or digit is told, with what it becomes; underscores typed are not.
    for (const auto& [typed, told] : {std::pair<std::string, bool>{"..", true}, {"??", true}, {"\xE9", true},
                                      {"__", false}, {"", false}, {"\xE9t", false}})
        EXPECT_EQ(SafeNameNotice(typed).ends_with("saved as \"" + MakeSafeName(typed) + "\""), told) << typed;
}

}  // namespace
}  // namespace tirmo::platform
