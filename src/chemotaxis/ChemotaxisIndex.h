#pragma once
// Chemotaxis indexes: whether the activity inside one well lies more on one side of the well
// than on the other, (a - b) / (a + b), from -1 (all on side b) to 1 (all on side a).
//
// A well's pixel block has field positions x (0 to width) and rows y (0 to height); in the
// saved frames x runs upwards and y to the right, so the sides are named as they appear there.
// A pixel is compared with the exact halves width / 2 and height / 2: bottom x < width / 2, top
// x > width / 2, left y < height / 2, right y > height / 2; a pixel on a middle line is on
// neither side of that axis. While the activity files are read, each well keeps eight sums per
// scan (left, right, bottom, top and the four quadrants).
//
// The sums are 64-bit: one well of a long run easily counts more than 32,767 in a scan.
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tirmo::chemotaxis {

// The six index kinds, in the order of the window's option buttons 1 to 6.
enum class IndexKind { XRight = 1, XLeft, YTop, YBottom, QuadLeft, QuadRight };
inline constexpr std::array<IndexKind, 6> kIndexKinds = {IndexKind::XRight,   IndexKind::XLeft,
                                                         IndexKind::YTop,     IndexKind::YBottom,
                                                         IndexKind::QuadLeft, IndexKind::QuadRight};

// "CI_XR" ...: the chart files' names and the live chart's title.
const char* IndexCode(IndexKind kind);
// "CiXright" ...: the report's row suffix (after "_") and the saved charts' titles.
const char* IndexReportName(IndexKind kind);
bool IsQuadrantKind(IndexKind kind);

// The kind the window's choice gives: with analysis 0 ("2 Sides") the first ticked of options
// 1 to 4, otherwise the first ticked of 5 and 6 (ticked[k] is option k + 1); none when no
// option of the analysis is ticked.
std::optional<IndexKind> ChosenKind(int analysis, const std::array<bool, 6>& ticked);

struct SideSums {
    int64_t left = 0, right = 0, bottom = 0, top = 0;
    int64_t top_left = 0, top_right = 0, bottom_left = 0, bottom_right = 0;
};

// Sides a and b of a kind; for the quadrant kinds each is the sum of two quadrants.
int64_t SideA(const SideSums& s, IndexKind kind);
int64_t SideB(const SideSums& s, IndexKind kind);

// Adds up one scan of one well, pixel by pixel and row by row.
class SideAccumulator {
public:
    SideAccumulator(int width, int height) : half_x_(width / 2.0), half_y_(height / 2.0) {}
    // A pixel with activity v > 0 at field x of the current row y.
    void AddPixel(int x, int y, int64_t v);
    // Ends row y: its activity goes to left or right.
    void CloseRow(int y);
    const SideSums& sums() const { return sums_; }
    void Restart() { sums_ = {}, row_ = 0; }

private:
    double half_x_, half_y_;
    int64_t row_ = 0;
    SideSums sums_;
};

// The sums of every well at every scan 0..last_scan. A well takes memory only once it has sums:
// of a w96f plate only the wells of the windows read have any.
class SideSumStore {
public:
    SideSumStore(int wells, int last_scan) : wells_(wells), scans_(last_scan + 1), sums_(size_t(std::max(wells, 0))) {}
    int wells() const { return wells_; }
    int last_scan() const { return scans_ - 1; }
    // Out of range, or not recorded, reads as no activity; a write out of range is dropped.
    const SideSums& at(int well, int scan) const;
    void Set(int well, int scan, const SideSums& sums);
    // Whether the well's sums of the scan were set: a well no file holds, or a scan its file
    // lacks, has no value.
    bool Recorded(int well, int scan) const;

private:
    struct Well {
        std::vector<SideSums> sums;
        std::vector<uint8_t> recorded;
    };
    int wells_, scans_;
    std::vector<Well> sums_;
};

// The index of one scan's sums, as the live chart draws it while the files are read. The halves
// divide by a + b. The quadrant kinds divide by top + bottom, which leaves out the activity on the
// middle row y = height / 2 from the quadrants but not from the divisor, so the live quadrant
// index of such a well is smaller than the report's (the report divides by the four quadrants).
// 0 when the divisor is below 1.
double LiveIndex(const SideSums& s, IndexKind kind);

// The window of scans the report sums at time step t: t, t + 1, ..., t + m, or t, t - 1, ...,
// t - m when t >= last_scan - m, so that the window never passes the last scan.
std::vector<int> WindowScans(int t, int last_scan, int m);
// The report's sums of sides a and b over the window of t.
struct WindowSides {
    double a = 0, b = 0;
};
WindowSides WindowSum(const SideSumStore& store, int well, IndexKind kind, int t, int m);
// (Sa - Sb) / (Sa + Sb) over the window; 0 when Sa + Sb is not positive.
double WindowIndex(const SideSumStore& store, int well, IndexKind kind, int t, int m);
// One quadrant's sum over the window of t (the report's activity map).
enum class Quadrant { TopLeft, TopRight, BottomLeft, BottomRight };
double WindowQuadrant(const SideSumStore& store, int well, Quadrant q, int t, int m);

// The scans the index charts mark with their time: a quarter, half, three quarters, the last.
std::array<int, 4> TimeMarks(int last_scan);
bool IsTimeMark(int scan, int last_scan);

}  // namespace tirmo::chemotaxis
