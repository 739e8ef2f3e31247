#pragma once
// A coloured indicator shape (the light and temperature indicators of the main window): a small
// framed area whose fill colour window code sets and tests read back.
#include <QFrame>
#include <cstdint>

#include "ui/Colour.h"

namespace tirmo::ui {

class Shape : public QFrame {
    Q_OBJECT
public:
    explicit Shape(QWidget* parent = nullptr) : QFrame(parent)
    {
        setFrameShape(QFrame::Box);
        setAutoFillBackground(true);
        SetFillColor(colour::White);
    }
    uint32_t FillColor() const { return fill_; }
    void SetFillColor(uint32_t colour)
    {
        fill_ = colour;
        QPalette p = palette();
        p.setColor(QPalette::Window, toQColor(colour));
        setPalette(p);
        update();
    }

    // 0 solid (the fill colour shows), 1 transparent (what lies behind shows through).
    int FillStyle() const { return fill_style_; }
    void SetFillStyle(int style)
    {
        fill_style_ = style == 1 ? 1 : 0;
        setAutoFillBackground(fill_style_ == 0);
        update();
    }

private:
    uint32_t fill_ = 0;
    int fill_style_ = 0;
};

}  // namespace tirmo::ui
