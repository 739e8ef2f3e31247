#include "reports/JointReexport.h"

#include <charconv>
#include <cmath>
#include <ctime>

#include "plate/PlateFormat.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "reports/AcquisitionFiles.h"
#include "reports/ReportNumbers.h"

namespace tirmo::reports {

namespace {

// A joint line as a report line: decimal commas read as points, blanks become the divider.
std::string Converted(const std::string& line, const std::string& divider)
{
    std::string out;
    out.reserve(line.size() + 8);
    for (char c : line) {
        if (c == ',')
            out += '.';
        else if (c == ' ')
            out += divider;
        else
            out += c;
    }
    return out;
}

// The wells of a header "Time A1 B1 ... B3": rows x columns of its last well.
int HeaderWells(std::string_view header)
{
    const auto items = platform::SplitOnSpaces(header);
    if (items.size() < 2) return 0;
    const auto place = plate::ParseWellName(items.back());
    return place ? (place->first + 1) * (place->second + 1) : 0;
}

bool IsDataRow(std::string_view line)
{
    if (line.empty() || line.find(' ') == std::string_view::npos) return false;
    const char c = line[0];
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == ',';
}

// A number as plain text (up to 15 significant digits), whatever the process locale.
std::string NumberWith(double v, const std::string& decimal)
{
    char buf[40];
    const auto end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15).ptr;
    std::string s(buf, end);
    if (const size_t at = s.find('.'); at != std::string::npos) s.replace(at, 1, decimal);
    return s;
}

// "report" and the stamp of now in the joint export's own mask "yyymmddhhmmss": two digits of
// the year, then the day of the year, month, day, hour, minute and second.
std::string JointReportBase(std::chrono::system_clock::time_point now)
{
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[40];
    std::snprintf(buf, sizeof buf, "report%02d%d%02d%02d%02d%02d%02d", tm.tm_year % 100, tm.tm_yday + 1, tm.tm_mon + 1,
                  tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    return buf;
}

}  // namespace

JointText JointReexportText(const std::vector<std::string>& lines, const ReportOptions& options)
{
    JointText out;
    out.bin_text = options.bin_text;
    auto copy = [&](const std::string& line) {
        out.bytes += Converted(line, options.divider);
        out.bytes += "\r\n";
    };
    if (options.bin_text == kScanTime) {
        for (const auto& l : lines) copy(l);
        return out;
    }
    if (LeadingNumber(out.bin_text) < 10) out.bin_text = "10";
    const double bin = LeadingNumber(out.bin_text);

    // Each block is binned on its own: its header sets the wells, and the sums start again.
    int wells = 0;
    std::vector<double> acc;
    double previous = 0, binEnd = bin;
    for (const auto& line : lines) {
        if (line.rfind("Time", 0) == 0) {
            wells = HeaderWells(line);
            if (wells <= 0) {
                out.ok = false;
                return out;
            }
            acc.assign(size_t(wells), 0.0);
            previous = 0;
            binEnd = bin;
            copy(line);
            continue;
        }
        if (wells == 0 || !IsDataRow(line)) {
            copy(line);  // the block's title lines and the empty line between blocks
            continue;
        }
        const auto items = platform::SplitOnSpaces(line);
        const double time = double(platform::RoundHalfEven(LeadingNumber(items[0])));
        std::vector<double> v(size_t(wells), 0.0);
        for (size_t j = 0; j < v.size() && j + 1 < items.size(); ++j) v[j] = LeadingNumber(items[j + 1]);
        if (time < binEnd) {
            for (size_t j = 0; j < v.size(); ++j) acc[j] += v[j] * (time - previous);
            previous = time;
            continue;
        }
        // One row closes at most one bin; its minutes past the new bin's start stay in it.
        for (size_t j = 0; j < v.size(); ++j) acc[j] += v[j] * (binEnd - previous);
        out.bytes += NumberWith(binEnd, options.decimal);
        for (double a : acc) {
            out.bytes += options.divider;
            out.bytes += NumberWith(a, options.decimal);
        }
        out.bytes += "\r\n";
        previous = binEnd;
        binEnd += bin;
        for (size_t j = 0; j < v.size(); ++j) acc[j] = v[j] * (time - previous);
        previous = time;
    }
    return out;
}

ReportOutcome ReexportJoint(const std::string& jointFileName, const std::string& folder, const ReportOptions& options,
                            const ReportEnvironment& env)
{
    ReportOutcome out;
    out.folder = folder;
    out.bin_text = options.bin_text;
    const auto lines = platform::ReadLines(platform::ProgramPath("reports/default_project/" + jointFileName));
    if (!lines) {
        out.result = ReportOutcome::Result::Nothing;
        return out;
    }
    try {
        const JointText text = JointReexportText(*lines, options);
        out.bin_text = text.bin_text;
        const auto path = text.ok ? WriteNewFile(folder, JointReportBase(env.now),
                                                 options.extension == ".csv" ? ".csv" : ".txt", text.bytes)
                                  : std::nullopt;
        if (path) {
            out.path = *path;
            out.result = ReportOutcome::Result::Written;
            return out;
        }
    } catch (...) {
    }
    if (env.message) env.message(kReportError);
    out.result = ReportOutcome::Result::Failed;
    return out;
}

}  // namespace tirmo::reports
