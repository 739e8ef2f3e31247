#pragma once
// Rebuilds the acquisition data set of a recorded acquisition from its run files, so that a
// saved acquisition can be reported like the run that has just ended:
// - subpj.dat gives the title and the plate format;
// - current_activity.txt (accumulated counts) becomes the activity of each well in each scan:
//   a scan begins at each row of well "A1", and a well's activity in a scan is its count minus
//   its count at the end of the scan before (its count itself in the first scan); a well of the
//   plate without a row in a scan is not measured there (-1);
// - current_temperature.txt gives each scan the mean of its positive readings (a scan without
//   any keeps its last reading);
// - chgroup.dat gives the well groups (written with every well free when it is missing).
// A file that holds what no run writes (a time, count or temperature no run can give, a row
// without them, a damaged header or group row) is refused as a whole: the data set stays empty
// and `refusal` names the file and its line, so that no report is ever made of a file that
// was not read. A reader that keeps the sound part instead (a run killed while writing, a disk
// that filled) reads each file up to its first damaged line and says in `notes` what it left
// out; only a damaged header still refuses the recording.
#include <string>
#include <vector>

#include "reports/ReportData.h"

namespace tirmo::reports {

// The latest time a row of a run may carry: the longest acquisition time (32000 minutes) and a
// day's allowance for the scan that is still under way when that time is over.
inline constexpr double kLatestRowMinutes = 32000 + 1440;
// More than any accumulated count a run can reach: a window adds to a well at most the square
// root of 32767 pixels x 32000 events x a well-area ratio of 32767 (about 5.9e6), and a window
// takes at least eleven ticks of 200 ms, so a run of kLatestRowMinutes ends below 5.4e12.
inline constexpr double kMostAccumulatedCount = 1e13;
// More than any stage temperature a run records: the digital stage reads below 100 degrees, the
// analog one at most about 210 through a sensor line kept near the nominal one. A scan without
// a reading is recorded as 0.
inline constexpr double kHottestReading = 250;

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
