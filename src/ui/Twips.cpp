#include "ui/Twips.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

namespace tirmo::ui {
namespace {

// Pixel coordinates far beyond any screen come from bad arithmetic in a layout, not from a
// layout; they are clamped so the conversion to int stays defined.
constexpr double kPixelLimit = 1e7;

int roundPixels(double pixels)
{
    if (std::isnan(pixels)) return 0;
    return int(std::floor(std::clamp(pixels, -kPixelLimit, kPixelLimit) + 0.5));
}

// The pixel span from one twips edge to another, never negative.
int spanPixels(double startTwips, double lengthTwips)
{
    const double length = std::max(0.0, lengthTwips);
    return std::max(0, twipsToPixels(startTwips + length) - twipsToPixels(startTwips));
}

}  // namespace

int twipsToPixels(double twips) { return roundPixels(twips / kTwipsPerPixel); }

double pixelsToTwips(int pixels) { return double(pixels) * kTwipsPerPixel; }

void setGeometryTwips(QWidget* w, double left, double top, double width, double height)
{
    w->setGeometry(twipsToPixels(left), twipsToPixels(top), spanPixels(left, width), spanPixels(top, height));
}

double leftTwips(const QWidget* w) { return pixelsToTwips(w->x()); }
double topTwips(const QWidget* w) { return pixelsToTwips(w->y()); }
double widthTwips(const QWidget* w) { return pixelsToTwips(w->width()); }
double heightTwips(const QWidget* w) { return pixelsToTwips(w->height()); }

// The current position is a whole pixel, so rounding its far edge is rounding the size alone.
void setLeftTwips(QWidget* w, double left) { w->move(twipsToPixels(left), w->y()); }
void setTopTwips(QWidget* w, double top) { w->move(w->x(), twipsToPixels(top)); }
void setWidthTwips(QWidget* w, double width) { w->resize(spanPixels(leftTwips(w), width), w->height()); }
void setHeightTwips(QWidget* w, double height) { w->resize(w->width(), spanPixels(topTwips(w), height)); }

}  // namespace tirmo::ui
