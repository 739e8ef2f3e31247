// The heat-map load of a day-long w6 recording: six pixel files (one well each, a disc of about
// 7 850 pixels in 100 image rows), a scan every 13.2 seconds (six windows of eleven 200 ms
// frames) for 24 hours, about a twentieth of each disc active in a scan. The files come to about
// 0.8 GB.
// - heatmap_read_multiple: the load's time over the time of reading the same files line by line
//   into one string (std::getline); the target is 3 or less.
// - heatmap_peak_mb: the peak resident memory of a process that does nothing but the load, in
//   MB; the target is 200 or less.
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "reports/HeatMapStore.h"
#include "reports/PixelActivityFile.h"
#include "support/TempFolder.h"

namespace {

using namespace tirmo;

constexpr int kScans = 24 * 3600 * 10 / 132;
constexpr int kRows = 100;
constexpr int kPixels = 100;

struct DayPixelFiles {
    test::TempFolder folder;

    DayPixelFiles()
    {
        uint32_t random = 12345;
        auto next = [&random] { return random = random * 1664525u + 1013904223u; };
        for (int camera = 0; camera < 6; ++camera) {
            const std::string well = std::string(1, char('A' + camera % 2)) + std::to_string(camera / 2 + 1);
            std::FILE* f = std::fopen((folder.path() + "/" + reports::PixelActivityFileName(camera, 0)).c_str(), "wb");
            std::string text;
            for (int scan = 0; scan < kScans; ++scan) {
                text = "scan," + std::to_string(scan) + "\r\ntime[m],\"" + std::to_string(scan * 22 / 100) + "." +
                       std::to_string(scan * 22 / 10 % 10) + "\"\r\n";
                for (int row = 0; row < kRows; ++row) {
                    text += well + "," + std::to_string(row + 20);
                    for (int p = 0; p < kPixels; ++p) {
                        const int dy = row - 50, dx = p - 50;
                        if (dx * dx + dy * dy > 50 * 50) text += ",-";
                        else if (next() % 20 == 0) text += "," + std::to_string(1 + next() % 10);
                        else text += ",0";
                    }
                    text += "\r\n";
                }
                text += "\r\n";
                std::fwrite(text.data(), 1, text.size(), f);
            }
            std::fclose(f);
        }
    }
};

DayPixelFiles& Files()
{
    static DayPixelFiles files;
    return files;
}

// The load alone in a child process: its peak resident set, in MB.
double LoadPeakMegabytes(const std::string& folder)
{
    const pid_t child = ::fork();
    if (child == 0) {
        std::atomic<bool> stop{false};
        const auto load = reports::LoadHeatMap(folder, "w6", stop);
        ::_exit(load.outcome == reports::HeatMapOutcome::Loaded ? 0 : 1);
    }
    int status = 0;
    struct rusage usage {};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return double(usage.ru_maxrss) / 1024.0;
}

void BM_HeatMapDayLoad(benchmark::State& state)
{
    const std::string folder = Files().folder.path();
    double readMs = 0, loadMs = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        size_t lines = 0;
        std::string line;
        for (int camera = 0; camera < 6; ++camera) {
            std::ifstream in(folder + "/" + reports::PixelActivityFileName(camera, 0), std::ios::binary);
            while (std::getline(in, line)) ++lines;
        }
        benchmark::DoNotOptimize(lines);
        const auto t1 = std::chrono::steady_clock::now();
        std::atomic<bool> stop{false};
        const auto load = reports::LoadHeatMap(folder, "w6", stop);
        const auto t2 = std::chrono::steady_clock::now();
        if (load.outcome != reports::HeatMapOutcome::Loaded || load.store.last_scan != kScans - 1) {
            state.SkipWithError("the recording did not load");
            return;
        }
        readMs += std::chrono::duration<double, std::milli>(t1 - t0).count();
        loadMs += std::chrono::duration<double, std::milli>(t2 - t1).count();
    }
    state.counters["heatmap_read_multiple"] = loadMs / readMs;
    state.counters["heatmap_load_ms"] = loadMs / double(state.iterations());
    state.counters["heatmap_peak_mb"] = LoadPeakMegabytes(folder);
}

BENCHMARK(BM_HeatMapDayLoad)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

}  // namespace
