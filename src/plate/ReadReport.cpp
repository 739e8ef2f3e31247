#include "plate/ReadReport.h"

namespace tirmo::plate {

std::string ReadReport::Text() const
{
    if (clean()) return {};
    std::string s = file + ":";
    if (!skippedLines.empty()) {
        s += skippedLines.size() == 1 ? " line " : " lines ";
        for (size_t i = 0; i < skippedLines.size(); ++i) {
            if (i > 0) s += ",";
            s += std::to_string(skippedLines[i]);
        }
        s += " skipped (outside the tables)";
    }
    if (stoppedAtLine > 0) {
        if (!skippedLines.empty()) s += ";";
        s += " reading stopped at line " + std::to_string(stoppedAtLine) + " (" + stopReason +
             "), the rest of the file was not read";
    }
    return s;
}

std::string JoinReports(const std::vector<ReadReport>& reports)
{
    std::string s;
    for (const auto& r : reports) {
        const std::string t = r.Text();
        if (t.empty()) continue;
        if (!s.empty()) s += ". ";
        s += t;
    }
    return s;
}

}  // namespace tirmo::plate
