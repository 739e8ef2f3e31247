#include "reports/HeatMapStore.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/Convert.h"
#include "reports/PixelActivityFile.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tirmo::reports {

std::string HeatMapFileError(int camera, int window)
{
    return "File error c" + std::to_string(camera) + "b" + std::to_string(window) + ".csv";
}

std::optional<HeatMapPlate> HeatMapPlateOf(std::string_view format)
{
    if (format == "w24") return HeatMapPlate{4, 6, 2};
    if (format == "w6" || format == "p35") return HeatMapPlate{2, 3, 1};
    return std::nullopt;
}

int HeatMapWellNumber(std::string_view name, const HeatMapPlate& plate)
{
    if (name.size() < 2 || name[0] < 'A' || name[0] >= 'A' + plate.rows) return -1;
    int column = 0;
    for (char c : name.substr(1)) {
        if (c < '0' || c > '9' || column > plate.columns) return -1;
        column = column * 10 + (c - '0');
    }
    if (column < 1 || column > plate.columns) return -1;
    return (column - 1) * plate.rows + (name[0] - 'A');
}

std::string HeatMapWellLabel(int number, const HeatMapPlate& plate)
{
    return std::string(1, char('A' + number % plate.rows)) + std::to_string(number / plate.rows + 1);
}

double HeatMapStore::Minutes(long scan) const
{
    const auto it = scan_minutes.find(scan);
    return it == scan_minutes.end() ? 0 : it->second;
}

std::optional<double> HeatMapStore::AreaShare(int well, long scan) const
{
    if (well < 0 || size_t(well) >= wells.size() || wells[size_t(well)].points() == 0) return std::nullopt;
    const HeatMapWell& w = wells[size_t(well)];
    if (!w.Recorded(scan)) return std::nullopt;
    return double(w.ActivePoints(scan)) / double(w.points()) * 100;
}

namespace {

// Bit i set for each of the first k (at most 64) counts that is above 0.
uint64_t positiveBits(const int32_t* counts, int k)
{
    uint64_t bits = 0;
    int i = 0;
#if defined(__SSE2__)
    for (; i + 4 <= k; i += 4) {
        const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(counts + i));
        bits |= uint64_t(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpgt_epi32(four, _mm_setzero_si128())))) << i;
    }
#endif
    for (; i < k; ++i) bits |= uint64_t(counts[i] > 0) << i;
    return bits;
}

}  // namespace

// Builds the wells of one pixel file while it is read, one block at a time.
class HeatMapBuilder {
public:
    explicit HeatMapBuilder(HeatMapStore& store) : store_(store), named_(size_t(store.plate.wells()), false)
    {
        store_.wells.assign(size_t(store.plate.wells()), HeatMapWell{});
        rows_.resize(size_t(store.plate.wells()));
        lines_.resize(size_t(store.plate.wells()));
    }

    // The reader hands the blocks over with rising scan numbers.
    void Add(const PixelActivityBlock& block)
    {
        store_.last_scan = std::max(store_.last_scan, block.scan);
        store_.scan_minutes.emplace(block.scan, block.minutes);
        // The lines of each well, in file order.
        for (auto& lines : lines_) lines.clear();
        for (const auto& line : block.lines) {
            const int w = HeatMapWellNumber(line.well, store_.plate);
            if (w < 0) continue;
            named_[size_t(w)] = true;
            lines_[size_t(w)].push_back(&line);
        }
        for (size_t w = 0; w < lines_.size(); ++w) {
            if (lines_[w].empty()) continue;
            HeatMapWell& well = store_.wells[w];
            if (!rows_[w].known) shape(well, rows_[w], lines_[w]);
            keep(well, rows_[w], lines_[w], block.scan);
        }
    }

    // The file's wells, packed tight; named: the wells the file has rows of.
    std::vector<bool> Finish()
    {
        for (auto& w : store_.wells) {
            w.packed_.shrink_to_fit();
            w.scans_.shrink_to_fit();
        }
        return named_;
    }

private:
    struct Rows {
        bool known = false;
        int lead = 0;                          // the first field of a row that lies at x = 0
        std::vector<std::pair<int, int>> y;    // column offset -> y, by offset
        std::vector<char> seen;                // rows of the block being kept, against repeats
    };

