#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <string>

#include "sim/InstrumentSimulator.h"

// The windows are real Qt widgets; the tests drive them without a display, on a screen of the
// smallest desktop the windows are laid out for (1366 x 768). The platform is set here rather
// than in CTest because test discovery runs this binary at build time.
int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen:configfile=" TIRMO_TESTS_DIR "/support/screen-1366x768.json", 1);
    // No test may reach a real serial port: every COM number maps to "no such port" unless a
    // test attaches the simulator to it.
    for (int n = 1; n <= 16; ++n) setenv(("TIRMO_COM" + std::to_string(n)).c_str(), "", 1);
    // Every simulator checks what it received; a broken or interleaved frame that the test did
    // not declare fails the test that caused it.
    tirmo::sim::InstrumentSimulator::SetFramingReport([](const std::string& message) { ADD_FAILURE() << message; });
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
