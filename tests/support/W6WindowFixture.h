#pragma once
// The main window on the simulator as a second-generation instrument, SN 58, with the default
// w6 band and plate layout files, message boxes answered from a script. The window is marked
// unloaded so that destroying it sends no shutdown frames.
#include <memory>

#include "app/Frm_acquire.h"
#include "support/LinkFixture.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

namespace tirmo::test {

class W6WindowFixture : public LinkFixture {
protected:
    void SetUp() override;
    void TearDown() override;
    // Switches to a w48 plate (four column slots and two windows per camera) as a user does:
    // its files in place, reference measurements enabled so that the list offers it, chosen.
    void chooseW48();

    TempFolder folder;  // the program folder
    ScriptedDialogs boxes;
    std::unique_ptr<ScopedDialogs> installed;
    std::unique_ptr<app::Frm_acquire> window;
};

}  // namespace tirmo::test
