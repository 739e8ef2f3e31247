// A laid-out button's caption stays whole: its type shrinks when the button is too narrow and
// comes back to its own size when there is room again.
#include "ui/FitCaption.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPushButton>

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

}  // namespace
}  // namespace tirmo::ui
