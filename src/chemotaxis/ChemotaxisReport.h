#pragma once
// The chemotaxis report: the index of every well over time for the chosen index kind, and the
// activity map of every well's quadrants, both summed over the same window of scans.
//
// The text is built whole and written only when the processing has read every file, so a run
// that is stopped or fails leaves no report behind. A well has no value (an empty field) at a
// scan it has no sums of, and a scan no file holds has no time: a made-up 0 would read as a
// well without activity.
#include <optional>
#include <string>
#include <vector>

#include "chemotaxis/ChemotaxisIndex.h"
#include "platform/Locale.h"

namespace tirmo::chemotaxis {

// A well's name from its index (counted down the columns): A1, B1, A2 ... with two rows.
std::string WellName(int index, int rows);

struct ChemotaxisReportInputs {
    std::string date_text;   // the DATE line
    std::string folder;      // the FILE line: the acquisition folder
    int wells = 0;
    int rows = 1;
    std::vector<std::optional<double>> times;  // minutes of the scans held, in order
    std::vector<std::string> labels;   // group label of each well ("" for none)
    const SideSumStore* sums = nullptr;
    int window = 0;                    // m: scans beyond the current one that are summed
    std::optional<IndexKind> chosen;   // the kind whose rows are written
    std::string divider = ",";
    std::string decimal = ".";
    platform::Charset charset = platform::Charset::Latin1;
};

// The whole report, every line ended by CR LF.
std::string BuildChemotaxisReport(const ChemotaxisReportInputs& in);

}  // namespace tirmo::chemotaxis
