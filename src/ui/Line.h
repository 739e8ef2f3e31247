#pragma once
// A straight line drawn on its container, as the windows use them for rules and separators: two
// end points in the container's pixel coordinates, a thickness and a colour. The widget covers
// just the line, with room for its thickness, and lets mouse clicks through to whatever lies
// underneath, since a drawn line is no control a user works with.
#include <QPoint>
#include <QWidget>

#include <cstdint>

#include "ui/Colour.h"

namespace tirmo::ui {

class Line : public QWidget {
    Q_OBJECT
public:
    explicit Line(QWidget* parent = nullptr);

    // End points relative to the container; the widget moves and resizes to cover them.
    void SetEnds(QPoint from, QPoint to);
    int X1() const { return from_.x(); }
    int Y1() const { return from_.y(); }
    int X2() const { return to_.x(); }
    int Y2() const { return to_.y(); }

    // Thickness in pixels, at least 1.
    int BorderWidth() const { return width_; }
    void SetBorderWidth(int pixels);
    uint32_t BorderColor() const { return colour_; }
    void SetBorderColor(uint32_t colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void cover();

    QPoint from_, to_;
    int width_ = 1;
    uint32_t colour_ = colour::Black;
};

// Places a line by its ends given in twips of its container, converted as every geometry is.
void setLineTwips(Line* line, double x1, double y1, double x2, double y2);

}  // namespace tirmo::ui
