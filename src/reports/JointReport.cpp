#include "reports/JointReport.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "plate/PlateFormat.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "reports/AcquisitionFiles.h"
#include "reports/ReportNumbers.h"
#include "reports/ReportWriter.h"
#include "reports/RunFileLoader.h"

namespace tirmo::reports {

namespace {

constexpr int64_t kSpikeFloor = 10;     // a count of 10 or less is never an outlier
constexpr double kSpikeFactor = 4.0;    // an outlier is more than this many medians

// The median of up to five values, as MedianOfWindow takes it.
double MedianOfFew(std::array<int64_t, 5> values, size_t count)
{
    count = std::min(count, values.size());
    for (size_t i = 1; i < count; ++i)  // five values at most: an insertion sort
        for (size_t j = i; j > 0 && values[j - 1] > values[j]; --j) std::swap(values[j - 1], values[j]);
    return double(values[size_t(platform::RoundHalfEven((double(count) - 1) / 2))]);
}

}  // namespace

double MedianOfWindow(const std::vector<int64_t>& window)
{
    if (window.empty()) return 0;
    std::vector<int64_t> sorted = window;
    std::sort(sorted.begin(), sorted.end());
    return double(sorted[size_t(platform::RoundHalfEven((double(sorted.size()) - 1) / 2))]);
}

std::string JointBlock(const JointSource& source, const std::string& format, const RunFile& activity, bool filter,
                       std::vector<std::string>& notes)
{
    const plate::PlateSize size = plate::FormatSize(format);
    const int wells = size.wells();
    std::string out = "\\" + source.project + "\r\n\\" + source.acquisition + " [" + format + "]\r\n" + "Time";
    for (int c = 0; c < size.columns; ++c)
        for (int r = 0; r < size.rows; ++r) out += " " + plate::WellName(r, c);
    out += "\r\n";
    // Told on the status line, where a path is written as the system writes it.
    const std::string where = source.project + "/" + source.acquisition;

    const std::string lastWell = wells > 0 ? plate::WellName(size.rows - 1, size.columns - 1) : std::string();
    // The interval counts per scan row, one flat table: complete scans 0..T-1, an unfinished
    // one in row T.
    std::vector<int64_t> counts(size_t(wells), 0);
    std::vector<double> rowTime;
    std::vector<int64_t> previous(size_t(wells), 0);
    bool unfinished = false;  // rows after the last complete scan
    bool started = false;     // a scan began: a row of A1
    size_t offPlate = 0;
    // The report's own reader: what it refuses, the joint report refuses with the same words.
    ActivityRows rows(activity, size, wells);
    for (ActivityRow row; rows.next(row);) {
        started = started || row.tag == "A1";
        if (row.well < 0) {
            ++offPlate;
            continue;
        }
        const bool last = row.tag == lastWell;
        const int64_t count = int64_t(row.count);  // whole and far below 2^63
        unfinished = !last;
        const size_t t = rowTime.size();
        counts[t * size_t(wells) + size_t(row.well)] = t > 0 ? count - previous[size_t(row.well)] : count;
        previous[size_t(row.well)] = count;
        if (last) {
            rowTime.push_back(row.minutes);
            counts.resize(counts.size() + size_t(wells), 0);
        }
    }
    if (!started) {
        const std::string& path = activity.path();
        throw RunFileRefusal{kNoScans + path.substr(0, path.find_last_of("/\\"))};
    }
    if (wells == 0) {
        notes.push_back(where + ": no plate format, no scans joined");
        return out + "\r\n";
    }
    if (offPlate > 0) notes.push_back(where + ": " + std::to_string(offPlate) + " rows name no well of the plate");
    const size_t scans = rowTime.size();  // T
    const auto interval = [&](size_t t, int w) { return counts[t * size_t(wells) + size_t(w)]; };
    out.reserve(out.size() + scans * size_t(wells) * 4 + scans * 8);

    // The count written for well w in scan t: with the filter, an outlier becomes the median
    // of its window (rows 0..T while the series is short, else five rows around it, held
    // inside 0..T).
    const auto written = [&](size_t t, int w) {
        const int64_t v = interval(t, w);
        if (!filter || v <= kSpikeFloor) return v;
        const size_t T = scans;
        size_t first = 0, last = T;
        if (T >= 5) {
            if (t < 4) first = 0, last = 4;
            else if (t + 4 <= T) first = t - 2, last = t + 2;
            else first = T - 4, last = T;
        }
        std::array<int64_t, 5> window{};
        for (size_t k = first; k <= last; ++k) window[k - first] = interval(k, w);
        const double median = MedianOfFew(window, last - first + 1);
        return median * kSpikeFactor < double(v) ? int64_t(platform::RoundHalfEven(median)) : v;
    };
    for (size_t t = 0; t < scans; ++t) {
        out += platform::NumberText(rowTime[t]);
        for (int w = 0; w < wells; ++w) {
            out += ' ';
            AppendWhole(out, written(t, w));
        }
        out += "\r\n";
    }
    if (unfinished)
        notes.push_back(where + ": its last scan is unfinished and was left out");
    return out + "\r\n";
}

JointOutcome WriteJointReport(const std::string& reportsFolder, const std::vector<JointSource>& sources, bool filter,
                              std::chrono::system_clock::time_point now)
{
    JointOutcome out;
    std::string bytes;
    try {
        for (const JointSource& source : sources) {
            const std::string folder = InFolder(InFolder(reportsFolder, source.project), source.acquisition);
            const std::string format = ReadSubprojectSetup(folder).plate_format;
            const auto activity = RunFile::Read(folder, "adjusted_activity.txt");
            if (!activity) throw RunFileRefusal{kNoScans + folder};
            bytes += JointBlock(source, format, *activity, filter, out.notes);
            out.last_project = source.project;
        }
    } catch (const RunFileRefusal& refused) {
        // Nothing is joined of acquisitions one of which could not be read as a report reads it.
        out.refusal = refused.message;
        out.notes.clear();
        out.last_project.clear();
        return out;
    }
    const std::string target = InFolder(reportsFolder, "default_project");
    if (!platform::FolderExists(target)) platform::MakeFolder(target);
    const auto path = WriteNewFile(target, "joint" + platform::FormatDate(now, "yyyymmddhhmmss"), ".txt", bytes);
    if (!path) return out;
    out.written = true;
    out.file_name = path->substr(path->find_last_of("/\\") + 1);
    return out;
}

}  // namespace tirmo::reports
