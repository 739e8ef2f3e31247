#pragma once
// The number and text rules every window and file shares, in one place: how a typed box text
// becomes a number, how numbers are rounded into integers and formatted into files, and the
// date stamps of folder and file names.
#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tirmo::platform {

// Raised when a text that must be a whole number is not one, or does not fit.
struct NumberError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// "Number in a text box": the leading number of the text (blanks before it skipped, a sign,
// digits, a decimal point, an exponent, or &H hex); 0 when the text does not start with one.
// The decimal point is "." or ",", whatever the locale: users type the separator of their own
// locale, and the files read with Val are split at their commas first.
double Val(std::string_view text);

// Halves to the even integer (2.5 -> 2, 3.5 -> 4, -2.5 -> -2): how numbers are stored into
// integers.
long long RoundHalfEven(double value);

// The leading number of a box text rounded to a whole number (halves to even), as the handlers
// read the camera boxes; no number gives 0, and values far beyond any byte stay far beyond
// (+-1e9) instead of overflowing.
long BoxWhole(const std::string& text);

// The whole text as a number (blanks around it allowed), "." or "," as the decimal point
// whatever the locale; nullopt when it is not one.
std::optional<double> ParseNumber(std::string_view text);

// "Whole-number value" of a text into a 16-bit integer, rounded halves to even. Throws
// NumberError on a text that is not a number or a value outside -32768..32767.
int WholeNumber16(std::string_view text);
// The same into a 32-bit integer.
long WholeNumber32(std::string_view text);
// A number (not text) into a 16-bit integer; throws NumberError when it does not fit.
int ToInt16(double value);

// Number masks "0", "0.0", "0.00", "00", "000", "0000" (digits before the point give the
// minimum width); halves round away from zero.
std::string Format(double value, std::string_view mask);

// A number as the plain text the program shows and writes when no mask is given: integers
// without a point, others with up to 15 significant digits, no exponent for ordinary values.
// Format and NumberText always write "."; LocaleDecimal (Locale.h) turns it into the locale's
// separator where a file wants that.
std::string NumberText(double value);

// Date masks "yyyymmdd_hhmmss", "yyyymmddhhmmss", "yyyy/mm/dd_hh:mm:ss", "yyyymmdd hh:mm",
// "yyyymmddhhmm", in local time.
std::string FormatDate(std::chrono::system_clock::time_point when, std::string_view mask);

// Text to file-safe name: characters other than ASCII letters and digits become "_", the
// result is lower case.
std::string MakeSafeName(std::string_view name);
// What to tell the user who typed a name that MakeSafeName turns into underscores only (a name
// of other letters, "." or ".."): the folder it is saved as. Empty for a name that keeps a
// letter or digit, for an empty name and for underscores typed as such.
std::string SafeNameNotice(std::string_view typed);

// Bytes as characters: one char per byte 0..255, as replies and frames travel.
inline unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

// Blanks removed at both ends.
std::string Trim(std::string_view text);
std::string ToLower(std::string_view text);
std::string ToUpper(std::string_view text);

}  // namespace tirmo::platform
