#include "reports/RunFileLoader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "plate/PlateFormat.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "reports/AcquisitionFiles.h"

namespace tirmo::reports {

namespace {

constexpr size_t kHeaderLines = 2;
constexpr size_t kShownItem = 40;  // a damaged item is shown up to this many characters

// Thrown by the readers below at the first line no run writes; LoadAcquisition turns it into
// the refusal.
struct Refused {
    std::string message;
    size_t line = std::string::npos;  // index of the damaged line; npos: the file as a whole
};

// One run file: its lines and its path, for naming a damaged line.
struct RunFile {
    std::string path;
    std::vector<std::string> lines;

    [[noreturn]] void refuse(size_t index, const std::string& what) const
    {
        throw Refused{path + ", line " + std::to_string(index + 1) + ": " + what, index};
    }

    // The file's own header: its second line names the columns, beginning with "Time[m]".
    void checkHeader() const
    {
        if (lines.size() < kHeaderLines) refuse(lines.size(), "the file ends before its column header \"Time[m]\"");
        if (lines[1].find("\"Time[m]\"") != 0) refuse(1, "this is not the column header \"Time[m]\"");
    }
};

// An item as a message shows it: quoted, cut short, and without control characters.
std::string Shown(std::string_view item)
{
    std::string s;
    for (char c : item.substr(0, kShownItem)) s += static_cast<unsigned char>(c) < 32 ? '?' : c;
    return "\"" + s + (item.size() > kShownItem ? "...\"" : "\"");
}

// The next blank-separated item of a line from pos on; empty at the end.
std::string_view NextItem(std::string_view line, size_t& pos)
{
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    const size_t start = pos;
    while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t') ++pos;
    return line.substr(start, pos - start);
}

// The well name of an activity row: the text between its double quotes (a cell's name may hold
// blanks), or the next item when it is not quoted.
std::string_view NextTag(std::string_view line, size_t& pos)
{
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    if (pos >= line.size() || line[pos] != '"') return NextItem(line, pos);
    const size_t close = line.find('"', pos + 1);
    const size_t end = close == std::string_view::npos ? line.size() : close;
    const std::string_view tag = line.substr(pos + 1, end - pos - 1);
    pos = close == std::string_view::npos ? line.size() : close + 1;
    return tag;
}

// A number written in full, with "." or "," as the point; never nan or infinite.
std::optional<double> Number(std::string_view text)
{
    const auto v = platform::ParseNumber(text);
    if (!v || !std::isfinite(*v)) return std::nullopt;
    return v;
}

long Seconds(double minutes) { return long(platform::RoundHalfEven(minutes * 60.0)); }

// The time of row index: minutes from 0 to the latest a run reaches.
double RowMinutes(const RunFile& file, size_t index, std::string_view text)
{
    const auto minutes = Number(text);
    if (!minutes || *minutes < 0 || *minutes > kLatestRowMinutes)
        file.refuse(index, Shown(text) + " is not a time of a run (0 to " + platform::NumberText(kLatestRowMinutes) +
                               " minutes)");
    return *minutes;
}

void ReadActivity(const RunFile& file, const plate::PlateSize& size, LoadedAcquisition& out)
{
    file.checkHeader();
    AcquisitionData& d = out.data;
    const int wells = std::min(size.wells(), kReportWells);
    std::array<double, kReportWells> previous{};
    int record = -1;
    for (size_t i = kHeaderLines; i < file.lines.size(); ++i) {
        const std::string_view line = file.lines[i];
        if (platform::Trim(line).empty()) continue;
        size_t pos = 0;
        const double minutes = RowMinutes(file, i, NextItem(line, pos));
        const std::string_view tag = NextTag(line, pos);
        const std::string_view countText = line.substr(pos);
        const auto count = Number(countText);
        if (!count || *count < 0 || *count > kMostAccumulatedCount || *count != std::floor(*count))
            file.refuse(i, Shown(platform::Trim(countText)) + " is not an accumulated count (a whole number from 0 to " +
                               platform::NumberText(kMostAccumulatedCount) + ")");
        if (tag.empty()) {  // a cell of the window without a name
            out.skipped_lines.push_back(int(i + 1));
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
        a = std::max(a, 0.0) + (*count - previous[size_t(w)]);
        previous[size_t(w)] = *count;
    }
    d.scan_counter = record;
}

void ReadTemperatures(const RunFile& file, AcquisitionData& d)
{
    file.checkHeader();
    const size_t scans = size_t(d.scans());
    std::vector<double> sum(scans, 0.0);
    std::vector<int> count(scans, 0);
    for (size_t i = kHeaderLines; i < file.lines.size(); ++i) {
        const std::string_view line = file.lines[i];
        if (platform::Trim(line).empty()) continue;
        size_t pos = 0;
        const double minutes = RowMinutes(file, i, NextItem(line, pos));
        const std::string_view tempText = line.substr(pos);
        const auto temp = Number(tempText);
        if (!temp || *temp < 0 || *temp > kHottestReading)
            file.refuse(i, Shown(platform::Trim(tempText)) + " is not a stage temperature (0 to " +
                               platform::NumberText(kHottestReading) + " degrees C)");
        if (scans == 0) continue;
        // The reading belongs to the last scan that had begun by then.
        const long s = Seconds(minutes);
        auto it = std::upper_bound(d.record_seconds.begin(), d.record_seconds.end(), s);
        const size_t r = it == d.record_seconds.begin() ? 0 : size_t(it - d.record_seconds.begin() - 1);
        if (*temp > 0) {
            sum[r] += *temp;
            ++count[r];
        }
        // A scan without a positive reading keeps its last one; a sensor that reads 0 never
        // pulls a mean down.
        d.record_temperature[r] = count[r] > 0 ? sum[r] / count[r] : *temp;
    }
}

// The file's lines, nullopt when it is missing; refused when it is there but cannot be read.
std::optional<RunFile> ReadRunFile(const std::string& folder, const char* name)
{
    RunFile file{InFolder(folder, name), {}};
    auto lines = platform::ReadRecordLines(file.path);
    if (!lines) {
        if (platform::FileExists(file.path)) throw Refused{file.path + " could not be read"};
        return std::nullopt;
    }
    file.lines = std::move(*lines);
    return file;
}

// Reads file with read; when keepSoundPart is set, a damaged line ends the file there instead
// (what the run wrote before it is kept), after reset has undone the first attempt, and notes
// receives what was left out. A damaged header leaves nothing sound: the file is refused.
template <class Read, class Reset>
void ReadSound(RunFile file, bool keepSoundPart, std::vector<std::string>& notes, Read read, Reset reset)
{
    try {
        read(file);
    } catch (const Refused& refused) {
        if (!keepSoundPart || refused.line == std::string::npos || refused.line < kHeaderLines) throw;
        reset();
        file.lines.resize(refused.line);
        read(file);
        notes.push_back(refused.message + "; read up to the line before");
    }
}

void ReadGroups(const std::string& folder, AcquisitionData& d, bool keepSoundPart, std::vector<std::string>& notes)
{
    const std::string path = InFolder(folder, "chgroup.dat");
    const auto groups = d.groups.Load(path);
    if (groups.damagedLine > 0) {
        const std::string what = path + ", line " + std::to_string(groups.damagedLine) +
                                 ": this is not a row of a well (0 to 384), its group (-1 to 384) and the group's name";
        if (!keepSoundPart) throw Refused{what};
        notes.push_back(what + "; that row was left out");
    }
    if (!groups.error.empty() && platform::FileExists(path)) throw Refused{path + " " + groups.error};
}

}  // namespace

LoadedAcquisition LoadAcquisition(const std::string& folder, const std::string& formatWhenMissing, bool keepSoundPart)
{
    LoadedAcquisition out;
    const SubprojectSetup setup = ReadSubprojectSetup(folder);
    out.setup_found = setup.found;
    out.title = setup.title;
    out.acq_time = setup.acq_time.value_or(0);
    out.data.plate_format = setup.plate_format.empty() ? formatWhenMissing : setup.plate_format;

    try {
        const auto activity = ReadRunFile(folder, "current_activity.txt");
        if (!activity) return out;
        out.activity_found = true;
        const plate::PlateSize size = plate::FormatSize(out.data.plate_format);
        ReadSound(
            *activity, keepSoundPart, out.notes, [&](const RunFile& f) { ReadActivity(f, size, out); },
            [&] {
                AcquisitionData empty;
                empty.plate_format = out.data.plate_format;
                out.data = std::move(empty);
                out.skipped_lines.clear();
            });
        if (const auto temps = ReadRunFile(folder, "current_temperature.txt"))
            ReadSound(
                *temps, keepSoundPart, out.notes, [&](const RunFile& f) { ReadTemperatures(f, out.data); },
                [&] { std::fill(out.data.record_temperature.begin(), out.data.record_temperature.end(), 0.0); });
        ReadGroups(folder, out.data, keepSoundPart, out.notes);
    } catch (const Refused& refused) {
        const std::string format = out.data.plate_format;
        out.data = AcquisitionData{};
        out.data.plate_format = format;
        out.skipped_lines.clear();
        out.notes.clear();
        out.refusal = refused.message;
    }
    return out;
}

}  // namespace tirmo::reports
