#pragma once
// The main window in a temporary program folder, with scripted dialogs and, when a test asks,
// the simulator attached to a COM number.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/Frm_acquire.h"
#include "sim/InstrumentSimulator.h"
#include "support/FakeClock.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

namespace tirmo::test {

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Starts the simulator as COM<n> (serial number sn).
    void attachSimulator(int com, int serialNumber = 57);
    std::string readFile(const std::string& relative) const;
    std::vector<std::string> frameList() const;
    // Pauses of the program then take no real time (the simulator still answers in real time).
    void useFakeClock() { fakeClock = std::make_unique<FakeClock>(); }
    // Starts the program again: a new instrument state and a new main window over it (the old
    // window goes before the state it was made over).
    void restartProgram();

    TempFolder folder;
    ScriptedDialogs boxes;
    std::unique_ptr<ScopedDialogs> installed;
    std::unique_ptr<sim::InstrumentSimulator> sim;
    std::unique_ptr<app::InstrumentState> instrument;
    std::unique_ptr<app::Frm_acquire> window;
    int simCom = 0;
    std::unique_ptr<FakeClock> fakeClock;
};

}  // namespace tirmo::test
