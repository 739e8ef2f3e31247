#include "plate/WellPixelMask.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "ui/Colour.h"

namespace tirmo::plate {
namespace {

constexpr int kRaySteps = 50;        // a ray is read at steps 1..49 at most
constexpr int kAngleStep = 15;       // degrees between rays; 0 and 360 both, closing the outline
constexpr int kFirstWidth = 5;       // smoothing width before any short ray
constexpr double kPi = 3.1416;       // the outline's angles are laid out with this value
// A ray step is read only strictly inside these: the frame's last pixels and lines lie outside.
constexpr int kRayPixelEnd = 186;
constexpr int kRayLineEnd = 140;
constexpr int kSampleStep = 5;
constexpr int kSampleLines = 136;    // sampled lines 0, 5, .. 135
constexpr int kSamplePixels = 186;   // sampled pixels 0, 5, .. 185
constexpr int kFillLines = 141;      // row fill over lines 0..140
constexpr int kFillPixels = 191;     // column fill over pixels 0..190

int nearest(double v) { return int(platform::RoundHalfEven(v)); }

struct Point {
    int pixel = 0, line = 0;
    bool operator==(const Point&) const = default;
};

class Grid {
public:
    explicit Grid(MaskGrid& cells) : cells_(cells) { cells_.assign(size_t(kMaskLines) * kMaskPixels, 0); }
    void mark(int line, int pixel)
    {
        // Every store is bounded: an outline point can never reach beyond the grid.
        if (line >= 0 && line < kMaskLines && pixel >= 0 && pixel < kMaskPixels) cells_[size_t(line) * kMaskPixels + size_t(pixel)] = 1;
    }
    bool at(int line, int pixel) const { return MaskAt(cells_, line, pixel); }

private:
    MaskGrid& cells_;
};

// The mean of steps from..to, rounded halves to even.
int meanOf(const std::array<int, kRaySteps + 1>& v, int from, int to)
{
    from = std::clamp(from, 0, kRaySteps);
    to = std::clamp(to, 0, kRaySteps);
    if (to < from) return 0;
    long sum = 0;
    for (int i = from; i <= to; ++i) sum += v[size_t(i)];
    return nearest(double(sum) / double(to - from + 1));
}

// The segment between two outline points, marked along both axes so it has no gaps.
void markSegment(Grid& g, int cx, int cy, Point p, Point e)
{
    const int dp = p.pixel - e.pixel, dl = p.line - e.line;
    double s = dp == 0 ? 0.0 : double(dl) / double(dp);
    for (int k = 0; k != dp + (dp >= 0 ? 1 : -1); k += dp >= 0 ? 1 : -1) g.mark(cy + p.line - nearest(k * s), cx + p.pixel - k);
    s = dl == 0 ? 0.0 : double(dp) / double(dl);
    for (int k = 0; k != dl + (dl >= 0 ? 1 : -1); k += dl >= 0 ? 1 : -1) g.mark(cy + p.line - k, cx + p.pixel - nearest(k * s));
}

}  // namespace

WellMask BuildWellMask(const FrameCell& cell, int cx, int cy)
{
    WellMask out;
    Grid full(out.full);
    Grid sampled(out.sampled);
    // Every ray starts at the centre's own grey level: a ray that started from 0 would see a
    // step at the centre larger than any rim and stop there, so no outline could ever form.
    const int centreGrey = cell(cx, cy);
    if (centreGrey < 0) return out;
    int w = kFirstWidth;
    Point previous;
    for (int angle = 0; angle <= 360; angle += kAngleStep) {
        std::array<int, kRaySteps + 1> grey{}, smooth{}, dx{}, dy{};
        grey[0] = centreGrey;
        int R = kRaySteps;
        const double theta = angle / 360.0 * 2 * kPi;
        for (int r = 1; r < R; ++r) {
            dx[size_t(r)] = nearest(r * std::sin(theta));
            dy[size_t(r)] = nearest(r * std::cos(theta));
            const int px = cx + dx[size_t(r)], ln = cy + dy[size_t(r)];
            const int value = px > 0 && px < kRayPixelEnd && ln > 0 && ln < kRayLineEnd ? cell(px, ln) : -1;
            if (value < 0) {
                R = r;
                w = std::min(w, r);
                break;
            }
            grey[size_t(r)] = value;
        }
        if (R < 2) return out;  // the centre lies on or next to the frame's edge: nothing to write
        int m = 99999;
        long S = 0, G = 0;
        for (int r = 0; r <= R; ++r) {
            if (r < w)
                smooth[size_t(r)] = meanOf(grey, r, r + w);
            else if (r <= R - w)
                smooth[size_t(r)] = meanOf(grey, nearest(r - w / 2.0), nearest(r + w / 2.0));
            else
                smooth[size_t(r)] = meanOf(grey, r - w, r);
            m = std::min(m, smooth[size_t(r)]);
            S += smooth[size_t(r)];
            if (r >= 2) G += std::abs(smooth[size_t(r)] - smooth[size_t(r - 1)]);
        }
        const double a = double(S) / R, g = double(G) / R;
        const int t = nearest((a - m) * 0.5 + m);
        double spread = 0;
        for (int r = 1; r <= R; ++r) spread += std::fabs(g - std::abs(smooth[size_t(r)] - smooth[size_t(r - 1)]));
        const double d = spread / (R - 1);
        int r = 1;
        while (r < R && smooth[size_t(r)] > t && std::fabs(g - std::abs(smooth[size_t(r)] - smooth[size_t(r - 1)])) < 3 * d) ++r;
        const Point edge{dx[size_t(r - 1)], dy[size_t(r - 1)]};
        out.strokes.push_back({double(cx), double(cy), double(cx + edge.pixel), double(cy + edge.line), ui::colour::Blue});
        out.strokes.push_back({double(cx + previous.pixel), double(cy + previous.line), double(cx + edge.pixel),
                               double(cy + edge.line), ui::colour::Green});
        if (!(previous == Point{})) markSegment(full, cx, cy, previous, edge);
        previous = edge;
    }
    // Fill between the outline's ends along each line, then along each pixel column.
    for (int line = 0; line < kFillLines; ++line) {
        int lo = 999, hi = 0;
        for (int p = 0; p < kFillPixels; ++p)
            if (full.at(line, p)) lo = std::min(lo, p), hi = std::max(hi, p);
        if (lo > hi) continue;
        out.strokes.push_back({double(lo), double(line), double(hi), double(line), ui::colour::Blue});
        for (int p = lo; p <= hi; ++p) full.mark(line, p);
    }
    for (int p = 0; p < kFillPixels; ++p) {
        int lo = 999, hi = 0;
        for (int line = 0; line < kFillLines; ++line)
            if (full.at(line, p)) lo = std::min(lo, line), hi = std::max(hi, line);
        if (lo > hi) continue;
        out.strokes.push_back({double(p), double(lo), double(p), double(hi), ui::colour::Blue});
        for (int line = lo; line <= hi; ++line) full.mark(line, p);
    }
    for (int line = 0; line < kSampleLines; line += kSampleStep)
        for (int p = 0; p < kSamplePixels; p += kSampleStep)
            if (full.at(line, p)) sampled.mark(line, p);
    out.built = true;
    return out;
}

std::vector<std::string> MaskFileLines(const MaskGrid& grid)
{
    std::vector<std::string> lines;
    lines.reserve(size_t(kMaskFileLines) * kMaskFilePixels + 1);
    lines.emplace_back(kMaskFileHeader);
    for (int line = 0; line < kMaskFileLines; ++line)
        for (int p = 0; p < kMaskFilePixels; ++p)
            lines.push_back(std::to_string(line) + "," + std::to_string(p) + "," + (MaskAt(grid, line, p) ? "1" : "0"));
    return lines;
}

std::optional<MaskWell> ParseWellName(const std::string& row, const std::string& column)
{
    if (row.size() != 1 || row[0] < 'A' || row[0] > 'H') return std::nullopt;
    static const char* const kColumns[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"};
    for (const char* c : kColumns)
        if (column == c) return MaskWell{row, column};
    return std::nullopt;
}

std::string WellNameRefusal(const std::string& row, const std::string& column)
{
    return "No mask written: the well \"" + row + "\" \"" + column + "\" is not a row A to H and a column 1 to 12";
}

std::string FullMaskPath(const MaskWell& well) { return platform::ProgramPath("w96f_c0full__" + well.text() + ".dat"); }
std::string SampledMaskPath(const MaskWell& well) { return platform::ProgramPath("w96f_c0__" + well.text() + ".dat"); }

std::string WriteWellMasks(const MaskWell& well, const WellMask& mask)
{
    std::string failed;
    for (const auto& [path, grid] : {std::pair{FullMaskPath(well), &mask.full}, std::pair{SampledMaskPath(well), &mask.sampled}})
        if (!platform::WriteLines(path, MaskFileLines(*grid))) failed += (failed.empty() ? "" : ", ") + path;
    return failed;
}

MaskRemoval DeleteMaskFiles()
{
    namespace fs = std::filesystem;
    auto lower = [](std::string s) {
        for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    auto matches = [&](const std::string& name, const std::string& prefix) {
        const std::string n = lower(name);
        return n.size() >= prefix.size() + 4 && n.compare(0, prefix.size(), prefix) == 0 && n.compare(n.size() - 4, 4, ".dat") == 0;
    };
    MaskRemoval removal;
    for (const auto& [prefix, count] : {std::pair{std::string("w96f_c0__"), &removal.sampled}, std::pair{std::string("w96f_c0full__"), &removal.full}}) {
        std::error_code ec;
        std::vector<fs::path> found;
        for (fs::directory_iterator it(platform::ProgramFolder(), ec), end; !ec && it != end; it.increment(ec))
            if (it->is_regular_file() && matches(it->path().filename().string(), prefix)) found.push_back(it->path());
        for (const fs::path& p : found)
            if (fs::remove(p, ec)) ++*count;
    }
    return removal;
}

std::string MaskRemovalText(const MaskRemoval& removal)
{
    return std::to_string(removal.sampled) + " bin files and " + std::to_string(removal.full) + "well files deleted";
}

std::optional<WellCentre> FindWellCentre(const WellTable& table, const ColumnBands& column_bands, const RowBands& row_bands,
                                         const std::string& wellName)
{
    for (int camera = 0; camera < kTableCameras; ++camera)
        for (int column = 0; column < kLocalColumns; ++column)
            for (int row = 0; row < kLocalRows; ++row) {
                const WellCell& well = table.at(camera, column, row);
                if (well.name != wellName || column >= column_bands.count(camera) || row >= row_bands.count(camera)) continue;
                const double c0 = column_bands.startOf(camera, column), c1 = column_bands.endOf(camera, column);
                const double r0 = row_bands.startOf(camera, row), r1 = row_bands.endOf(camera, row);
                WellCentre centre;
                centre.camera = camera;
                centre.pixel = nearest(c0 + (c1 - c0) * (well.col_ini + well.col_end) / 200.0);
                centre.line = nearest(r0 + (r1 - r0) * (well.row_ini + well.row_end) / 200.0);
                return centre;
            }
    return std::nullopt;
}

}  // namespace tirmo::plate
