#include "chemotaxis/ChemotaxisPictures.h"

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/Convert.h"
#include "ui/PictureFile.h"

namespace tirmo::chemotaxis {

Canvas::Canvas(int width, int height)
    : image_(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32), width_(std::max(width, 1)),
      height_(std::max(height, 1))
{
    Clear();
}

void Canvas::Scale(double left, double top, double right, double bottom)
{
    if (left == right || top == bottom) return;
    left_ = left;
    top_ = top;
    width_ = right - left;
    height_ = bottom - top;
}

void Canvas::Clear() { image_.fill(qRgb(255, 255, 255)); }

int Canvas::px(double x) const { return int(std::floor((x - left_) / width_ * image_.width() + 0.5)); }
int Canvas::py(double y) const { return int(std::floor((y - top_) / height_ * image_.height() + 0.5)); }

void Canvas::Line(double x1, double y1, double x2, double y2, QRgb colour)
{
    const int ax = px(x1), ay = py(y1), bx = px(x2), by = py(y2);
    const int steps = std::max(std::abs(bx - ax), std::abs(by - ay));
    const int w = image_.width(), h = image_.height();
    // Thousands of frames a run are drawn cell by cell: the rows are found without a call a pixel.
    uchar* const bits = image_.bits();
    const qsizetype stride = image_.bytesPerLine();
    for (int k = 0; k <= steps; ++k) {
        const int x = steps == 0 ? ax : ax + int(std::lround(double(bx - ax) * k / steps));
        const int y = steps == 0 ? ay : ay + int(std::lround(double(by - ay) * k / steps));
        if (x < 0 || y < 0 || x >= w || y >= h) continue;
        reinterpret_cast<QRgb*>(bits + y * stride)[x] = colour;
    }
}

void Canvas::FilledBox(double x1, double y1, double x2, double y2, QRgb colour)
{
    const int ax = px(x1), bx = px(x2), ay = py(y1), by = py(y2);
    const int left = std::max(std::min(ax, bx), 0);
    const int right = std::min(std::max(ax, bx), image_.width() - 1);
    const int top = std::max(std::min(ay, by), 0);
    const int bottom = std::min(std::max(ay, by), image_.height() - 1);
    uchar* const bits = image_.bits();
    const qsizetype stride = image_.bytesPerLine();
    for (int y = top; y <= bottom; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(bits + y * stride);
        std::fill(row + left, row + right + 1, colour);
    }
}

void Canvas::Print(double x, double y, std::string_view text, double points, bool bold, QRgb colour)
{
    QPainter painter(&image_);
    QFont font = painter.font();
    font.setPointSizeF(points);
    font.setBold(bold);
    painter.setFont(font);
    painter.setPen(QColor(colour));
    const QString shown = QString::fromLatin1(text.data(), qsizetype(text.size()));
    painter.drawText(QPointF(px(x), py(y) + painter.fontMetrics().ascent()), shown);
}

bool Canvas::SaveBmp(const std::string& path, bool durable) const { return ui::WritePicture(image_, path, durable); }

// ---------------------------------------------------------------- the index chart frame

namespace {
constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kBlack = qRgb(0, 0, 0);
}  // namespace

void PlotIndexChart(Canvas& chart, const std::string& title, int steps)
{
    const double n = steps > 0 ? steps : 1;
    chart.Scale(-0.2 * n, 1.4, 1.04 * n, -1.4);
    chart.Clear();
    chart.Line(0, -1, 0, 1, kRed);
    chart.Line(0, 0, n, 0, kRed);
    chart.Print(-0.1 * n, 1.4, title, 8, true, kBlack);
    chart.Print(-0.1 * n, 1.0, "1", 8, false, kBlack);
    chart.Print(-0.1 * n, -0.8, "-1", 8, false, kBlack);
    chart.Print(-0.1 * n, 0, "0", 8, false, kBlack);
    chart.Print(n / 2, -1.1, "Time[m]", 5, false, kRed);
}

void DrawIndexStep(Canvas& chart, int step, double previous, double index)
{
    chart.Line(step - 1, previous, step, index, kBlack);
}

void DrawTimeMark(Canvas& chart, int step, double minutes)
{
    chart.Line(step, 0.05, step, -0.05, kRed);
    chart.Print(step, -0.075, platform::Format(minutes, "0"), 5, false, kRed);
}

// ---------------------------------------------------------------- the frame of a well

void DrawWellFrame(Canvas& frame, const FrameGrid& grid, const std::string& caption, const FrameLook& look)
{
    const int w = grid.width(), h = grid.height();
    frame.Scale(0, std::max(w, 1), std::max(h, 1), 0);
    frame.Clear();
    if (look.red_cross) {
        frame.Line(0, w / 2.0, h, w / 2.0, qRgb(255, 0, 0));
        frame.Line(h / 2.0, 0, h / 2.0, w, qRgb(255, 0, 0));
    }
    frame.Print(0, w, caption, 8, false, qRgb(0, 0, 0));
    for (int y = 0; y <= h; ++y) {
        for (int x = 0; x <= w; ++x) {
            const int32_t v = grid.at(x, y);
            if (v > 0)
                frame.Line(y, x, y + 1, x + 1, qRgb(std::min<int32_t>(v, 255), 0, 0));
            else if (v < 0 && look.grey)
                frame.FilledBox(y, x, y + 1, x + 1, qRgb(200, 200, 200));
        }
    }
}

}  // namespace tirmo::chemotaxis
