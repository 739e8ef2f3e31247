#pragma once
// The blank measurement in use, as the main window names it: the first line of the blank file
// of a plate format in the instrument's blank store, shown as the blank's time and name.
#include <string>

namespace tirmo::project {

// <program folder>\reports\_internal_blank_measurement[SN<n>]\blank_<format>.dat; the "SN"
// part only for serial number 1 or more.
std::string BlankFilePath(const std::string& format, int serialNumber);

// The first line of that file; the empty text when the file is missing or unreadable.
std::string ReadBlankHeader(const std::string& format, int serialNumber);

// A header cut at its fixed places: "20250131_140512_blank_mix1" gives the time
// "2025.01.31 14:05h" and the name " blank mix1" (every "_" of the rest a blank). An empty
// header or "none" gives the time "none" and an empty name.
struct BlankInfo {
    std::string time;
    std::string name;
};
BlankInfo BlankInfoOf(const std::string& header);

}  // namespace tirmo::project
