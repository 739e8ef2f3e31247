#pragma once
// Starting other programs: always an argument vector, never a command line for a shell, so a
// folder or file name with blanks or quotes cannot turn into another command.
#include <functional>
#include <string>
#include <vector>

namespace tirmo::platform {

// Told how a started program ended: its exit status (0 for success), or -1 when a signal ended
// it. It is called once, on a thread of its own, whenever the program ends; the caller brings
// it to its window's thread (ui::OnOwnerThread).
using ExitHandler = std::function<void(int exitStatus)>;

// Starts argv[0] with the rest as its arguments, without waiting. False when it could not start;
// otherwise onExit (when given) hears how it ended.
bool StartProgram(const std::vector<std::string>& argv, ExitHandler onExit = {});
// Opens a file or folder with the desktop's default program (xdg-open). xdg-open ends with a
// status other than 0 when the desktop has no program for the file.
bool OpenWithDesktop(const std::string& path, ExitHandler onExit = {});

// Tests replace the launcher to see what would be started and to end it as they please; an
// empty function restores it.
using Launch = std::function<bool(const std::vector<std::string>& argv, ExitHandler onExit)>;
void setLauncher(Launch launcher);

}  // namespace tirmo::platform
