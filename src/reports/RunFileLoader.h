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
#include <string>
#include <vector>

#include "reports/ReportData.h"

namespace tirmo::reports {

struct LoadedAcquisition {
    bool activity_found = false;  // false: no current_activity.txt, the data set is empty
    bool setup_found = false;     // subpj.dat was there
    std::string title;            // line 1 of subpj.dat
    int acq_time = 0;             // minutes, 0 when subpj.dat gives none
    AcquisitionData data;
    std::vector<int> skipped_lines;  // activity rows (from 1) that could not be taken
};

// The plate format comes from subpj.dat, else from formatWhenMissing (what the user was asked).
LoadedAcquisition LoadAcquisition(const std::string& folder, const std::string& formatWhenMissing = "");

}  // namespace tirmo::reports
