#pragma once
// The names a run start gives the file system: the project folder and the acquisition folder
// from what the user typed, the formats a run accepts and where the light calibration lives.
// Typed text reaches a folder name only through MakeSafeName, so no name can lead outside the
// reports folder.
#include <optional>
#include <string>

namespace tirmo::acquisition {

// The name box's prompt; a run started with it untouched is named by its stamp alone.
inline constexpr const char* kAcquisitionPrompt = "<Write Acquisition Name>";
// The mask of the start stamp that begins every acquisition folder's name.
inline constexpr const char* kRunStampMask = "yyyymmdd_hhmmss";
// The project of a run whose project box was left empty: a run never lands in reports itself.
inline constexpr const char* kDefaultProject = "default_project";

// "p35", "w6", "w12", "w24", "w48" and "w96f", exactly as written ("w96u" has no run).
bool RunFormat(const std::string& format);

// The file-safe project name of the typed text; kDefaultProject for an empty text.
std::string ProjectFolderName(const std::string& typed);
// Whether the project list and the saved-data list show a project folder of that name: longer
// than two characters and without a dot (so never "." or ".."). A run is recorded only into such
// a folder, where the lists will find it.
bool ListedProjectFolder(const std::string& name);
// A typed project name whose folder the lists would not show.
inline constexpr const char* kRunProjectTooShort = "Invalid name. Write a longer name for your project. minimum len=3char";
// The stamp followed by the file-safe typed name, or the stamp alone for the prompt.
std::string AcquisitionFolderName(const std::string& stamp, const std::string& typed);

// Creates the acquisition folder name under projectPath (a full path). When a folder or file of
// that name (letter case ignored) is already there, the name gets "_2", "_3" ... after it, so a
// second run started in the same second with the same name keeps its own files and its name
// still begins with the stamp. The name created, or nullopt when no folder could be made.
std::optional<std::string> CreateAcquisitionFolder(const std::string& projectPath, const std::string& name);

// The light calibration's LED position file the Play checks ask for, relative to the program
// folder: config_SN<n>/ledxy.dat for serial number 1 or more, else config/ledxy.dat.
std::string LedPositionFile(int serialNumber);

}  // namespace tirmo::acquisition
