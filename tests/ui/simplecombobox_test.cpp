#include "ui/SimpleComboBox.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>

#include <functional>
#include <string>
#include <vector>

using namespace tirmo::ui;

namespace {

// A box of three groups whose click handler counts its runs and notes the selection it saw.
struct Groups {
    Groups()
    {
        box.resize(200, 200);
        host.show();
        box.onClick([this] {
            ++clicks;
            seen = box.ListIndex();
        });
        for (const char* item : {"000_Free", "001_Wild", "002_Mutants"}) box.AddItem(item);
    }
    // A press of a mouse button over entry row, or below the entries when row is past them.
    void press(int row, Qt::MouseButton button = Qt::LeftButton)
    {
        QListWidget* list = box.listPart();
        const QPoint at = row < box.ListCount() ? list->visualItemRect(list->item(row)).center()
                                                : list->visualItemRect(list->item(row - 1)).bottomLeft() + QPoint(5, 8);
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, list->viewport()->mapToGlobal(at), button,
                              type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(list->viewport(), &event);
        }
    }
    void key(int k, const QString& text = {})
    {
        QKeyEvent event(QEvent::KeyPress, k, Qt::NoModifier, text);
        QCoreApplication::sendEvent(box.editPart(), &event);
    }
    // The entry the list marks, which must be the one selected.
    int marked() const
    {
        const auto items = box.listPart()->selectedItems();
        return items.isEmpty() ? -1 : box.listPart()->row(items.front());
    }
    QWidget host;  // shown, so that the list is laid out as in a window
    SimpleComboBox box{&host};
    int clicks = 0;
    int seen = -2;
};

}  // namespace