    static int rowOf(const Rows& rows, int offset)
    {
        const auto it = std::lower_bound(rows.y.begin(), rows.y.end(), std::make_pair(offset, -1));
        return it != rows.y.end() && it->first == offset ? it->second : -1;
    }

    // The disc: the rows with a pixel of the well, from the first to the last such pixel.
    static void shape(HeatMapWell& well, Rows& rows, const std::vector<const PixelActivityLine*>& lines)
    {
        rows.known = true;
        int lead = -1, end = 0;
        for (const auto* line : lines) {
            const auto& c = line->counts;
            const auto first = std::find_if(c.begin(), c.end(), [](int32_t v) { return v >= 0; });
            if (first == c.end()) continue;
            const int last = int(c.rend() - std::find_if(c.rbegin(), c.rend(), [](int32_t v) { return v >= 0; }));
            lead = lead < 0 ? int(first - c.begin()) : std::min(lead, int(first - c.begin()));
            end = std::max(end, last);
            rows.y.emplace_back(line->row, 0);
        }
        std::sort(rows.y.begin(), rows.y.end());
        rows.y.erase(std::unique(rows.y.begin(), rows.y.end()), rows.y.end());
        for (size_t i = 0; i < rows.y.size(); ++i) rows.y[i].second = int(i);
        if (rows.y.empty()) return;
        rows.lead = lead;
        well.height_ = int(rows.y.size());
        well.width_ = end - lead;
        const size_t n = size_t(well.height_) * size_t(well.width_);
        well.inside_.assign(n, 0);
        well.sums_.assign(n, 0);
        rows.seen.assign(size_t(well.height_), 0);
        for (const auto* line : lines) {
            const int y = rowOf(rows, line->row);
            if (y < 0) continue;
            const auto& c = line->counts;
            for (int x = 0; x < well.width_ && size_t(lead + x) < c.size(); ++x)
                if (c[size_t(lead + x)] >= 0 && !well.inside_[size_t(y) * size_t(well.width_) + size_t(x)]) {
                    well.inside_[size_t(y) * size_t(well.width_) + size_t(x)] = 1;
                    ++well.points_;
                }
        }
    }

    static void put(std::vector<uint8_t>& out, uint64_t v)
    {
        while (v >= 0x80) {
            out.push_back(uint8_t(v | 0x80));
            v >>= 7;
        }
        out.push_back(uint8_t(v));
    }

    void keep(HeatMapWell& well, Rows& rows, const std::vector<const PixelActivityLine*>& lines, long scan)
    {
        HeatMapWell::Scan s{scan, well.packed_.size(), 0};
        std::fill(rows.seen.begin(), rows.seen.end(), 0);
        int64_t last = -1;
        for (const auto* line : lines) {
            const int y = rowOf(rows, line->row);
            if (y < 0 || rows.seen[size_t(y)]) continue;
            rows.seen[size_t(y)] = 1;
            const size_t base = size_t(y) * size_t(well.width_);
            const size_t fields = line->counts.size();
            const int n = fields > size_t(rows.lead) ? int(std::min(fields - size_t(rows.lead), size_t(well.width_))) : 0;
            if (n == 0) continue;
            const int32_t* const counts = line->counts.data() + rows.lead;
            const uint8_t* const inside = well.inside_.data() + base;
            // Most counts are 0: the active ones are found 64 at a time as bits, without a
            // branch for each count.
            for (int x0 = 0; x0 < n; x0 += 64) {
                const int k = std::min(64, n - x0);
                for (uint64_t active = positiveBits(counts + x0, k); active; active &= active - 1) {
                    const int x = x0 + std::countr_zero(active);
                    if (!inside[x]) continue;
                    const int32_t v = counts[x];
                    const int64_t index = int64_t(base) + x;
                    const int64_t step = index - last;
                    put(well.packed_, step < 0 ? (uint64_t(-step) << 1) | 1 : uint64_t(step) << 1);
                    put(well.packed_, uint64_t(v));
                    last = index;
                    ++s.active;
                    int64_t& sum = well.sums_[base + size_t(x)];
                    sum += v;
                    well.max_sum_ = std::max(well.max_sum_, sum);
                    well.max_value_ = std::max(well.max_value_, v);
                }
            }
        }
        well.scans_.push_back(s);
    }

