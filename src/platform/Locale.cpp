#include "platform/Locale.h"

#include <QLocale>
#include <QString>
#include <cstdlib>
#include <optional>

namespace tirmo::platform {
namespace {

std::optional<std::string> decimalSeparator;

// The locale that governs numbers, as the C library chooses it: the first variable set and not
// empty.
std::string environmentLocaleName()
{
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"})
        if (const char* value = std::getenv(variable); value && *value) return value;
    return "C";
}

}  // namespace

std::string DecimalSeparatorOf(std::string_view localeName)
{
    const QString name = QString::fromUtf8(localeName.data(), qsizetype(localeName.size()));
    if (name.isEmpty() || name == QLatin1String("C") || name == QLatin1String("POSIX") ||
        name.startsWith(QLatin1String("C.")))
        return ".";
    // The toolkit's own locale data: it knows every locale by name, whether or not the C library
    // has it installed. An unknown name gives the C locale.
    const QString point = QLocale(name).decimalPoint();
    return point == QLatin1String(",") ? "," : ".";
}

std::string DecimalSeparator()
{
    if (!decimalSeparator) decimalSeparator = DecimalSeparatorOf(environmentLocaleName());
    return *decimalSeparator;
}

void SetDecimalSeparator(std::string separator)
{
    if (separator.empty()) decimalSeparator.reset();
    else decimalSeparator = std::move(separator);
}

std::string LocaleDecimal(std::string text)
{
    const std::string separator = DecimalSeparator();
    if (separator == ".") return text;
    std::string out;
    for (char c : text) out += c == '.' ? separator : std::string(1, c);
    return out;
}

std::string ListSeparator() { return DecimalSeparator() == "," ? ";" : ","; }

}  // namespace tirmo::platform
