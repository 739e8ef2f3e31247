#pragma once
// Run files of an acquisition folder in the layout a run writes them, for tests and
// benchmarks of what reads them back: current_activity.txt rows of accumulated counts,
// current_temperature.txt rows, subpj.dat, and a whole synthetic recording.
#include <functional>
#include <string>
#include <vector>

namespace tirmo::test {

struct ActivityRow {
    double minutes = 0;
    std::string well;
    double accumulated = 0;
};
struct TemperatureRow {
    double minutes = 0;
    double celsius = 0;
};

// The files' texts; decimal is the separator the recording machine's locale wrote.
std::string ActivityFileText(const std::vector<ActivityRow>& rows, const std::string& decimal = ".");
std::string TemperatureFileText(const std::vector<TemperatureRow>& rows, const std::string& decimal = ".");
std::string SubprojectText(const std::string& title, int acqMinutes, const std::string& format);

// A recording as a run of the default camera fields makes it: every scan reads the windows
// (one row of wells of one camera) camera by camera, each window half a second after the one
// before, and writes one temperature row per window.
struct SyntheticRun {
    std::string format = "w96f";
    int scans = 0;             // scans 0..scans-1
    int scan_seconds = 30;     // scan k starts at k x scan_seconds
    // The activity of a well (0..) in a scan; the files carry its running sum.
    std::function<double(int well, int scan)> count;
    std::function<double(int scan)> temperature = [](int) { return 25.0; };
};
// Writes subpj.dat, current_activity.txt and current_temperature.txt into folder.
void WriteSyntheticRun(const std::string& folder, const SyntheticRun& run);

}  // namespace tirmo::test
