#pragma once
// A drawing surface for the pictures the chemotaxis processing saves by the thousand: an image
// with a user coordinate system laid over it, as the window's picture boxes have. Lines and boxes
// are set into the image's rows directly, which keeps a frame of a few thousand pixel cells cheap
// to draw; text goes through a painter.
//
// Scale(left, top, right, bottom) puts the user point (left, top) at the top-left pixel and
// (right, bottom) at the bottom-right edge; points map to pixels by rounding to the nearest.
#include <QImage>
#include <QRgb>

#include <string>
#include <string_view>

namespace tirmo::chemotaxis {

class Canvas {
public:
    Canvas(int width, int height);
    void Scale(double left, double top, double right, double bottom);
    // White all over.
    void Clear();
    // A line through both end points (both drawn), clipped to the picture.
    void Line(double x1, double y1, double x2, double y2, QRgb colour);
    // A box filled from corner to corner, both included.
    void FilledBox(double x1, double y1, double x2, double y2, QRgb colour);
    // Text with its top left at (x, y), in points of type.
    void Print(double x, double y, std::string_view text, double points, bool bold, QRgb colour);

    const QImage& image() const { return image_; }
    // Writes the picture as a BMP file; false when it could not be written.
    bool SaveBmp(const std::string& path) const;

private:
    int px(double x) const;
    int py(double y) const;
    QImage image_;
    double left_ = 0, top_ = 0, width_ = 1, height_ = 1;
};

}  // namespace tirmo::chemotaxis
