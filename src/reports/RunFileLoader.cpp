#include "reports/RunFileLoader.h"

#include <algorithm>
#include <array>

#include "plate/PlateFormat.h"
#include "platform/Convert.h"
#include "platform/TextFile.h"
#include "reports/AcquisitionFiles.h"
#include "reports/ReportNumbers.h"

namespace tirmo::reports {

namespace {

constexpr size_t kHeaderLines = 2;

// The next blank-separated item of a line from pos on; empty at the end.
std::string_view NextItem(std::string_view line, size_t& pos)
{
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    const size_t start = pos;
    while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t') ++pos;
    return line.substr(start, pos - start);
}

std::string_view Unquoted(std::string_view s)
{
    if (!s.empty() && s.front() == '"') s.remove_prefix(1);
    if (!s.empty() && s.back() == '"') s.remove_suffix(1);
    return s;
}

long Seconds(double minutes) { return long(platform::RoundHalfEven(minutes * 60.0)); }

void ReadActivity(const std::vector<std::string>& lines, const plate::PlateSize& size, LoadedAcquisition& out)
{
    AcquisitionData& d = out.data;
    const int wells = std::min(size.wells(), kReportWells);
    std::array<double, kReportWells> previous{};
    int record = -1;
    for (size_t i = kHeaderLines; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        size_t pos = 0;
        const std::string_view timeText = NextItem(line, pos);
        const std::string_view tag = Unquoted(NextItem(line, pos));
        const std::string_view countText = NextItem(line, pos);
        size_t timeUsed = 0, countUsed = 0;
        const double minutes = LeadingNumber(timeText, &timeUsed);
        const double count = LeadingNumber(countText, &countUsed);
        if (timeUsed == 0 || countUsed == 0 || tag.empty()) {
            if (!platform::Trim(line).empty()) out.skipped_lines.push_back(int(i + 1));
            continue;
        }
        if (tag == "A1") {
            ++record;
            d.record_seconds.push_back(Seconds(minutes));
            d.record_temperature.push_back(0.0);
            for (int w = 0; w < kReportWells; ++w) {
                d.well_activity[size_t(w)].push_back(-1.0);
                d.well_seconds[size_t(w)].push_back(0);
            }
        }
        if (record < 0) continue;  // rows before the first scan's start belong to no scan
        const auto place = plate::ParseWellName(tag);
        const int w = place ? place->second * size.rows + place->first : -1;
        if (!place || place->first >= size.rows || place->second >= size.columns || w >= wells) {
            out.skipped_lines.push_back(int(i + 1));
            continue;
        }
        d.well_seconds[size_t(w)][size_t(record)] = Seconds(minutes);
        double& a = d.well_activity[size_t(w)][size_t(record)];
        // A well read twice in one scan adds both steps of its accumulated count.
        a = std::max(a, 0.0) + (count - previous[size_t(w)]);
        previous[size_t(w)] = count;
    }
    d.scan_counter = record;
}

void ReadTemperatures(const std::vector<std::string>& lines, AcquisitionData& d)
{
    const size_t scans = size_t(d.scans());
    if (scans == 0) return;
    std::vector<double> sum(scans, 0.0);
    std::vector<int> count(scans, 0);
    for (size_t i = kHeaderLines; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        size_t pos = 0;
        const std::string_view timeText = NextItem(line, pos);
        const std::string_view tempText = NextItem(line, pos);
        size_t timeUsed = 0, tempUsed = 0;
        const double minutes = LeadingNumber(timeText, &timeUsed);
        const double temp = LeadingNumber(tempText, &tempUsed);
        if (timeUsed == 0 || tempUsed == 0) continue;
        // The reading belongs to the last scan that had begun by then.
        const long s = Seconds(minutes);
        auto it = std::upper_bound(d.record_seconds.begin(), d.record_seconds.end(), s);
        const size_t r = it == d.record_seconds.begin() ? 0 : size_t(it - d.record_seconds.begin() - 1);
        if (temp > 0) {
            sum[r] += temp;
            ++count[r];
        }
        // A scan without a positive reading keeps its last one; a sensor that reads 0 never
        // pulls a mean down.
        d.record_temperature[r] = count[r] > 0 ? sum[r] / count[r] : temp;
    }
}

}  // namespace

LoadedAcquisition LoadAcquisition(const std::string& folder, const std::string& formatWhenMissing)
{
    LoadedAcquisition out;
    const SubprojectSetup setup = ReadSubprojectSetup(folder);
    out.setup_found = setup.found;
    out.title = setup.title;
    out.acq_time = setup.acq_time.value_or(0);
    out.data.plate_format = setup.plate_format.empty() ? formatWhenMissing : setup.plate_format;

    const auto activity = platform::ReadRecordLines(InFolder(folder, "current_activity.txt"));
    if (!activity) return out;
    out.activity_found = true;
    ReadActivity(*activity, plate::FormatSize(out.data.plate_format), out);
    if (const auto temps = platform::ReadRecordLines(InFolder(folder, "current_temperature.txt")))
        ReadTemperatures(*temps, out.data);
    out.data.groups.Load(InFolder(folder, "chgroup.dat"));
    return out;
}

}  // namespace tirmo::reports
