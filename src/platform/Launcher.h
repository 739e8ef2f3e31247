#pragma once
// Starting other programs: always an argument vector, never a command line for a shell, so a
// folder or file name with blanks or quotes cannot turn into another command.
#include <functional>
#include <string>
#include <vector>

namespace tirmo::platform {

// Starts argv[0] with the rest as its arguments, without waiting. False when it could not start.
bool StartProgram(const std::vector<std::string>& argv);
// Opens a file or folder with the desktop's default program (xdg-open).
bool OpenWithDesktop(const std::string& path);
// Tests replace the launcher to see what would be started; an empty function restores it.
void setLauncher(std::function<bool(const std::vector<std::string>&)> launcher);

}  // namespace tirmo::platform
