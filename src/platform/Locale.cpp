#include "platform/Locale.h"

#include <QLocale>
#include <QString>
#include <cstdlib>
#include <optional>

namespace tirmo::platform {
namespace {

std::optional<std::string> decimalSeparator;
std::optional<Charset> userCharset;

// The locale that governs a category, as the C library chooses it: the first variable set and
// not empty of LC_ALL, the category's own and LANG.
std::string environmentLocaleName(const char* category)
{
    for (const char* variable : {"LC_ALL", category, "LANG"})
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
    if (!decimalSeparator) decimalSeparator = DecimalSeparatorOf(environmentLocaleName("LC_NUMERIC"));
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

Charset CharsetOf(std::string_view localeName)
{
    // language_TERRITORY.codeset@modifier: the codeset is written in many ways ("UTF-8", "utf8").
    const size_t dot = localeName.find('.');
    if (dot == std::string_view::npos) return Charset::Latin1;
    std::string codeset;
    for (char c : localeName.substr(dot + 1, localeName.find('@', dot) - dot - 1))
        if (c != '-' && c != '_') codeset += char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return codeset == "utf8" ? Charset::Utf8 : Charset::Latin1;
}

Charset UserCharset()
{
    if (!userCharset) userCharset = CharsetOf(environmentLocaleName("LC_CTYPE"));
    return *userCharset;
}

void SetUserCharset(std::optional<Charset> charset) { userCharset = charset; }

std::string InCharset(std::string_view latin1, Charset charset)
{
    if (charset == Charset::Latin1) return std::string(latin1);
    std::string out;
    out.reserve(latin1.size());
    for (const char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += char(0xC0 | (byte >> 6));
            out += char(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

}  // namespace tirmo::platform
