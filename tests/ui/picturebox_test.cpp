#include "ui/PictureBox.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QImageReader>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>

#include "chemotaxis/ChemotaxisPictures.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"

using namespace tirmo::ui;

namespace {

// Counts the pixels of a colour, and their bounding box, so a shape can be checked exactly.
struct Coverage {
    int count = 0;
    QRect bounds;
};

Coverage coverage(PictureBox& pic, uint32_t colour)
{
    Coverage c;
    for (int y = 0; y < pic.PixelHeight(); ++y)
        for (int x = 0; x < pic.PixelWidth(); ++x)
            if (pic.PixelAt(x, y) == colour) {
                ++c.count;
                c.bounds |= QRect(x, y, 1, 1);
            }
    return c;
}

}  // namespace

TEST(PictureBox, ColoursKeepRedInTheLowByte)
{
    static_assert(RGB(255, 0, 0) == 0x0000FF);
    static_assert(RGB(0, 0, 255) == 0xFF0000);
    static_assert(RGB(300, -5, 128) == 0x8000FF);
    EXPECT_EQ(toQColor(0xFF0000), QColor(0, 0, 255));
    PictureBox pic;
    pic.SetPixelSize(4, 4);
    pic.FilledBox(0, 0, 3, 3, RGB(10, 20, 30));
    EXPECT_EQ(pic.image().pixel(1, 1) & 0xFFFFFFu, 0x0A141Eu);  // Qt's order is the reverse
    EXPECT_EQ(pic.PixelAt(1, 1), RGB(10, 20, 30));
}

// 100 user units across 200 pixels and down 100: x doubles, y stays. Both corners are included.
TEST(PictureBox, FilledBoxCoversExactlyTheRoundedCornersInclusive)
{
    PictureBox pic;
    pic.SetPixelSize(200, 100);
    pic.Scale(0, 0, 100, 100);
    pic.FilledBox(10.2, 20, 30, 40.4, colour::Red);  // 10.2 -> 20.4 -> 20; 40.4 -> 40
    const Coverage c = coverage(pic, colour::Red);
    EXPECT_EQ(c.bounds, QRect(QPoint(20, 20), QPoint(60, 40)));
    EXPECT_EQ(c.count, 41 * 21);
    EXPECT_EQ(pic.Point(20, 30), colour::Red);
    EXPECT_EQ(pic.Point(9.5, 30), colour::White);

    // Corners given the other way round cover the same pixels.
    pic.Cls();
    pic.FilledBox(30, 40.4, 10.2, 20, colour::Red);
    EXPECT_EQ(coverage(pic, colour::Red).bounds, QRect(QPoint(20, 20), QPoint(60, 40)));
}

TEST(PictureBox, ScaleWithYUpwardPutsTheOriginBottomLeft)
{
    PictureBox pic;
    pic.SetPixelSize(101, 101);
    pic.Scale(0, 100, 100, 0);
    EXPECT_EQ(pic.ScaleTop(), 100);
    EXPECT_EQ(pic.ScaleHeight(), -100);
    pic.FilledBox(0, 0, 10, 10, colour::Blue);
    // y 0 maps to pixel row 101, just below the picture; y 10 to row 90.9, rounded to 91.
    EXPECT_EQ(coverage(pic, colour::Blue).bounds, QRect(QPoint(0, 91), QPoint(10, 100)));
    EXPECT_EQ(pic.Point(5, 5), colour::Blue);
    EXPECT_EQ(pic.Point(5, 95), colour::White);
    EXPECT_EQ(pic.Point(-1, 5), kNoPixel);
}

TEST(PictureBox, BoxOutlineIsTheRimOfTheFilledBox)
{
    PictureBox pic;
    pic.SetPixelSize(50, 50);
    pic.Box(10, 10, 20, 15, colour::Green);
    const Coverage c = coverage(pic, colour::Green);
    EXPECT_EQ(c.bounds, QRect(QPoint(10, 10), QPoint(20, 15)));
    EXPECT_EQ(c.count, 2 * 11 + 2 * 4);
    EXPECT_EQ(pic.PixelAt(15, 12), colour::White);
    EXPECT_EQ(pic.CurrentX(), 20);
    EXPECT_EQ(pic.CurrentY(), 15);
}

TEST(PictureBox, LineRunsBetweenItsEndPoints)
{
    PictureBox pic;
    pic.SetPixelSize(40, 40);
    pic.Line(5, 5, 30, 5, colour::Red);
    pic.Line(5, 10, 5, 30);  // fore colour
    for (int x = 5; x <= 30; ++x) EXPECT_EQ(pic.PixelAt(x, 5), colour::Red) << x;
    EXPECT_EQ(pic.PixelAt(31, 5), colour::White);
    EXPECT_EQ(pic.PixelAt(5, 20), colour::Black);
    EXPECT_EQ(pic.PixelAt(6, 20), colour::White);
    pic.SetDrawWidth(5);
    pic.Line(20, 20, 20, 35, colour::Blue);
    EXPECT_EQ(pic.PixelAt(21, 28), colour::Blue);
    EXPECT_EQ(pic.PixelAt(19, 28), colour::Blue);
    EXPECT_EQ(pic.PixelAt(24, 28), colour::White);
}

