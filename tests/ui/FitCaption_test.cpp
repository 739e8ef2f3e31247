// A laid-out button's caption stays whole: its type shrinks when the button is too narrow and
// comes back to its own size when there is room again.
#include "ui/FitCaption.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace tirmo::ui {
namespace {

TEST(FitCaption, ShrinksToFitAndGrowsBack)
{
    QPushButton button("LOAD RECORDED EXPERIMENTS");
    QFont font = button.font();
    font.setPointSize(9);
    button.setFont(font);
    const int wide = QFontMetrics(font).horizontalAdvance(button.text()) + 40;

    button.resize(wide, 30);
    FitCaption(&button);
    EXPECT_EQ(button.font().pointSize(), 9) << "room enough: the design size";

    button.resize(wide * 2 / 3, 30);
    FitCaption(&button);
    EXPECT_LT(button.font().pointSize(), 9);
    EXPECT_GE(button.font().pointSize(), 6);
    EXPECT_LE(QFontMetrics(button.font()).horizontalAdvance(button.text()), button.width() - 10);

    button.resize(10, 30);  // no size fits: the smallest readable one
    FitCaption(&button);
    EXPECT_EQ(button.font().pointSize(), 6);

    button.resize(wide, 30);
    FitCaption(&button);
    EXPECT_EQ(button.font().pointSize(), 9);

    // Kept fitted: every resize refits, whoever makes it (a hidden button's resize reaches it
    // when it is shown).
    button.show();
    KeepCaptionFitted(&button);
    button.resize(wide * 2 / 3, 30);
    EXPECT_LT(button.font().pointSize(), 9);
    button.resize(wide, 30);
    EXPECT_EQ(button.font().pointSize(), 9);
}

TEST(FitCaption, ALowButtonTakesTheLargestTypeWhoseWholeLineFitsItsHeight)
{
    // A caption without descenders: its ink is lower than its line, which the button still
    // centres as a whole.
    QPushButton button("3.LED InPlate Calib.");
    QFont font = button.font();
    font.setPointSize(9);
    button.setFont(font);
    for (int height : {40, 16, 13, 12, 11}) {
        SCOPED_TRACE(height);
        button.resize(400, height);
        FitCaption(&button);
        QStyleOptionButton opt;
        opt.initFrom(&button);
        const int room = button.style()->subElementRect(QStyle::SE_PushButtonContents, &opt, &button).height();
        QFont larger = button.font();
        larger.setPointSize(larger.pointSize() + 1);
        EXPECT_LE(QFontMetrics(button.font()).height(), room);
        if (button.font().pointSize() < 9) {
            EXPECT_GT(QFontMetrics(larger).height(), room) << "no larger type fits";
        }
    }
}

}  // namespace
}  // namespace tirmo::ui
