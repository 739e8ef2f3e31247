#include "devicememory/CalibrationRecords.h"

#include "platform/Clock.h"
#include "platform/Convert.h"
#include "platform/TextFile.h"
#include "project/InternalReference.h"

namespace tirmo::devicememory {
namespace {

std::string joined(const std::vector<std::string>& items, std::string_view separator)
{
    std::string out;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i) out += separator;
        out += items[i];
    }
    return out;
}

bool endsWith(std::string_view text, std::string_view tail)
{
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

std::string bandWord(std::string_view name)
{
    if (endsWith(name, "_row")) return "row";
    return name == "w6_col" ? "column" : "col";
}

}  // namespace

bool RecordFound(std::string_view record, std::string_view name)
{
    if (record.size() <= size_t(kLineBytes) || record.substr(0, name.size()) != name) return false;
    // The key ends in "/" and the check byte follows it; a check byte that is itself "/" sits
    // after the first one, so the first "/" from the fourth byte on is the key's.
    const size_t slash = record.find('/', 3);
    if (slash == std::string_view::npos || slash + 1 >= record.size()) return false;
    return static_cast<unsigned char>(record[slash + 1]) == CheckByte(record.substr(kLineBytes));
}

unsigned char DataByte(std::string_view record, int k)
{
    const size_t at = size_t(kLineBytes + k - 1);
    return at < record.size() ? static_cast<unsigned char>(record[at]) : 0;
}

std::vector<std::string> WellFormatFileLines(const RecordPlace& record, std::string_view block)
{
    const std::string name(record.name);
    std::vector<std::string> lines{platform::Quoted(name + " format"),
                                   joined({platform::Quoted("camera"), platform::Quoted(bandWord(name)),
                                           platform::Quoted("start"), platform::Quoted("end")},
                                          ",")};
    for (int row = 0; row < record.values / 4; ++row) {
        std::vector<std::string> items;
        for (int k = 1; k <= 4; ++k) items.push_back(std::to_string(DataByte(block, 4 * row + k)));
        lines.push_back(joined(items, ","));
    }
    return lines;
}

std::vector<std::string> LedPositionFileLines(std::string_view record)
{
    std::vector<std::string> lines{platform::Quoted("Led control: 16rows x  26col. Per cam: 8 x 9+8+9"),
                                   joined({platform::Quoted("led"), platform::Quoted("x1"), platform::Quoted("x2"),
                                           platform::Quoted("y1"), platform::Quoted("y2")},
                                          ",")};
    for (int led = 0; led < kLightValueBytes / 4; ++led) {
        std::vector<std::string> items{std::to_string(led)};
        for (int k = 1; k <= 4; ++k) items.push_back(std::to_string(LedCoordinate(DataByte(record, 4 * led + k))));
        lines.push_back(joined(items, ","));
    }
    return lines;
}

std::vector<std::string> TempFactorFileLines(std::string_view block)
{
    return {platform::Quoted("Temperature sensor parameters"),
            "OFFSET=" + HundredthsText(DecodeHundredths(DataByte(block, 1), DataByte(block, 2))),
            "SLOPE=" + HundredthsText(DecodeHundredths(DataByte(block, 3), DataByte(block, 4)))};
}

std::vector<std::string> InternalFactorFileLines(std::string_view format, std::string_view block,
                                                 std::string_view stamp)
{
    const project::ReferenceFormat f = project::ReferenceFormatOf(std::string(format));
    std::string wells = "well", factors = "mult_factor";
    for (int k = 1; k <= f.wells; ++k) {
        wells += " " + project::ReferenceWellName(k, f.rows);
        factors += " " + HundredthsText(DataByte(block, k));
    }
    return {platform::Quoted(stamp), wells, factors};
}

std::vector<std::string> RestoredBlankFileLines(const RecordPlace& record, std::string_view block,
                                                std::string_view stamp)
{
    const std::string_view recordLine = block.substr(0, kLineBytes);
    std::string lapse;
    const size_t open = recordLine.find('['), close = recordLine.find(']');
    if (open != std::string_view::npos && close != std::string_view::npos && close > open)
        lapse = std::string(recordLine.substr(open + 1, close - open - 1));
    std::vector<std::string> lines{platform::Quoted(stamp), "acqlapse=" + lapse,
                                   platform::Quoted("#well") + "," + platform::Quoted("Value")};
    for (int well = 0; well < record.values; ++well)
        lines.push_back(std::to_string(well) + "," + std::to_string(DataByte(block, well + 1)));
    return lines;
}

std::string RestoreStamp() { return platform::FormatDate(platform::WallNow(), "yyyymmdd hh:mm"); }

}  // namespace tirmo::devicememory