// A point that is no number (a division by zero upstream) draws nothing and moves nothing.
TEST(PictureBox, ANonFiniteCoordinateDrawsNothing)
{
    const double nan = std::nan(""), inf = HUGE_VAL;
    const std::pair<const char*, std::function<void(PictureBox&)>> calls[] = {
        {"line from", [=](PictureBox& p) { p.Line(nan, 5, 10, 10, colour::Red); }},
        {"line to", [=](PictureBox& p) { p.Line(5, 5, inf, 10, colour::Red); }},
        {"lines", [=](PictureBox& p) { p.Lines({{5, -inf, 10, 10}}, colour::Red); }},
        {"box", [=](PictureBox& p) { p.Box(5, 5, 10, nan, colour::Red); }},
        {"filled box", [=](PictureBox& p) { p.FilledBox(-inf, 5, 10, 10, colour::Red); }},
        {"point", [=](PictureBox& p) { p.PSet(nan, 5, colour::Red); }},
        {"circle", [=](PictureBox& p) { p.Circle(5, inf, 3, colour::Red); }},
        {"radius", [=](PictureBox& p) { p.Circle(5, 5, nan, colour::Red); }},
    };
    for (const auto& [what, draw] : calls) {
        PictureBox pic;
        pic.SetPixelSize(20, 20);
        pic.SetFillStyle(0);
        pic.SetFillColor(colour::Red);
        pic.SetCurrentX(3);
        pic.SetCurrentY(4);
        draw(pic);
        EXPECT_EQ(coverage(pic, colour::Red).count, 0) << what;
        EXPECT_EQ(std::pair(pic.CurrentX(), pic.CurrentY()), std::pair(3.0, 4.0)) << what;
    }
}

TEST(PictureBox, CircleFillsSolidOnlyWithFillStyleZero)
{
    PictureBox pic;
    pic.SetPixelSize(200, 100);
    pic.Scale(0, 0, 100, 100);  // radius 20 user x units = 40 pixels, round in pixels
    pic.SetFillColor(colour::Yellow);
    pic.Circle(50, 50, 20, colour::Red);
    EXPECT_EQ(pic.PixelAt(100, 50), colour::White) << "transparent by default";
    EXPECT_GT(coverage(pic, colour::Red).count, 200);
    bool rimOnAxis = false;
    for (int x = 139; x <= 141; ++x) rimOnAxis |= pic.PixelAt(x, 50) == colour::Red;
    EXPECT_TRUE(rimOnAxis);

    pic.Cls();
    pic.SetFillStyle(0);
    pic.Circle(50, 50, 20, colour::Red);
    EXPECT_EQ(pic.PixelAt(100, 50), colour::Yellow);
    EXPECT_EQ(pic.PixelAt(135, 50), colour::Yellow);
    EXPECT_EQ(pic.PixelAt(100, 14), colour::Yellow);  // 36 pixels up: round, not squashed by y
    EXPECT_EQ(pic.PixelAt(145, 50), colour::White);
    EXPECT_EQ(pic.PixelAt(131, 19), colour::White);  // outside, near the diagonal
    const Coverage rim = coverage(pic, colour::Red);
    EXPECT_GE(rim.bounds.left(), 59);
    EXPECT_LE(rim.bounds.right(), 141);
}

TEST(PictureBox, PrintDrawsAtCurrentPositionAndMovesDownALine)
{
    if (QFontDatabase::families().isEmpty()) GTEST_SKIP() << "no fonts on this machine";
    PictureBox pic;
    pic.SetPixelSize(200, 100);
    pic.Scale(0, 0, 100, 50);  // 2 pixels per unit both ways
    pic.SetFontSize(12);
    pic.SetForeColor(colour::Blue);
    pic.SetCurrentX(10);
    pic.SetCurrentY(5);
    const double lineHeight = pic.TextHeight("M");
    ASSERT_GT(lineHeight, 3);
    EXPECT_DOUBLE_EQ(pic.TextHeight("a\nb"), 2 * lineHeight);

    pic.Print("MMM");
    EXPECT_DOUBLE_EQ(pic.CurrentY(), 5 + lineHeight);
    EXPECT_EQ(pic.CurrentX(), 0);
    const Coverage ink = coverage(pic, colour::Blue);
    ASSERT_GT(ink.count, 0);
    EXPECT_GE(ink.bounds.left(), 20);
    EXPECT_GE(ink.bounds.top(), 10);
    EXPECT_LE(ink.bounds.bottom(), 10 + lineHeight * 2);
    EXPECT_NEAR(ink.bounds.width(), pic.TextWidth("MMM") * 2, 6);  // smoothed edges are not pure blue

    // Without the line break the position follows the text.
    pic.SetCurrentX(10);
    pic.SetCurrentY(30);
    pic.Print("ab", false);
    EXPECT_DOUBLE_EQ(pic.CurrentX(), 10 + pic.TextWidth("ab"));
    EXPECT_EQ(pic.CurrentY(), 30);
}

