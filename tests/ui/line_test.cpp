#include "ui/Line.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include "ui/Twips.h"

using namespace tirmo::ui;

// The line covers its ends with its thickness around them and nothing more, and draws across.
TEST(Line, CoversItsEndsWithItsThickness)
{
    struct Case {
        QPoint from, to;
        int width;
        QRect covers;
    };
    const Case cases[] = {
        {{10, 20}, {110, 20}, 1, QRect(10, 20, 101, 1)},
        {{10, 20}, {110, 20}, 4, QRect(8, 18, 104, 4)},
        {{50, 90}, {50, 10}, 3, QRect(49, 9, 3, 83)},  // ends in either order
    };
    for (const Case& c : cases) {
        QWidget parent;
        parent.resize(200, 200);
        Line line(&parent);
        line.SetBorderWidth(c.width);
        line.SetEnds(c.from, c.to);
        EXPECT_EQ(line.geometry(), c.covers) << c.width;
        EXPECT_EQ(QPoint(line.X1(), line.Y1()), c.from);
        EXPECT_EQ(QPoint(line.X2(), line.Y2()), c.to);
    }
}

TEST(Line, DrawsInItsColourAndLetsClicksThrough)
{
    QWidget parent;
    parent.resize(200, 100);
    Line line(&parent);
    line.SetBorderWidth(4);
    line.SetBorderColor(RGB(255, 0, 0));
    line.SetEnds({10, 50}, {150, 50});
    const QImage picture = line.grab().toImage();
    EXPECT_EQ(picture.pixelColor(70, 2), QColor(255, 0, 0));
    EXPECT_TRUE(line.testAttribute(Qt::WA_TransparentForMouseEvents));
    line.SetBorderWidth(0);
    EXPECT_EQ(line.BorderWidth(), 1);
}

TEST(Line, TwipsEndsRoundToPixelsAsEveryGeometry)
{
    QWidget parent;
    Line line(&parent);
    setLineTwips(&line, 1012, 920.5, 19232, 920.5);
    EXPECT_EQ(line.X1(), twipsToPixels(1012));
    EXPECT_EQ(line.X2(), twipsToPixels(19232));
    EXPECT_EQ(line.Y1(), 61);
    EXPECT_EQ(line.Y2(), 61);
}
