// The numbers of a report: spike filter, corrections, time columns and group statistics.
#include <algorithm>
#include <cmath>

#include "plate/PlateFormat.h"
#include "platform/Convert.h"
#include "reports/ReportEngine.h"
#include "reports/ReportNumbers.h"

namespace tirmo::reports {

using platform::RoundHalfEven;

void AcquisitionData::Resize(int lastScan)
{
    scan_counter = std::max(-1, lastScan);
    const size_t n = size_t(scan_counter + 1);
    record_seconds.assign(n, 0);
    record_temperature.assign(n, 0.0);
    for (auto& a : well_activity) a.assign(n, -1.0);
    for (auto& s : well_seconds) s.assign(n, 0);
    no_temperature.clear();
}

namespace {

// The wells of the plate: 0 .. rows x columns - 1 (numbered down the columns), within the
// wells that carry activity.
int PlateWells(const AcquisitionData& data)
{
    return std::min(plate::FormatSize(data.plate_format).wells(), kReportWells);
}

double At(const std::vector<double>& v, int t) { return t >= 0 && size_t(t) < v.size() ? v[size_t(t)] : -1.0; }
long At(const std::vector<long>& v, int t) { return t >= 0 && size_t(t) < v.size() ? v[size_t(t)] : 0; }

}  // namespace

WellTable ActivityTable(const AcquisitionData& data)
{
    WellTable a;
    for (int w = 0; w < kReportWells; ++w) {
        a[size_t(w)].resize(size_t(data.scans()), -1.0);
        for (int t = 0; t <= data.scan_counter; ++t) a[size_t(w)][size_t(t)] = At(data.well_activity[size_t(w)], t);
    }
    return a;
}

WellTable FilterSpikes(const AcquisitionData& data)
{
    WellTable a = ActivityTable(data);
    const int last = data.scan_counter;
    if (last < 2) return a;
    for (auto& v : a) {
        for (int t = 0; t <= last; ++t) {
            const int n1 = t == 0 ? 1 : t == last ? last - 1 : t - 1;
            const int n2 = t == 0 ? 2 : t == last ? last - 2 : t + 1;
            const double x = v[size_t(t)], left = v[size_t(n1)], right = v[size_t(n2)];
            // A not-measured neighbour is no evidence of a spike; its marker would also turn
            // the "replacement" into a not-measured value.
            if (x < 0 || left < 0 || right < 0) continue;
            const double s = left + right;
            if (x > 10 && x > 5 * s) v[size_t(t)] = s / 2;
        }
    }
    return a;
}

long ScanDuration(const AcquisitionData& data, int scan)
{
    const int last = data.scan_counter;
    long d = 0;
    if (scan < last)
        d = At(data.record_seconds, scan + 1) - At(data.record_seconds, scan);
    else if (scan >= 1)
        d = At(data.record_seconds, scan) - At(data.record_seconds, scan - 1);
    else
        d = At(data.record_seconds, scan);
    return std::max(0L, d);
}

Corrected CorrectActivity(const AcquisitionData& data, const WellTable& activity, const Corrections& corrections,
                          const ReportOptions& options)
{
    Corrected c;
    const bool blank = options.blank && corrections.blank_lapse >= 1;
    const bool factors = options.intref != InternalReference::No;
    std::vector<double> minutes(size_t(data.scans()));
    for (int t = 0; t <= data.scan_counter; ++t) minutes[size_t(t)] = double(ScanDuration(data, t)) / 60.0;
    for (int w = 0; w < kReportWells; ++w) {
        const auto& in = activity[size_t(w)];
        auto& out = c.values[size_t(w)];
        out.resize(in.size());
        const double rate = blank ? double(corrections.blank_values[size_t(w)]) / corrections.blank_lapse : 0.0;
        for (size_t t = 0; t < in.size(); ++t) {
            const double count = in[t];
            if (count < 0) {
                out[t] = count;
                continue;
            }
            double v = count - rate * (t < minutes.size() ? minutes[t] : 0.0);
            if (factors) {
                v *= corrections.well_factor[size_t(w)];
                c.factorCorrected = true;
            }
            out[t] = v < 0 ? 0.0 : v;
        }
    }
    return c;
}

ReportColumns ScanColumns(const AcquisitionData& data, const WellTable& corrected, const std::string& decimal)
{
    ReportColumns cols;
    cols.bin_text = kScanTime;
    for (int t = 0; t <= data.scan_counter; ++t)
        cols.heads.push_back(FixedText(double(At(data.record_seconds, t)) / 60.0, 1, decimal));
    cols.values = corrected;
    return cols;
}

ReportColumns BinColumns(const AcquisitionData& data, const WellTable& corrected, const std::string& binText,
                         const std::string& decimal)
{
    ReportColumns cols;
    cols.bin_text = binText;
    const int wells = PlateWells(data);
    const int last = data.scan_counter;

    long maxSeconds = 0;
    for (int w = 0; w < wells; ++w)
        for (int t = 0; t <= last; ++t) maxSeconds = std::max(maxSeconds, At(data.well_seconds[size_t(w)], t));
    cols.total_minutes = int(RoundHalfEven(double(maxSeconds) / 60.0));

    if (!(LeadingNumber(binText) > 0)) {
        cols.activity = false;
        cols.note = "the report has no WELL ACTIVITY table: the bin \"" + binText + "\" is no number of minutes above 0";
        return cols;
    }

    // The valid length: up to the first scan in which a well of the plate was not measured.
    int valid = last;
    for (int t = 0; t <= last && valid == last; ++t)
        for (int w = 0; w < wells; ++w)
            if (At(corrected[size_t(w)], t) < 0) {
                valid = t;
                break;
            }
    long runSeconds = 0;
    for (int w = 0; w < wells; ++w) runSeconds = std::max(runSeconds, At(data.well_seconds[size_t(w)], valid));
    const long long runMinutes = RoundHalfEven(double(runSeconds) / 60.0);

    double bin = LeadingNumber(binText);
    const double longest = std::floor(cols.total_minutes / 5.0) * 5.0;
    if (longest < bin) {
        bin = longest;
        cols.bin_text = std::to_string(runSeconds / 60);
    }
    if (LeadingNumber(cols.bin_text) < 10) {
        bin = 10;
        cols.bin_text = "10";
    }
    const long long binMinutes = std::max(1LL, RoundHalfEven(bin));
    const long long bins = runMinutes / binMinutes;
    const long long covered = bins * binMinutes;
    if (bins == 0)
        cols.note = "the WELL ACTIVITY table is empty: a bin of " + std::to_string(binMinutes) +
                    " minutes is longer than the " + std::to_string(runMinutes) + " minutes in which every well was read";
    for (long long j = 1; j <= bins; ++j) cols.heads.push_back(FixedText(double(j * binMinutes), 1, decimal));

    for (int w = 0; w < wells; ++w) {
        const auto& seconds = data.well_seconds[size_t(w)];
        const auto& values = corrected[size_t(w)];
        auto& out = cols.values[size_t(w)];
        out.assign(size_t(bins), 0.0);
        // Each minute takes the scan nearest to it: it moves on to the next scan once the
        // midpoint between the two, rounded to whole minutes, has come. Scans closer than a
        // minute (every 13 to 30 seconds) pass several midpoints in one minute: the minute then
        // also moves on over each further scan whose midpoint has come and that lies nearer to
        // it, rather than falling one more scan behind every minute. A minute never moves onto
        // a scan where the well has no reading (an unfinished last scan): that scan has no
        // time for the well to lie nearer, and no count; the minute keeps the last read scan.
        int k = 0;
        auto twiceMidpoint = [&](int scan) { return double(At(seconds, scan)) + double(At(seconds, scan + 1)); };
        long long running = 0, binEnd = binMinutes;
        size_t index = 0;
        for (long long m = 1; m <= covered; ++m) {
            for (bool first = true; k < last && At(values, k + 1) >= 0 && m >= RoundHalfEven(twiceMidpoint(k) / 120.0) &&
                                    (first || double(m) * 120.0 >= twiceMidpoint(k));
                 first = false)
                ++k;
            // A first scan without a reading adds nothing to a bin rather than its marker.
            const double v = std::max(0.0, At(values, k));
            running = RoundHalfEven(double(running) + v);
            if (m == covered) {
                out[index] = double(running);
            } else if (m >= binEnd) {
                binEnd += binMinutes;
                out[index++] = double(running);
                running = 0;
            }
        }
    }
    return cols;
}

std::string NoTemperatureNote(const AcquisitionData& data)
{
    constexpr size_t kShownRanges = 3;
    const auto minutes = [&](int scan) { return FixedText(double(At(data.record_seconds, scan)) / 60.0, 1, "."); };
    std::string ranges;
    size_t shown = 0;
    const std::vector<int>& scans = data.no_temperature;
    for (size_t i = 0; i < scans.size(); ++i) {
        size_t j = i;
        while (j + 1 < scans.size() && scans[j + 1] == scans[j] + 1) ++j;
        if (shown == kShownRanges) {
            ranges += ", ...";
            break;
        }
        ranges += (shown++ ? ", " : "") + minutes(scans[i]) + (j > i ? "-" + minutes(scans[j]) : "");
        i = j;
    }
    if (ranges.empty()) return {};
    return "no stage temperature was recorded for the scans at " + ranges + " min: the report shows 0.0 there";
}

GroupStats ComputeGroupStats(const AcquisitionData& data, const ReportColumns& columns)
{
    GroupStats st;
    const int wells = PlateWells(data);
    const size_t ncol = columns.heads.size();
    std::array<int, plate::kGroupEntries> n{};
    for (int w = 0; w < wells; ++w) {
        const int g = data.groups.well_group[size_t(w)];
        if (g >= 0 && g < plate::kGroupEntries) ++n[size_t(g)];
    }
    for (int g = 0; g < plate::kGroupEntries; ++g) {
        if (n[size_t(g)] == 0) continue;
        std::vector<double> sum(ncol, 0.0), sq(ncol, 0.0);
        for (int w = 0; w < wells; ++w) {
            if (data.groups.well_group[size_t(w)] != g) continue;
            for (size_t c = 0; c < ncol; ++c) sum[c] += At(columns.values[size_t(w)], int(c));
        }
        const double count = n[size_t(g)];
        for (auto& s : sum) s /= count;
        for (int w = 0; w < wells; ++w) {
            if (data.groups.well_group[size_t(w)] != g) continue;
            for (size_t c = 0; c < ncol; ++c) {
                const double d = At(columns.values[size_t(w)], int(c)) - sum[c];
                sq[c] += d * d;
            }
        }
        std::vector<double> err(ncol, 0.0);
        if (count >= 2)
            for (size_t c = 0; c < ncol; ++c) err[c] = std::sqrt(sq[c] / (count - 1)) / std::sqrt(count);
        st.groups.push_back(g);
        st.count.push_back(n[size_t(g)]);
        st.mean.push_back(std::move(sum));
        st.error.push_back(std::move(err));
    }
    return st;
}

}  // namespace tirmo::reports
