#include "plate/WellGroups.h"

#include <algorithm>
#include <cmath>

#include "link/Protocol.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"

namespace tirmo::plate {
namespace {

constexpr int kLastEntry = kGroupEntries - 1;

// The leading number of a text as the tables store it (halves to even); nullopt when it is too
// large to be anything the tables hold.
std::optional<long long> leadingWhole(std::string_view text)
{
    const double v = platform::Val(text);
    if (!std::isfinite(v) || std::fabs(v) > 1e9) return std::nullopt;
    return platform::RoundHalfEven(v);
}

std::string groupName(int g) { return "Group" + std::to_string(g); }

// A field as SaveWellGroups writes a number: digits, a minus sign before them at most.
bool wholeField(std::string_view text)
{
    if (!text.empty() && text.front() == '-') text.remove_prefix(1);
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Whether a row that ParseRow takes is also one SaveWellGroups writes.
bool writtenRow(std::string_view line)
{
    const size_t p1 = line.find(',');
    const size_t p2 = line.find(',', p1 + 1);
    const std::string_view group = line.substr(p1 + 1, p2 - p1 - 1);
    return wholeField(platform::Trim(line.substr(0, p1))) && wholeField(platform::Trim(group)) &&
           platform::Val(group) >= kNoGroup;
}

}  // namespace

std::string GroupFilePath(const std::string& folder)
{
    return platform::ProgramPath(ShownGroupFile(folder));
}

std::string ShownGroupFile(const std::string& folder) { return "reports\\" + folder + "\\chgroup.dat"; }

bool SaveWellGroups(const WellGroups& groups, const std::string& folder, link::Console& console)
{
    if (groups.Save(GroupFilePath(folder))) return true;
    console.SetStatus("Could not save the well groups to " + ShownGroupFile(folder));
    return false;
}

WellGroups::WellGroups()
{
    group_names.fill(kFreeName);
    well_group.fill(kNoGroup);
    group_used.fill(kNoGroup);
}

void WellGroups::Clear()
{
    for (int i = 0; i < kGroupedWells; ++i) {
        well_group[size_t(i)] = kNoGroup;
        group_names[size_t(i)] = kFreeName;
    }
}

std::optional<WellGroups::Row> WellGroups::ParseRow(std::string_view line)
{
    const size_t p1 = line.find(',');
    if (p1 == std::string_view::npos) return std::nullopt;
    const size_t p2 = line.find(',', p1 + 1);
    if (p2 == std::string_view::npos) return std::nullopt;
    const auto well = leadingWhole(line.substr(0, p1 + 1));
    const auto group = leadingWhole(line.substr(p1 + 1, p2 - p1 - 1));
    if (!well || !group) return std::nullopt;
    if (*well < 0 || *well > kLastEntry || *group > kLastEntry) return std::nullopt;
    Row row;
    row.well = int(*well);
    row.group = int(std::max<long long>(*group, kNoGroup));
    for (char c : line.substr(p2 + 1))
        if (c != '"') row.name += c;
    return row;
}

std::vector<std::string> WellGroups::FileLines() const
{
    std::vector<std::string> lines{kGroupFileHeader};
    lines.reserve(kGroupedWells + 1);
    for (int w = 0; w < kGroupedWells; ++w) {
        const int g = well_group[size_t(w)];
        // A well's group number is only ever set from 0..384 or -1.
        const std::string& name = g > kNoGroup ? group_names[size_t(g)] : std::string(kFreeName);
        lines.push_back(std::to_string(w) + "," + std::to_string(g) + "," + platform::Quoted(name));
    }
    return lines;
}

WellGroups::LoadResult WellGroups::Load(const std::string& path)
{
    Clear();
    LoadResult result;
    const auto lines = platform::ReadLines(path);
    if (!lines) {
        if (platform::FileExists(path) || platform::FolderExists(path)) {
            result.error = "could not be read";
            return result;
        }
        if (!platform::WriteLines(path, FileLines())) {
            result.error = "was missing and could not be created";
            return result;
        }
        result.created = true;
        return result;
    }
    result.read = true;
    if (lines->empty() || platform::Trim((*lines)[0]) != kGroupFileHeader) result.damagedLine = 1;
    for (size_t i = 1; i < lines->size(); ++i) {
        const std::string& line = (*lines)[i];
        if (platform::Trim(line).empty()) continue;
        const auto row = ParseRow(line);
        if ((!row || !writtenRow(line)) && result.damagedLine == 0) result.damagedLine = int(i + 1);
        if (!row) {
            result.skippedLines.push_back(int(i + 1));
            continue;
        }
        well_group[size_t(row->well)] = row->group;
        if (row->group > kNoGroup) group_names[size_t(row->group)] = row->name;
    }
    return result;
}

bool WellGroups::Save(const std::string& path) const { return platform::WriteLines(path, FileLines()); }

std::string WellGroups::ListItem(int group, const std::string& name)
{
    return platform::Format(group, "000") + "_" + name;
}

int WellGroups::ItemGroup(std::string_view text)
{
    const auto v = leadingWhole(text.substr(0, std::min<size_t>(3, text.size())));
    return v ? int(*v) : 0;
}

std::vector<std::string> WellGroups::BuildList()
{
    for (int g = 0; g < kGroupedWells; ++g) group_used[size_t(g)] = kNoGroup;
    int highest = kNoGroup;
    for (int w = 0; w < kGroupedWells; ++w) {
        const int g = well_group[size_t(w)];
        if (g <= kNoGroup || g > kLastEntry) continue;
        group_used[size_t(g)] = 1;
        highest = std::max(highest, g);
    }
    std::vector<std::string> items;
    for (int g = 0; g < kGroupedWells; ++g) {
        std::string& name = group_names[size_t(g)];
        if (g <= highest) {
            items.push_back(ListItem(g, name));
            if (name == kFreeName && group_used[size_t(g)] == 1) name = groupName(g);
        }
        if (g == highest + 1) items.push_back(ListItem(g, name));
    }
    return items;
}

std::array<std::string, kBlockOptions> WellGroups::BlockOptions(int rows, int columns)
{
    std::array<std::string, kBlockOptions> options{};
    size_t n = 0;
    for (int cc = 1; cc <= 16; ++cc) {
        if (columns <= 0 || columns % cc != 0) continue;
        for (int rr = 1; rr <= 16; ++rr) {
            if (rows <= 0 || rows % rr != 0) continue;
            if (n < options.size())
                options[n++] = platform::Format(rr, "00") + "x" + platform::Format(cc, "00") + " [RowsxColumn]";
        }
    }
    return options;
}

bool WellGroups::GroupInBlocks(std::string_view caption, int rows, int columns)
{
    const auto blockRows = leadingWhole(caption.substr(0, std::min<size_t>(2, caption.size())));
    const auto blockColumns = leadingWhole(caption.size() > 3 ? caption.substr(3, 2) : std::string_view{});
    // A block of no wells cannot be tiled (and must not be divided by); one that does not
    // divide the plate would run from the foot of a column into the next one.
    if (!blockRows || !blockColumns || *blockRows < 1 || *blockColumns < 1) return false;
    if (rows >= 1 && columns >= 1 && (rows % *blockRows != 0 || columns % *blockColumns != 0)) return false;
    Clear();
    if (rows < 1 || columns < 1) return true;
    const long long wells = std::min<long long>(static_cast<long long>(rows) * columns, kGroupedWells);
    const long long blocks = wells / (*blockRows * *blockColumns);
    for (long long g = 0; g <= blocks && g < kGroupEntries; ++g) {
        long long first = -1;
        for (long long w = 0; w < wells; ++w) {
            if (well_group[size_t(w)] == kNoGroup) {
                first = w;
                break;
            }
        }
        if (first < 0) break;
        for (long long i = 0; i < *blockRows; ++i) {
            for (long long j = 0; j < *blockColumns; ++j) {
                const long long w = first + j * rows + i;
                if (w >= wells || well_group[size_t(w)] != kNoGroup) continue;
                well_group[size_t(w)] = int(g);
            }
        }
        group_names[size_t(g)] = groupName(int(g));
    }
    return true;
}

}  // namespace tirmo::plate
