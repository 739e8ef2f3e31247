#include "ui/Twips.h"

#include <gtest/gtest.h>

#include <QWidget>

using namespace tirmo::ui;

TEST(Twips, ConvertsAtFifteenPerPixelRoundingToNearest)
{
    EXPECT_EQ(twipsToPixels(1440), 96);
    EXPECT_EQ(twipsToPixels(7), 0);
    EXPECT_EQ(twipsToPixels(8), 1);
    EXPECT_EQ(twipsToPixels(-30), -2);
    EXPECT_EQ(pixelsToTwips(96), 1440.0);
}

// Layouts put controls edge to edge in twips that fall between pixels; rounding sizes on their
// own would open gaps or overlaps between them.
TEST(Twips, ControlsLaidEdgeToEdgeStayEdgeToEdge)
{
    QWidget parent;
    parent.resize(2000, 200);
    double left = 100;
    QWidget* previous = nullptr;
    for (int i = 0; i < 20; ++i) {
        auto* w = new QWidget(&parent);
        setGeometryTwips(w, left, 0, 1007, 300);
        if (previous) {
            EXPECT_EQ(previous->geometry().right() + 1, w->x()) << "control " << i;
        }
        previous = w;
        left += 1007;
    }
    // The last right edge is where the twips put it, not twenty roundings away.
    EXPECT_EQ(previous->geometry().right() + 1, twipsToPixels(100 + 20 * 1007));
}

TEST(Twips, GettersAndSingleSettersWorkOnTheSameGeometry)
{
    QWidget parent;
    QWidget w(&parent);
    setGeometryTwips(&w, 150, 300, 1500, 450);
    EXPECT_EQ(w.geometry(), QRect(10, 20, 100, 30));
    EXPECT_EQ(leftTwips(&w), 150);
    EXPECT_EQ(topTwips(&w), 300);
    EXPECT_EQ(widthTwips(&w), 1500);
    EXPECT_EQ(heightTwips(&w), 450);

    setLeftTwips(&w, 600);
    setHeightTwips(&w, 900);
    EXPECT_EQ(w.geometry(), QRect(40, 20, 100, 60));
    setWidthTwips(&w, -50);  // negative sizes come from layout arithmetic; they mean nothing shown
    EXPECT_EQ(w.width(), 0);
}
