#include "acquisition/WindowBlocks.h"

#include <algorithm>
#include <charconv>

#include "acquisition/RunFiles.h"
#include "platform/Convert.h"
#include "platform/TextFile.h"

namespace tirmo::acquisition {
namespace {

void appendNumber(std::string& s, long v)
{
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    s.append(buf, r.ptr);
}

std::vector<std::string> scanLines(long scan, double minutes, char decimal)
{
    return {"scan," + std::to_string(scan), "time[m]," + platform::Quoted(Tenths(minutes, decimal))};
}

int grey(const std::string& frame, int p) { return platform::Byte(frame[size_t(p - 1)]); }

}  // namespace

std::vector<std::string> PixelActivityBlock(const RunTables& t, const WindowTables& win, long scan, double minutes,
                                            char decimal)
{
    std::vector<std::string> lines = scanLines(scan, minutes, decimal);
    const int c = win.camera_index, w = win.window_index;
    const std::string* rowName = nullptr;
    std::string row;
    int offset = 0;
    for (int p = 1; p <= win.window_pixel_count; ++p) {
        const int here = t.pixel_column_offset(c, w, p);
        const std::string& name = t.pixel_well_name(c, w, p);
        if (p == 1 || here != offset) {
            if (rowName && !rowName->empty()) lines.push_back(std::move(row));
            rowName = &name;
            offset = here;
            row = name + ",";
            appendNumber(row, here);
        }
        row += ',';
        if (t.pixel_well(c, w, p) < 0 || name.empty()) row += '-';
        else appendNumber(row, win.pixel_activity[size_t(p)]);
    }
    if (rowName && !rowName->empty()) lines.push_back(std::move(row));
    lines.emplace_back();
    return lines;
}

std::vector<std::string> RawFrameBlock(const RunTables& t, const WindowTables& win, const WindowFrames& frames,
                                       bool withScan, long scan, double minutes, double temperature, char decimal)
{
    std::vector<std::string> lines;
    if (withScan) lines = scanLines(scan, minutes, decimal);
    const int c = win.camera_index, w = win.window_index;
    std::array<int, kWindowFrames> reach{};
    int longest = 0;
    for (int k = 0; k < kWindowFrames; ++k) {
        reach[size_t(k)] = int(std::min<size_t>(frames[size_t(k)].size(), size_t(win.window_pixel_count)));
        longest = std::max(longest, reach[size_t(k)]);
    }

    auto writeColumn = [&](int from, int to) {
        std::string row = t.pixel_well_name(c, w, to) + ",";
        appendNumber(row, t.pixel_column_offset(c, w, to));
        for (int k = 0; k < kWindowFrames; ++k) {
            row += ",,";
            const std::string& frame = frames[size_t(k)];
            for (int p = from; p <= std::min(to, reach[size_t(k)]); ++p) {
                row += ',';
                if (t.pixel_well(c, w, p) < 0) {
                    row += '-';
                    continue;
                }
                const int v = grey(frame, p);
                const bool before = k > 0 && p <= reach[size_t(k - 1)];
                appendNumber(row, k == 0 ? v : v - (before ? grey(frames[size_t(k - 1)], p) : v));
            }
        }
        lines.push_back(std::move(row));
    };

    int start = 3;
    for (int p = 3; p <= longest; ++p) {
        if (p > start && t.pixel_column_offset(c, w, p) != t.pixel_column_offset(c, w, p - 1)) {
            writeColumn(start, p - 1);
            start = p;
        }
    }
    if (longest >= 3) writeColumn(start, longest);
    lines.emplace_back();
    lines.push_back("Temperature," + Tenths(temperature, decimal));
    return lines;
}

}  // namespace tirmo::acquisition
