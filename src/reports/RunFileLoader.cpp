#include "reports/RunFileLoader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "plate/PlateFormat.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "reports/AcquisitionFiles.h"

namespace tirmo::reports {

namespace {

long Seconds(double minutes) { return long(platform::RoundHalfEven(minutes * 60.0)); }

void ReadActivity(const RunFile& file, const plate::PlateSize& size, LoadedAcquisition& out)
{
    AcquisitionData& d = out.data;
    std::array<double, kReportWells> previous{};
    int record = -1;
    ActivityRows rows(file, size, kReportWells);
    for (ActivityRow row; rows.next(row);) {
        if (row.tag.empty()) {  // a cell of the window without a name
            out.skipped_lines.push_back(int(row.line + 1));
            continue;
        }
        if (row.tag == "A1") {
            ++record;
            d.record_seconds.push_back(Seconds(row.minutes));
            d.record_temperature.push_back(0.0);
            for (int w = 0; w < kReportWells; ++w) {
                d.well_activity[size_t(w)].push_back(-1.0);
                d.well_seconds[size_t(w)].push_back(0);
            }
        }
        if (record < 0) continue;  // rows before the first scan's start belong to no scan
        if (row.well < 0) {
            out.skipped_lines.push_back(int(row.line + 1));
            continue;
        }
        const size_t w = size_t(row.well);
        d.well_seconds[w][size_t(record)] = Seconds(row.minutes);
        double& a = d.well_activity[w][size_t(record)];
        // A well read twice in one scan adds both steps of its accumulated count.
        a = std::max(a, 0.0) + (row.count - previous[w]);
        previous[w] = row.count;
    }
    d.scan_counter = record;
}

void ReadTemperatures(const RunFile& file, AcquisitionData& d)
{
    file.checkHeader();
    const size_t scans = size_t(d.scans());
    std::vector<double> sum(scans, 0.0);
    std::vector<int> count(scans, 0), rows(scans, 0);
    for (size_t i = kRunFileHeaderLines; i < file.lines(); ++i) {
        const std::string_view line = file.line(i);
        if (line.find_first_not_of(" \t") == std::string_view::npos) continue;
        size_t pos = 0;
        const double minutes = file.rowMinutes(i, NextItem(line, pos));
        const std::string_view tempText = line.substr(pos);
        const auto temp = RunNumber(tempText);
        if (!temp || *temp < 0 || *temp > kHottestReading)
            file.refuse(i, Shown(platform::Trim(tempText)) + " is not a stage temperature (0 to " +
                               platform::NumberText(kHottestReading) + " degrees C)");
        if (scans == 0) continue;
        // The reading belongs to the last scan that had begun by then.
        const long s = Seconds(minutes);
        auto it = std::upper_bound(d.record_seconds.begin(), d.record_seconds.end(), s);
        const size_t r = it == d.record_seconds.begin() ? 0 : size_t(it - d.record_seconds.begin() - 1);
        ++rows[r];
        if (*temp > 0) {
            sum[r] += *temp;
            ++count[r];
        }
        // A scan without a positive reading keeps its last one; a sensor that reads 0 never
        // pulls a mean down.
        d.record_temperature[r] = count[r] > 0 ? sum[r] / count[r] : *temp;
    }
    d.no_temperature.clear();
    for (size_t r = 0; r < scans; ++r)
        if (rows[r] == 0) d.no_temperature.push_back(int(r));
}

// Reads file with read; when keepSoundPart is set, a damaged line ends the file there instead
// (what the run wrote before it is kept), after reset has undone the first attempt, and notes
// receives what was left out. A damaged header leaves nothing sound: the file is refused.
template <class Read, class Reset>
void ReadSound(RunFile& file, bool keepSoundPart, std::vector<std::string>& notes, Read read, Reset reset)
{
    try {
        read(file);
    } catch (const RunFileRefusal& refused) {
        if (!keepSoundPart || refused.line == std::string::npos || refused.line < kRunFileHeaderLines) throw;
        reset();
        file.cutAt(refused.line);
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
        if (!keepSoundPart) throw RunFileRefusal{what};
        notes.push_back(what + "; that row was left out");
    }
    if (!groups.error.empty() && platform::FileExists(path)) throw RunFileRefusal{path + " " + groups.error};
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
        auto activity = RunFile::Read(folder, "current_activity.txt");
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
        activity.reset();  // a day's file is large: let it go before the next is read
        if (auto temps = RunFile::Read(folder, "current_temperature.txt")) {
            ReadSound(
                *temps, keepSoundPart, out.notes, [&](const RunFile& f) { ReadTemperatures(f, out.data); },
                [&] { std::fill(out.data.record_temperature.begin(), out.data.record_temperature.end(), 0.0); });
        } else {
            for (int r = 0; r < out.data.scans(); ++r) out.data.no_temperature.push_back(r);
        }
        ReadGroups(folder, out.data, keepSoundPart, out.notes);
    } catch (const RunFileRefusal& refused) {
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
