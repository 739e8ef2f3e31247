#pragma once
// The user's number conventions and character set. They are taken once from the locale the
// environment names (LC_ALL, else LC_NUMERIC or LC_CTYPE, else LANG), never from the process's
// C locale: the toolkit switches that to the user's locale at start, and reading or writing
// numbers through it would make every file depend on the machine it was made on. Readers accept
// "." and "," everywhere; only the files whose users expect it are written with the locale's
// decimal separator.
#include <optional>
#include <string>
#include <string_view>

namespace tirmo::platform {

// The decimal separator of the locale named by the environment: "," or "."; "." when no locale
// is named, for "C" and "POSIX", and for a name no locale answers to. Read at the first call.
std::string DecimalSeparator();
// Fixes the decimal separator (tests); an empty text makes the next call read the environment
// again.
void SetDecimalSeparator(std::string separator);
// The decimal separator of a named locale ("de_DE.UTF-8" gives ",").
std::string DecimalSeparatorOf(std::string_view localeName);

// A number written with "." (Format, NumberText) in the locale's decimal separator.
std::string LocaleDecimal(std::string text);

// The user's list separator, the default divider of report columns: ";" where the decimal
// separator is a comma, else ",".
std::string ListSeparator();

// The character set of the files written for the user to read, such as reports. The program's own
// texts are Latin-1 bytes (how every control hands text over); a UTF-8 desktop reads them only
// once they are written in UTF-8.
enum class Charset { Latin1, Utf8 };
// UTF-8 when the codeset of the locale that governs characters (LC_ALL, else LC_CTYPE, else
// LANG) is UTF-8 ("de_DE.UTF-8", "C.utf8"); Latin-1 for any other codeset, for none named and
// for "C" and "POSIX", which keeps the single bytes the program always wrote. Read at the first
// call.
Charset UserCharset();
// Fixes the character set (tests); nullopt makes the next call read the environment again.
void SetUserCharset(std::optional<Charset> charset);
// The character set of a named locale.
Charset CharsetOf(std::string_view localeName);
// Program text (Latin-1 bytes) in a character set: as it is for Latin-1; for UTF-8 each byte
// above 127 becomes the two bytes of its character. Line ends and every other ASCII byte stay.
std::string InCharset(std::string_view latin1, Charset charset);

}  // namespace tirmo::platform
