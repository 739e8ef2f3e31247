#include "support/ScriptedDialogs.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace tirmo::ui;
using tirmo::test::ScopedDialogs;
using tirmo::test::ScriptedDialogs;

TEST(ScriptedDialogs, AnswersExpectedBoxesInOrder)
{
    ScriptedDialogs boxes;
    ScopedDialogs installed(boxes);
    boxes.expectMessage("Overwrite", MsgResult::No);
    boxes.expectInput("plate name", "P-17");
    boxes.expectMessage("saved");
    EXPECT_EQ(dialogs().messageBox("Overwrite plate.dat?", MsgButtons::YesNo), MsgResult::No);
    EXPECT_EQ(dialogs().inputBox("Enter the plate name"), "P-17");
    EXPECT_EQ(dialogs().messageBox("Plate saved."), MsgResult::Ok);
    EXPECT_EQ(boxes.shown(), (std::vector<std::string>{"Overwrite plate.dat?", "Enter the plate name", "Plate saved."}));
    EXPECT_EQ(boxes.pending(), 0u);
}

TEST(ScriptedDialogs, AnUnexpectedBoxFailsTheTestNamingItsText)
{
    ScriptedDialogs boxes;
    ScopedDialogs installed(boxes);
    EXPECT_NONFATAL_FAILURE(EXPECT_EQ(dialogs().messageBox("Lamp error 7"), MsgResult::Ok), "Lamp error 7");
    EXPECT_NONFATAL_FAILURE(EXPECT_EQ(dialogs().inputBox("Wavelength?"), ""), "Wavelength?");
}

TEST(ScriptedDialogs, AMismatchFailsAndKeepsTheExpectationForTheNextBox)
{
    ScriptedDialogs boxes;
    ScopedDialogs installed(boxes);
    boxes.expectMessage("Continue", MsgResult::Yes);
    EXPECT_NONFATAL_FAILURE(dialogs().messageBox("Something else", MsgButtons::YesNo), "Continue");
    EXPECT_NONFATAL_FAILURE(dialogs().inputBox("Continue?"), "expected a message box");
    EXPECT_EQ(dialogs().messageBox("Continue?", MsgButtons::YesNo), MsgResult::Yes);
}

TEST(ScriptedDialogs, AnAnswerTheBoxCannotGiveFails)
{
    ScriptedDialogs boxes;
    ScopedDialogs installed(boxes);
    boxes.expectMessage("Save", MsgResult::Yes);
    EXPECT_NONFATAL_FAILURE(dialogs().messageBox("Save changes?", MsgButtons::OkCancel), "not one of its buttons");
}

TEST(ScriptedDialogs, BoxesNeverShownFailWhenUninstalledAndTheOldDialogsReturn)
{
    Dialogs* before = &dialogs();
    ScriptedDialogs boxes;
    EXPECT_NONFATAL_FAILURE(
        {
            ScopedDialogs installed(boxes);
            boxes.expectMessage("Calibration done");
            EXPECT_EQ(&dialogs(), &boxes);
        },
        "Calibration done");
    EXPECT_EQ(&dialogs(), before);
}
