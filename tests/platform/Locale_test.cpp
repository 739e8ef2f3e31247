// Numbers read and written the same under every locale the process may run in; the locale's
// separators only where the program asks for them.
#include <gtest/gtest.h>

#include <QLocale>
#include <cmath>
#include <cstdio>
#include <array>
#include <cstdlib>
#include <optional>

#include "platform/Convert.h"
#include "platform/Locale.h"
#include "support/ProcessLocale.h"
#include "thermal/TemperatureCycle.h"

namespace tirmo::platform {
namespace {

TEST(LocaleSeparators, NamedLocalesGiveTheirDecimalSeparator)
{
    const struct {
        const char* name;
        const char* separator;
    } cases[] = {
        {"de_DE.UTF-8", ","}, {"fr_FR", ","}, {"pt_BR.utf8", ","}, {"de_CH.UTF-8", "."}, {"en_US.UTF-8", "."},
        {"en_GB", "."},       {"C", "."},     {"POSIX", "."},       {"C.UTF-8", "."},     {"", "."},
        {"xx_YY", "."},
    };
    for (const auto& c : cases) EXPECT_EQ(DecimalSeparatorOf(c.name), c.separator) << c.name;
}

// Reports are UTF-8 only where the codeset, however spelt, of LC_ALL, else LC_CTYPE, else LANG is.
TEST(LocaleCharset, TheCharacterLocaleChoosesUtf8)
{
    const char* variables[] = {"LC_ALL", "LC_CTYPE", "LANG"};
    std::optional<std::string> kept[3];
    for (int i = 0; i < 3; ++i)
        if (const char* v = std::getenv(variables[i])) kept[i] = v;
    for (const auto& [all, ctype, lang, utf8] :
         {std::tuple{"", "", "sr_RS.utf8@latin", true}, {"", "", "de_DE@euro", false}, {"", "", "C", false},
          {"", "de_DE.ISO-8859-1", "de_DE.UTF-8", false}, {"C.UTF-8", "de_DE", "", true}}) {
        for (int i = 0; i < 3; ++i) ::setenv(variables[i], std::array{all, ctype, lang}[size_t(i)], 1);
        SetUserCharset(std::nullopt);
        EXPECT_EQ(UserCharset() == Charset::Utf8, utf8) << all << ctype << lang;
    }
    for (int i = 0; i < 3; ++i) kept[i] ? ::setenv(variables[i], kept[i]->c_str(), 1) : ::unsetenv(variables[i]);
    SetUserCharset(std::nullopt);
}

TEST(LocaleSeparators, TheEnvironmentNamesTheLocaleOnceLcAllFirst)
{
    const char* saved[3];
    const char* names[] = {"LC_ALL", "LC_NUMERIC", "LANG"};
    std::string keep[3];
    for (int i = 0; i < 3; ++i) {
        saved[i] = std::getenv(names[i]);
        if (saved[i]) keep[i] = saved[i];
    }
    auto set = [&](const char* all, const char* numeric, const char* lang) {
        const char* values[] = {all, numeric, lang};
        for (int i = 0; i < 3; ++i) values[i] ? ::setenv(names[i], values[i], 1) : ::unsetenv(names[i]);
        SetDecimalSeparator("");
        return DecimalSeparator();
    };
    EXPECT_EQ(set(nullptr, nullptr, "de_DE.UTF-8"), ",");
    EXPECT_EQ(set(nullptr, "en_US.UTF-8", "de_DE.UTF-8"), ".") << "LC_NUMERIC before LANG";
    EXPECT_EQ(set("de_DE.UTF-8", "en_US.UTF-8", nullptr), ",") << "LC_ALL before LC_NUMERIC";
    EXPECT_EQ(set("", "de_DE.UTF-8", nullptr), ",") << "an empty variable counts as unset";
    EXPECT_EQ(set(nullptr, nullptr, nullptr), ".");

    set(nullptr, nullptr, "de_DE.UTF-8");
    ::setenv("LANG", "en_US.UTF-8", 1);
    EXPECT_EQ(DecimalSeparator(), ",") << "read once, not at every call";
    EXPECT_EQ(ListSeparator(), ";");
    EXPECT_EQ(LocaleDecimal("-16.34"), "-16,34");

    SetDecimalSeparator(".");
    EXPECT_EQ(ListSeparator(), ",");
    EXPECT_EQ(LocaleDecimal("-16.34"), "-16.34");

    for (int i = 0; i < 3; ++i) saved[i] ? ::setenv(names[i], keep[i].c_str(), 1) : ::unsetenv(names[i]);
    SetDecimalSeparator("");
}

// The process really runs under a comma locale here (the C library itself reads and writes
// "2,5"); nothing the program converts may follow it.
TEST(LocaleSeparators, UnderACommaLocaleNumbersReadAndWriteAsEverywhere)
{
    test::ScopedProcessLocale german(test::kCommaLocale);
    if (!german.active()) GTEST_SKIP() << test::kCommaLocale << " is not installed (scripts/install-deps.sh makes it)";
    char c[16];
    std::snprintf(c, sizeof c, "%.1f", 2.5);
    ASSERT_STREQ(c, "2,5") << "the C library follows the switch";
    ASSERT_EQ(QLocale().decimalPoint(), QStringLiteral(","));
    EXPECT_EQ(DecimalSeparator(), ",");

    for (const char* typed : {"2.5", "2,5", " 2.5 ", "+2.5", "25e-1"}) {
        EXPECT_EQ(ParseNumber(typed), 2.5) << typed;
        EXPECT_EQ(Val(typed), 2.5) << typed;
    }
    for (const char* bad : {"2.5.1", "2,5,1", "2..5", "inf", "nan", "0x1p1", ""})
        EXPECT_FALSE(ParseNumber(bad)) << bad;
    EXPECT_EQ(Val("1e999"), HUGE_VAL) << "overflow as the C library reads it";
    EXPECT_EQ(WholeNumber16("2.5"), 2);
    EXPECT_EQ(WholeNumber16("3,5"), 4);
    EXPECT_EQ(thermal::CycleMinutes("2.5"), 2);
    EXPECT_EQ(thermal::CycleMinutes("3,5"), 4);

    EXPECT_EQ(NumberText(2.5), "2.5");
    EXPECT_EQ(NumberText(-16.34), "-16.34");
    EXPECT_EQ(NumberText(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(Format(2.25, "0.0"), "2.3");
    EXPECT_EQ(LocaleDecimal(Format(12.5, "0.0")), "12,5");
}

}  // namespace
}  // namespace tirmo::platform
