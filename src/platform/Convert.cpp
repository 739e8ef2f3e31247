#include "platform/Convert.h"

#include <cctype>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <locale.h>

namespace tirmo::platform {
namespace {

// strtod as the C locale reads it, whatever locale the process runs under: "." is the decimal
// point, and nothing else is.
double cStrtod(const char* text, char** end)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return strtod_l(text, end, cLocale);
}

}  // namespace

double Val(std::string_view text)
{
    size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r')) ++i;
    };
    skipBlanks();
    if (i + 1 < text.size() && text[i] == '&' && (text[i + 1] == 'H' || text[i + 1] == 'h')) {
        long long v = 0;
        for (i += 2; i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i])); ++i)
            v = v * 16 + (std::isdigit(static_cast<unsigned char>(text[i])) ? text[i] - '0'
                                                                           : std::tolower(text[i]) - 'a' + 10);
        // A four-digit hex value is a 16-bit integer, as the old conversion read it.
        if (v >= 0x8000 && v <= 0xFFFF) v -= 0x10000;
        return double(v);
    }
    std::string digits;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) digits += text[i++];
    bool any = false, point = false;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            digits += c;
            any = true;
        } else if ((c == '.' || c == ',') && !point) {
            digits += '.';
            point = true;
        } else if (c == ' ' || c == '\t') {
            continue;  // blanks inside a number are skipped
        } else {
            break;
        }
    }
    if (!any) return 0.0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        std::string exp = "e";
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '-' || text[j] == '+')) exp += text[j++];
        bool expDigits = false;
        while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) {
            exp += text[j++];
            expDigits = true;
        }
        if (expDigits) digits += exp;
    }
    return cStrtod(digits.c_str(), nullptr);
}


long long RoundHalfEven(double value)
{
    double r = std::nearbyint(value);  // the default rounding mode rounds halves to even
    return static_cast<long long>(r);
}

long BoxWhole(const std::string& text)
{
    const double v = Val(text);
    if (!std::isfinite(v) || std::fabs(v) > 1e9) return v < 0 ? -1000000000L : 1000000000L;
    return long(RoundHalfEven(v));
}

std::optional<double> ParseNumber(std::string_view text)
{
    std::string t = Trim(text);
    if (t.empty()) return std::nullopt;
    for (char& c : t)
        if (c == ',') c = '.';
    if (t.size() > 2 && t[0] == '&' && (t[1] == 'H' || t[1] == 'h')) {
        for (size_t k = 2; k < t.size(); ++k)
            if (!std::isxdigit(static_cast<unsigned char>(t[k]))) return std::nullopt;
        return Val(t);
    }
    const char* begin = t.c_str();
    char* end = nullptr;
    double v = cStrtod(begin, &end);
    if (end == begin || *end != '\0') return std::nullopt;
    // strtod also takes "inf", "nan" and hex floats, which no box should hold.
    for (char c : t)
        if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
            return std::nullopt;
    return v;
}

int WholeNumber16(std::string_view text)
{
    auto v = ParseNumber(text);
    if (!v) throw NumberError("not a number: " + std::string(text));
    return ToInt16(*v);
}

long WholeNumber32(std::string_view text)
{
    auto v = ParseNumber(text);
    if (!v) throw NumberError("not a number: " + std::string(text));
    // Range first: a double far outside any integer must never reach the conversion.
    if (!(*v > -2147483649.0 && *v < 2147483648.0)) throw NumberError("overflow");
    long long r = RoundHalfEven(*v);
    if (r < -2147483648LL || r > 2147483647LL) throw NumberError("overflow");
    return static_cast<long>(r);
}

int ToInt16(double value)
{
    if (!(value > -32769.0 && value < 32768.0)) throw NumberError("overflow");  // NaN and huge values too
    long long r = RoundHalfEven(value);
    if (r < -32768 || r > 32767) throw NumberError("overflow");
    return static_cast<int>(r);
}

std::string Format(double value, std::string_view mask)
{
    size_t pointAt = mask.find('.');
    int decimals = pointAt == std::string_view::npos ? 0 : int(mask.size() - pointAt - 1);
    int width = int(pointAt == std::string_view::npos ? mask.size() : pointAt);
    double scale = std::pow(10.0, decimals);
    // Away from zero at the half; the small nudge keeps 2.675-style binary fractions honest.
    double scaled = std::fabs(value) * scale;
    double rounded = std::floor(scaled + 0.5 + 1e-9 * std::max(1.0, scaled));
    bool negative = value < 0 && rounded != 0;
    long long whole = static_cast<long long>(rounded / scale);
    long long frac = static_cast<long long>(rounded - double(whole) * scale + 0.5);
    if (decimals > 0 && frac >= static_cast<long long>(scale)) {
        whole += 1;
        frac -= static_cast<long long>(scale);
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%0*lld", width, whole);
    std::string out = negative ? "-" : "";
    out += buf;
    if (decimals > 0) {
        std::snprintf(buf, sizeof buf, "%0*lld", decimals, frac);
        out += ".";
        out += buf;
    }
    return out;
}

std::string NumberText(double value)
{
    if (value == 0) return "0";
    if (std::fabs(value) < 1e15 && value == std::floor(value)) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(value));
        return buf;
    }
    // to_chars writes as the C locale does, where snprintf would take the process's separator.
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    return std::string(buf, r.ptr);
}

std::string FormatDate(std::chrono::system_clock::time_point when, std::string_view mask)
{
    std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[64];
    if (mask == "yyyymmdd_hhmmss")
        std::strftime(buf, sizeof buf, "%Y%m%d_%H%M%S", &tm);
    else if (mask == "yyyymmddhhmmss")
        std::strftime(buf, sizeof buf, "%Y%m%d%H%M%S", &tm);
    else if (mask == "yyyy/mm/dd_hh:mm:ss")
        std::strftime(buf, sizeof buf, "%Y/%m/%d_%H:%M:%S", &tm);
    else if (mask == "yyyymmdd hh:mm")
        std::strftime(buf, sizeof buf, "%Y%m%d %H:%M", &tm);
    else if (mask == "yyyymmddhhmm")
        std::strftime(buf, sizeof buf, "%Y%m%d%H%M", &tm);
    else
        std::strftime(buf, sizeof buf, "%Y%m%d_%H%M%S", &tm);
    return buf;
}

std::string MakeSafeName(std::string_view name)
{
    std::string out;
    for (char c : name) {
        unsigned char u = static_cast<unsigned char>(c);
        out += (u < 128 && std::isalnum(u)) ? char(std::tolower(u)) : '_';
    }
    return out;
}

std::string SafeNameNotice(std::string_view typed)
{
    const std::string safe = MakeSafeName(typed);
    if (safe == typed || safe.find_first_not_of('_') != std::string::npos) return {};
    return "Only the letters A to Z and the digits 0 to 9 are kept in a folder name: this name is saved as \"" + safe +
           "\"";
}

std::string Trim(std::string_view text)
{
    size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
    return std::string(text.substr(b, e - b));
}

std::string ToLower(std::string_view text)
{
    std::string s(text);
    for (auto& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string ToUpper(std::string_view text)
{
    std::string s(text);
    for (auto& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace tirmo::platform
