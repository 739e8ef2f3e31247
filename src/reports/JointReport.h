#pragma once
// The joint report: several recorded acquisitions in one text file,
// reports\default_project\joint<yyyymmddhhmmss>.txt, acquisition after acquisition, as the
// activity of each well in each complete scan of its adjusted_activity.txt. A block is
//   "\" project
//   "\" acquisition folder " [" plate format "]"
//   "Time" and the plate's wells column by column (A1 B1 A2 B2 ... on a w6 plate)
//   per complete scan: the time of its last well's row and each well's interval count
//   an empty line
// Fields are separated by one blank; times are written with "." whatever the recording's
// locale wrote. The outlier filter replaces an interval count above 10 and above 4 times the
// median of its five-scan neighbourhood by that median.
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "reports/RunFileRows.h"

namespace tirmo::reports {

inline constexpr const char* kOutlierQuestion =
    "Do you like to remove outliers?\r\noutlier = Activity(t) > 4 * Median(t-2;t+2)";

// An acquisition of the joint report: its project and its folder's name in the project.
struct JointSource {
    std::string project;
    std::string acquisition;
};

// The median of window[0..last]: the element at position last / 2 (rounded, halves to even)
// of the sorted values.
double MedianOfWindow(const std::vector<int64_t>& window);

// One acquisition's block from its adjusted_activity.txt, read by the report's rules: a row
// that a report refuses, or a file in which no scan began, throws RunFileRefusal with the
// report's message. notes receives what the block leaves out.
std::string JointBlock(const JointSource& source, const std::string& plateFormat, const RunFile& activity, bool filter,
                       std::vector<std::string>& notes);

struct JointOutcome {
    bool written = false;       // false: the file was refused or could not be written (nothing is left)
    std::string refusal;        // an acquisition's file a report would refuse: the report's message
    std::string file_name;      // joint<stamp>.txt, without folder
    std::string last_project;   // the project of the last acquisition, empty for none
    std::vector<std::string> notes;
};

// Writes the joint report of the acquisitions under reportsFolder into its default_project.
// An acquisition without adjusted_activity.txt, or whose file a report would refuse, leaves
// the joint report unwritten and names why in refusal.
JointOutcome WriteJointReport(const std::string& reportsFolder, const std::vector<JointSource>& sources, bool filter,
                              std::chrono::system_clock::time_point now);

}  // namespace tirmo::reports
