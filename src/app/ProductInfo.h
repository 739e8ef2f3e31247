#pragma once
// The product's name and version as the version and About boxes of both windows show them, and
// the administrator password of the factory entries.
#include <string>
#include <string_view>

namespace tirmo::app {

inline constexpr const char* kProductName = "Quelvanoscope TIRMO";
inline constexpr const char* kVersionText = "V2.6 Rev2025-07-20";

// "Quelvanoscope TIRMO V2.6 Rev2025-07-20".
std::string VersionText();
// Six lines joined by carriage returns: name, version, maker, programmer, empty, contact.
std::string AboutText();
// The answer of the password box compared exactly: no trimming, case matters.
bool AdministratorPassword(std::string_view answer);
// Opens help_tirmo.pdf of the program folder with the desktop's viewer, its path one argument;
// nothing when the file is missing.
void OpenHelpFile();

}  // namespace tirmo::app
