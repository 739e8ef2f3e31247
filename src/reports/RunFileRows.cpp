#include "reports/RunFileRows.h"

#include <charconv>
#include <cmath>

#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "reports/AcquisitionFiles.h"

namespace tirmo::reports {

namespace {

constexpr size_t kShownItem = 40;  // a damaged item is shown up to this many characters

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view text)
{
    size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    return text.substr(b, e - b);
}

// The well name of an activity row: the text between its double quotes (a cell's name may hold
// blanks), or the next item when it is not quoted.
std::string_view NextTag(std::string_view line, size_t& pos)
{
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    if (pos >= line.size() || line[pos] != '"') return NextItem(line, pos);
    const size_t close = line.find('"', pos + 1);
    const size_t end = close == std::string_view::npos ? line.size() : close;
    const std::string_view tag = line.substr(pos + 1, end - pos - 1);
    pos = close == std::string_view::npos ? line.size() : close + 1;
    return tag;
}

}  // namespace

std::string Shown(std::string_view item)
{
    std::string s;
    for (char c : item.substr(0, kShownItem)) s += static_cast<unsigned char>(c) < 32 ? '?' : c;
    return "\"" + s + (item.size() > kShownItem ? "...\"" : "\"");
}

std::string_view NextItem(std::string_view line, size_t& pos)
{
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    const size_t start = pos;
    while (pos < line.size() && !IsBlank(line[pos])) ++pos;
    return line.substr(start, pos - start);
}

std::optional<double> RunNumber(std::string_view text)
{
    // The rows a run writes are plain decimals, read here at once; anything else (a comma for
    // the point, a sign in front, hex) takes the program's general reading.
    const std::string_view t = Trimmed(text);
    if (!t.empty() && t.front() != '+') {
        double v = 0;
        const char* end = t.data() + t.size();
        const auto [stop, error] = std::from_chars(t.data(), end, v);
        if (error == std::errc() && stop == end) return std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
    }
    const auto v = platform::ParseNumber(text);
    if (!v || !std::isfinite(*v)) return std::nullopt;
    return v;
}

std::optional<RunFile> RunFile::Read(const std::string& folder, const char* name)
{
    RunFile file;
    file.path_ = InFolder(folder, name);
    auto bytes = platform::ReadFileBytes(file.path_);
    if (!bytes) {
        if (platform::FileExists(file.path_)) throw RunFileRefusal{file.path_ + " could not be read"};
        return std::nullopt;
    }
    file.bytes_ = std::move(*bytes);
    // CR LF, LF or CR end a line; what follows the last end is no line.
    const std::string& b = file.bytes_;
    size_t start = 0;
    for (size_t i = 0; i < b.size(); ++i) {
        const char c = b[i];
        if (c != '\r' && c != '\n') continue;
        file.lines_.emplace_back(start, i - start);
        if (c == '\r' && i + 1 < b.size() && b[i + 1] == '\n') ++i;
        start = i + 1;
    }
    return file;
}

void RunFile::cutAt(size_t index)
{
    if (index < lines_.size()) lines_.resize(index);
}

void RunFile::refuse(size_t index, const std::string& what) const
{
    throw RunFileRefusal{path_ + ", line " + std::to_string(index + 1) + ": " + what, index};
}

void RunFile::checkHeader() const
{
    if (lines() < kRunFileHeaderLines) refuse(lines(), "the file ends before its column header \"Time[m]\"");
    if (line(1).find("\"Time[m]\"") != 0) refuse(1, "this is not the column header \"Time[m]\"");
}

double RunFile::rowMinutes(size_t index, std::string_view text) const
{
    const auto minutes = RunNumber(text);
    if (!minutes || *minutes < 0 || *minutes > kLatestRowMinutes)
        refuse(index, Shown(text) + " is not a time of a run (0 to " + platform::NumberText(kLatestRowMinutes) +
                          " minutes)");
    return *minutes;
}

ActivityRows::ActivityRows(const RunFile& file, const plate::PlateSize& plate, int wells)
    : file_(file), plate_(plate), wells_(std::max(0, std::min(wells, plate.wells()))), last_(size_t(wells_), 0.0)
{
    file.checkHeader();
}

bool ActivityRows::next(ActivityRow& row)
{
    for (; index_ < file_.lines(); ++index_) {
        const std::string_view line = file_.line(index_);
        if (Trimmed(line).empty()) continue;
        size_t pos = 0;
        row.line = index_;
        row.minutes = file_.rowMinutes(index_, NextItem(line, pos));
        row.tag = NextTag(line, pos);
        const std::string_view countText = Trimmed(line.substr(pos));
        const auto count = RunNumber(countText);
        if (!count || *count < 0 || *count > kMostAccumulatedCount || *count != std::floor(*count))
            file_.refuse(index_, Shown(countText) + " is not an accumulated count (a whole number from 0 to " +
                                     platform::NumberText(kMostAccumulatedCount) + ")");
        row.count = *count;
        row.well = -1;
        if (const auto place = plate::ParseWellName(row.tag);
            place && place->first < plate_.rows && place->second < plate_.columns) {
            const int w = plate::WellNumber(place->first, place->second, plate_.rows);
            if (w < wells_) row.well = w;
        }
        if (row.well >= 0) {
            // A well's count only ever grows during a run: a count below the one before is a
            // damaged row, here or at the row before.
            double& last = last_[size_t(row.well)];
            if (row.count < last)
                file_.refuse(index_, Shown(countText) + " is below the count of " + std::string(row.tag) +
                                         " before it (" + platform::NumberText(last) +
                                         "): an accumulated count never falls");
            last = row.count;
        }
        ++index_;
        return true;
    }
    return false;
}

}  // namespace tirmo::reports