TEST(SimpleComboBox, WhatSelectsAndWhatRunsTheClickHandler)
{
    struct Case {
        const char* what;
        std::function<void(Groups&)> act;
        int index;         // ListIndex afterwards
        std::string text;  // the line afterwards
        int clicks;
        int seen = -2;  // ListIndex as the last handler run saw it
    } cases[] = {
        {"filling the list", [](Groups&) {}, -1, "", 0},
        {"SetListIndex(0), the first entry", [](Groups& g) { g.box.SetListIndex(0); }, 0, "000_Free", 1, 0},
        {"SetListIndex(2), the last entry", [](Groups& g) { g.box.SetListIndex(2); }, 2, "002_Mutants", 1, 2},
        {"SetListIndex(3), past the last",
         [](Groups& g) {
             g.box.SetListIndex(1);
             g.box.SetListIndex(3);
         },
         -1, "", 1, 1},
        {"SetListIndex(-1)",
         [](Groups& g) {
             g.box.SetListIndex(1);
             g.box.SetListIndex(-1);
         },
         -1, "", 1, 1},
        {"SetListIndex of the entry already selected",
         [](Groups& g) {
             g.box.SetListIndex(1);
             g.box.SetListIndex(1);
         },
         1, "001_Wild", 2, 1},
        {"SetText of an entry", [](Groups& g) { g.box.SetText("002_Mutants"); }, 2, "002_Mutants", 1, 2},
        {"SetText of no entry (entries match exactly)",
         [](Groups& g) {
             g.box.SetListIndex(1);
             g.box.SetText("001_wild");
         },
         -1, "001_wild", 1, 1},
        {"a click on an entry", [](Groups& g) { g.press(1); }, 1, "001_Wild", 1, 1},
        {"a click on the entry already selected",
         [](Groups& g) {
             g.press(1);
             g.press(1);
         },
         1, "001_Wild", 2, 1},
        {"a click below the entries",
         [](Groups& g) {
             g.press(2);
             g.press(3);
         },
         2, "002_Mutants", 1, 2},
        {"a right click on an entry", [](Groups& g) { g.press(1, Qt::RightButton); }, -1, "", 0},
        {"Down with nothing selected", [](Groups& g) { g.key(Qt::Key_Down); }, 0, "000_Free", 1, 0},
        {"Down, Down, Down, Down: stops at the last",
         [](Groups& g) {
             for (int i = 0; i < 4; ++i) g.key(Qt::Key_Down);
         },
         2, "002_Mutants", 3, 2},
        {"Up on the first entry",
         [](Groups& g) {
             g.box.SetListIndex(0);
             g.key(Qt::Key_Up);
         },
         0, "000_Free", 1, 0},
        {"Up from the second entry",
         [](Groups& g) {
             g.box.SetListIndex(1);
             g.key(Qt::Key_Up);
         },
         0, "000_Free", 2, 0},
        {"typing over the selected entry",
         [](Groups& g) {
             g.box.SetListIndex(1);
             g.key(Qt::Key_X, "x");
         },
         -1, "001_Wildx", 1, 1},
        {"Clear",
         [](Groups& g) {
             g.box.SetListIndex(1);
             g.box.Clear();
         },
         -1, "", 1, 1},
        {"adding to an empty list keeps the unlisted text",
         [](Groups& g) {
             g.box.Clear();
             g.box.SetText("Kept");
             g.box.AddItem("000_Free");
         },
         -1, "Kept", 0},
        {"removing the selected entry keeps the line",
         [](Groups& g) {
             g.box.SetListIndex(1);
             g.box.RemoveItem(1);
         },
         -1, "001_Wild", 1, 1},
        {"removing an entry above the selected one",
         [](Groups& g) {
             g.box.SetListIndex(2);
             g.box.RemoveItem(0);
         },
         1, "002_Mutants", 1, 2},
        {"inserting an entry above the selected one",
         [](Groups& g) {
             g.box.SetListIndex(1);
             g.box.AddItem("New", 0);
         },
         2, "001_Wild", 1, 1},
        {"renaming the selected entry",
         [](Groups& g) {
             g.box.SetListIndex(1);
             g.box.SetList(1, "001_Tame");
         },
         1, "001_Tame", 1, 1},
        {"renaming another entry",
         [](Groups& g) {
             g.box.SetListIndex(1);
             g.box.SetList(2, "002_Tame");
         },
         1, "001_Wild", 1, 1},
    };
    for (const Case& c : cases) {
        Groups g;
        c.act(g);
        EXPECT_EQ(g.box.ListIndex(), c.index) << c.what;
        EXPECT_EQ(g.box.Text(), c.text) << c.what;
        EXPECT_EQ(g.clicks, c.clicks) << c.what;
        EXPECT_EQ(g.marked(), c.index) << c.what << ": the list marks the selection";
        EXPECT_EQ(g.seen, c.seen) << c.what << ": the handler sees the new selection";
    }
}

TEST(SimpleComboBox, TextCrossesAsBytesAndItemDataStaysWithItsEntry)
{
    Groups g;
    g.box.SetText("Custom \xB5");
    EXPECT_EQ(g.box.Text(), "Custom \xB5");
    g.box.SetItemData(1, 30);
    g.box.AddItem("000_New", 0);
    EXPECT_EQ(g.box.ItemData(2), 30);
    EXPECT_EQ(g.box.ItemData(1), 0);
    EXPECT_EQ(g.box.ItemData(4), 0);
    EXPECT_EQ(g.box.List(4), "");
    g.box.RemoveItem(4);  // outside the list: nothing
    EXPECT_EQ(g.box.ListCount(), 4);
}

// The list takes all the height under the line, whatever height the box is given.
TEST(SimpleComboBox, TheListFillsTheBoxUnderTheLine)
{
    Groups g;
    for (int height : {60, 155, 300}) {
        g.box.resize(152, height);
        QCoreApplication::sendPostedEvents();
        const QRect line = g.box.editPart()->geometry(), list = g.box.listPart()->geometry();
        EXPECT_EQ(line.top(), 0) << height;
        EXPECT_EQ(list.top(), line.bottom() + 1) << height;
        EXPECT_EQ(list.bottom(), height - 1) << height;
        EXPECT_EQ(list.width(), 152) << height;
    }
}
