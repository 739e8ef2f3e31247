#pragma once
// A joint report (several acquisitions in one text file, reports\default_project\joint<stamp>.txt)
// turned into a report with the panel's divider: per scan, every line as it stands, or in time
// bins, where each data row's values count for the minutes since the row before it and every
// acquisition's block is binned from its own start.
//
// The joint file's blocks: a line "\" and the project, a line "\" and the acquisition folder
// with its plate format, the header "Time" and the well names, data rows "time v1 v2 ...", an
// empty line.
#include <string>
#include <vector>

#include "reports/ReportData.h"
#include "reports/ReportWriter.h"

namespace tirmo::reports {

struct JointText {
    bool ok = true;  // false: a block's header names no well to count the columns by
    std::string bytes;
    std::string bin_text;
};

// The report's text from the joint file's lines. Bin mode is any bin text other than
// "ScanTime"; a bin below 10 minutes becomes 10.
JointText JointReexportText(const std::vector<std::string>& lines, const ReportOptions& options);

// The panel's Generate in joint mode: reads the joint file of that name from the program's
// reports\default_project folder and writes report<stamp><extension> into folder. A joint file
// that is gone writes nothing (Result::Nothing).
ReportOutcome ReexportJoint(const std::string& jointFileName, const std::string& folder, const ReportOptions& options,
                            const ReportEnvironment& env);

}  // namespace tirmo::reports
