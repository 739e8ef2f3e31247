#pragma once
// The per-pixel activity of a recording as the heat maps draw it: for every well of the plate
// the disc of its camera image (which pixels lie in the well) and, per scan, the pixels that
// showed activity and their counts.
//
// A day-long recording has thousands of scans of thousands of pixels each, nearly all of them
// without activity in any one scan, so a well keeps only its active pixels of each scan, packed
// as small variable-length numbers, and the sums over all scans as 64-bit totals. The loader
// reads each pixel file once, block by block.
//
// Heat-map well numbers run down the columns: row r, column c (from 0) is c x rows + r.
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tirmo::reports {

// The messages of a load that ended on a fault.
inline constexpr const char* kHeatMapNoScan = "error file";
inline constexpr const char* kHeatMapProcessingError = "Error processing files";
// "File error c" camera "b" window ".csv"
std::string HeatMapFileError(int camera, int window);

// The plates heat maps are drawn for: w24 (4 x 6, two windows a camera), w6 and p35 (2 x 3,
// one window a camera). Other formats have no heat-map layout.
struct HeatMapPlate {
    int rows = 0;
    int columns = 0;
    int windows = 0;  // windows of each camera that hold wells
    int wells() const { return rows * columns; }
};
std::optional<HeatMapPlate> HeatMapPlateOf(std::string_view format);

// The well number of a name in the pixel files ("B3"), -1 for a name not on the plate.
int HeatMapWellNumber(std::string_view name, const HeatMapPlate& plate);
// "B3" for the well number.
std::string HeatMapWellLabel(int number, const HeatMapPlate& plate);

// One active pixel of a scan: its place in the well's grid and its count (above 0).
struct HeatMapPoint {
    int y = 0;
    int x = 0;
    int32_t count = 0;
};

class HeatMapWell {
public:
    // The grid: y runs over the image rows that hold a pixel of the well (the rows the pixel
    // files write, in the order of their column offsets), x along such a row from the first
    // pixel of the well in any of them. inside(y, x) is false for a grid point no pixel of the
    // well falls on.
    int height() const { return height_; }
    int width() const { return width_; }
    bool inside(int y, int x) const { return inside_[size_t(y) * size_t(width_) + size_t(x)] != 0; }
    // The number of grid points inside the disc.
    long points() const { return points_; }
    // The sum over all scans of a point's counts.
    int64_t sum(int y, int x) const { return sums_[size_t(y) * size_t(width_) + size_t(x)]; }
    // The largest count of a point in a scan, and the largest sum.
    int32_t max_value() const { return max_value_; }
    int64_t max_sum() const { return max_sum_; }

    // Calls f(HeatMapPoint) for every active point of the scan (none for a scan the well was
    // not recorded in); returns how many there were.
    template <typename F>
    long ForEachActive(long scan, F&& f) const;
    long ActivePoints(long scan) const;
    // Whether the well's file holds the scan (a file cut short lacks the scans after its end).
    bool Recorded(long scan) const { return find(scan) != nullptr; }

private:
    friend class HeatMapBuilder;
    struct Scan {
        long scan;
        size_t begin;  // into packed_
        long active;
    };
    const Scan* find(long scan) const;

    int height_ = 0, width_ = 0;
    long points_ = 0;
    int32_t max_value_ = 0;
    int64_t max_sum_ = 0;
    std::vector<uint8_t> inside_;
    std::vector<int64_t> sums_;
    std::vector<Scan> scans_;      // ascending scan numbers
    std::vector<uint8_t> packed_;  // per active point: zigzag step from the last index, count
};

struct HeatMapStore {
    HeatMapPlate plate;
    std::vector<HeatMapWell> wells;  // by well number; a well without pixels has an empty grid
    long last_scan = 0;              // the highest scan number of the recording
    std::map<long, double> scan_minutes;
    // The scans the files hold, ascending. A run leaves a camera's scans out of its files while
    // the camera is taken out of use, so a number may be missing: the views step through the
    // scans held, never through numbers no file holds.
    std::vector<long> scans;
    int32_t max_value = 0;  // largest single count of any pixel in any scan
    int64_t max_sum = 0;    // largest pixel sum
    bool empty() const { return wells.empty(); }
    // The time slider's last position: position p (from 1) shows scans[p - 1], so the last
    // scan held takes part in the sums but is never shown alone.
    long last_position() const { return scans.empty() ? 0 : long(scans.size()) - 1; }
    // The scan shown at a slider position, -1 for a position without one.
    long ScanAt(long position) const
    {
        return position >= 1 && position <= long(scans.size()) ? scans[size_t(position - 1)] : -1;
    }
    // Minutes since the start of the run of a scan; 0 for a scan no file holds.
    double Minutes(long scan) const;
    // The share of the well's disc with activity in the scan, in percent; nullopt for a well
    // without any point in its disc or without a record of the scan.
    std::optional<double> AreaShare(int well, long scan) const;
};

enum class HeatMapOutcome { Loaded, Stopped, Failed };

struct HeatMapLoad {
    HeatMapOutcome outcome = HeatMapOutcome::Failed;
    std::string message;  // what went wrong, for Failed
    std::string where;    // for a damaged file: the file, its line and what is wrong there
    HeatMapStore store;   // empty unless Loaded
    long negative_counts = 0;  // read as pixels without activity
};

using HeatMapProgress = std::function<void(int percent)>;

// Reads the pixel files wellactivity<c><w>.csv of the recording folder, several at a time. A
// camera without files is passed over. A well belongs to the first file (by camera, then window)
// that names it; its disc is taken from the first block it appears in. A block cut by a killed
// run is left out, and a file without a whole block is a camera without data. progress is told the share of the files read, in percent, from the calling
// thread, at the start and every 50 ms: the window shows it and handles clicks meanwhile, one of
// which may set the stop flag.
HeatMapLoad LoadHeatMap(const std::string& folder, std::string_view format, const std::atomic<bool>& stop,
                        const HeatMapProgress& progress = {});

// ---- inline

inline const HeatMapWell::Scan* HeatMapWell::find(long scan) const
{
    size_t lo = 0, hi = scans_.size();
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (scans_[mid].scan < scan) lo = mid + 1;
        else hi = mid;
    }
    return lo < scans_.size() && scans_[lo].scan == scan ? &scans_[lo] : nullptr;
}

inline long HeatMapWell::ActivePoints(long scan) const
{
    const Scan* s = find(scan);
    return s ? s->active : 0;
}

template <typename F>
long HeatMapWell::ForEachActive(long scan, F&& f) const
{
    const Scan* s = find(scan);
    if (!s) return 0;
    const uint8_t* p = packed_.data() + s->begin;
    auto next = [&p] {
        uint64_t v = 0;
        for (int shift = 0;; shift += 7) {
            const uint8_t b = *p++;
            v |= uint64_t(b & 0x7F) << shift;
            if (!(b & 0x80)) return v;
        }
    };
    int64_t index = -1;
    for (long i = 0; i < s->active; ++i) {
        const uint64_t step = next();
        index += (step & 1) ? -int64_t(step >> 1) : int64_t(step >> 1);
        const int32_t count = int32_t(next());
        f(HeatMapPoint{int(index / width_), int(index % width_), count});
    }
    return s->active;
}

}  // namespace tirmo::reports
