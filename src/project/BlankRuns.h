#pragma once
// The blank runs of an instrument's blank store as the blank frame lists, loads and deletes
// them. A blank run is an acquisition folder of the store named "yyyymmdd_hhmmss_blank" and
// the safe name; its subpj.dat says its length and plate format.
#include <optional>
#include <string>
#include <vector>

#include "plate/PlateFormat.h"

namespace tirmo::project {

inline constexpr const char* kNoneEntry = "none";
inline constexpr const char* kFactoryEntry = "Factory_Default";
inline constexpr const char* kBlankRunPrefix = "_blank_";
inline constexpr const char* kBlankStoreProject = "_internal_blank_measurement";

inline constexpr int kBlankLapseMin = 30;    // minutes of a blank run
inline constexpr int kBlankLapseMax = 1440;

inline constexpr const char* kBlankLapseError = "invalid acqtime [30-1440m]";
inline constexpr const char* kBlankNameError = "Enter a valid Blank acquisition name";
inline constexpr const char* kBlankFolderMissing = "File not found";
inline constexpr const char* kBlankNoFormat = "subpj File error. Unable to read well format";
inline constexpr const char* kBlankNoTime = "subpj File error. Unable to read time";
inline constexpr const char* kFactoryBlankMissing = "Default File not found";
inline constexpr const char* kBlankDeleteError = "I/O File error. please delete manually";
using plate::kPlateFormatError;

// The blank list: "none", "Factory_Default", then the blank-run folders of the store sorted by
// name; with a format, only the runs whose subpj.dat names that format.
std::vector<std::string> BlankListEntries(int serialNumber, const std::optional<std::string>& format);

// The formats a run accepts: every plate format but "w96u".
bool IsRunFormat(const std::string& format);

// The number in the lapse box when it lies within 30..1440 minutes, both included.
std::optional<double> BlankLapse(const std::string& text);

// Deletes every file of a blank run's folder, then the folder; false when anything could not
// be deleted (what was deleted stays deleted). A folder that is gone counts as deleted.
bool DeleteBlankRun(const std::string& folder);

// The instrument's factory blank of the format (in its calibration folder) copied line by line
// over the store's current blank of that format.
enum class FactoryCopy { Copied, Missing, NotWritten };
FactoryCopy CopyFactoryBlank(const std::string& format, int serialNumber);

}  // namespace tirmo::project
