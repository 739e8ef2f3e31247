#pragma once
// Report numbers written straight into the report's text: the masks "0" and "0.0" with the
// same rounding as platform::Format (halves away from zero), and the locale's decimal
// separator in place of the point. A report writes hundreds of thousands of them, so they
// are appended without passing through a temporary text each.
#include <string>
#include <string_view>

namespace tirmo::reports {

// Appends value with 0 or 1 decimals ("0" or "0.0").
void AppendFixed(std::string& out, double value, int decimals, std::string_view decimal);
// The same as a text.
std::string FixedText(double value, int decimals, std::string_view decimal);
// A whole number as plain text.
void AppendWhole(std::string& out, long long value);

// The number a text starts with (blanks before it skipped, a sign, digits with "." or "," as
// the decimal point, an exponent), whatever the process locale; 0 when it starts with none.
// end, when given, receives how many characters the number took (0 when none).
double LeadingNumber(std::string_view text, size_t* end = nullptr);

}  // namespace tirmo::reports
