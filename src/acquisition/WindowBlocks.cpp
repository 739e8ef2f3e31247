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

// The window's pixels as the run tables hold them; pixels past the tables lie in no cell.
class WindowPixels {
public:
    WindowPixels(const RunTables& t, const WindowTables& w)
        : tables_(t), camera_(w.camera_index), window_(w.window_index),
          last_(t.HasPixel(camera_, window_, 0) ? std::min(w.window_pixel_count, t.pixel_slots() - 1) : 0)
    {
        if (last_ > 0) row_ = t.Row(camera_, window_);
    }
    int well(int p) const { return p <= last_ ? row_.well[p] : -1; }
    int offset(int p) const { return p <= last_ ? row_.column_offset[p] : 0; }
    const std::string& name(int p) const { return tables_.pixel_well_name(camera_, window_, p); }

private:
    const RunTables& tables_;
    int camera_, window_, last_;
    RunTables::ConstPixelRow row_{};
};

}  // namespace

std::vector<std::string> PixelActivityBlock(const RunTables& t, const WindowTables& win, long scan, double minutes,
                                            char decimal)
{
    std::vector<std::string> lines = scanLines(scan, minutes, decimal);
    const WindowPixels pixels(t, win);
    const std::string* rowName = nullptr;
    std::string row;
    int offset = 0;
    for (int p = 1; p <= win.window_pixel_count; ++p) {
        const int here = pixels.offset(p);
        if (p == 1 || here != offset) {
            if (rowName && !rowName->empty()) lines.push_back(std::move(row));
            rowName = &pixels.name(p);
            offset = here;
            row.clear();
            row += *rowName;
            row += ',';
            appendNumber(row, here);
        }
        row += ',';
        if (pixels.well(p) < 0 || pixels.name(p).empty()) row += '-';
        else appendNumber(row, size_t(p) < win.pixel_activity.size() ? win.pixel_activity[size_t(p)] : 0);
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
    const WindowPixels pixels(t, win);
    std::array<int, kWindowFrames> reach{};
    int longest = 0;
    for (int k = 0; k < kWindowFrames; ++k) {
        reach[size_t(k)] = int(std::min<size_t>(frames[size_t(k)].size(), size_t(std::max(win.window_pixel_count, 0))));
        longest = std::max(longest, reach[size_t(k)]);
    }

    auto writeColumn = [&](int from, int to) {
        std::string row = pixels.name(to);
        row.reserve(size_t(to - from + 1) * kWindowFrames * 5 + 32);
        row += ',';
        appendNumber(row, pixels.offset(to));
        for (int k = 0; k < kWindowFrames; ++k) {
            row += ",,";
            const std::string& frame = frames[size_t(k)];
            for (int p = from; p <= std::min(to, reach[size_t(k)]); ++p) {
                row += ',';
                if (pixels.well(p) < 0) {
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
    for (int p = 4; p <= longest; ++p) {
        if (pixels.offset(p) != pixels.offset(p - 1)) {
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
