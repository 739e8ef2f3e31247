#include "ui/PictureBox.h"

#include <optional>

#include "ui/Control.h"
#include "ui/PictureFile.h"

#include <QImageReader>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace tirmo::ui {
namespace {

// Coordinates from a scale gone wrong can be astronomically far off; beyond this they are
// clamped, which keeps the conversion to int defined and still lies far outside any picture.
constexpr double kPixelLimit = 1 << 22;

int roundPixel(double v)
{
    if (std::isnan(v)) return 0;
    return int(std::floor(std::clamp(v, -kPixelLimit, kPixelLimit) + 0.5));
}

bool finite(double a, double b) { return std::isfinite(a) && std::isfinite(b); }

// The pixels from one corner to the other, both included, whichever way round they are given.
QRect spanRect(QPoint a, QPoint b)
{
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

QPen pen(uint32_t colour, int width)
{
    QPen p(toQColor(colour));
    p.setWidth(width);
    // Thin lines end exactly on their end points; thick ones get round ends, so joined segments
    // of a plot curve meet without notches.
    p.setCapStyle(width > 1 ? Qt::RoundCap : Qt::SquareCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

int mouseButtons(Qt::MouseButtons buttons)
{
    int result = 0;
    if (buttons & Qt::LeftButton) result |= 1;
    if (buttons & Qt::RightButton) result |= 2;
    if (buttons & Qt::MiddleButton) result |= 4;
    return result;
}

int shiftState(Qt::KeyboardModifiers modifiers)
{
    int result = 0;
    if (modifiers & Qt::ShiftModifier) result |= 1;
    if (modifiers & Qt::ControlModifier) result |= 2;
    if (modifiers & Qt::AltModifier) result |= 4;
    return result;
}

std::vector<QString> splitLines(std::string_view text)
{
    std::vector<QString> lines;
    size_t start = 0;
    while (true) {
        const size_t end = text.find('\n', start);
        std::string_view line = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(toQString(line));
        if (end == std::string_view::npos) return lines;
        start = end + 1;
    }
}

}  // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent)
{
    // Every pixel is painted from the picture; Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

// --- Pixel area ---

void PictureBox::SetPixelSize(int width, int height)
{
    resize(std::max(0, width), std::max(0, height));
    syncSize();
}

int PictureBox::PixelWidth() const { return width(); }
int PictureBox::PixelHeight() const { return height(); }

QImage& PictureBox::image()
{
    syncSize();
    return image_;
}

void PictureBox::syncSize() const
{
    const QSize wanted(std::max(0, width()), std::max(0, height()));
    if (image_.size() == wanted) return;
    QImage next(wanted, QImage::Format_RGB32);
    if (!next.isNull()) {
        next.fill(toQColor(backColor_));
        if (!image_.isNull()) {
            QPainter p(&next);
            p.drawImage(0, 0, image_);
        }
    }
    image_ = std::move(next);
}

// --- Coordinates ---

void PictureBox::Scale(double x1, double y1, double x2, double y2)
{
    if (!finite(x1, y1) || !finite(x2, y2) || x1 == x2 || y1 == y2) return;
    userScale_ = true;
    scaleLeft_ = x1;
    scaleTop_ = y1;
    scaleWidth_ = x2 - x1;
    scaleHeight_ = y2 - y1;
}

void PictureBox::ScalePixels() { userScale_ = false; }
bool PictureBox::HasUserScale() const { return userScale_; }
double PictureBox::ScaleLeft() const { return userScale_ ? scaleLeft_ : 0.0; }
double PictureBox::ScaleTop() const { return userScale_ ? scaleTop_ : 0.0; }
double PictureBox::ScaleWidth() const { return userScale_ ? scaleWidth_ : double(width()); }
double PictureBox::ScaleHeight() const { return userScale_ ? scaleHeight_ : double(height()); }

void PictureBox::enterUserScale()
{
    if (userScale_) return;
    scaleLeft_ = 0;
    scaleTop_ = 0;
    scaleWidth_ = std::max(1, width());
    scaleHeight_ = std::max(1, height());
    userScale_ = true;
}

void PictureBox::SetScaleLeft(double left)
{
    if (!std::isfinite(left)) return;
    enterUserScale();
    scaleLeft_ = left;
}

void PictureBox::SetScaleTop(double top)
{
    if (!std::isfinite(top)) return;
    enterUserScale();
    scaleTop_ = top;
}

void PictureBox::SetScaleWidth(double width)
{
    if (!std::isfinite(width) || width == 0) return;
    enterUserScale();
    scaleWidth_ = width;
}

void PictureBox::SetScaleHeight(double height)
{
    if (!std::isfinite(height) || height == 0) return;
    enterUserScale();
    scaleHeight_ = height;
}

QPointF PictureBox::toPixels(double x, double y) const
{
    if (!userScale_) return {x, y};
    return {(x - scaleLeft_) * width() / scaleWidth_, (y - scaleTop_) * height() / scaleHeight_};
}

QPointF PictureBox::toUser(double px, double py) const
{
    if (!userScale_) return {px, py};
    return {scaleLeft_ + userDX(px), scaleTop_ + userDY(py)};
}

double PictureBox::userDX(double pixels) const
{
    return userScale_ ? pixels * scaleWidth_ / std::max(1, width()) : pixels;
}

double PictureBox::userDY(double pixels) const
{
    return userScale_ ? pixels * scaleHeight_ / std::max(1, height()) : pixels;
}

QPoint PictureBox::mapPoint(double x, double y) const
{
    const QPointF p = toPixels(x, y);
    return {roundPixel(p.x()), roundPixel(p.y())};
}

// --- Drawing state ---

double PictureBox::CurrentX() const { return currentX_; }
double PictureBox::CurrentY() const { return currentY_; }
void PictureBox::SetCurrentX(double x) { currentX_ = x; }
void PictureBox::SetCurrentY(double y) { currentY_ = y; }
uint32_t PictureBox::ForeColor() const { return foreColor_; }
void PictureBox::SetForeColor(uint32_t colour) { foreColor_ = colour & 0xFFFFFFu; }
uint32_t PictureBox::BackColor() const { return backColor_; }

void PictureBox::SetBackColor(uint32_t colour)
{
    backColor_ = colour & 0xFFFFFFu;
    syncSize();
    image_.fill(toQColor(backColor_));
    drawn();
}

uint32_t PictureBox::FillColor() const { return fillColor_; }
void PictureBox::SetFillColor(uint32_t colour) { fillColor_ = colour & 0xFFFFFFu; }
int PictureBox::FillStyle() const { return fillStyle_; }
void PictureBox::SetFillStyle(int style) { fillStyle_ = style; }
int PictureBox::DrawWidth() const { return drawWidth_; }
void PictureBox::SetDrawWidth(int pixels) { drawWidth_ = std::clamp(pixels, 1, 1000); }
bool PictureBox::AutoRedraw() const { return autoRedraw_; }
void PictureBox::SetAutoRedraw(bool on) { autoRedraw_ = on; }
double PictureBox::FontSize() const { return fontSize_; }

void PictureBox::SetFontSize(double points)
{
    if (std::isfinite(points) && points > 0) fontSize_ = std::min(points, 2000.0);
}

bool PictureBox::FontBold() const { return fontBold_; }
void PictureBox::SetFontBold(bool bold) { fontBold_ = bold; }
std::string PictureBox::FontName() const { return toBytes(drawingFont().family()); }
void PictureBox::SetFontName(std::string_view family) { fontName_ = toQString(family); }

QFont PictureBox::drawingFont() const
{
    QFont f = font();
    if (!fontName_.isEmpty()) f.setFamily(fontName_);
    f.setPointSizeF(fontSize_);
    f.setBold(fontBold_);
    // Smoothed: unsmoothed type of a few points draws as hollow outlines on some desktops.
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

QFontMetricsF PictureBox::metricsOf(const QFont& f) const
{
    // Measured on the picture, whose resolution is the one text is drawn at; an empty picture
    // has none, and a one-pixel image of the same kind stands in.
    static const QImage stand(1, 1, QImage::Format_RGB32);
    return QFontMetricsF(f, image_.isNull() ? &stand : &image_);
}

// --- Drawing ---

void PictureBox::drawn() { update(); }

void PictureBox::Cls()
{
    syncSize();
    image_.fill(toQColor(backColor_));
    currentX_ = 0;
    currentY_ = 0;
    drawn();
}

void PictureBox::Line(double x1, double y1, double x2, double y2) { Line(x1, y1, x2, y2, foreColor_); }

void PictureBox::Line(double x1, double y1, double x2, double y2, uint32_t colour)
{
    if (!finite(x1, y1) || !finite(x2, y2)) return;
    syncSize();
    const QPoint a = mapPoint(x1, y1);
    const QPoint b = mapPoint(x2, y2);
    if (!image_.isNull()) {
        QPainter p(&image_);
        p.setPen(pen(colour, drawWidth_));
        if (a == b)
            p.drawPoint(a);
        else
            p.drawLine(a, b);
    }
    currentX_ = x2;
    currentY_ = y2;
    drawn();
}

void PictureBox::Lines(const std::vector<Segment>& segments, uint32_t colour)
{
    syncSize();
    std::optional<QPainter> p;
    bool any = false;
    for (const Segment& s : segments) {
        if (!finite(s.x1, s.y1) || !finite(s.x2, s.y2)) continue;
        const QPoint a = mapPoint(s.x1, s.y1);
        const QPoint b = mapPoint(s.x2, s.y2);
        if (!image_.isNull()) {
            if (!p) {
                p.emplace(&image_);
                p->setPen(pen(colour, drawWidth_));
            }
            if (a == b)
                p->drawPoint(a);
            else
                p->drawLine(a, b);
        }
        currentX_ = s.x2;
        currentY_ = s.y2;
        any = true;
    }
    if (any) drawn();
}

void PictureBox::Box(double x1, double y1, double x2, double y2, uint32_t colour)
{
    if (!finite(x1, y1) || !finite(x2, y2)) return;
    syncSize();
    const QRect r = spanRect(mapPoint(x1, y1), mapPoint(x2, y2));
    if (!image_.isNull()) {
        // Each side is a band DrawWidth pixels thick centred on the edge, filled rather than
        // stroked so that the pixels are the same ones FilledBox covers at the rim.
        const int before = (drawWidth_ - 1) / 2;
        const int thick = drawWidth_;
        const QColor c = toQColor(colour);
        const int left = r.left() - before, top = r.top() - before;
        const int outerWidth = r.width() + thick - 1, outerHeight = r.height() + thick - 1;
        QPainter p(&image_);
        p.fillRect(QRect(left, top, outerWidth, thick), c);
        p.fillRect(QRect(left, r.bottom() - before, outerWidth, thick), c);
        p.fillRect(QRect(left, top, thick, outerHeight), c);
        p.fillRect(QRect(r.right() - before, top, thick, outerHeight), c);
    }
    currentX_ = x2;
    currentY_ = y2;
    drawn();
}

void PictureBox::FilledBox(double x1, double y1, double x2, double y2, uint32_t colour)
{
    if (!finite(x1, y1) || !finite(x2, y2)) return;
    syncSize();
    // Both corners included, like the outline Box draws.
    const QRect r = spanRect(mapPoint(x1, y1), mapPoint(x2, y2)).intersected(image_.rect());
    if (!r.isEmpty()) {
        QPainter p(&image_);
        p.fillRect(r, toQColor(colour));
    }
    currentX_ = x2;
    currentY_ = y2;
    drawn();
}

void PictureBox::PSet(double x, double y) { PSet(x, y, foreColor_); }

void PictureBox::PSet(double x, double y, uint32_t colour)
{
    if (!finite(x, y)) return;
    syncSize();
    const QPoint at = mapPoint(x, y);
    if (drawWidth_ == 1) {
        if (image_.valid(at)) image_.setPixel(at, toQColor(colour).rgb());
    } else if (!image_.isNull()) {
        // A wide pen sets a round dot centred on the pixel.
        QPainter p(&image_);
        p.setPen(Qt::NoPen);
        p.setBrush(toQColor(colour));
        const double r = drawWidth_ / 2.0;
        p.drawEllipse(QPointF(at.x() + 0.5, at.y() + 0.5), r, r);
    }
    currentX_ = x;
    currentY_ = y;
    drawn();
}

void PictureBox::Circle(double x, double y, double radius) { Circle(x, y, radius, foreColor_); }

void PictureBox::Circle(double x, double y, double radius, uint32_t colour)
{
    if (!finite(x, y) || !std::isfinite(radius)) return;
    syncSize();
    const QPoint centre = mapPoint(x, y);
    const double r = std::min(std::abs(userScale_ ? radius * width() / scaleWidth_ : radius), kPixelLimit);
    if (!image_.isNull()) {
        QPainter p(&image_);
        p.setPen(pen(colour, drawWidth_));
        if (fillStyle_ == 0)
            p.setBrush(toQColor(fillColor_));
        else
            p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(centre.x() + 0.5, centre.y() + 0.5), r, r);
    }
    currentX_ = x;
    currentY_ = y;
    drawn();
}

void PictureBox::Print(std::string_view text, bool newLine)
{
    syncSize();
    const QFont f = drawingFont();
    const QFontMetricsF metrics = metricsOf(f);
    const double lineStep = userDY(metrics.lineSpacing());

    double x = currentX_;
    double y = currentY_;
    double lastWidth = 0;
    const std::vector<QString> lines = splitLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            x = ScaleLeft();
            y += lineStep;
        }
        if (!image_.isNull() && !lines[i].isEmpty()) {
            QPainter p(&image_);
            p.setFont(f);
            p.setPen(toQColor(foreColor_));
            const QPoint at = mapPoint(x, y);
            p.drawText(QPointF(at.x(), at.y() + metrics.ascent()), lines[i]);
        }
        lastWidth = metrics.horizontalAdvance(lines[i]);
    }
    if (newLine) {
        currentX_ = ScaleLeft();
        currentY_ = y + lineStep;
    } else {
        currentX_ = x + userDX(lastWidth);
        currentY_ = y;
    }
    drawn();
}

double PictureBox::TextWidth(std::string_view text) const
{
    syncSize();
    const QFontMetricsF metrics = metricsOf(drawingFont());
    double widest = 0;
    for (const QString& line : splitLines(text)) widest = std::max(widest, metrics.horizontalAdvance(line));
    return std::abs(userDX(widest));
}

double PictureBox::TextHeight(std::string_view text) const
{
    syncSize();
    const QFontMetricsF metrics = metricsOf(drawingFont());
    return std::abs(userDY(metrics.lineSpacing() * double(splitLines(text).size())));
}

void PictureBox::Refresh() { repaint(); }

// --- Pictures and pixels ---

bool PictureBox::SavePicture(const std::string& path) const
{
    syncSize();
    return WritePicture(image_, path);
}

bool PictureBox::LoadPicture(const std::string& path)
{
    QImageReader reader(QString::fromStdString(path));
    QImage loaded = reader.read();
    if (loaded.isNull()) return false;
    loaded = loaded.convertToFormat(QImage::Format_RGB32);
    resize(loaded.width(), loaded.height());
    image_ = std::move(loaded);
    // A widget held to another size by its limits crops or extends the picture to fit.
    syncSize();
    drawn();
    return true;
}

uint32_t PictureBox::PixelAt(int px, int py) const
{
    syncSize();
    if (!image_.valid(px, py)) return kNoPixel;
    return fromQRgb(image_.pixel(px, py));
}

uint32_t PictureBox::Point(double x, double y) const
{
    if (!finite(x, y)) return kNoPixel;
    const QPoint at = mapPoint(x, y);
    return PixelAt(at.x(), at.y());
}

// --- Mouse ---

void PictureBox::onMouseDown(MouseHandler handler) { mouseDown_ = std::move(handler); }

void PictureBox::onMouseMove(MouseHandler handler)
{
    mouseMove_ = std::move(handler);
    // Moves are reported with no button held too, as the windows track the cursor over plots.
    setMouseTracking(bool(mouseMove_));
}

void PictureBox::onMouseUp(MouseHandler handler) { mouseUp_ = std::move(handler); }

void PictureBox::mouse(const MouseHandler& handler, QMouseEvent* event)
{
    if (!handler) return;
    // A press or release names the button that changed; a move names those held.
    const int button = mouseButtons(event->type() == QEvent::MouseMove ? event->buttons() : event->button());
    const QPointF at = toUser(event->position().x(), event->position().y());
    MouseHandler running = handler;
    running(button, shiftState(event->modifiers()), at.x(), at.y());
}

void PictureBox::mousePressEvent(QMouseEvent* event) { mouse(mouseDown_, event); }
void PictureBox::mouseMoveEvent(QMouseEvent* event) { mouse(mouseMove_, event); }
void PictureBox::mouseReleaseEvent(QMouseEvent* event) { mouse(mouseUp_, event); }

// --- Qt ---

void PictureBox::paintEvent(QPaintEvent* event)
{
    syncSize();
    QPainter p(this);
    p.drawImage(event->rect(), image_, event->rect());
}

void PictureBox::resizeEvent(QResizeEvent* event)
{
    syncSize();
    QWidget::resizeEvent(event);
}

}  // namespace tirmo::ui
