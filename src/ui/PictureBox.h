#pragma once
// A drawing surface as the plotting windows use it: a persistent picture the size of the widget,
// a user coordinate system laid over it, and drawing calls that take colours as RGB values.
//
// The picture is kept in an image and painted from it, so drawings survive being covered and
// uncovered and can be saved, read back pixel by pixel, and drawn while the widget is hidden.
// Resizing keeps what is drawn; new area is filled with the back colour, and shrinking crops.
//
// Coordinates are user units given by Scale: the first corner is the top left of the pixel area
// and the second the bottom right, so Scale(0, 100, 100, 0) puts y upward. Without a Scale the
// units are pixels. User points map to pixel coordinates by rounding to the nearest pixel,
// halves upward; shapes are drawn through both mapped corners, inclusive.
#include "ui/Colour.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPointF>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>
#include <string_view>

namespace tirmo::ui {

// What Point and PixelAt answer for a point outside the picture: -1 as a colour value, which
// no colour has.
inline constexpr uint32_t kNoPixel = 0xFFFFFFFFu;

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // The pixel area is the widget's size. SetPixelSize resizes the widget, which also works
    // while it is hidden, so tests and off-screen plots need not show it.
    void SetPixelSize(int width, int height);
    int PixelWidth() const;
    int PixelHeight() const;
    // The backing picture, at the current pixel size.
    QImage& image();

    // --- Coordinates ---
    // x1 == x2 or y1 == y2 would leave no scale; such a call is ignored.
    void Scale(double x1, double y1, double x2, double y2);
    // Back to pixels, following the widget's size.
    void ScalePixels();
    bool HasUserScale() const;
    double ScaleLeft() const;
    double ScaleTop() const;
    double ScaleWidth() const;
    double ScaleHeight() const;
    // Each setter keeps the other three and switches to a user scale; 0 as a width or height is
    // ignored.
    void SetScaleLeft(double left);
    void SetScaleTop(double top);
    void SetScaleWidth(double width);
    void SetScaleHeight(double height);
    // Unrounded pixel coordinates of a user point, and the user point at pixel coordinates.
    QPointF toPixels(double x, double y) const;
    QPointF toUser(double px, double py) const;

    // --- Drawing state ---
    double CurrentX() const;
    double CurrentY() const;
    void SetCurrentX(double x);
    void SetCurrentY(double y);
    uint32_t ForeColor() const;
    void SetForeColor(uint32_t colour);
    uint32_t BackColor() const;
    // Changing the back colour clears the picture to it: what was drawn on the old colour goes.
    void SetBackColor(uint32_t colour);
    uint32_t FillColor() const;
    void SetFillColor(uint32_t colour);
    // 0 fills circles solid with FillColor; 1 (the default) leaves them transparent.
    int FillStyle() const;
    void SetFillStyle(int style);
    // Pen width in pixels, at least 1.
    int DrawWidth() const;
    void SetDrawWidth(int pixels);
    // Drawing always persists here; the flag is kept for windows that set and read it.
    bool AutoRedraw() const;
    void SetAutoRedraw(bool on);
    double FontSize() const;
    void SetFontSize(double points);
    bool FontBold() const;
    void SetFontBold(bool bold);
    std::string FontName() const;
    void SetFontName(std::string_view family);

    // --- Drawing ---
    // Fills with the back colour and puts CurrentX and CurrentY at 0.
    void Cls();
    // Lines and boxes leave CurrentX/CurrentY at the second point; PSet and Circle at their point.
    void Line(double x1, double y1, double x2, double y2);
    void Line(double x1, double y1, double x2, double y2, uint32_t colour);
    // Many lines of one colour, each exactly as Line draws it, with one painter for them all.
    struct Segment {
        double x1, y1, x2, y2;
    };
    void Lines(const std::vector<Segment>& segments, uint32_t colour);
    void Box(double x1, double y1, double x2, double y2, uint32_t colour);
    void FilledBox(double x1, double y1, double x2, double y2, uint32_t colour);
    void PSet(double x, double y);
    void PSet(double x, double y, uint32_t colour);
    // The radius is in user x units; the circle is round in pixels whatever the y scale.
    void Circle(double x, double y, double radius);
    void Circle(double x, double y, double radius, uint32_t colour);
    // Draws text in ForeColor with its top left at CurrentX/CurrentY, the background left as it
    // is. With newLine, CurrentX goes back to ScaleLeft and CurrentY one line down; without, the
    // position follows the text. A '\n' in the text starts a new line at ScaleLeft.
    void Print(std::string_view text, bool newLine = true);
    // In user units, always positive; the height of text is its number of lines times the line
    // spacing Print advances by.
    double TextWidth(std::string_view text) const;
    double TextHeight(std::string_view text) const;
    // Paints the widget now.
    void Refresh();

    // --- Pictures and pixels ---
    // The picture as a BMP file (replaced whole); false if it could not be written.
    bool SavePicture(const std::string& path) const;
    // Replaces the picture with a bitmap file and resizes the widget to it. False, with the
    // picture unchanged, when the file cannot be read as a bitmap.
    bool LoadPicture(const std::string& path);
    // The colour (red in the low byte) at a pixel or user point; kNoPixel outside the picture.
    uint32_t PixelAt(int px, int py) const;
    uint32_t Point(double x, double y) const;

    // --- Mouse ---
    // button: 1 left, 2 right, 4 middle; shift: 1 Shift, 2 Ctrl, 4 Alt; x and y in user units.
    using MouseHandler = std::function<void(int button, int shift, double x, double y)>;
    void onMouseDown(MouseHandler handler);
    void onMouseMove(MouseHandler handler);
    void onMouseUp(MouseHandler handler);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Brings the picture to the widget's size, keeping what is drawn.
    void syncSize() const;
    QPoint mapPoint(double x, double y) const;
    void enterUserScale();
    QFont drawingFont() const;
    QFontMetricsF metricsOf(const QFont& f) const;
    // Converts a length in pixels to user units along each axis, keeping the sign of the scale.
    double userDX(double pixels) const;
    double userDY(double pixels) const;
    void drawn();
    void mouse(const MouseHandler& handler, QMouseEvent* event);

    mutable QImage image_;
    bool userScale_ = false;
    double scaleLeft_ = 0, scaleTop_ = 0, scaleWidth_ = 1, scaleHeight_ = 1;
    double currentX_ = 0, currentY_ = 0;
    uint32_t foreColor_ = colour::Black;
    uint32_t backColor_ = colour::White;
    uint32_t fillColor_ = colour::Black;
    int fillStyle_ = 1;
    int drawWidth_ = 1;
    bool autoRedraw_ = true;
    double fontSize_ = 8.25;
    bool fontBold_ = false;
    QString fontName_;
    MouseHandler mouseDown_, mouseMove_, mouseUp_;
};

}  // namespace tirmo::ui
