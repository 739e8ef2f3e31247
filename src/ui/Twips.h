#pragma once
// Window layouts are given in twips, as the windows were first laid out: 1440 twips to the inch,
// on a screen of 96 pixels to the inch, so 15 twips to the pixel. Keeping the layouts in twips
// lets the window code be compared line by line with the layouts it reproduces; the conversion
// to pixels happens here and nowhere else.
//
// Conversions round to the nearest pixel, halves upward. Geometry rounds the edges, not the
// sizes, so controls laid edge to edge in twips stay edge to edge in pixels, without gaps or
// overlaps however their twips fall between pixels.
class QWidget;

namespace tirmo::ui {

inline constexpr int kTwipsPerPixel = 15;

int twipsToPixels(double twips);
double pixelsToTwips(int pixels);

// Places w in its parent; a negative width or height counts as zero.
void setGeometryTwips(QWidget* w, double left, double top, double width, double height);

// Read back from the widget's pixel geometry, so a value set in twips comes back as the nearest
// whole pixel's worth of twips (a multiple of 15).
double leftTwips(const QWidget* w);
double topTwips(const QWidget* w);
double widthTwips(const QWidget* w);
double heightTwips(const QWidget* w);

// One property at a time, as window code moves controls around; the others keep their value.
void setLeftTwips(QWidget* w, double left);
void setTopTwips(QWidget* w, double top);
void setWidthTwips(QWidget* w, double width);
void setHeightTwips(QWidget* w, double height);

}  // namespace tirmo::ui
