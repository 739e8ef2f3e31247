#include "plate/PlateSpecFile.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "plate/PlateFormat.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"

namespace tirmo::plate {
namespace {

// The leading number of a text rounded to a whole number; values far outside any table come
// out as a large number rather than overflowing.
int leadingWhole(std::string_view text)
{
    const double v = platform::Val(text);
    if (!std::isfinite(v) || std::fabs(v) > 1e9) return 1000000000;
    return int(platform::RoundHalfEven(v));
}

bool toInt16(double v, int& out)
{
    try {
        out = platform::ToInt16(v);
        return true;
    } catch (const platform::NumberError&) {
        return false;
    }
}

bool writeLines(const std::string& folder, std::string_view format)
{
    const std::string dir = platform::ProgramPath(folder);
    if (!platform::FolderExists(dir) && !platform::MakeFolder(dir)) return false;
    return platform::WriteLines(SpecFilePath(folder, format), DefaultSpecLines(format));
}

}  // namespace

std::optional<SpecLine> ParseSpecLine(std::string_view text, std::string& reason)
{
    const std::vector<std::string> f = platform::SplitFields(text);
    if (f.size() != 10) {
        reason = f.size() < 10 ? "short line" : "too many fields";
        return std::nullopt;
    }
    SpecLine l;
    l.camera = leadingWhole(f[0]);
    l.column = leadingWhole(f[1]);
    l.row = leadingWhole(f[2]);
    if (!toInt16(platform::Val(f[3]), l.dataindex) || !toInt16(platform::Val(f[5]), l.plotindex)) {
        reason = "well number outside the 16-bit range";
        return std::nullopt;
    }
    l.name = f[4];
    int* percent[] = {&l.col_ini, &l.col_end, &l.row_ini, &l.row_end};
    for (int i = 0; i < 4; ++i) {
        const auto v = platform::ParseNumber(f[size_t(6 + i)]);
        if (!v || !toInt16(*v, *percent[i])) {
            reason = "percent field \"" + f[size_t(6 + i)] + "\" is not a 16-bit number";
            return std::nullopt;
        }
    }
    return l;
}

std::string SpecLineText(const SpecLine& l)
{
    auto n = [](int v) { return std::to_string(v); };
    return n(l.camera) + "," + n(l.column) + "," + n(l.row) + "," + n(l.dataindex) + "," + l.name + "," +
           n(l.plotindex) + "," + n(l.col_ini) + "," + n(l.col_end) + "," + n(l.row_ini) + "," + n(l.row_end);
}

std::vector<std::string> DefaultSpecLines(std::string_view format)
{
    if (format != "p35" && format != "w6" && format != "w24") return {};
    const PlateSize size = FormatSize(format);
    std::vector<std::string> lines{std::string(format) + " specifications,,,,,,,,,", kSpecHeader};
    // Camera by camera; inside a field column by column, each column down its rows.
    const int fieldRows = size.rows / 2, fieldColumns = size.columns / 3;
    for (int camera = 0; camera < kCameraCount; ++camera) {
        for (int lc = 0; lc < fieldColumns; ++lc) {
            for (int lr = 0; lr < fieldRows; ++lr) {
                const int row = (camera % 2) * fieldRows + lr;
                const int column = (camera / 2) * fieldColumns + lc;
                SpecLine l;
                l.camera = camera;
                l.column = lc;
                l.row = lr;
                l.dataindex = l.plotindex = WellNumber(row, column, size.rows);
                l.name = WellName(row, column);
                l.col_end = l.row_end = 100;
                lines.push_back(SpecLineText(l));
            }
        }
    }
    return lines;
}

std::string SpecFilePath(std::string_view folder, std::string_view format)
{
    return platform::ProgramPath(std::string(folder) + "\\" + std::string(format) + "_spc.dat");
}

bool WriteP35SpecFile(const std::string& folder) { return writeLines(folder, "p35"); }
bool WriteW6SpecFile(const std::string& folder) { return writeLines(folder, "w6"); }
bool WriteW24SpecFile(const std::string& folder) { return writeLines(folder, "w24"); }

ReadReport ReadPlateSpec(const std::string& format, WellTable& table)
{
    return ReadPlateSpecFile(SpecFilePath("\\config", format), table);
}

ReadReport ReadPlateSpecFile(const std::string& path, WellTable& table)
{
    table.Clear();
    return ReadPlateFile(path, [&table](const std::string& text, std::string& reason) {
        const auto l = ParseSpecLine(text, reason);
        if (!l) return LineVerdict::Unsound;
        if (!WellTable::InBounds(l->camera, l->column, l->row)) return LineVerdict::Skipped;
        WellCell& c = table.at(l->camera, l->column, l->row);
        c.dataindex = l->dataindex;
        c.plotindex = l->plotindex;
        c.name = l->name;
        c.col_ini = l->col_ini;
        c.col_end = l->col_end;
        c.row_ini = l->row_ini;
        c.row_end = l->row_end;
        return LineVerdict::Taken;
    });
}

std::vector<std::string> SpecFileFormats()
{
    std::vector<std::string> formats;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(platform::ProgramPath("config"), ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const size_t tail = name.size() >= 8 ? name.size() - 8 : std::string::npos;
        if (tail == std::string::npos || name.compare(tail, 8, "_spc.dat") != 0 || it->is_directory(ec)) continue;
        if (name.front() != '_') formats.push_back(name.substr(0, name.find('_')));
    }
    std::sort(formats.begin(), formats.end());
    formats.erase(std::unique(formats.begin(), formats.end()), formats.end());
    return formats;
}

}  // namespace tirmo::plate
