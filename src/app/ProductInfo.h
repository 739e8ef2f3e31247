#pragma once
// The product's name and version as the version and About boxes of both windows show them, and
// the administrator password of the factory entries.
#include <functional>
#include <string>
#include <string_view>

class QObject;

namespace tirmo::app {

inline constexpr const char* kProductName = "Quelvanoscope TIRMO";
inline constexpr const char* kVersionText = "V2.6 Rev2025-07-20";

// "Quelvanoscope TIRMO V2.6 Rev2025-07-20".
std::string VersionText();
// Six lines joined by carriage returns: name, version, maker, programmer, empty, contact.
std::string AboutText();
// The answer of the password box compared exactly: no trimming, case matters.
bool AdministratorPassword(std::string_view answer);
// The status line when Help Index finds no help file, and when no program could show it; each
// followed by the help file's path.
inline constexpr const char* kHelpNotInstalled = "The help file is not installed: ";
inline constexpr const char* kHelpNotOpened = "No program could open the help file ";

// Opens help_tirmo.pdf of the program folder with the desktop's viewer, its path one argument.
// A missing file, or a desktop without a program for it, goes to status: the second when the
// opener ends, on window's thread, without window waiting for it.
void OpenHelpFile(QObject* window, const std::function<void(const std::string&)>& status);

}  // namespace tirmo::app
