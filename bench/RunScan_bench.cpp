// One full scan of the acquisition run (every camera window of the plate, eleven frames each,
// the thermostat every third frame) against the simulator on a line emulated at 115200 baud,
// the tick called as the timer calls it: every 200 ms, or as soon as the tick before ended when
// its fetch took longer. The counter cycle_per_wire is the scan's wall time over the time it
// needs by design: per tick, the longer of the tick interval and the tick's bytes on the line
// (both ways, 10 bits a byte) plus the pauses the program makes (settling waits between
// commands). 1.00 means the program adds nothing; the target is 1.10 or less.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "SimulatorLink.h"
#include "acquisition/AcquisitionTick.h"
#include "acquisition/RunControls.h"
#include "app/Frm_acquire.h"
#include "link/CommPort.h"
#include "link/Session.h"
#include "plate/BandFiles.h"
#include "plate/PlateSpecFile.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "sim/InstrumentSimulator.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"

namespace {

using namespace tirmo;
using Steady = std::chrono::steady_clock;

constexpr long kBaud = 115200;

double msSince(Steady::time_point t0) { return std::chrono::duration<double, std::milli>(Steady::now() - t0).count(); }

// The real clock, adding up the pauses the program asks for.
class PauseCountingClock : public platform::Clock {
public:
    PauseCountingClock() { platform::setClock(this); }
    ~PauseCountingClock() override { platform::setClock(nullptr); }
    std::chrono::system_clock::time_point wallNow() override { return std::chrono::system_clock::now(); }
    double monotonicMs() override { return msSince(origin_); }
    void sleepMs(int ms) override
    {
        pausedMs += ms;
        if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
    double pausedMs = 0;

private:
    Steady::time_point origin_ = Steady::now();
};

void BM_RunScan(benchmark::State& state, const char* format)
{
    test::TempFolder folder;
    platform::SetProgramFolder(folder.path());
    test::ScriptedDialogs boxes;
    test::ScopedDialogs installed(boxes);
    PauseCountingClock clock;

    app::InstrumentState shared;
    link::Session& session = shared.session;
    sim::InstrumentSimulator instrument;
    if (!bench::OpenSimulatorLink(state, instrument, session)) return;
    session.serial_number = 58;
    session.hardware_generation = 2;
    session.default_gain = 20;
    session.default_exposure = 28;
    const bool w6 = std::string(format) == "w6";
    if (!(w6 ? plate::WriteW6ColumnFile("\\config_SN58") && plate::WriteW6RowFile("\\config_SN58") &&
                   plate::WriteW6SpecFile("\\config")
             : plate::WriteW24ColumnFile("\\config_SN58") && plate::WriteW24RowFile("\\config_SN58") &&
                   plate::WriteW24SpecFile("\\config"))) {
        state.SkipWithError("cannot write the plate files");
        return;
    }
    const std::string runFolder = folder.path() + "/reports/default_project/run1";
    std::filesystem::create_directories(runFolder);

    auto window = std::make_unique<app::Frm_acquire>(shared);
    window->unloaded = true;
    if (!w6) boxes.expectMessage(std::string("Change Plate to ") + format, ui::MsgResult::Yes);
    window->cmb_well->SetText(format);
    window->txtlapse->SetText("600");  // far longer than the scan: the run goes on
    instrument.setBaudEmulation(kBaud);

    const double byteMs = 10.0 * 1000.0 / double(kBaud);
    long written = 0;
    link::SetWriteObserver([&written](int, const std::string& data) { written += long(data.size()); });
    double wallMs = 0, designMs = 0;
    long ticks = 0;
    for (auto _ : state) {
        if (window->run->ArmRun(runFolder, "run1") != 1) {
            state.SkipWithError("the run did not start");
            break;
        }
        const auto start = Steady::now();
        auto due = start;
        while (session.run_state == 1 && window->run->scan_counter == 0) {
            std::this_thread::sleep_until(due);
            const auto tickStart = Steady::now();
            const long before = written + instrument.sentBytes();
            const double pausedBefore = clock.pausedMs;
            window->run->Timer2_Timer();
            const double onLine = double(written + instrument.sentBytes() - before) * byteMs;
            designMs += std::max(double(acquisition::kTickIntervalMs), onLine + clock.pausedMs - pausedBefore);
            due = std::max(tickStart + std::chrono::milliseconds(acquisition::kTickIntervalMs), Steady::now());
            ++ticks;
        }
        // The scan ends where the next tick would start.
        std::this_thread::sleep_until(due);
        wallMs += msSince(start);
        if (session.run_state != 1) {
            state.SkipWithError("the run stopped during the scan");
            break;
        }
        window->run->StopPlayRun();
    }
    link::SetWriteObserver({});
    if (designMs > 0) {
        state.counters["cycle_per_wire"] = wallMs / designMs;
        state.counters["design_s"] = designMs / 1000.0 / double(state.iterations());
        state.counters["ticks"] = double(ticks) / double(state.iterations());
    }
    window.reset();
    link::CommCloseAll();
    ::setenv("TIRMO_COM4", "", 1);
}

BENCHMARK_CAPTURE(BM_RunScan, w6, "w6")->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
BENCHMARK_CAPTURE(BM_RunScan, w24, "w24")->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
