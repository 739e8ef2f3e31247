#include "ui/FixedWidthFont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QStringList>

#include <cmath>

namespace tirmo::ui {

bool EqualAdvances(const QFont& font)
{
    const QFontMetricsF metrics(font);
    const qreal first = metrics.horizontalAdvance(QLatin1Char(' '));
    for (char c = '!'; c <= '~'; ++c)
        if (std::abs(metrics.horizontalAdvance(QLatin1Char(c)) - first) > 0.01) return false;
    return first > 0;
}

QFont FixedWidthFont(const QString& family, int pointSize)
{
    QFont asked(family, pointSize);
    asked.setStyleHint(QFont::Monospace);
    asked.setFixedPitch(true);
    if (EqualAdvances(asked)) return asked;

    // The candidates by their resolved family: a substitute is measured as what it is.
    auto measured = [pointSize](const QString& candidate, QFont& found) {
        QFont font(candidate, pointSize);
        font.setFamily(QFontInfo(font).family());
        if (!EqualAdvances(font)) return false;
        found = font;
        return true;
    };
    QFont found;
    if (measured(QFontDatabase::systemFont(QFontDatabase::FixedFont).family(), found)) return found;
    for (const QString& installed : QFontDatabase::families())
        if (measured(installed, found)) return found;
    return asked;
}

}  // namespace tirmo::ui
