// One camera-window fetch of the acquisition run against the simulator on a line emulated at
// 115200 baud. The counter wall_per_wire is the measured time over the time the transfer needs
// on the line: the bytes of the request and the block at 10 bits a byte, plus the pauses the
// fetch makes by design (1 ms after the flush and after each of the five request characters).
// 1.00 means the program adds nothing; the target is 1.05 or less.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <chrono>
#include <cstdlib>
#include <string>

#include "SimulatorLink.h"
#include "link/Session.h"
#include "camera/FrameTransfer.h"
#include "link/CommPort.h"
#include "sim/InstrumentSimulator.h"

namespace {

using namespace tirmo;

constexpr long kBaud = 115200;
constexpr double kRequestPausesMs = 1 + 5 * 1;

class QuietConsole : public link::Console {
public:
    using link::Console::Console;
    void SetStatus(const std::string&) override {}
    void SetMonitor(const std::string&) override {}
    void ShowError(const std::string&) override {}
};

void BM_WindowFetch(benchmark::State& state)
{
    const long pix = long(state.range(0)), lines = long(state.range(1));
    link::Session session;
    sim::InstrumentSimulator instrument;
    if (!bench::OpenSimulatorLink(state, instrument, session)) return;
    instrument.with([&](sim::SimState& s) {
        return s.cameras.windows[0] = sim::SimWindow{0, int(lines) - 1, 1, int(pix)};
    });
    instrument.setBaudEmulation(kBaud);

    QuietConsole console(session);
    const double byteMs = 10.0 * 1000.0 / double(kBaud);
    double wallMs = 0, wireMs = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        const camera::BlockFetch fetch = camera::FetchWindowBlock(0, pix, lines, console, {});
        const auto t1 = std::chrono::steady_clock::now();
        if (fetch.outcome != camera::BlockFetch::Outcome::Good || fetch.requests != 1) {
            state.SkipWithError("the fetch did not get one good block");
            break;
        }
        wallMs += std::chrono::duration<double, std::milli>(t1 - t0).count();
        wireMs += kRequestPausesMs + double(5 + fetch.block.size()) * byteMs;
    }
    if (wireMs > 0) {
        state.counters["wall_per_wire"] = wallMs / wireMs;
        state.counters["wire_ms"] = wireMs / double(state.iterations());
        state.counters["bytes"] = double(camera::ExpectedLength('+', pix, lines));
    }
    link::CommCloseAll();
    ::setenv("TIRMO_COM4", "", 1);
}

// The full default window (183 pixels x 143 lines) and a "w6" well window (156 x 136).
BENCHMARK(BM_WindowFetch)
    ->Args({183, 143})
    ->Args({156, 136})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

}  // namespace

// The run benchmarks drive the real windows: Qt runs offscreen, and no COM number but the one a
// benchmark attaches the simulator to reaches a port.
int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    for (int n = 1; n <= 16; ++n) setenv(("TIRMO_COM" + std::to_string(n)).c_str(), "", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
