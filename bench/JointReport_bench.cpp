// The joint report of ten day-long w24 recordings (a scan every 30 seconds: 2881 scans of 24
// wells, 69 144 activity rows each), with the outlier filter on. The counter
// joint_read_multiple is the joint report's time over the time of simply reading the same
// activity files line by line; the target is 3 or less.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "reports/JointReport.h"
#include "support/RunFiles.h"
#include "support/TempFolder.h"

namespace {

using namespace tirmo;

constexpr int kRecordings = 10;

struct TenDays {
    test::TempFolder program;
    std::vector<reports::JointSource> sources;

    TenDays()
    {
        platform::SetProgramFolder(program.path());
        for (int i = 0; i < kRecordings; ++i) {
            const std::string name = "2025013" + std::to_string(i % 2) + "_0" + std::to_string(i) + "0000_day";
            const std::string folder = platform::ProgramPath("reports/proj/" + name);
            platform::MakeFolder(folder);
            test::SyntheticRun run;
            run.format = "w24";
            run.scans = 2881;
            run.scan_seconds = 30;
            run.count = [i](int well, int scan) { return double((well * 7 + scan * 13 + i) % 23 + (scan % 97 == 5 ? 400 : 0)); };
            test::WriteSyntheticRun(folder, run);
            std::filesystem::copy_file(folder + "/current_activity.txt", folder + "/adjusted_activity.txt");
            sources.push_back({"proj", name});
        }
    }
};

void BM_JointReport(benchmark::State& state)
{
    static TenDays days;
    double readMs = 0, jointMs = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        size_t lines = 0;
        for (const auto& s : days.sources)
            lines += platform::ReadLines(platform::ProgramPath("reports/proj/" + s.acquisition + "/adjusted_activity.txt"))->size();
        benchmark::DoNotOptimize(lines);
        const auto t1 = std::chrono::steady_clock::now();
        const reports::JointOutcome out =
            reports::WriteJointReport(platform::ProgramPath("reports"), days.sources, true, std::chrono::system_clock::now());
        const auto t2 = std::chrono::steady_clock::now();
        if (!out.written) {
            state.SkipWithError("the joint report was not written");
            break;
        }
        std::filesystem::remove(platform::ProgramPath("reports/default_project/" + out.file_name));
        readMs += std::chrono::duration<double, std::milli>(t1 - t0).count();
        jointMs += std::chrono::duration<double, std::milli>(t2 - t1).count();
    }
    if (readMs > 0) {
        state.counters["joint_read_multiple"] = jointMs / readMs;
        state.counters["read_ms"] = readMs / double(state.iterations());
        state.counters["joint_ms"] = jointMs / double(state.iterations());
    }
}

BENCHMARK(BM_JointReport)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
