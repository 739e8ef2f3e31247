// One report of a day-long w96f recording (a scan every 30 seconds, 96 wells, 24 camera windows
// a scan: 276 576 activity rows and 69 144 temperature rows), from its run files to the written
// report, with the blank, the factors, the spike filter and 12 groups. The counter
// read_multiple is the report's time over the time of simply reading the same run files line
// by line; the target is 2 or less.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "reports/ReportWriter.h"
#include "reports/RunFileLoader.h"
#include "support/RunFiles.h"
#include "support/TempFolder.h"

namespace {

using namespace tirmo;

const char* const kRunFiles[] = {"subpj.dat",      "current_activity.txt", "current_temperature.txt", "chgroup.dat",
                                 "blank_w96f.dat", "factor_correction.txt", "serial.dat"};

struct DayRecording {
    test::TempFolder program;
    std::string folder;

    DayRecording()
    {
        platform::SetProgramFolder(program.path());
        folder = platform::ProgramPath("reports/proj/20250131_000000_day");
        platform::MakeFolder(folder);
        test::SyntheticRun run;
        run.format = "w96f";
        run.scans = 2881;
        run.scan_seconds = 30;
        run.count = [](int well, int scan) { return double((well * 7 + scan * 13) % 23 + (scan % 97 == 5 ? 400 : 0)); };
        run.temperature = [](int scan) { return 24.0 + (scan % 50) / 10.0; };
        test::WriteSyntheticRun(folder, run);
        std::ofstream(folder + "/serial.dat", std::ios::binary) << "SN57\r\n";
        std::string blank = "20250130_100000_blank_x\r\nacqlapse=0060\r\n\"#well\",\"Value\"\r\n";
        for (int w = 0; w < 384; ++w) blank += std::to_string(w) + "," + std::to_string(w < 96 ? w % 5 : 0) + "\r\n";
        std::ofstream(folder + "/blank_w96f.dat", std::ios::binary) << blank;
        std::string factors = "\"2025/01/31_00:00:00_DEFAULT=1.0\"\r\nwell";
        std::string values = "mult_factor";
        for (int w = 0; w < 96; ++w) {
            factors += " " + std::string(1, char('A' + w % 8)) + std::to_string(w / 8 + 1);
            values += w % 2 ? " 1.10" : " 0.95";
        }
        std::ofstream(folder + "/factor_correction.txt", std::ios::binary) << factors + "\r\n" + values + "\r\n\r\n";
        std::string groups = "#Well, Group, name\r\n";
        for (int w = 0; w < 384; ++w)
            groups += std::to_string(w) + "," + (w < 96 ? std::to_string(w / 8 + 1) + ",\"G\"" : "-1,\"Free\"") + "\r\n";
        std::ofstream(folder + "/chgroup.dat", std::ios::binary) << groups;
    }
};

DayRecording& Recording()
{
    static DayRecording recording;
    return recording;
}

void BM_DayReport(benchmark::State& state, const char* bin)
{
    DayRecording& day = Recording();
    reports::ReportOptions options;
    options.bin_text = bin;
    options.blank = true;
    options.noise = true;
    options.intref = reports::InternalReference::Apply;
    reports::ReportEnvironment env;
    double readMs = 0, reportMs = 0, bytes = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        size_t lines = 0;
        for (const char* name : kRunFiles) lines += platform::ReadLines(day.folder + "/" + name)->size();
        benchmark::DoNotOptimize(lines);
        const auto t1 = std::chrono::steady_clock::now();
        const reports::LoadedAcquisition loaded = reports::LoadAcquisition(day.folder);
        const reports::ReportOutcome out = reports::GenerateReport(loaded.data, day.folder, options, env);
        const auto t2 = std::chrono::steady_clock::now();
        if (out.result != reports::ReportOutcome::Result::Written) {
            state.SkipWithError("the report was not written");
            break;
        }
        bytes = double(std::filesystem::file_size(out.path));
        std::filesystem::remove(out.path);
        readMs += std::chrono::duration<double, std::milli>(t1 - t0).count();
        reportMs += std::chrono::duration<double, std::milli>(t2 - t1).count();
    }
    if (readMs > 0) {
        state.counters["read_multiple"] = reportMs / readMs;
        state.counters["read_ms"] = readMs / double(state.iterations());
        state.counters["report_ms"] = reportMs / double(state.iterations());
        state.counters["report_bytes"] = bytes;
    }
}

BENCHMARK_CAPTURE(BM_DayReport, bins_60min, "60")->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK_CAPTURE(BM_DayReport, scan_time, reports::kScanTime)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

}  // namespace

// BENCHMARK_MAIN is FrameFetch_bench.cpp's: all benchmarks make one program.
