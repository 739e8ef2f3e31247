#include "camera/ImageDisplay.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/Convert.h"
#include "ui/PictureBox.h"

namespace tirmo::camera {
namespace {

constexpr double kEventLevel = 4.0;        // smallest change that counts, in grey levels
constexpr double kEventShare = 4.0 / 100;  // and its share of the neighbours' brightness
constexpr int kOutlineMargin = 4;          // the outline keeps this far from the band edges

long long whole(double v) { return platform::RoundHalfEven(v); }

int code(const std::string& s, long p)  // 1-based; -1 outside
{
    if (p < 1 || p > long(s.size())) return -1;
    return static_cast<unsigned char>(s[size_t(p - 1)]);
}

}  // namespace

void SetFrameScale(ui::PictureBox& pic, long xini, long xfin, long yini, long yfin)
{
    pic.Cls();
    pic.Scale(0, 0, double(xfin - xini), double(yfin - yini));
    pic.SetAutoRedraw(true);
}

void DrawFrameCells(ui::PictureBox& pic, const FrameStore& store, int camera, long lines, long pixels, int firstX)
{
    if (lines <= 0 || pixels <= 0) return;
    const long endX = firstX + lines;
    const long storedEndX = std::min(endX, long(FrameStore::kSize));
    const long storedPixels = std::min(pixels, long(FrameStore::kSize));
    for (long y = 0; y < storedPixels; ++y) {
        for (long x = firstX; x < storedEndX; ++x) {
            const int v = std::max(0, store.Value(camera, int(x), int(y)));
            pic.FilledBox(double(x), double(y), double(x + 1), double(y + 1), ui::RGB(v, v, v));
        }
    }
    // Past the frame table every cell is empty, that is black: drawn as one box each rather
    // than cell by cell, which for a window typed far larger than any camera's would not end.
    if (endX > storedEndX) pic.FilledBox(double(storedEndX), 0, double(endX), double(pixels), ui::colour::Black);
    if (pixels > storedPixels && storedEndX > firstX)
        pic.FilledBox(double(firstX), double(storedPixels), double(storedEndX), double(pixels), ui::colour::Black);
}

void DrawWellOutline(ui::PictureBox& pic, const GridTables& t, int camera, int r, int c)
{
    if (!plate::WellTable::InBounds(camera, r, c)) return;
    const plate::WellCell& well = t.well_table.at(camera, r, c);
    // A well that covers no part of a band on one axis has no size to draw.
    if (well.col_ini == well.col_end || well.row_ini == well.row_end) return;
    const long colStart = t.column_bands.startOf(camera, r);
    const long h = t.column_bands.endOf(camera, r) - colStart;
    const long v = t.row_bands.endOf(camera, c) - t.row_bands.startOf(camera, c);
    const long long kx = whole(double(h) * 100.0 / std::abs(well.col_ini - well.col_end));
    const long long ky = whole(double(v) * 100.0 / std::abs(well.row_ini - well.row_end));
    const long long rx = whole(double(kx) / 2.0);
    const long long ry = whole(double(ky) / 2.0);
    if (ky <= 0) return;
    for (long t4 = kOutlineMargin; t4 <= v - kOutlineMargin; ++t4) {
        const long long u = well.row_ini == 0 ? std::llabs(ry - t4) : (v - kOutlineMargin) - std::llabs(ry - t4);
        const double inner = double((ry - kOutlineMargin) * (ry - kOutlineMargin) - u * u);
        const long long hh = whole(std::sqrt(std::fabs(inner)));
        const long long hp = whole(double(kx) / double(ky) * double(hh));
        const double y = double(t.row_bands.startOf(camera, c) + t4);
        if (well.col_ini == 0) {
            const double x = double(colStart + rx - hp);
            pic.Line(x, y, x + 1, y, ui::colour::Red);
            if (well.col_end == 100) {
                const double x2 = double(colStart + rx + hp);
                pic.Line(x2 - 1, y, x2, y, ui::colour::Red);
            }
        } else {
            const double x = double(colStart + hp);
            pic.Line(x - 1, y, x, y, ui::colour::Red);
        }
    }
}

void DrawCameraGrid(ui::PictureBox& pic, const GridTables& t, int camera, long lines, long pixels)
{
    pic.SetFontSize(8);
    const int columns = t.column_bands.count(camera);
    const int rows = t.row_bands.count(camera);
    for (int j = 0; j < columns; ++j)
        pic.Line(t.column_bands.startOf(camera, j), 0, t.column_bands.startOf(camera, j), double(pixels),
                 ui::colour::Red);
    for (int j = 0; j < columns; ++j)
        pic.Line(t.column_bands.endOf(camera, j), 0, t.column_bands.endOf(camera, j), double(pixels), ui::colour::Red);
    for (int c = 0; c < rows; ++c)
        pic.Line(0, t.row_bands.startOf(camera, c), double(lines), t.row_bands.startOf(camera, c), ui::colour::Red);
    for (int c = 0; c < rows; ++c)
        pic.Line(0, t.row_bands.endOf(camera, c), double(lines), t.row_bands.endOf(camera, c), ui::colour::Red);
    for (int r = 0; r < columns; ++r)
        for (int c = 0; c < rows; ++c) DrawWellOutline(pic, t, camera, r, c);
    for (int r = 0; r < columns; ++r) {
        for (int c = 0; c < rows; ++c) {
            pic.SetCurrentX((t.column_bands.startOf(camera, r) + t.column_bands.endOf(camera, r)) / 2.0);
            pic.SetCurrentY((t.row_bands.startOf(camera, c) + t.row_bands.endOf(camera, c)) / 2.0);
            pic.SetForeColor(ui::colour::Red);
            pic.Print(t.row_labels[size_t(camera)][size_t(c)] + t.column_labels[size_t(camera)][size_t(r)]);
        }
    }
}

void DrawCentreCross(ui::PictureBox& pic, long lines, long pixels)
{
    const double a = double(lines), b = double(pixels);
    pic.Line(0.3 * a, b / 2, 0.7 * a, b / 2, ui::colour::Green);
    pic.Line(a / 2, 0.3 * b, a / 2, 0.7 * b, ui::colour::Green);
}

void ClearRealtimeBar(ui::PictureBox& pic, int slot)
{
    pic.FilledBox(10.0 * slot + 1, 10, 10.0 * slot + 10, 85, kBarBackground);
}

uint32_t LiveCellColour(const std::string& frame, const std::string& difference, bool haveDifference, long frameCounter,
                        long p, long x, long y, long pixels)
{
    const int v = code(frame, p);
    if (v < 0) return 0;
    if (!haveDifference) return ui::RGB(v, v, v);
    const int d0raw = code(difference, p);
    if (d0raw < 0) return 0;
    const double d0 = d0raw - 128;
    struct Neighbour {
        bool present;
        long position;
    };
    const Neighbour neighbours[] = {
        {x >= 2, p - 1},                         // left
        {y >= 1, p - pixels},                    // up
        {x >= 2 && y >= 1, p - pixels - 1},      // up-left
        {x < pixels && y >= 1, p - pixels + 1},  // up-right
    };
    double pairs[4];
    double dns[4];
    int count = 0;
    double brightness = 0;
    for (const Neighbour& n : neighbours) {
        if (!n.present) continue;
        const int dn = code(difference, n.position), fn = code(frame, n.position);
        if (dn < 0 || fn < 0) continue;
        dns[count] = dn - 128;
        pairs[count] = std::fabs(d0 + dns[count]) / 2.0;
        brightness += fn;
        ++count;
    }
    bool event = false;
    if (count > 0) {
        const double baseline = brightness / count;
        for (int i = 0; i < count && !event; ++i) {
            const bool together =
                (d0 > kEventLevel && dns[i] > kEventLevel) || (d0 < -kEventLevel && dns[i] < -kEventLevel);
            event = pairs[i] > kEventShare * baseline && pairs[i] > kEventLevel && together;
        }
    }
    if (event) {
        const int m = int(std::min(5.0 * std::fabs(d0), 200.0));
        return ui::RGB(255 - m, 255 - m, 200 - m);
    }
    return frameCounter == 1 ? kLiveReset : 0;
}

void DrawLiveActivity(ui::PictureBox& pic, const LiveActivity& in, const plate::ColumnBands& column_bands,
                      const plate::RowBands& row_bands, const WindowPixelMask& mask)
{
    const long length = long(in.frame.size());
    // Only cells inside the frame are drawn; the loops stop where the frame ends, so window boxes
    // far larger than the frame cost nothing.
    for (long x = 1; x <= in.pixels && x < length; ++x) {
        for (long y = 0; y <= in.lines; ++y) {
            if (length <= in.pixels * y + x) break;
            const long p = in.pixels * y + x + 1;
            const uint32_t colour =
                LiveCellColour(in.frame, in.difference, in.haveDifference, in.frameCounter, p, x, y, in.pixels);
            if (colour == 0) continue;
            pic.FilledBox(double(x - 1), double(y), double(x), double(y + 1), colour);
        }
    }
    if (!plate::RowBands::InBounds(in.camera, in.window)) return;
    const long span = row_bands.endOf(in.camera, in.window) - row_bands.startOf(in.camera, in.window);
    const int bands = column_bands.count(in.camera);
    long offset = 0, ordinal = 0;
    for (int j = 0; j < bands; ++j) {
        const long width = column_bands.endOf(in.camera, j) - column_bands.startOf(in.camera, j);
        if (j > 0) {
            offset += column_bands.endOf(in.camera, j - 1) - column_bands.startOf(in.camera, j - 1);
            pic.FilledBox(-1, double(offset - 1), double(span), double(offset + 1), kBandSeparator);
        }
        for (long k = 0; k <= width; ++k) {
            for (long p = span; p >= 0; --p) {
                ++ordinal;
                if (!mask.Inside(in.camera, in.window, ordinal))
                    pic.FilledBox(double(p), double(offset + k), double(p + 1), double(offset + k + 1),
                                  ui::colour::White);
            }
        }
    }
}

}  // namespace tirmo::camera
