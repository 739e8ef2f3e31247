#pragma once
// percent_activity.csv: per scan, the share of each well's disc that shows activity, as the
// black-and-white heat map of that scan counts it. A line per position of the time slider
// holds the scan shown there, as the picture sequence does, so the two exports of one recording
// line up file for file.
#include <chrono>
#include <string>
#include <vector>

#include "reports/HeatMapStore.h"

namespace tirmo::reports {

inline constexpr const char* kAreaFileName = "percent_activity.csv";

struct AreaFileHeading {
    std::string folder;   // the recording folder
    std::string project;
    std::string title;    // the acquisition's title
    std::chrono::system_clock::time_point written;
};

// All lines of the file, without their ends. A well without any point of its disc (no pixel
// file held it) has an empty field: there is no share to give.
std::vector<std::string> AreaFileLines(const HeatMapStore& store, const AreaFileHeading& heading);

}  // namespace tirmo::reports
