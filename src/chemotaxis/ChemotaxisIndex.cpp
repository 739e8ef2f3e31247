#include "chemotaxis/ChemotaxisIndex.h"

#include <algorithm>

namespace tirmo::chemotaxis {

namespace {

struct KindNames {
    const char* code;
    const char* report;
};
constexpr KindNames kNames[] = {
    {"CI_XR", "CiXright"},  {"CI_XL", "CiXleft"}, {"CI_YT", "CiYtop"}, {"CI_YB", "CiYbottom"},
    {"CI_QL", "CiQuadrant_leftdiagonal"}, {"CI_QR", "CiQuadrant_rightdiagonal"},
};

const KindNames& NamesOf(IndexKind kind) { return kNames[int(kind) - 1]; }

}  // namespace

const char* IndexCode(IndexKind kind) { return NamesOf(kind).code; }
const char* IndexReportName(IndexKind kind) { return NamesOf(kind).report; }
bool IsQuadrantKind(IndexKind kind) { return kind == IndexKind::QuadLeft || kind == IndexKind::QuadRight; }

std::optional<IndexKind> ChosenKind(int analysis, const std::array<bool, 6>& ticked)
{
    const int first = analysis == 0 ? 0 : 4;
    const int last = analysis == 0 ? 3 : 5;
    for (int k = first; k <= last; ++k)
        if (ticked[size_t(k)]) return IndexKind(k + 1);
    return std::nullopt;
}

int64_t SideA(const SideSums& s, IndexKind kind)
{
    switch (kind) {
    case IndexKind::XRight: return s.right;
    case IndexKind::XLeft: return s.left;
    case IndexKind::YTop: return s.top;
    case IndexKind::YBottom: return s.bottom;
    case IndexKind::QuadLeft: return s.top_left + s.bottom_right;
    case IndexKind::QuadRight: return s.top_right + s.bottom_left;
    }
    return 0;
}

int64_t SideB(const SideSums& s, IndexKind kind)
{
    switch (kind) {
    case IndexKind::XRight: return s.left;
    case IndexKind::XLeft: return s.right;
    case IndexKind::YTop: return s.bottom;
    case IndexKind::YBottom: return s.top;
    case IndexKind::QuadLeft: return s.top_right + s.bottom_left;
    case IndexKind::QuadRight: return s.top_left + s.bottom_right;
    }
    return 0;
}

void SideAccumulator::AddPixel(int x, int y, int64_t v)
{
    row_ += v;
    if (x < half_x_) {
        sums_.bottom += v;
        if (y > half_y_) sums_.bottom_right += v;
        if (y < half_y_) sums_.bottom_left += v;
    } else if (x > half_x_) {
        sums_.top += v;
        if (y > half_y_) sums_.top_right += v;
        if (y < half_y_) sums_.top_left += v;
    }
}

void SideAccumulator::CloseRow(int y)
{
    if (y > half_y_) sums_.right += row_;
    if (y < half_y_) sums_.left += row_;
    row_ = 0;
}

const SideSums& SideSumStore::at(int well, int scan) const
{
    static const SideSums none;
    if (!Recorded(well, scan)) return none;
    return sums_[size_t(well)].sums[size_t(scan)];
}

bool SideSumStore::Recorded(int well, int scan) const
{
    if (well < 0 || well >= wells_ || scan < 0 || scan >= scans_) return false;
    const Well& w = sums_[size_t(well)];
    return !w.recorded.empty() && w.recorded[size_t(scan)] != 0;
}

void SideSumStore::Set(int well, int scan, const SideSums& sums)
{
    if (well < 0 || well >= wells_ || scan < 0 || scan >= scans_) return;
    Well& w = sums_[size_t(well)];
    if (w.recorded.empty()) {
        w.sums.resize(size_t(scans_));
        w.recorded.resize(size_t(scans_), 0);
    }
    w.sums[size_t(scan)] = sums;
    w.recorded[size_t(scan)] = 1;
}

double LiveIndex(const SideSums& s, IndexKind kind)
{
    const int64_t a = SideA(s, kind), b = SideB(s, kind);
    const int64_t divisor = IsQuadrantKind(kind) ? s.top + s.bottom : a + b;
    if (divisor < 1) return 0;
    return double(a - b) / double(divisor);
}

std::vector<int> WindowScans(int t, int last_scan, int m)
{
    std::vector<int> scans;
    const bool backwards = t >= last_scan - m;
    for (int k = 0; k <= m; ++k) scans.push_back(backwards ? t - k : t + k);
    return scans;
}

WindowSides WindowSum(const SideSumStore& store, int well, IndexKind kind, int t, int m)
{
    WindowSides w;
    for (int scan : WindowScans(t, store.last_scan(), m)) {
        const SideSums& s = store.at(well, scan);
        w.a += double(SideA(s, kind));
        w.b += double(SideB(s, kind));
    }
    return w;
}

double WindowIndex(const SideSumStore& store, int well, IndexKind kind, int t, int m)
{
    const WindowSides w = WindowSum(store, well, kind, t, m);
    if (w.a + w.b <= 0) return 0;
    return (w.a - w.b) / (w.a + w.b);
}

double WindowQuadrant(const SideSumStore& store, int well, Quadrant q, int t, int m)
{
    double sum = 0;
    for (int scan : WindowScans(t, store.last_scan(), m)) {
        const SideSums& s = store.at(well, scan);
        switch (q) {
        case Quadrant::TopLeft: sum += double(s.top_left); break;
        case Quadrant::TopRight: sum += double(s.top_right); break;
        case Quadrant::BottomLeft: sum += double(s.bottom_left); break;
        case Quadrant::BottomRight: sum += double(s.bottom_right); break;
        }
    }
    return sum;
}

std::array<int, 4> TimeMarks(int last_scan)
{
    return {last_scan / 4, last_scan / 2, last_scan * 3 / 4, last_scan};
}

bool IsTimeMark(int scan, int last_scan)
{
    const auto marks = TimeMarks(last_scan);
    return std::find(marks.begin(), marks.end(), scan) != marks.end();
}

}  // namespace tirmo::chemotaxis