    HeatMapStore& store_;
    std::vector<bool> named_;
    std::vector<Rows> rows_;
    std::vector<std::vector<const PixelActivityLine*>> lines_;
};

namespace {

// One pixel file read into the wells it names.
struct FileLoad {
    int camera = 0, window = 0;
    HeatMapStore store;
    std::vector<bool> named;
    bool any_block = false;
    bool stopped = false;
    std::string error;  // the reader's, for a damaged file
    long negatives = 0;
};

void loadFile(const std::string& folder, FileLoad& file, const std::atomic<bool>& stop)
{
    PixelActivityReader reader(folder + "/" + PixelActivityFileName(file.camera, file.window));
    if (!reader.is_open()) return;
    HeatMapBuilder builder(file.store);
    PixelActivityBlock block;
    for (long n = 1; reader.Next(block); ++n) {
        file.any_block = true;
        builder.Add(block);
        if (n % 64 == 0 && stop) {
            file.stopped = true;
            return;
        }
    }
    file.error = reader.error();
    file.negatives = reader.negative_counts();
    file.named = builder.Finish();
}

}  // namespace

HeatMapLoad LoadHeatMap(const std::string& folder, std::string_view format, const std::atomic<bool>& stop,
                        const HeatMapProgress& progress)
{
    HeatMapLoad load;
    const auto plate = HeatMapPlateOf(format);
    if (!plate) {
        load.message = kHeatMapNoScan;
        return load;
    }
    // The files are read side by side; what they hold is put together in camera and window
    // order, so a well named by two files is the first one's, as a reading in turn would have it.
    std::vector<FileLoad> files;
    for (int camera = 0; camera < 6; ++camera)
        for (int window = 0; window < plate->windows; ++window) {
            files.emplace_back();
            files.back().camera = camera;
            files.back().window = window;
            files.back().store.plate = *plate;
        }
    std::atomic<size_t> next{0}, done{0};
    std::mutex mutex;
    std::condition_variable finished;
    auto work = [&] {
        for (size_t i; (i = next++) < files.size();) {
            if (!stop) loadFile(folder, files[i], stop);
            else files[i].stopped = true;
            std::lock_guard<std::mutex> lock(mutex);
            ++done;
            finished.notify_all();
        }
    };
    if (progress) progress(0);
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, unsigned(files.size()));
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads; ++t) workers.emplace_back(work);
    {
        std::unique_lock<std::mutex> lock(mutex);
        while (done < files.size()) {
            finished.wait_for(lock, std::chrono::milliseconds(50));
            const int percent = int(platform::RoundHalfEven(100.0 * double(done) / double(files.size())));
            lock.unlock();
            if (progress) progress(percent);
            lock.lock();
        }
    }
    for (auto& w : workers) w.join();

    if (stop) {
        load.outcome = HeatMapOutcome::Stopped;
        return load;
    }
    HeatMapStore& store = load.store;
    store.plate = *plate;
    store.wells.resize(size_t(plate->wells()));
    std::vector<bool> taken(size_t(plate->wells()), false);
    bool anyBlock = false;
    for (FileLoad& file : files) {
        if (file.stopped) {
            load.outcome = HeatMapOutcome::Stopped;
            load.store = HeatMapStore{};
            return load;
        }
        if (!file.error.empty()) {
            load.message = HeatMapFileError(file.camera, file.window);
            load.where = file.error;
            load.store = HeatMapStore{};
            return load;
        }
        anyBlock = anyBlock || file.any_block;
        load.negative_counts += file.negatives;
        store.last_scan = std::max(store.last_scan, file.store.last_scan);
        store.scan_minutes.merge(file.store.scan_minutes);
        for (size_t w = 0; w < file.named.size(); ++w) {
            if (!file.named[w] || taken[w]) continue;
            taken[w] = true;
            store.wells[w] = std::move(file.store.wells[w]);
            store.max_value = std::max(store.max_value, store.wells[w].max_value());
            store.max_sum = std::max(store.max_sum, store.wells[w].max_sum());
        }
        file.store = HeatMapStore{};
    }
    if (!anyBlock) {
        load.message = kHeatMapNoScan;
        load.store = HeatMapStore{};
        return load;
    }
    for (const auto& held : store.scan_minutes) store.scans.push_back(held.first);
    load.outcome = HeatMapOutcome::Loaded;
    return load;
}

}  // namespace tirmo::reports
