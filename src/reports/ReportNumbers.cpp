#include "reports/ReportNumbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tirmo::reports {

void AppendWhole(std::string& out, long long value)
{
    char buf[24];
    auto end = std::to_chars(buf, buf + sizeof buf, value).ptr;
    out.append(buf, end);
}

void AppendFixed(std::string& out, double value, int decimals, std::string_view decimal)
{
    if (!std::isfinite(value)) value = 0;  // no such count is ever recorded; keep the file readable
    const double scale = decimals > 0 ? 10.0 : 1.0;
    // The rounding of platform::Format, halves away from zero with its small nudge, so that a
    // report and every other file of the program write the same digits for the same value.
    const double scaled = std::fabs(value) * scale;
    const double rounded = std::floor(scaled + 0.5 + 1e-9 * std::max(1.0, scaled));
    const auto units = static_cast<long long>(rounded);
    if (value < 0 && units != 0) out += '-';
    if (decimals > 0) {
        AppendWhole(out, units / 10);
        out += decimal;
        out += char('0' + units % 10);
    } else {
        AppendWhole(out, units);
    }
}

std::string FixedText(double value, int decimals, std::string_view decimal)
{
    std::string s;
    AppendFixed(s, value, decimals, decimal);
    return s;
}

double LeadingNumber(std::string_view text, size_t* end)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    // The number's significant digits are copied (at most kKept of them, far more than a double
    // holds) with the power of ten they stand for, then converted without the locale. A longer
    // number is still read to its end: whole-number digits past the kept ones each scale it by
    // ten, decimal digits past them are too small to matter.
    constexpr size_t kKept = 40;
    char buf[64];
    size_t n = 0;
    const size_t start = i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        if (text[i] == '-') buf[n++] = '-';
        ++i;
    }
    const size_t first = n;
    long shift = 0;  // the value is the kept digits times ten to this power
    bool digits = false, point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            digits = true;
            if (c == '0' && n == first) {
                if (point) --shift;  // a zero before the first significant digit only places it
            } else if (n - first < kKept) {
                buf[n++] = c;
                if (point) --shift;
            } else if (!point) {
                ++shift;
            }
        } else if ((c == '.' || c == ',') && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digits) {
        if (end) *end = 0;
        return 0.0;
    }
    if (n == first) buf[n++] = '0';
    if (i + 1 < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        const bool negative = text[j] == '-';
        if (text[j] == '-' || text[j] == '+') ++j;
        const size_t firstDigit = j;
        long exponent = 0;
        // Six characters with the sign, as far as an exponent is read.
        while (j < text.size() && j - (i + 1) < 6 && text[j] >= '0' && text[j] <= '9')
            exponent = exponent * 10 + (text[j++] - '0');
        if (j > firstDigit) {
            shift += negative ? -exponent : exponent;
            i = j;
        }
    }
    buf[n++] = 'e';
    n = size_t(std::to_chars(buf + n, buf + sizeof buf, shift).ptr - buf);
    double v = 0.0;
    std::from_chars(buf, buf + n, v);
    if (end) *end = i > start ? i : 0;
    return v;
}

}  // namespace tirmo::reports
