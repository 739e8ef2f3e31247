#pragma once
// Folders and set-up files of projects. A project is a folder directly under reports; its
// pjsetup.dat keeps the acquisition time, plate format and set temperature of its latest run as
// three "key=value" lines, taken by position. Every typed name reaches the file system only
// through platform::MakeSafeName, so no typed text can point outside reports.
#include <cstddef>
#include <optional>
#include <string>

namespace tirmo::project {

inline constexpr const char* kAcqTimeKey = "acq_time=";
inline constexpr const char* kPlateFormatKey = "plate_format=";
inline constexpr const char* kTemperatureKey = "temperature=";

// What a pjsetup.dat holds, by position: a value is present only when its line exists and
// contains its key; the value is the line from just after the key's length on.
struct ProjectSetupValues {
    size_t lines = 0;  // how many lines the file has: fewer than three is a damaged file
    std::optional<std::string> acq_time;
    std::optional<std::string> plate_format;
    std::optional<std::string> temperature;
};

// The project's folder and set-up file under the program folder's reports folder.
std::string ProjectFolder(const std::string& project);
std::string ProjectSetupPath(const std::string& project);

// nullopt when the file does not exist or cannot be read.
std::optional<ProjectSetupValues> ReadProjectSetupFile(const std::string& path);
// The three lines, values as given (unchecked); false when the file could not be written (an
// old file is then left as it was).
bool WriteProjectSetupFile(const std::string& path, const std::string& acqTime, const std::string& plateFormat,
                           const std::string& temperature);

}  // namespace tirmo::project
