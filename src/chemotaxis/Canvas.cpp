#include "chemotaxis/Canvas.h"

#include <QFont>
#include <QImageWriter>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

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
    for (int k = 0; k <= steps; ++k) {
        const int x = steps == 0 ? ax : ax + int(std::lround(double(bx - ax) * k / steps));
        const int y = steps == 0 ? ay : ay + int(std::lround(double(by - ay) * k / steps));
        if (x < 0 || y < 0 || x >= w || y >= h) continue;
        reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = colour;
    }
}

void Canvas::FilledBox(double x1, double y1, double x2, double y2, QRgb colour)
{
    const int left = std::max(std::min(px(x1), px(x2)), 0);
    const int right = std::min(std::max(px(x1), px(x2)), image_.width() - 1);
    const int top = std::max(std::min(py(y1), py(y2)), 0);
    const int bottom = std::min(std::max(py(y1), py(y2)), image_.height() - 1);
    for (int y = top; y <= bottom; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image_.scanLine(y));
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

bool Canvas::SaveBmp(const std::string& path) const
{
    QImageWriter writer(QString::fromStdString(path), "bmp");
    return writer.write(image_);
}

}  // namespace tirmo::chemotaxis
