#include "reports/HeatMapStore.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "platform/Convert.h"
#include "reports/PixelActivityFile.h"

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
    return double(w.ActivePoints(scan)) / double(w.points()) * 100;
}

// Builds the wells of a store while the files are read, one block at a time.
class HeatMapBuilder {
public:
    explicit HeatMapBuilder(HeatMapStore& store) : store_(store), owner_(size_t(store.plate.wells()), -1)
    {
        store_.wells.assign(size_t(store.plate.wells()), HeatMapWell{});
        rows_.resize(size_t(store.plate.wells()));
    }

    // False when the block does not belong after the file's blocks before it.
    bool Add(int file, const PixelActivityBlock& block)
    {
        store_.last_scan = std::max(store_.last_scan, block.scan);
        store_.scan_minutes.emplace(block.scan, block.minutes);
        // The lines of each well of this file, in file order.
        for (auto& lines : lines_) lines.clear();
        lines_.resize(owner_.size());
        for (const auto& line : block.lines) {
            const int w = HeatMapWellNumber(line.well, store_.plate);
            if (w < 0) continue;
            int& owner = owner_[size_t(w)];
            if (owner < 0) owner = file;
            if (owner == file) lines_[size_t(w)].push_back(&line);
        }
        for (size_t w = 0; w < lines_.size(); ++w) {
            if (lines_[w].empty()) continue;
            HeatMapWell& well = store_.wells[w];
            if (!rows_[w].known) shape(well, rows_[w], lines_[w]);
            if (!well.scans_.empty() && well.scans_.back().scan >= block.scan) return false;
            keep(well, rows_[w], lines_[w], block.scan);
        }
        return true;
    }

    void Finish()
    {
        for (auto& w : store_.wells) {
            w.packed_.shrink_to_fit();
            w.scans_.shrink_to_fit();
        }
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
                uint64_t active = 0;
                for (int i = 0; i < k; ++i) active |= uint64_t(counts[x0 + i] > 0) << i;
                for (; active; active &= active - 1) {
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
                    store_.max_sum = std::max(store_.max_sum, sum);
                    store_.max_value = std::max(store_.max_value, v);
                }
            }
        }
        well.scans_.push_back(s);
    }

    HeatMapStore& store_;
    std::vector<int> owner_;  // per well: the file that holds it, -1 before it is seen
    std::vector<Rows> rows_;
    std::vector<std::vector<const PixelActivityLine*>> lines_;
};

HeatMapLoad LoadHeatMap(const std::string& folder, std::string_view format, const std::atomic<bool>& stop,
                        const HeatMapProgress& progress)
{
    HeatMapLoad load;
    const auto plate = HeatMapPlateOf(format);
    if (!plate) {
        load.message = kHeatMapNoScan;
        return load;
    }
    load.store.plate = *plate;
    HeatMapBuilder builder(load.store);
    auto stopped = [&] {
        load.outcome = HeatMapOutcome::Stopped;
        load.store = HeatMapStore{};
        return load;
    };
    auto failed = [&](std::string message) {
        load.message = std::move(message);
        load.store = HeatMapStore{};
        return load;
    };
    bool anyBlock = false;
    PixelActivityBlock block;
    for (int camera = 0; camera < 6; ++camera) {
        const int percent = int(platform::RoundHalfEven(camera / 6.0 * 100));
        for (int window = 0; window < plate->windows; ++window) {
            if (stop) return stopped();
            if (progress) progress(percent);
            PixelActivityReader reader(folder + "/" + PixelActivityFileName(camera, window));
            if (!reader.is_open()) continue;
            for (long n = 1; reader.Next(block); ++n) {
                anyBlock = true;
                if (!builder.Add(camera * plate->windows + window, block)) return failed(HeatMapFileError(camera, window));
                if (n % 256 == 0) {
                    if (progress) progress(percent);
                    if (stop) return stopped();
                }
            }
            if (!reader.error().empty()) return failed(HeatMapFileError(camera, window));
        }
    }
    if (!anyBlock) return failed(kHeatMapNoScan);
    builder.Finish();
    load.outcome = HeatMapOutcome::Loaded;
    return load;
}

}  // namespace tirmo::reports
