#pragma once
// The user's number conventions. They are taken once from the locale the environment names
// (LC_ALL, else LC_NUMERIC, else LANG), never from the process's C locale: the toolkit switches
// that to the user's locale at start, and reading or writing numbers through it would make
// every file depend on the machine it was made on. Readers accept "." and "," everywhere; only
// the files whose users expect it are written with the locale's decimal separator.
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

}  // namespace tirmo::platform
