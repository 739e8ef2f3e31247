#pragma once
// A simulator on a pseudo-terminal with the program's link open to it, the way the start-up
// leaves it, and a console that records what the device routines show.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/InstrumentState.h"
#include "link/Protocol.h"
#include "sim/InstrumentSimulator.h"

namespace tirmo::test {

class RecordingConsole : public link::Console {
public:
    explicit RecordingConsole(link::Session& session) : link::Console(session) {}
    void SetStatus(const std::string& text) override { status.push_back(text); }
    void SetMonitor(const std::string& text) override { monitor.push_back(text); }
    bool ShowComm() const override { return showComm; }
    void ShowError(const std::string& text) override { errors.push_back(text); }
    std::string lastStatus() const { return status.empty() ? "" : status.back(); }
    std::string lastMonitor() const { return monitor.empty() ? "" : monitor.back(); }

    std::vector<std::string> status, monitor, errors;
    bool showComm = false;
};

// Shortens the serial read time-outs for tests that must wait for silence, restoring them after.
class QuickTimeouts {
public:
    explicit QuickTimeouts(int intervalMs = 10, int totalMs = 30);
    ~QuickTimeouts();

private:
    int interval_, total_;
};

// Every write the program makes, stamped with the program's clock when it went out. With a fake
// clock installed the stamps are exact, so the pauses between bytes can be checked without
// depending on how fast the machine runs.
class WriteRecorder {
public:
    WriteRecorder();
    ~WriteRecorder();
    struct Write {
        double atMs;
        std::string data;
    };
    std::vector<Write> writes;
    // Gaps between consecutive writes, in ms.
    std::vector<double> gaps() const;
};

class LinkFixture : public ::testing::Test {
protected:
    static constexpr int kPort = 4;
    void SetUp() override;
    void TearDown() override;
    // The bytes of each received frame, in order, as (letter, a, b) text "L,255,7".
    std::vector<std::string> frameList() const;

    std::unique_ptr<sim::InstrumentSimulator> sim;
    // The state a window is made over; its session has the link open to the simulator.
    app::InstrumentState instrument;
    link::Session& session = instrument.session;
    RecordingConsole console{session};
};

}  // namespace tirmo::test
