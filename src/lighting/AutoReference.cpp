#include "lighting/AutoReference.h"

#include <algorithm>
#include <ctime>
#include <fstream>

#include "platform/Convert.h"

namespace tirmo::lighting {
namespace {

constexpr int kCameras = 6;

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// The results file, line by line as the round goes: a Stop leaves the lines written so far.
class ResultsFile {
public:
    explicit ResultsFile(const std::string& path) : out_(path, std::ios::binary | std::ios::trunc) {}
    void line(const std::string& text)
    {
        if (out_) out_ << text << "\r\n";
    }
    bool good() const { return bool(out_); }

private:
    std::ofstream out_;
};

}  // namespace

std::string CalibrationResultsName(std::chrono::system_clock::time_point when)
{
    const std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[48];
    // The day of the year is written as a plain number (1..366), the other fields with two digits.
    std::snprintf(buf, sizeof buf, "%02d%d%02d%02d%02d%02d", tm.tm_year % 100, tm.tm_yday + 1, tm.tm_mon + 1, tm.tm_mday,
                  tm.tm_hour, tm.tm_min);
    return std::string(buf) + "_calibration.csv";
}

std::string RoundWindowLine(const RoundWindow& w)
{
    return quoted("X:") + "," + std::to_string(w.xini) + "," + std::to_string(w.xfin) + "," + quoted(" Y:") + "," +
           std::to_string(w.yini) + "," + std::to_string(w.yfin);
}

std::string RoundPowerLine(const LedMap& map)
{
    std::string s = quoted("led_power");
    for (int led = 0; led < kLedCount; ++led) s += "," + std::to_string(map.power[size_t(led)]);
    return s;
}

std::string RoundFrameLine(int camera, int window, std::string_view frame)
{
    std::string s = quoted("C" + std::to_string(camera) + "R" + std::to_string(window));
    s.reserve(s.size() + frame.size() * 4);
    for (char c : frame) s += "," + std::to_string(int(static_cast<unsigned char>(c)));
    return s;
}

std::string DummyWindowFrame(long pixelCount, AutoReferenceHost& host)
{
    std::string frame;
    for (long p = 0; p < pixelCount; ++p) frame += char(std::clamp(host.RandomGrey(), 0, 255));
    return frame;
}

AutoReferenceOutcome AutoCalibrateCameras(AutoReferenceHost& host, const std::string& folder,
                                          std::chrono::system_clock::time_point start)
{
    AutoReferenceOutcome out;
    out.path = folder + "/" + CalibrationResultsName(start);
    ResultsFile file(out.path);
    if (!file.good()) {
        out.fileWritten = false;
        host.Status("Could not create the calibration results file " + out.path);
    }
    host.BeginRound();
    file.line(quoted("Calibration Results:"));

    auto stop = [&] {
        out.stopped = true;
        out.fileWritten = out.fileWritten && file.good();
        return out;
    };
    for (int c = 0; c < kCameras; ++c) {
        if (!host.CameraInUse(c)) continue;
        if (host.StopRequested()) return stop();
        host.ShowCamera(c);
        host.CalibrateLedPower(c);
        if (host.StopRequested()) return stop();
        host.ApplyLedPower(c);
        const int windows = host.WindowCount(c);
        for (int w = 0; w < windows; ++w) {
            host.ShowRunSettings();
            const RoundWindow boxes = host.ApplyCameraWindow(c, w);
            if (host.StopRequested()) return stop();
            std::string frame;
            if (host.DummyMode()) {
                frame = DummyWindowFrame(boxes.pixelCount, host);
            } else {
                host.ReadCameraScan(c, w);  // the first frame after the window change only settles it
                if (host.StopRequested()) return stop();
                frame = host.ReadCameraScan(c, w);
                if (host.StopRequested()) return stop();
            }
            if (frame.empty() || frame.compare(0, 5, "Error") == 0) continue;
            file.line(RoundWindowLine(boxes));
            file.line(RoundPowerLine(host.Map()));
            file.line(RoundFrameLine(c, w, frame));
            ++out.windows;
            host.DrawCalibrationWellGrid(c, w, frame);
            if (host.StopRequested()) return stop();
            host.CentreLedMap(c, w, frame);
            if (host.StopRequested()) return stop();
            if (!host.WriteLedPower()) host.Status("Could not write the LED powers after centring CAM[" + std::to_string(c) + "]");
            if (host.StopRequested()) return stop();
            host.ApplyLedPower(c);
            if (host.StopRequested()) return stop();
            const std::string after = host.DummyMode() ? std::string() : host.ReadCameraScan(c, w);
            if (host.StopRequested()) return stop();
            file.line(RoundPowerLine(host.Map()));
            file.line(RoundFrameLine(c, w, after.compare(0, 5, "Error") == 0 ? std::string_view() : after));
            if (host.StopRequested()) return stop();
            host.DrawCalibrationWellGrid(c, w, after);
        }
    }
    host.EndRound();
    out.fileWritten = out.fileWritten && file.good();
    return out;
}

std::vector<GridDot> CalibrationGridDots(const CentringPlate& plate, const CentringWindow& window, int plateRows,
                                         int plateColumns)
{
    std::vector<GridDot> dots;
    if (plateRows <= 0 || plateColumns <= 0) return dots;
    const int c = window.camera;
    const int firstColumn = plate.columns.first[size_t(std::clamp(c, 0, 6))];
    const int firstRow = plate.rows.first[size_t(std::clamp(c, 0, 6))];
    const double rowWidth = plate.rows.endOf(c, window.window) - plate.rows.startOf(c, window.window);
    if (rowWidth <= 0) return dots;
    const long pixels = std::min<long>(window.pixelCount, long(window.frame.size()));
    for (int r = 0; r < plate.columns.count(c); ++r) {
        const double columnWidth = plate.columns.endOf(c, r) - plate.columns.startOf(c, r);
        if (columnWidth <= 0) continue;
        const int well = (firstColumn + r) * plateRows + firstRow + window.window;
        const double bx = platform::RoundHalfEven(100.0 / plateColumns * (firstColumn + r));
        const double by = platform::RoundHalfEven(250.0 / plateRows * (firstRow + window.window));
        for (long p = 1; p <= pixels; ++p) {
            const PixelPlace place = window.place(p);
            if (place.well != well) continue;
            GridDot d;
            d.x = place.columnOffset / columnWidth * 100.0 / plateColumns + bx;
            d.y = place.rowOffset / rowWidth * 250.0 / plateRows + by;
            d.grey = static_cast<unsigned char>(window.frame[size_t(p - 1)]);
            dots.push_back(d);
        }
    }
    return dots;
}

}  // namespace tirmo::lighting
