// SEND of all five calibration sets against the simulator on a line emulated at 115200 baud.
// The counter write_per_wire is the measured time over the time the backup needs by design: its
// bytes and the instrument's answers on the line at 10 bits a byte, plus the pauses the memory
// protocol prescribes (10 ms after each frame, 1 ms after each byte and empty read, the pauses
// around groups, commits and read-backs), taken as the program asked for them. 1.00 means the
// program adds nothing; the target is 1.10 or less.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "SimulatorLink.h"
#include "devicememory/CalibrationWriters.h"
#include "devicememory/LinkFlashPort.h"
#include "link/CommPort.h"
#include "link/Session.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "sim/InstrumentSimulator.h"
#include "support/FactoryCalibration.h"
#include "support/ProgramFiles.h"
#include "support/TempFolder.h"

namespace {

using namespace tirmo;

constexpr long kBaud = 115200;

class QuietConsole : public link::Console {
public:
    using link::Console::Console;
    void SetStatus(const std::string&) override {}
    void SetMonitor(const std::string&) override {}
    void ShowError(const std::string&) override {}
};

// The real clock, counting the pauses asked of it.
class PauseCounter : public platform::Clock {
public:
    explicit PauseCounter(platform::Clock& real) : real_(real) {}
    std::chrono::system_clock::time_point wallNow() override { return real_.wallNow(); }
    double monotonicMs() override { return real_.monotonicMs(); }
    void sleepMs(int ms) override
    {
        asked += ms;
        real_.sleepMs(ms);
    }
    double asked = 0;

private:
    platform::Clock& real_;
};

void BM_SendAllSets(benchmark::State& state)
{
    test::TempFolder folder;
    platform::SetProgramFolder(folder.path());
    const test::FactoryCalibration factory = test::WriteFactoryCalibration("config_SN57");
    for (const char* f : {"w6", "p35", "w24"}) {
        const std::string name = std::string("blank_") + f + ".dat";
        test::WriteProgramFile("reports/_internal_blank_measurementSN57/" + name, factory.sources.at(name));
    }
    link::Session session;
    session.serial_number = 57;
    sim::InstrumentSimulator instrument;
    if (!bench::OpenSimulatorLink(state, instrument, session)) return;
    instrument.setBaudEmulation(kBaud);
    QuietConsole console(session);
    PauseCounter pauses(platform::clock());
    platform::setClock(&pauses);

    const double byteMs = 10.0 * 1000.0 / double(kBaud);
    double wallMs = 0, wireMs = 0;
    for (auto _ : state) {
        devicememory::LinkFlashPort port(console);
        devicememory::WriterContext context{port, 57, {}, {}};
        pauses.asked = 0;
        const long answered0 = instrument.sentBytes();
        const auto t0 = std::chrono::steady_clock::now();
        const bool done = devicememory::SendCalibrationSets({true, true, true, true, true}, context);
        const auto t1 = std::chrono::steady_clock::now();
        if (!done) {
            state.SkipWithError("SEND did not write every set");
            break;
        }
        wallMs += std::chrono::duration<double, std::milli>(t1 - t0).count();
        wireMs += pauses.asked + double(port.written + instrument.sentBytes() - answered0) * byteMs;
    }
    platform::setClock(nullptr);
    if (wireMs > 0) {
        state.counters["write_per_wire"] = wallMs / wireMs;
        state.counters["design_ms"] = wireMs / double(state.iterations());
    }
    link::CommCloseAll();
    ::setenv("TIRMO_COM4", "", 1);
}

BENCHMARK(BM_SendAllSets)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace
