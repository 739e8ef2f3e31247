#pragma once
// Rebuilds the acquisition data set of a recorded acquisition from its run files, so that a
// saved acquisition can be reported like the run that has just ended:
// - subpj.dat gives the title and the plate format;
// - current_activity.txt (accumulated counts) becomes the activity of each well in each scan:
//   a scan begins at each row of well "A1", and a well's activity in a scan is its count minus
//   its count at the end of the scan before (its count itself in the first scan); a well of the
//   plate without a row in a scan is not measured there (-1);
// - current_temperature.txt gives each scan the mean of its positive readings (a scan without
//   any keeps its last reading); the scans it gives no row at all (the file missing, or cut
//   short) are listed in the data set's no_temperature;
// - chgroup.dat gives the well groups (written with every well free when it is missing).
// A file that holds what no run writes (a time, count or temperature no run can give, a row
// without them, a count that falls, a damaged header or group row) is refused as a whole: the data set stays empty
// and `refusal` names the file and its line, so that no report is ever made of a file that
// was not read. A reader that keeps the sound part instead (a run killed while writing, a disk
// that filled) reads each file up to its first damaged line and says in `notes` what it left
// out; only a damaged header still refuses the recording.
#include <string>
#include <vector>

#include "reports/ReportData.h"
#include "reports/RunFileRows.h"

namespace tirmo::reports {

// A report of no scan would be a report of zeros.
inline constexpr const char* kNoScans = "No scan was recorded in this acquisition: no report is written. ";

struct LoadedAcquisition {
    bool activity_found = false;  // false: no current_activity.txt, the data set is empty
    bool setup_found = false;     // subpj.dat was there
    std::string title;            // line 1 of subpj.dat
    int acq_time = 0;             // minutes, 0 when subpj.dat gives none
    AcquisitionData data;
    // Activity rows (from 1) of a well that is not on the plate, or of a cell without a name.
    std::vector<int> skipped_lines;
    // What a reader keeping the sound part left out, a file and its line each.
    std::vector<std::string> notes;
    // Empty when the files were read; else the file, its line and what is wrong there. The data
    // set is then empty.
    std::string refusal;
};

// The plate format comes from subpj.dat, else from formatWhenMissing (what the user was asked).
LoadedAcquisition LoadAcquisition(const std::string& folder, const std::string& formatWhenMissing = "",
                                  bool keepSoundPart = false);

}  // namespace tirmo::reports
