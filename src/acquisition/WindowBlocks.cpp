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

// A grey level or a change of one, -255..255, as to_chars writes it.
char* appendLevel(char* o, int v)
{
    if (v < 0) {
        *o++ = '-';
        v = -v;
    }
    if (v >= 100) *o++ = char('0' + v / 100);
    if (v >= 10) *o++ = char('0' + v / 10 % 10);
    *o++ = char('0' + v % 10);
    return o;
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
        const std::string& name = pixels.name(to);
        // Every value is a grey level or the change of one (-255..255): at most four characters
        // and a comma each, written straight into the row.
        std::string row;
        row.resize(name.size() + 32 + size_t(to - from + 1) * kWindowFrames * 5 + kWindowFrames * 2);
        char* o = row.data();
        o = std::copy(name.begin(), name.end(), o);
        *o++ = ',';
        o = std::to_chars(o, row.data() + row.size(), pixels.offset(to)).ptr;
        for (int k = 0; k < kWindowFrames; ++k) {
            *o++ = ',';
            *o++ = ',';
            const std::string& frame = frames[size_t(k)];
            for (int p = from; p <= std::min(to, reach[size_t(k)]); ++p) {
                *o++ = ',';
                if (pixels.well(p) < 0) {
                    *o++ = '-';
                    continue;
                }
                const int v = grey(frame, p);
                const bool before = k > 0 && p <= reach[size_t(k - 1)];
                o = appendLevel(o, k == 0 ? v : v - (before ? grey(frames[size_t(k - 1)], p) : v));
            }
        }
        row.resize(size_t(o - row.data()));
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
