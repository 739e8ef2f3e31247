#include "plate/ReadReport.h"

#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"

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

ReadReport ReadPlateFile(const std::string& path, const LineReader& take)
{
    ReadReport report;
    report.file = path.substr(path.find_last_of('/') + 1);
    if (!platform::FileExists(path)) return report;
    const auto lines = platform::ReadLines(path);
    if (!lines) return report;
    report.found = true;
    for (size_t i = 2; i < lines->size(); ++i) {
        const std::string& text = (*lines)[i];
        if (platform::Trim(text).empty()) continue;
        const int number = int(i + 1);
        std::string reason;
        switch (take(text, reason)) {
        case LineVerdict::Taken:
            ++report.linesTaken;
            break;
        case LineVerdict::Skipped:
            report.skippedLines.push_back(number);
            break;
        case LineVerdict::Unsound:
            report.stoppedAtLine = number;
            report.stopReason = reason;
            return report;
        }
    }
    return report;
}

}  // namespace tirmo::plate
