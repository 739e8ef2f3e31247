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
#include "sim/SimFlash.h"
#include "sim/SimLitPlate.h"

namespace {
volatile std::sig_atomic_t stopping = 0;
volatile std::sig_atomic_t silence = 0;  // 1: go silent, 2: answer again, 0: nothing asked
void onSignal(int) { stopping = 1; }
void onSilence(int signal) { silence = signal == SIGUSR1 ? 1 : 2; }

constexpr const char* kHelp =
    "Usage: tirmo-sim [--serial N] [--com N] [--flash DIR] [--drop-echo N] [--empty-stage]\n"
    "\n"
    "Plays the tirmo instrument on a pseudo-terminal until it is stopped (Ctrl+C), and prints\n"
    "every frame it receives. Needs no display.\n"
    "\n"
    "SIGUSR1 makes it fall silent with the line open (a hung adapter), SIGUSR2 makes it answer\n"
    "again; stopping it hangs the line up, as unplugging would.\n"
    "\n"
    "Options:\n"
    "  --serial N   serial number the instrument answers with (default 57)\n"
    "  --com N      print the terminal as TIRMO_COM<N>=/dev/pts/M, ready to give to tirmo\n"
    "               (without it only the terminal is printed)\n"
    "  --flash DIR  fill the calibration memory from the calibration files in DIR (band files,\n"
    "               ledxy.dat, tempfactor.dat, intfactor_*.dat, blank_*.dat), as a backup\n"
    "               leaves it; without it the memory is erased\n"
    "  --drop-echo N  leave the echo of the N-th memory buffer byte unanswered (the byte is\n"
    "               still taken), as a lost byte on the line would\n"
    "  --empty-stage  no plate on the stage: the cameras see each lit LED's rectangle (for the\n"
    "               light calibrations)\n"
    "  --help, -h   show this text and exit\n"
    "\n"
    "Example:\n"
    "  build/tirmo-sim --serial 57 --com 4 &\n"
    "  TIRMO_COM1= TIRMO_COM2= TIRMO_COM3= TIRMO_COM4=/dev/pts/M build/tirmo\n";

// A whole number option value; false when it is missing or not a number.
bool wholeValue(int argc, char** argv, int& i, int& out)
{
    if (i + 1 >= argc) return false;
    char* end = nullptr;
    const long v = std::strtol(argv[++i], &end, 10);
    if (end == argv[i] || *end != '\0' || v < 0 || v > 65535) return false;
    out = int(v);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    int serial = 57, com = 0;
    std::string flashFolder;
    bool emptyStage = false;
    int dropEcho = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        bool ok = true;
        if (a == "--help" || a == "-h") {
            std::fputs(kHelp, stdout);
            return 0;
        } else if (a == "--serial") ok = wholeValue(argc, argv, i, serial);
        else if (a == "--com") ok = wholeValue(argc, argv, i, com);
        else if (a == "--flash" && i + 1 < argc) flashFolder = argv[++i];
        else if (a == "--drop-echo") ok = wholeValue(argc, argv, i, dropEcho) && dropEcho > 0;
        else if (a == "--empty-stage") emptyStage = true;
        else ok = false;
        if (!ok) {
            std::fprintf(stderr, "tirmo-sim: bad option or value near \"%s\"\n\n%s", a.c_str(), kHelp);
            return 2;
        }
    }
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::signal(SIGUSR1, onSilence);
    std::signal(SIGUSR2, onSilence);
    tirmo::sim::InstrumentSimulator sim;
    sim.with([serial](tirmo::sim::SimState& s) { return s.serialNumber = serial; });
    if (!flashFolder.empty()) {
        const auto records =
            sim.with([&](tirmo::sim::SimState& s) { return tirmo::sim::LoadFlashImage(s.flash, flashFolder); });
        std::fprintf(stderr, "calibration memory: %zu records from %s\n", records.size(), flashFolder.c_str());
    }
    if (dropEcho > 0) sim.with([dropEcho](tirmo::sim::SimState& s) { s.flash.dropEchoes(dropEcho - 1, 1); return 0; });
    if (emptyStage)
        sim.with([](tirmo::sim::SimState& s) { return tirmo::sim::InstallEmptyStage(s, tirmo::sim::StageLedGrid(), 20.0); });
    if (com > 0) std::printf("TIRMO_COM%d=%s\n", com, sim.devicePath().c_str());
    else std::printf("%s\n", sim.devicePath().c_str());
    std::fflush(stdout);
    size_t shown = 0;
    while (!stopping) {
        ::usleep(50000);
        if (silence != 0) {
            sim.setSilent(silence == 1);
            std::printf("%s\n", silence == 1 ? "silent" : "answering");
            silence = 0;
        }
        auto frames = sim.frames();
        for (; shown < frames.size(); ++shown) {
            const auto& f = frames[shown];
            std::printf("frame %c a=%d b=%d\n", f.letter >= 32 && f.letter < 127 ? f.letter : '?', f.a, f.b);
        }
        std::fflush(stdout);
    }
    return 0;
}
