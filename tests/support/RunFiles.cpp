#include "support/RunFiles.h"

#include <algorithm>
#include <fstream>
#include <tuple>

#include "plate/PlateFormat.h"
#include "platform/Convert.h"

namespace tirmo::test {

namespace {

std::string OneDecimal(double v, const std::string& decimal)
{
    std::string s = platform::Format(v, "0.0");
    std::replace(s.begin(), s.end(), '.', decimal.empty() ? '.' : decimal[0]);
    return s;
}

void Spill(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

}  // namespace

std::string ActivityFileText(const std::vector<ActivityRow>& rows, const std::string& decimal)
{
    std::string s = "\"2025/01/31_14:05:12\" \"<Raw_activity_file_without_internal_factor_correction>\"\r\n"
                    "\"Time[m]\" \"Well\" \"Accumulated_activity\"\r\n";
    for (const auto& r : rows)
        s += OneDecimal(r.minutes, decimal) + " \"" + r.well + "\" " + platform::Format(r.accumulated, "0") + "\r\n";
    return s;
}

std::string TemperatureFileText(const std::vector<TemperatureRow>& rows, const std::string& decimal)
{
    std::string s = "\"2025/01/31_14:05:12\"\r\n\"Time[m]\" \"Temperature[C]\"\r\n";
    for (const auto& r : rows) s += OneDecimal(r.minutes, decimal) + " " + OneDecimal(r.celsius, decimal) + "\r\n";
    return s;
}

std::string SubprojectText(const std::string& title, int acqMinutes, const std::string& format)
{
    return title + "\r\nacq_time=" + std::to_string(acqMinutes) + "\r\nplate_format=" + format + "\r\n";
}

void WriteSyntheticRun(const std::string& folder, const SyntheticRun& run)
{
    const plate::PlateSize size = plate::FormatSize(run.format);
    // The wells in reading order: camera, then window (row of the camera's field), then column.
    std::vector<std::tuple<int, int, int, int>> order;  // camera, local row, well number, row
    for (int c = 0; c < size.columns; ++c)
        for (int r = 0; r < size.rows; ++r) {
            const plate::FieldPlace f = plate::DefaultField(size, r, c);
            order.emplace_back(f.camera, f.localRow, f.localColumn, c * size.rows + r);
        }
    std::sort(order.begin(), order.end());
    std::vector<double> total(size_t(size.wells()), 0.0);
    std::string activity = ActivityFileText({});
    std::string temps = TemperatureFileText({});
    for (int k = 0; k < run.scans; ++k) {
        int window = -1, lastCamera = -1, lastRow = -1;
        for (const auto& [camera, localRow, localColumn, well] : order) {
            if (camera != lastCamera || localRow != lastRow) {
                ++window;
                lastCamera = camera;
                lastRow = localRow;
                const double minutes = (k * run.scan_seconds + window * 0.5) / 60.0;
                temps += OneDecimal(minutes, ".") + " " + OneDecimal(run.temperature(k), ".") + "\r\n";
            }
            const double minutes = (k * run.scan_seconds + window * 0.5) / 60.0;
            total[size_t(well)] += run.count(well, k);
            activity += OneDecimal(minutes, ".") + " \"" + plate::WellName(well % size.rows, well / size.rows) +
                        "\" " + platform::Format(total[size_t(well)], "0") + "\r\n";
        }
    }
    Spill(folder + "/subpj.dat", SubprojectText("synthetic", (run.scans * run.scan_seconds) / 60, run.format));
    Spill(folder + "/current_activity.txt", activity);
    Spill(folder + "/current_temperature.txt", temps);
}

}  // namespace tirmo::test
