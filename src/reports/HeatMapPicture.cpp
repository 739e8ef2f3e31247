#include "reports/HeatMapPicture.h"

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "platform/Convert.h"
#include "ui/Colour.h"

namespace tirmo::reports {
namespace {

double share(int64_t value, int64_t maximum)
{
    return double(std::clamp<int64_t>(value, 0, maximum)) / double(maximum);
}

int nearest(double v) { return int(platform::RoundHalfEven(v)); }

// Plate units to pixels, halves upward as the picture boxes map them.
class Units {
public:
    Units(const HeatMapPlate& plate, QSize size)
        : sx_(size.width() / (plate.columns * 100.0)), sy_(size.height() / (plate.rows * 100.0))
    {
    }
    QPoint at(double x, double y) const { return QPoint(int(std::floor(x * sx_ + 0.5)), int(std::floor(y * sy_ + 0.5))); }

private:
    double sx_, sy_;
};

}  // namespace

uint32_t HeatColorScale(int64_t value, int64_t maximum)
{
    const double f = share(value, maximum);
    if (f <= 0.5) {
        const int up = nearest(2 * f * 255);
        return ui::RGB(up, up, nearest(255 - 2 * f * 255));
    }
    return ui::RGB(255, nearest(2 * (1 - f) * 255), 0);
}

uint32_t GrayColorScale(int64_t value, int64_t maximum)
{
    const int g = nearest(200 - 200 * share(value, maximum));
    return ui::RGB(g, g, g);
}

QImage DrawHeatMap(const HeatMapStore& store, const HeatMapFrame& frame, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (store.empty() || size.isEmpty()) return image;
    const HeatMapPlate& plate = store.plate;
    const Units units(plate, size);
    QPainter painter(&image);
    const QColor red(255, 0, 0);
    painter.setPen(red);
    // Each circle within its own cell of pixels, the last ones inside the picture: the cell ends
    // a pixel before the next one begins, and an outline reaches a pixel past its rectangle.
    for (int c = 0; c < plate.columns; ++c)
        for (int r = 0; r < plate.rows; ++r)
            painter.drawEllipse(QRect(units.at(c * 100, r * 100), units.at(c * 100 + 100, r * 100 + 100) - QPoint(2, 2)));
    if (frame.summed)
        for (int w = 0; w < plate.wells(); ++w) {
            const int c = w / plate.rows, r = w % plate.rows;
            painter.drawLine(units.at(c * 100, r * 100 + 50), units.at(c * 100 + 100, r * 100 + 50));
            painter.drawLine(units.at(c * 100 + 50, 0), units.at(c * 100 + 50, r * 100 + 100));
        }

    const int64_t maximum = frame.summed ? store.max_sum : store.max_value;
    for (int w = 0; w < plate.wells(); ++w) {
        const HeatMapWell& well = store.wells[size_t(w)];
        if (well.height() < 1 || well.width() < 1) continue;
        const int c = w / plate.rows, r = w % plate.rows;
        auto paint = [&](int y, int x, int64_t v) {
            const uint32_t colour = frame.colours == HeatMapColours::BlackWhite ? ui::colour::Black
                                    : frame.colours == HeatMapColours::Grey     ? GrayColorScale(v, maximum)
                                                                                : HeatColorScale(v, maximum);
            const int X = nearest(c * 100 + double(y) / well.height() * 100);
            const int Y = nearest(r * 100 + 100 - double(x) / well.width() * 100);
            painter.fillRect(QRect(units.at(X, Y), units.at(X + 2, Y + 2)), ui::toQColor(colour));
        };
        if (frame.summed) {
            for (int y = 0; y < well.height(); ++y)
                for (int x = 0; x < well.width(); ++x)
                    if (well.sum(y, x) > 0) paint(y, x, well.sum(y, x));
        } else {
            well.ForEachActive(frame.scan, [&](const HeatMapPoint& p) { paint(p.y, p.x, p.count); });
        }
    }

    QFont font("MS Sans Serif");
    font.setPointSizeF(8.25);
    painter.setPen(Qt::black);
    for (int w = 0; w < plate.wells(); ++w) {
        const bool marked = size_t(w) < frame.highlight.size() && frame.highlight[size_t(w)];
        font.setBold(marked);
        font.setUnderline(marked);
        painter.setFont(font);
        const QPoint corner = units.at(w / plate.rows * 100, w % plate.rows * 100);
        painter.drawText(QRect(corner, QSize(size.width(), size.height())), Qt::AlignLeft | Qt::AlignTop,
                         QString::fromStdString(HeatMapWellLabel(w, plate)));
    }
    return image;
}

}  // namespace tirmo::reports
