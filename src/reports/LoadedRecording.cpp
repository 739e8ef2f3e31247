#include "reports/LoadedRecording.h"

#include <algorithm>
#include <cctype>

#include "plate/PlateFormat.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "reports/AcquisitionFiles.h"
#include "reports/RunFileLoader.h"

namespace tirmo::reports {

namespace {

// The formats the user may type when subpj.dat names none.
constexpr const char* kTypedFormats[] = {"w48", "w96f", "w24", "w12", "w6", "p35"};

std::string Lower(std::string s)
{
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

LoadOutcome LoadRecording(LoadedRecording& rec, const std::string& reportsFolder, const BrowserRow& row,
                          const std::function<std::string(const std::string&)>& ask)
{
    rec.recording_stamp = row.acquisition.substr(0, 13);
    rec.project_name = row.project_name;
    rec.recording_path = row.project_name;
    rec.recording_folder = InFolder(reportsFolder, row.project_name);
    // The row names its folder itself: two acquisitions begun in the same minute stay apart.
    const std::string folder = InFolder(rec.recording_folder, row.acquisition);
    if (row.acquisition.empty() || !platform::FolderExists(folder)) return {LoadResult::FolderNotFound, {}};
    rec.recording_folder = folder;
    rec.recording_path += "\\" + row.acquisition;

    // subpj.dat: what it lacks is asked, time first.
    const SubprojectSetup setup = ReadSubprojectSetup(folder);
    if (setup.found) rec.recording_title = setup.title;
    int acqTime = setup.acq_time.value_or(0);
    std::string format = setup.plate_format;
    const bool lacksTime = !setup.found || !setup.acq_time;
    if (lacksTime) {
        const auto typed = platform::ParseNumber(platform::Trim(ask ? ask(kAskTime) : std::string()));
        if (!typed || !(*typed > 0) || *typed > 1e9) return {LoadResult::BadTime, {}};
        acqTime = int(platform::RoundHalfEven(*typed));
    }
    if (lacksTime || format.empty()) {
        format = Lower(platform::Trim(ask ? ask(kAskFormat) : std::string()));
        if (std::find(std::begin(kTypedFormats), std::end(kTypedFormats), format) == std::end(kTypedFormats))
            return {LoadResult::BadFormat, {}};
    }

    // Every plate gets its own geometry, so that no well of a large plate lands on another.
    const plate::PlateSize size = plate::FormatSize(format);
    rec.plate_rows = size.rows;
    rec.plate_columns = size.columns;
    rec.acq_time = acqTime;
    LoadedAcquisition files = LoadAcquisition(folder, format, true);
    files.data.plate_format = format;
    if (!files.refusal.empty()) return {LoadResult::Refused, files.refusal};
    if (!files.activity_found) {
        rec.data = AcquisitionData{};
        rec.data.plate_format = format;
        rec.notes.clear();
        return {LoadResult::NoActivity, {}};
    }
    rec.data = std::move(files.data);
    rec.notes = std::move(files.notes);
    if (!files.skipped_lines.empty())
        rec.notes.push_back(std::to_string(files.skipped_lines.size()) +
                            " rows of current_activity.txt name no well of the plate " + format +
                            " (first at line " + std::to_string(files.skipped_lines.front()) + ")");
    return {LoadResult::Loaded, {}};
}

std::vector<std::string> GroupItems(const LoadedRecording& rec)
{
    std::array<bool, plate::kGroupEntries> used{};
    for (int w = 0; w < std::min(rec.wells(), plate::kGroupedWells); ++w) {
        const int g = rec.data.groups.well_group[size_t(w)];
        if (g >= 0 && g < plate::kGroupEntries) used[size_t(g)] = true;
    }
    std::vector<std::string> items;
    for (int g = 0; g < plate::kGroupedWells; ++g)
        if (used[size_t(g)]) items.push_back(plate::WellGroups::ListItem(g, rec.data.groups.group_names[size_t(g)]));
    return items;
}

GroupTotals FindMaxGroupActivity(const LoadedRecording& rec)
{
    GroupTotals t;
    const int wells = std::min(rec.wells(), kReportWells);
    for (int w = 0; w < wells; ++w) {
        const int g = rec.data.groups.well_group[size_t(w)];
        if (g < 0 || g >= int(t.total.size())) continue;
        const std::vector<double>& activity = rec.data.well_activity[size_t(w)];
        int64_t& sum = t.total[size_t(g)];
        for (int s = 0; s <= rec.last_record() && size_t(s) < activity.size(); ++s)
            if (activity[size_t(s)] > 0) sum = platform::RoundHalfEven(double(sum) + activity[size_t(s)]);
        t.largest = std::max(t.largest, sum);
    }
    return t;
}

}  // namespace tirmo::reports
