#include "ui/Controls.h"
#include "ui/FixedWidthFont.h"
#include "ui/StatusLine.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QWidget>

using namespace tirmo::ui;

// Replies are shown as they came; every byte value must survive the trip through the widget,
// including NUL, control bytes and bytes above 127, and long replies must not be cut.
TEST(TextBox, KeepsEveryByteOfLongText)
{
    std::string bytes;
    for (int round = 0; round < 200; ++round)
        for (int b = 0; b < 256; ++b) bytes.push_back(char(b));
    ASSERT_GT(bytes.size(), 32767u);
    TextBox box;
    box.SetText(bytes);
    EXPECT_EQ(box.Text(), bytes);
}

TEST(TextBox, ChangeHandlerRunsOncePerRealChange)
{
    TextBox box;
    int changes = 0;
    box.onChange([&] { ++changes; });
    box.SetText("12.5");
    box.SetText("12.5");
    EXPECT_EQ(changes, 1);
    box.insert("0");  // as typing does
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(box.Text(), "12.50");
    box.SetText("");
    EXPECT_EQ(changes, 3);
}

TEST(TextBox, SelectionIsInBytesFromTheStart)
{
    TextBox box;
    box.SetText("abcdef");
    box.SetSelStart(2);
    box.SetSelLength(3);
    EXPECT_EQ(box.SelStart(), 2);
    EXPECT_EQ(box.SelLength(), 3);
    EXPECT_EQ(box.selectedText(), "cde");
    box.SetSelStart(100);
    EXPECT_EQ(box.SelStart(), 6);
    EXPECT_EQ(box.SelLength(), 0);
}

TEST(Label, ShowsMarkupAsPlainText)
{
    Label label;
    label.SetCaption("<b>\xB5L</b>");
    EXPECT_EQ(label.Caption(), "<b>\xB5L</b>");
    EXPECT_EQ(label.textFormat(), Qt::PlainText);
}

TEST(CommandButton, ClickRunsTheHandlerUnlessDisabled)
{
    CommandButton button;
    int clicks = 0;
    button.onClick([&] { ++clicks; });
    button.Click();
    EXPECT_EQ(clicks, 1);
    button.setEnabled(false);
    button.Click();
    EXPECT_EQ(clicks, 1);
}

