#include "ui/Line.h"

#include <QPainter>
#include <QPen>

#include <algorithm>

#include "ui/Twips.h"

namespace tirmo::ui {

Line::Line(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    cover();
}

void Line::SetEnds(QPoint from, QPoint to)
{
    from_ = from;
    to_ = to;
    cover();
}

void Line::SetBorderWidth(int pixels)
{
    width_ = std::max(1, pixels);
    cover();
}

void Line::SetBorderColor(uint32_t colour)
{
    colour_ = colour;
    update();
}

// The widget spans the two ends with the thickness around them (half before, half after), so
// a thick line is drawn centred on its ends and not cut off at the widget's edge.
void Line::cover()
{
    const int before = width_ / 2, after = width_ - before;
    const QRect span(QPoint(std::min(from_.x(), to_.x()) - before, std::min(from_.y(), to_.y()) - before),
                     QPoint(std::max(from_.x(), to_.x()) + after - 1, std::max(from_.y(), to_.y()) + after - 1));
    setGeometry(span);
    update();
}

void Line::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QPen pen(toQColor(colour_));
    pen.setWidth(width_);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    const QPoint origin = pos();
    painter.drawLine(from_ - origin, to_ - origin);
}

void setLineTwips(Line* line, double x1, double y1, double x2, double y2)
{
    line->SetEnds(QPoint(twipsToPixels(x1), twipsToPixels(y1)), QPoint(twipsToPixels(x2), twipsToPixels(y2)));
}

}  // namespace tirmo::ui