TEST(PictureBox, PrintWithYUpwardStillMovesDownTheScreen)
{
    PictureBox pic;
    pic.SetPixelSize(100, 100);
    pic.Scale(0, 100, 100, 0);
    pic.SetCurrentY(80);
    pic.Print("x");
    EXPECT_LT(pic.CurrentY(), 80);
    EXPECT_GT(pic.TextHeight("x"), 0);
}

TEST(PictureBox, ClsFillsWithBackColourAndResetsPosition)
{
    PictureBox pic;
    pic.SetPixelSize(10, 10);
    pic.PSet(3, 3, colour::Red);
    pic.SetCurrentX(7);
    pic.SetBackColor(colour::Grey);
    EXPECT_EQ(pic.PixelAt(3, 3), colour::Grey);
    pic.PSet(3, 3, colour::Red);
    pic.Cls();
    EXPECT_EQ(coverage(pic, colour::Grey).count, 100);
    EXPECT_EQ(pic.CurrentX(), 0);
    EXPECT_EQ(pic.CurrentY(), 0);
}

TEST(PictureBox, ResizingKeepsTheDrawingAndExtendsWithBackColour)
{
    PictureBox pic;
    pic.SetPixelSize(10, 10);
    pic.SetBackColor(colour::Grey);
    pic.FilledBox(0, 0, 9, 9, colour::Red);
    pic.resize(20, 15);  // hidden: no resize event, the next drawing call sees the new size
    EXPECT_EQ(pic.PixelAt(9, 9), colour::Red);
    EXPECT_EQ(pic.PixelAt(19, 14), colour::Grey);
    EXPECT_EQ(pic.image().size(), QSize(20, 15));
    EXPECT_EQ(pic.ScaleWidth(), 20);
}

TEST(PictureBox, SavedPictureLoadsBackPixelForPixel)
{
    const auto path = (std::filesystem::temp_directory_path() / "tirmo-picturebox-test.bmp").string();
    PictureBox pic;
    pic.SetPixelSize(33, 17);  // odd width: rows padded in the file
    pic.Scale(0, 0, 1, 1);
    pic.FilledBox(0.1, 0.1, 0.5, 0.9, RGB(1, 2, 3));
    pic.Circle(0.7, 0.5, 0.2, colour::Magenta);
    ASSERT_TRUE(pic.SavePicture(path));

    PictureBox other;
    other.SetPixelSize(5, 5);
    ASSERT_TRUE(other.LoadPicture(path));
    EXPECT_EQ(other.PixelWidth(), 33);
    EXPECT_EQ(other.PixelHeight(), 17);
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 33; ++x) ASSERT_EQ(other.PixelAt(x, y), pic.PixelAt(x, y)) << x << "," << y;

    EXPECT_FALSE(other.LoadPicture(path + ".missing"));
    EXPECT_EQ(other.PixelWidth(), 33);
    // A picture of no pixels is no picture: not saved, and the file of that name stays as it was.
    PictureBox empty;
    empty.SetPixelSize(0, 0);
    EXPECT_FALSE(empty.SavePicture(path));
    ASSERT_TRUE(other.LoadPicture(path));
    EXPECT_EQ(other.PixelWidth(), 33);
    std::filesystem::remove(path);
}

TEST(PictureBox, PaintsItsPictureOnTheScreen)
{
    PictureBox pic;
    pic.SetPixelSize(30, 20);
    pic.FilledBox(5, 5, 10, 10, colour::Red);
    const QImage shot = pic.grab().toImage();
    EXPECT_EQ(fromQRgb(shot.pixel(7, 7)), colour::Red);
    EXPECT_EQ(fromQRgb(shot.pixel(20, 15)), colour::White);
}

// A write cut short (a full disk, a killed process) leaves the older file as it was and nothing beside it.
TEST(PictureBox, EveryPictureWriterReplacesTheOldFileWholeOrLeavesItAsItWas)
{
    tirmo::chemotaxis::Canvas canvas(40, 30);  // a red box on white, 3654 bytes as a file
    canvas.FilledBox(10, 5, 29, 19, qRgb(255, 0, 0));
    PictureBox box;
    box.SetPixelSize(40, 30);
    box.image() = canvas.image();
    const std::function<bool(const std::string&)> writers[] = {[&](const std::string& p) { return box.SavePicture(p); },
                                                               [&](const std::string& p) { return canvas.SaveBmp(p, false); }};
    for (const auto& write : writers) {
        tirmo::test::TempFolder folder;
        const std::string path = folder.path() + "/A1_0000.bmp";
        std::ofstream(path) << "older";
        EXPECT_FALSE(tirmo::test::ScopedFileSizeLimit(1000).ok() && write(path)) << "a full disk";
        EXPECT_EQ(std::filesystem::file_size(path), 5u) << "the older file stays";
        ASSERT_TRUE(write(path));
        EXPECT_EQ(QImageReader(QString::fromStdString(path)).read().convertToFormat(QImage::Format_RGB32), canvas.image());
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1) << "nothing beside it";
    }
}
