#pragma once
// The acquisition the saved-data window has loaded: where it lies, its set-up, its activity as
// interval counts per well and scan, its temperatures and its well groups. Loading reads the
// run files with the same reader the main window's reports use, given the plate of the
// acquisition; a file that a killed run or a full disk left damaged is read up to its damaged
// line, and what was left out is said, so that nothing of it passes as zero activity.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "reports/ReportData.h"
#include "reports/SavedAcquisitions.h"

namespace tirmo::reports {

inline constexpr const char* kErrorFindingFolder = "Error finding folder";
inline constexpr const char* kAskTime = "Not acq_time defined.define time [m]:";
inline constexpr const char* kAskFormat = "Define plate type(w96f,w24,w12,w48,w6,p35):";
inline constexpr const char* kBadTime = "Error entering time";
inline constexpr const char* kBadFormat = "Error entering Plate_Format";

struct LoadedRecording {
    std::string project_name;
    std::string recording_stamp;   // yyyymmdd_hhmm, the start of the acquisition folder's name
    std::string recording_folder;  // full path of the acquisition folder
    std::string recording_path;    // project\acquisition, relative to reports
    std::string recording_title;   // line 1 of subpj.dat
    int acq_time = 0;              // minutes, as subpj.dat (or the user) gives it
    int plate_rows = 0;
    int plate_columns = 0;
    // The tables: scan_counter is the last scan record (-1: none), groups the recording's own.
    AcquisitionData data;
    // What the load left out: damaged lines, rows of wells off the plate.
    std::vector<std::string> notes;

    int last_record() const { return data.scan_counter; }
    int wells() const { return plate_rows * plate_columns; }
};

enum class LoadResult {
    Loaded,          // the recording holds the acquisition
    FolderNotFound,  // "Error finding folder": only the project and folder fields changed
    BadTime,         // "Error entering time": the typed time was no number above 0
    BadFormat,       // "Error entering Plate_Format": the typed format is none the plates have
    NoActivity,      // no current_activity.txt: the plate and empty tables, nothing else
    Refused,         // nothing of the files is sound (a damaged header): refusal says where
};

struct LoadOutcome {
    LoadResult result = LoadResult::Loaded;
    std::string refusal;
};

// Loads the acquisition of a browser row into recording. ask is the input box, asked for the
// time and then the plate format when subpj.dat (or its line) lacks them; typed values serve
// this load only. Fields are updated as far as the load got, as the user saw it get there.
LoadOutcome LoadRecording(LoadedRecording& recording, const std::string& reportsFolder, const BrowserRow& row,
                          const std::function<std::string(const std::string&)>& ask);

// The group list of the recording: "003_name" for every group that has a well on the plate,
// ascending.
std::vector<std::string> GroupItems(const LoadedRecording& recording);

// The total activity of every group over the whole recording (wells of the plate, measured
// scans), in whole counts of 64 bits, and the largest total.
struct GroupTotals {
    std::array<int64_t, 385> total{};
    int64_t largest = 0;
};
GroupTotals FindMaxGroupActivity(const LoadedRecording& recording);

}  // namespace tirmo::reports
