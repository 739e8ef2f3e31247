#pragma once
// The pictures the chemotaxis processing draws and saves by the thousand: the frames of a well's
// pixel activity and the index charts, each on a canvas that keeps a user coordinate system over
// an image, as the window's picture boxes do.
//
// The canvas sets lines and boxes into the image's rows directly, which keeps a frame of a few
// thousand pixel cells cheap to draw; text goes through a painter.
//
// Scale(left, top, right, bottom) puts the user point (left, top) at the top-left pixel and
// (right, bottom) at the bottom-right edge; points map to pixels by rounding to the nearest.
#include <QImage>
#include <QRgb>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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
    // Writes the picture as a BMP file, whole or not at all (see ui::WritePicture); false when
    // it could not be written.
    bool SaveBmp(const std::string& path, bool durable = true) const;

private:
    int px(double x) const;
    int py(double y) const;
    QImage image_;
    double left_ = 0, top_ = 0, width_ = 1, height_ = 1;
};

// ---- the index chart frame
//
// The frame every chemotaxis index chart is drawn in: time steps across, the index from -1 to 1
// upwards, two red axes, a bold title, the labels "1", "0" and "-1" and the caption "Time[m]".
// The processing draws the index series and the time marks into it and saves the picture.

// Clears the canvas and draws the frame of a chart spanning steps 0..steps. A chart of no step
// is drawn as one of a single step, so that it still has a scale.
void PlotIndexChart(Canvas& chart, const std::string& title, int steps);

// The series from (step - 1, previous) to (step, index), in black.
void DrawIndexStep(Canvas& chart, int step, double previous, double index);
// A red tick at a marked step with its time in whole minutes under the axis.
void DrawTimeMark(Canvas& chart, int step, double minutes);

// ---- the frame of a well
//
// One frame of a well's pixel activity in one scan: each pixel cell of the well's block gets its
// diagonal in a red that grows with the activity (pure red from 255 on), a pixel outside the
// well's mask a grey box when wanted, and no activity leaves the background.
//
// The block's field positions x run upwards and its rows y to the right.

// The activity of a well's block in one scan: fields x = 0..width, rows y = 0..height.
// A value above 0 is activity, 0 none, -1 a pixel outside the mask.
class FrameGrid {
public:
    FrameGrid(int width, int height)
        : width_(width), height_(height), values_(size_t(width + 1) * size_t(height + 1), 0) {}
    int width() const { return width_; }
    int height() const { return height_; }
    int32_t at(int x, int y) const { return values_[index(x, y)]; }
    void set(int x, int y, int32_t v) { values_[index(x, y)] = v; }
    void Clear() { std::fill(values_.begin(), values_.end(), 0); }

private:
    size_t index(int x, int y) const { return size_t(y) * size_t(width_ + 1) + size_t(x); }
    int width_, height_;
    std::vector<int32_t> values_;
};

struct FrameLook {
    bool red_cross = true;  // the block's middle lines in red
    bool grey = true;       // pixels outside the mask in grey
};

// Draws the frame with its caption (well name and time, "A1[12.5m]") at the top left.
void DrawWellFrame(Canvas& frame, const FrameGrid& grid, const std::string& caption, const FrameLook& look);

}  // namespace tirmo::chemotaxis
