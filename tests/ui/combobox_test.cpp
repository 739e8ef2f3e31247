#include "ui/ComboBox.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

using namespace tirmo::ui;

namespace {

// A combo box of three ranges, counting its click handler's runs.
struct Ranges : ::testing::TestWithParam<bool> {
    Ranges()
    {
        combo.setEditable(GetParam());
        combo.onClick([this] {
            ++clicks;
            seenIndex = combo.ListIndex();
        });
        for (const char* item : {"Low", "Mid", "High"}) combo.AddItem(item);
    }
    ComboBox combo;
    int clicks = 0;
    int seenIndex = -2;
};

}  // namespace

TEST_P(Ranges, FillingTheListSelectsNothingAndRunsNothing)
{
    EXPECT_EQ(combo.ListCount(), 3);
    EXPECT_EQ(combo.ListIndex(), -1);
    EXPECT_EQ(combo.Text(), "");
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(combo.List(2), "High");
    EXPECT_EQ(combo.List(3), "");
}

TEST_P(Ranges, SetTextOfAnEntrySelectsItAndClicksOnce)
{
    combo.SetText("Mid");
    EXPECT_EQ(combo.ListIndex(), 1);
    EXPECT_EQ(combo.Text(), "Mid");
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(seenIndex, 1) << "the handler sees the new selection";
}

TEST_P(Ranges, SetTextOfAnythingElseShowsItWithoutSelectionOrClick)
{
    combo.SetText("Mid");
    combo.SetText("Custom \xB5");
    EXPECT_EQ(combo.ListIndex(), -1);
    EXPECT_EQ(combo.Text(), "Custom \xB5");
    EXPECT_EQ(clicks, 1);
    combo.SetText("mid");  // entries match exactly
    EXPECT_EQ(combo.ListIndex(), -1);
    EXPECT_EQ(clicks, 1);
}

TEST_P(Ranges, SetListIndexClicksEvenForTheSelectedEntry)
{
    combo.SetListIndex(2);
    combo.SetListIndex(2);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(combo.Text(), "High");
    combo.SetListIndex(-1);
    EXPECT_EQ(combo.ListIndex(), -1);
    EXPECT_EQ(combo.Text(), "");
    EXPECT_EQ(clicks, 2);
}

TEST_P(Ranges, AUserChoiceClicksOnce)
{
    combo.SetListIndex(0);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(&combo, &down);
    EXPECT_EQ(combo.ListIndex(), 1);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(seenIndex, 1);
}

TEST_P(Ranges, RemovingAndClearingKeepSelectionConsistent)
{
    combo.SetListIndex(2);
    combo.RemoveItem(0);
    EXPECT_EQ(combo.ListIndex(), 1);
    EXPECT_EQ(combo.Text(), "High");
    combo.RemoveItem(1);
    EXPECT_EQ(combo.ListIndex(), -1);
    combo.Clear();
    EXPECT_EQ(combo.ListCount(), 0);
    EXPECT_EQ(combo.Text(), "");
    combo.SetText("Kept");
    combo.AddItem("First");  // Qt would select the first entry of an empty list
    EXPECT_EQ(combo.ListIndex(), -1);
    EXPECT_EQ(combo.Text(), "Kept");
    EXPECT_EQ(clicks, 1);
}

INSTANTIATE_TEST_SUITE_P(ComboBox, Ranges, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Editable" : "DropdownList"; });

TEST(ComboBox, EditingTheTextAwayFromTheEntryDropsTheSelection)
{
    ComboBox combo;
    combo.setEditable(true);
    combo.AddItem("Low");
    combo.AddItem("High");
    combo.SetListIndex(1);
    combo.lineEdit()->setText("Hig");  // as the user deleting a letter leaves it
    EXPECT_EQ(combo.ListIndex(), -1);
    EXPECT_EQ(combo.Text(), "Hig");
    combo.SetListIndex(1);
    EXPECT_EQ(combo.Text(), "High");
    EXPECT_EQ(combo.ListIndex(), 1);
}

TEST(ComboBox, ItemDataFollowsItsEntry)
{
    ComboBox combo;
    combo.AddItem("A");
    combo.AddItem("C");
    combo.SetItemData(1, 30);
    combo.AddItem("B", 1);
    EXPECT_EQ(combo.List(1), "B");
    EXPECT_EQ(combo.ItemData(2), 30);
    EXPECT_EQ(combo.ItemData(1), 0);
}
