// The instrument simulator as a program of its own, so the whole program can be run and shown
// without an instrument:
//
//     build/tirmo-sim --serial 57 --com 4 &    # prints the terminal it answers on
//     TIRMO_COM4=/dev/pts/N build/tirmo
//
// It answers until it is stopped (Ctrl+C) and prints every frame it receives.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "sim/InstrumentSimulator.h"

namespace {
volatile std::sig_atomic_t stopping = 0;
void onSignal(int) { stopping = 1; }
}  // namespace

int main(int argc, char** argv)
{
    int serial = 57, com = 0;
    for (int i = 1; i + 1 < argc; ++i) {
        std::string a = argv[i];
        if (a == "--serial") serial = std::atoi(argv[++i]);
        else if (a == "--com") com = std::atoi(argv[++i]);
    }
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    tirmo::sim::InstrumentSimulator sim;
    sim.with([serial](tirmo::sim::SimState& s) { return s.serialNumber = serial; });
    if (com > 0) std::printf("TIRMO_COM%d=%s\n", com, sim.devicePath().c_str());
    else std::printf("%s\n", sim.devicePath().c_str());
    std::fflush(stdout);
    size_t shown = 0;
    while (!stopping) {
        ::usleep(50000);
        auto frames = sim.frames();
        for (; shown < frames.size(); ++shown) {
            const auto& f = frames[shown];
            std::printf("frame %c a=%d b=%d\n", f.letter >= 32 && f.letter < 127 ? f.letter : '?', f.a, f.b);
        }
        std::fflush(stdout);
    }
    return 0;
}