TEST(CheckBox, SetValueRunsTheClickHandlerOnlyWhenTheValueChanges)
{
    CheckBox box;
    int clicks = 0;
    int seen = -1;
    box.onClick([&] {
        ++clicks;
        seen = box.Value();
    });
    box.SetValue(0);
    EXPECT_EQ(clicks, 0);
    box.SetValue(1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(seen, 1) << "the handler sees the new value";
    box.SetValue(1);
    EXPECT_EQ(clicks, 1);
    box.Click();  // the user unchecks it
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(box.Value(), 0);
}

TEST(CheckBox, AUserClickOnAGreyedBoxChecksIt)
{
    CheckBox box;
    int clicks = 0;
    box.onClick([&] { ++clicks; });
    box.SetValue(2);
    EXPECT_EQ(box.Value(), 2);
    box.Click();
    EXPECT_EQ(box.Value(), 1);
    box.Click();
    EXPECT_EQ(box.Value(), 0);
    box.Click();
    EXPECT_EQ(box.Value(), 1) << "the user never greys a box";
    EXPECT_EQ(clicks, 4);
}

TEST(OptionButton, SelectingRunsOnlyTheSelectedButtonsHandler)
{
    QWidget frame;
    OptionButton a(&frame), b(&frame);
    int aClicks = 0, bClicks = 0;
    a.onClick([&] { ++aClicks; });
    b.onClick([&] { ++bClicks; });

    a.SetValue(true);
    EXPECT_EQ(aClicks, 1);
    b.Click();
    EXPECT_FALSE(a.Value());
    EXPECT_TRUE(b.Value());
    EXPECT_EQ(aClicks, 1);
    EXPECT_EQ(bClicks, 1);
    b.Click();  // already selected
    b.SetValue(true);
    EXPECT_EQ(bClicks, 1);

    // Code may leave a group with nothing selected; the group stays exclusive afterwards.
    b.SetValue(false);
    EXPECT_FALSE(a.Value());
    EXPECT_FALSE(b.Value());
    a.Click();
    b.Click();
    EXPECT_FALSE(a.Value());
    EXPECT_EQ(aClicks, 2);
    EXPECT_EQ(bClicks, 2);
}

TEST(TextAreaTest, KeepsTheBytesAndShowsOneLinePerLineEnd)
{
    TextArea area;
    area.SetText("w6\r\nWell(A1)=1.00\r\nWell(B1)=0.98\r\n");
    EXPECT_EQ(area.Text(), "w6\r\nWell(A1)=1.00\r\nWell(B1)=0.98\r\n");
    EXPECT_EQ(area.toPlainText().toStdString(), "w6\nWell(A1)=1.00\nWell(B1)=0.98\n");
    EXPECT_EQ(area.document()->blockCount(), 4);
    EXPECT_TRUE(area.isReadOnly());
    area.SetText("a\rb\nc");
    EXPECT_EQ(area.toPlainText().toStdString(), "a\nb\nc");
}

// Asked: a fixed-width face or its stand-in, the desktop's proportional text face, a face nobody has.
TEST(FixedWidthFont, MeasuresTheFaceAndFallsBackToOneWithEqualAdvances)
{
    ASSERT_FALSE(EqualAdvances(QFont()));
    for (const QString& asked : {QStringLiteral("Courier New"), QFontInfo(QFont()).family(), QStringLiteral("No Face")}) {
        const QFont font = FixedWidthFont(asked, 11);
        EXPECT_TRUE(EqualAdvances(font)) << asked.toStdString() << " gave " << QFontInfo(font).family().toStdString();
        EXPECT_EQ(QFontInfo(font).pointSize(), 11) << asked.toStdString();
    }
}

// However long its message, a status line keeps it whole as text and tip and shows what fits, cut in the middle.
TEST(StatusLine, ALongMessageShowsItsStartAndItsFileNameAndIsWholeInTheTip)
{
    const QString path = "/home/lab/.local/share/tirmo/reports/p20261207_zebrafish/20261207_101500_larvae/20261207_1015_report.csv";
    const QString memory = "Not read from TIRMO memory: [Well_Format] [Temp_factor] [Int_Factor] [Blank_Factor] [Light_Cal]";
    const QString ellipsis(QChar(0x2026));
    const struct { QString message, start, end; } cases[] = {  // what it shows first and last; no end: all of it
        {"OK. Connected to TIRMO SN57", "OK. Connected to TIRMO SN57", ""},
        {"Report: " + path, "Report: /", "_report.csv"},
        {"No program could open the report. It is saved at " + path + " (no blank)", "No program could open", " (no blank)"},
        {"OK. Connected to TIRMO SN57. " + memory + ", nor the second time: " + memory, "OK. Connected to TIRMO", ellipsis},
    };
    for (const auto& c : cases) {
        StatusLine line, same;
        line.resize(600, line.sizeHint().height());
        line.setText(c.message);
        const QString shown = line.Shown();
        EXPECT_TRUE(line.text() == c.message && line.toolTip() == c.message);
        EXPECT_TRUE(shown.startsWith(c.start) && (c.end.isEmpty() ? shown == c.message : shown.endsWith(c.end) && shown.contains(ellipsis)))
            << shown.toStdString();
        // Painted as a line paints that text of its own: from its start, not scrolled to its end.
        same.resize(line.size());
        same.setText(shown);
        EXPECT_EQ(line.grab().toImage(), same.grab().toImage()) << shown.toStdString();
    }
}
