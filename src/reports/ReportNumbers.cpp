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
    // Copy the number's characters with "," read as the point, then convert without the locale.
    char buf[64];
    size_t n = 0;
    const size_t start = i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        if (text[i] == '-') buf[n++] = '-';
        ++i;
    }
    bool digits = false, point = false;
    for (; i < text.size() && n < 40; ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            buf[n++] = c;
            digits = true;
        } else if ((c == '.' || c == ',') && !point) {
            buf[n++] = '.';
            point = true;
        } else {
            break;
        }
    }
    if (!digits) {
        if (end) *end = 0;
        return 0.0;
    }
    if (i + 1 < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        char exp[8];
        size_t e = 0;
        if (text[j] == '-' || text[j] == '+') exp[e++] = text[j++];
        size_t firstDigit = j;
        while (j < text.size() && e < 6 && text[j] >= '0' && text[j] <= '9') exp[e++] = text[j++];
        if (j > firstDigit) {
            buf[n++] = 'e';
            for (size_t k = 0; k < e; ++k) buf[n++] = exp[k];
            i = j;
        }
    }
    double v = 0.0;
    std::from_chars(buf, buf + n, v);
    if (end) *end = i > start ? i : 0;
    return v;
}

}  // namespace tirmo::reports
