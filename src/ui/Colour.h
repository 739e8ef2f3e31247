#pragma once
// Colours as the window code stores them: one 24-bit number with red in the low byte, green in
// the middle and blue in the high byte, so 0x0000FF is red and 0xFF0000 is blue. Saved settings
// and the plotting code keep colours in this order, which is the reverse of Qt's 0xRRGGBB;
// everything that hands a colour to Qt goes through toQColor so the two orders never mix.
#include <QColor>

#include <algorithm>
#include <cstdint>

namespace tirmo::ui {

// Components outside 0-255 are clamped, so that a computed gradient that overshoots stays at
// full strength instead of wrapping into another colour.
constexpr uint32_t RGB(int red, int green, int blue)
{
    return uint32_t(std::clamp(red, 0, 255)) + 256u * uint32_t(std::clamp(green, 0, 255)) +
           65536u * uint32_t(std::clamp(blue, 0, 255));
}

constexpr int redOf(uint32_t colour) { return int(colour & 0xFFu); }
constexpr int greenOf(uint32_t colour) { return int((colour >> 8) & 0xFFu); }
constexpr int blueOf(uint32_t colour) { return int((colour >> 16) & 0xFFu); }

// Bits above the 24 colour bits are ignored: they carry no colour, and this program stores
// nothing there.
inline QColor toQColor(uint32_t colour) { return QColor(redOf(colour), greenOf(colour), blueOf(colour)); }

// From Qt's packed 0xAARRGGBB, as QImage::pixel returns it; alpha is dropped.
constexpr uint32_t fromQRgb(uint32_t argb)
{
    return RGB(int((argb >> 16) & 0xFFu), int((argb >> 8) & 0xFFu), int(argb & 0xFFu));
}

inline uint32_t fromQColor(const QColor& colour) { return RGB(colour.red(), colour.green(), colour.blue()); }

// The colours the windows name rather than compute.
namespace colour {
inline constexpr uint32_t Black = RGB(0, 0, 0);
inline constexpr uint32_t White = RGB(255, 255, 255);
inline constexpr uint32_t Red = RGB(255, 0, 0);
inline constexpr uint32_t Green = RGB(0, 255, 0);
inline constexpr uint32_t Blue = RGB(0, 0, 255);
inline constexpr uint32_t Yellow = RGB(255, 255, 0);
inline constexpr uint32_t Magenta = RGB(255, 0, 255);
inline constexpr uint32_t Cyan = RGB(0, 255, 255);
inline constexpr uint32_t Grey = RGB(192, 192, 192);
}  // namespace colour

}  // namespace tirmo::ui
