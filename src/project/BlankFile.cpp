#include "project/BlankFile.h"

#include <charconv>

#include "plate/PlateFormat.h"
#include "platform/Convert.h"
#include "platform/TextFile.h"

namespace tirmo::project {

namespace {

constexpr size_t kHeaderLines = 3;

// A whole number filling the text (blanks around it allowed) within -32768..32767.
std::optional<int> Whole16(std::string_view text)
{
    const std::string s = platform::Trim(text);
    const char* begin = s.data();
    const char* end = s.data() + s.size();
    if (begin != end && *begin == '+') {
        ++begin;  // from_chars takes only "-"
        if (begin != end && *begin == '-') return std::nullopt;
    }
    long long v = 0;
    const auto [stop, ec] = std::from_chars(begin, end, v);
    if (ec != std::errc() || stop != end || v < -32768 || v > 32767) return std::nullopt;
    return int(v);
}

}  // namespace

std::string BlankFileName(std::string_view format) { return "blank_" + std::string(format) + ".dat"; }

int BlankRowsOf(std::string_view format) { return plate::FormatSize(format).rows; }

std::optional<int> BlankWellIndex(std::string_view well, int rows)
{
    const auto place = plate::ParseWellName(well);
    if (!place) return std::nullopt;
    return place->second * rows + place->first;
}

BlankFileRead ReadBlankFile(const std::string& path)
{
    BlankFileRead out;
    const auto lines = platform::ReadLines(path);
    if (!lines) return out;
    out.state = BlankFileState::Garbled;
    if (lines->size() < kHeaderLines) return out;
    BlankFileContents c;
    c.header = (*lines)[0];
    c.lapse_line = (*lines)[1];
    c.column_header = (*lines)[2];
    const size_t eq = c.lapse_line.find('=');
    const auto lapse = eq == std::string::npos ? std::nullopt : Whole16(std::string_view(c.lapse_line).substr(eq + 1));
    if (!lapse) return out;
    c.tables.lapse = *lapse;
    for (size_t i = kHeaderLines; i < lines->size(); ++i) {
        const std::string_view row = (*lines)[i];
        if (platform::Trim(row).empty()) continue;
        const size_t comma = row.find(',');
        if (comma == std::string_view::npos) return out;
        const auto index = Whole16(row.substr(0, comma));
        const auto value = Whole16(row.substr(comma + 1));
        if (!index || !value || *index < 0 || *index >= kBlankEntries) return out;
        c.tables.values[size_t(*index)] = *value;  // a later row of the same index wins
    }
    out.state = BlankFileState::Read;
    out.contents = std::move(c);
    return out;
}

std::vector<std::string> BlankFileLines(const BlankFileContents& contents)
{
    std::vector<std::string> lines{contents.header, contents.lapse_line, contents.column_header};
    lines.reserve(kHeaderLines + kBlankRows);
    for (int i = 0; i < kBlankRows; ++i)
        lines.push_back(std::to_string(i) + "," + std::to_string(contents.tables.values[size_t(i)]));
    return lines;
}

bool WriteBlankFileAt(const std::string& path, const BlankFileContents& contents)
{
    return platform::WriteLines(path, BlankFileLines(contents));
}

}  // namespace tirmo::project
