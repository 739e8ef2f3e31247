#pragma once
// The program folder holds config.txt, the config and config_SN<n> folders and reports. It is
// chosen at start so that tests and several installations can each use their own. File and
// folder names inside it are matched without regard to letter case: the data folders were made
// on a system that ignores case, and their names are written in mixed case by different tools.
#include <string>
#include <string_view>

namespace tirmo::platform {

// --folder DIR, else $TIRMO_HOME, else the per-user data folder (~/.local/share/tirmo).
std::string ChooseProgramFolder(int argc, char** argv);

void SetProgramFolder(const std::string& folder);
const std::string& ProgramFolder();

// The real path of a file or folder under the program folder. relative may use "\" or "/"
// and may start with a separator ("\config\ldsetup1.dat"). Each existing component is matched
// case-insensitively; components that do not exist yet keep the spelling given.
std::string ProgramPath(std::string_view relative);

// The same matching for any path (absolute, or relative to the working folder).
std::string ResolvePath(std::string_view path);

// Tells the matching that this program has just put a new file in place at path (a real path,
// as ResolvePath gives it), so that a folder it writes many files into is not listed anew for each.
void NoteNewFile(const std::string& path);

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// Creates the folder and any missing parents; true when it exists afterwards.
bool MakeFolder(const std::string& path);

}  // namespace tirmo::platform
