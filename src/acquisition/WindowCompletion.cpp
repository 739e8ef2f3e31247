#include "acquisition/WindowCompletion.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "acquisition/ActivityCounter.h"
#include "platform/Convert.h"

namespace tirmo::acquisition {
namespace {

using Reach = std::array<int, kWindowFrames>;

// The last position 1..count each frame reaches.
Reach reachOf(const WindowFrames& frames, int count)
{
    Reach r{};
    for (int k = 0; k < kWindowFrames; ++k)
        r[size_t(k)] = std::max(0, int(std::min<size_t>(frames[size_t(k)].size(), size_t(std::max(count, 0)))));
    return r;
}

const unsigned char* bytes(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

// The mean grey level of each well over positions 3.. that a frame reaches, before repair.
void wellLevels(const int16_t* pixelWell, int lastPixel, const WindowFrames& frames, const Reach& reach,
                WindowCounts& counts)
{
    std::array<long, kWellSlots> sum{}, samples{};
    if (pixelWell) {
        std::array<const unsigned char*, kWindowFrames> f{};
        for (int k = 0; k < kWindowFrames; ++k) f[size_t(k)] = bytes(frames[size_t(k)]);
        const auto [least, most] = std::minmax_element(reach.begin(), reach.end());
        // Where every frame reaches, pixel by pixel; beyond, frame by frame.
        const int common = std::min(*least, lastPixel);
        constexpr int kBlock = 16;  // the eleven frames of sixteen pixels added at once
        int p = 3;
        for (; p <= common; p += kBlock) {
            int level[kBlock] = {};
            const int count = std::min(kBlock, common - p + 1);
            if (count == kBlock) {
                for (int k = 0; k < kWindowFrames; ++k)
                    for (int i = 0; i < kBlock; ++i) level[i] += f[size_t(k)][p - 1 + i];
            } else {
                for (int k = 0; k < kWindowFrames; ++k)
                    for (int i = 0; i < count; ++i) level[i] += f[size_t(k)][p - 1 + i];
            }
            for (int i = 0; i < count; ++i) {
                const int w = pixelWell[p + i];
                if (w < 0) continue;
                sum[size_t(w)] += level[i];
                samples[size_t(w)] += kWindowFrames;
            }
        }
        for (int k = 0; k < kWindowFrames; ++k) {
            const int last = std::min(reach[size_t(k)], lastPixel);
            for (int p = std::max(common + 1, 3); p <= last; ++p) {
                const int w = pixelWell[p];
                if (w < 0) continue;
                sum[size_t(w)] += f[size_t(k)][p - 1];
                ++samples[size_t(w)];
            }
        }
    }
    counts.well_level = sum;
    for (int w = 0; w < kCountedWells; ++w)
        if (samples[size_t(w)] > 0)
            counts.well_level[size_t(w)] = long(platform::RoundHalfEven(double(sum[size_t(w)]) / double(samples[size_t(w)])));
}

// Positions 3.. of every frame, pixel by pixel. A frame too short for a position holds no value
// there; the position keeps the value of the nearest frame that has one, so a short frame shows
// no movement instead of a fall to 0.
void fillHistory(FrameHistory& history, const WindowFrames& frames, const Reach& reach)
{
    const auto [least, most] = std::minmax_element(reach.begin(), reach.end());
    std::array<const unsigned char*, kWindowFrames> f{};
    for (int k = 0; k < kWindowFrames; ++k) f[size_t(k)] = bytes(frames[size_t(k)]);
    history.FillPixels(f, 3, *least);
    int16_t v[kWindowFrames];
    for (int p = std::max(*least + 1, 3); p <= *most; ++p) {
        int known = -1;
        for (int k = 0; k < kWindowFrames; ++k) {
            if (p <= reach[size_t(k)]) {
                v[k] = int16_t(f[size_t(k)][p - 1]);
                if (known < 0)
                    for (int j = 0; j < k; ++j) v[j] = v[k];
                known = v[k];
            } else if (known >= 0) {
                v[k] = int16_t(known);
            }
        }
        history.SetPixel(p, v);
    }
}

// The mean of a pixel's values over the frames that reach it, halves to even; 1 when none does.
long pixelMean(const FrameHistory& history, int p, const Reach& reach, int reachedByAll)
{
    const int16_t* values = history.pixel(p);
    long sum = 0;
    int count = 0;
    if (p <= reachedByAll) {
        sum = values[0] + history.moves()[p].sum;  // frame 0 and the sum of frames 1..10
        // Eleven values never average to a half: the nearest whole number needs no tie rule.
        return (2 * sum + kWindowFrames) / (2 * kWindowFrames);
    } else {
        for (int k = 0; k < kWindowFrames; ++k)
            if (p <= reach[size_t(k)]) {  // the values carried into short frames do not count
                sum += values[k];
                ++count;
            }
    }
    return count == 0 ? 1 : long(platform::RoundHalfEven(double(sum) / double(count)));
}

}  // namespace

FrameScores ScoreFrames(const WindowFrames& frames, int windowPixelCount)
{
    FrameScores s;
    s.good.fill(true);
    s.replaced_by.fill(-1);
    const Reach reach = reachOf(frames, windowPixelCount);
    for (int k = 1; k < kWindowFrames; ++k) {
        const int last = reach[size_t(k)];
        if (last < 3) continue;  // no position to score
        const unsigned char* f = bytes(frames[size_t(k)]);
        const unsigned char* before = bytes(frames[size_t(k - 1)]);
        const int both = std::min(last, reach[size_t(k - 1)]);
        // Sixteen running sums, so that the compiler can add sixteen positions at once.
        constexpr int kLanes = 16;
        int32_t changeLanes[kLanes] = {}, levelLanes[kLanes] = {};
        int p = 3;
        for (; p + kLanes - 1 <= both; p += kLanes) {
            for (int i = 0; i < kLanes; ++i) {
                const int v = f[p - 1 + i];
                changeLanes[i] += std::abs(v - int(before[p - 1 + i]));
                levelLanes[i] += v;
            }
        }
        long change = 0, level = 0;
        for (int i = 0; i < kLanes; ++i) change += changeLanes[i], level += levelLanes[i];
        for (; p <= both; ++p) {
            change += std::abs(int(f[p - 1]) - int(before[p - 1]));
            level += f[p - 1];
        }
        // Positions the frame before does not reach count as unchanged.
        for (; p <= last; ++p) level += f[p - 1];
        const double positions = double(last - 2);
        s.change[size_t(k)] = double(change) / positions;
        s.level[size_t(k)] = double(level) / positions;
    }
    s.change[0] = s.change[1];
    for (int k = 0; k < kWindowFrames; ++k)
        if (s.level[size_t(k)] * kBadFrameRatio < s.change[size_t(k)]) s.good[size_t(k)] = false;
    return s;
}

void RepairFrames(WindowFrames& frames, FrameScores& s)
{
    for (int k = 0; k < kWindowFrames; ++k) {
        if (s.good[size_t(k)]) continue;
        int first = k - 1, second = k + 1;
        if (k == 0) first = 1, second = 2;
        if (k == kWindowFrames - 1) first = k - 1, second = k - 2;
        for (int n : {first, second}) {
            if (!s.good[size_t(n)]) continue;
            frames[size_t(k)] = frames[size_t(n)];
            s.replaced_by[size_t(k)] = n;
            break;
        }
    }
}

WindowCounts CountWindow(RunTables& t, WindowTables& win, WindowFrames& frames, long scan)
{
    WindowCounts counts;
    const int c = win.camera_index, w = win.window_index;
    // Window tables that were not set up for the count give no pixels beyond their size.
    const int n = std::min({win.window_pixel_count, win.frame_history.pixel_count(), int(win.pixel_events.size()) - 1,
                            int(win.pixel_activity.size()) - 1});
    // The pixels of the window the run tables hold (all of them for a prepared geometry).
    const bool mapped = t.HasPixel(c, w, 0);
    const int lastPixel = mapped ? std::min(n, t.pixel_slots() - 1) : 0;
    const RunTables::PixelRow row = mapped ? t.Row(c, w) : RunTables::PixelRow{};

    wellLevels(row.well, lastPixel, frames, reachOf(frames, n), counts);

    counts.scores = ScoreFrames(frames, n);
    RepairFrames(frames, counts.scores);

    const Reach reach = reachOf(frames, n);
    fillHistory(win.frame_history, frames, reach);
    const FrameHistory& history = win.frame_history;  // read only from here on
    const int reachedByAll = *std::min_element(reach.begin(), reach.end());

    std::array<double, kWellSlots> ratio{};
    for (int well = 0; well < kWellSlots; ++well) {
        const int total = t.well_pixel_total[size_t(well)];
        // A well whose last cell had no in-shape pixel has no area to normalise by.
        ratio[size_t(well)] = total > 0 ? double(t.mean_well_pixels) / double(total) : 0.0;
    }

    // The share of its well each cell of the window covers.
    std::array<double, plate::kLocalColumns> area{};
    for (int s = 0; s < plate::kLocalColumns && plate::WellTable::InBounds(c, s, w); ++s) {
        const plate::WellCell& cell = t.geometry.well_table.at(c, s, w);
        area[size_t(s)] = double((cell.col_end - cell.col_ini) * (cell.row_end - cell.row_ini)) / 100 / 100;
    }

    for (int p = 3; p <= n; ++p) {
        const int well = p <= lastPixel ? row.well[p] : -1;
        int events = 0;
        if (well >= 0) {
            const long mean = pixelMean(history, p, reach, reachedByAll);
            if (double(counts.well_level[size_t(well)]) * 0.5 < double(mean)) {
                events = CountActivityEvents(history, p, win.line_width);
                ++counts.counted_pixels;
                if (scan == 0) ++t.well_window_events[size_t(well)];
            }
        }
        int32_t& pixelEvents = win.pixel_events[size_t(p)];
        if (pixelEvents < kPixelEventCap) pixelEvents += events;
        if (well < 0) continue;
        const double value = double(pixelEvents) * area[size_t(row.column_band[p])] * ratio[size_t(well)];
        win.pixel_activity[size_t(p)] = int32_t(platform::RoundHalfEven(value));
        counts.well_activity_sum[size_t(well)] += value;
        counts.seen[size_t(well)] = true;
    }

    for (int well = 0; well < kCountedWells; ++well) {
        const double s = std::sqrt(counts.well_activity_sum[size_t(well)]);
        counts.well_activity[size_t(well)] = s;
        t.well_accumulated_activity[size_t(well)] += s;
        double& inScan = t.well_scan_activity_ref(well, scan);
        if (inScan >= 0) inScan += s;
        else if (counts.seen[size_t(well)]) inScan = s;
    }
    return counts;
}

std::optional<lighting::PulseSchedule> RunPulseSchedule(const PulseBoxes& b)
{
    if (!b.enabled) return std::nullopt;
    int cycles = 0;
    try {
        cycles = platform::WholeNumber16(b.times);
    } catch (const platform::NumberError&) {
        return std::nullopt;
    }
    return lighting::PulseSchedule{platform::Val(b.on), platform::Val(b.off), long(cycles)};
}

int LightLogPower(bool pulseOn, std::string_view powerText)
{
    if (!pulseOn) return 0;
    try {
        return platform::WholeNumber16(powerText);
    } catch (const platform::NumberError&) {
        return 0;
    }
}

WindowCompletion CompleteWindow(RunTables& t, WindowTables& win, WindowFrames& frames, const CompletionInputs& in,
                                lighting::PulseState pulse, RunDevices& devices)
{
    WindowCompletion done;
    WindowRecords& r = done.records;
    const int c = win.camera_index, w = win.window_index;
    const long scan = in.scan_counter;
    const double minutes = Minutes(in.elapsed_seconds);
    r.camera = c;
    r.window = w;

    if (in.stage_temperature > 0.0) {
        double& temperature = t.scan_temperature_ref(scan);
        temperature = temperature == 0.0 ? in.stage_temperature : (temperature + in.stage_temperature) / 2.0;
    }
    const double temperature = t.scan_temperature(scan);

    r.light_row = LightRow(scan, minutes, LightLogPower(pulse.on, in.pulse.power));
    lighting::RunPulseStep(pulse, in.elapsed_seconds, RunPulseSchedule(in.pulse), in.pulse.power,
                           [&devices](int level) { devices.SendLightPulse(level); });

    if (in.camera_in_use) {
        r.raw_frames = true;
        r.raw_append = in.save_raw;
        r.raw_frame_lines = RawFrameBlock(t, win, frames, in.save_raw, scan, minutes, temperature, in.decimal);
        done.counts = CountWindow(t, win, frames, scan);
        r.pixel_activity_lines = PixelActivityBlock(t, win, scan, minutes, in.decimal);
    }

    for (int i = 0; i < t.geometry.ColumnSlots(c) && plate::WellTable::InBounds(c, i, w); ++i) {
        const int well = t.geometry.well_table.at(c, i, w).dataindex;
        const std::string name = t.geometry.WellLabel(c, i, w);
        double raw = 0, adjusted = 0;
        if (in.camera_in_use && well >= 0 && well < kWellSlots) {
            raw = t.well_accumulated_activity[size_t(well)];
            const double factor = size_t(well) < in.reference_factors.size() ? in.reference_factors[size_t(well)] : 1.0;
            adjusted = raw * factor;
        }
        r.activity_rows.push_back(ActivityRow(minutes, name, raw, in.decimal));
        r.adjusted_rows.push_back(ActivityRow(minutes, name, adjusted, in.decimal));
    }
    r.temperature_row = TemperatureRow(minutes, temperature, in.decimal);
    return done;
}

}  // namespace tirmo::acquisition
