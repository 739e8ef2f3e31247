#include "ui/StatusLine.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextDocument>

namespace tirmo::ui {
namespace {
// The room a line edit keeps free left and right of its text.
constexpr int kTextMargin = 2;
}  // namespace

QString ShortenToFit(const QString& message, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(message) <= width) return message;
    // The path: the longest run of non-blanks that holds a "/".
    qsizetype start = -1, length = 0;
    for (qsizetype i = 0; i < message.size();) {
        if (message[i].isSpace()) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < message.size() && !message[end].isSpace()) ++end;
        const QStringView word = QStringView(message).sliced(i, end - i);
        if (word.contains(u'/') && word.size() > length) start = i, length = word.size();
        i = end;
    }
    if (start >= 0) {
        const QString before = message.left(start), after = message.mid(start + length);
        const int room = width - metrics.horizontalAdvance(before) - metrics.horizontalAdvance(after);
        const QString path = metrics.elidedText(message.mid(start, length), Qt::ElideMiddle, room);
        // A path shortened to nothing but the mark tells nothing: then the end goes instead.
        if (path.size() > 1) return before + path + after;
    }
    return metrics.elidedText(message, Qt::ElideRight, width);
}

StatusLine::StatusLine(QWidget* parent) : TextBox(parent)
{
    setReadOnly(true);
    // Focus only by a click: the window's first focus would otherwise land on the line and keep
    // it from shortening what it shows.
    setFocusPolicy(Qt::ClickFocus);
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        // Plain text as a tip, also when it looks like markup.
        setToolTip(Qt::mightBeRichText(text) ? "<qt>" + text.toHtmlEscaped() + "</qt>" : text);
    });
}

QRect StatusLine::textRoom() const
{
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    QRect r = style()->subElementRect(QStyle::SE_LineEditContents, &panel, this).marginsRemoved(textMargins());
    return r.adjusted(kTextMargin, 0, -kTextMargin, 0);
}

QString StatusLine::Shown() const { return ShortenToFit(text(), fontMetrics(), textRoom().width()); }

void StatusLine::paintEvent(QPaintEvent* event)
{
    const QString shown = Shown();
    if (hasFocus() || shown == text()) {
        QLineEdit::paintEvent(event);
        return;
    }
    // The frame as the line edit draws it, the shortened text where it would put its own.
    QPainter p(this);
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &p, this);
    const QRect room = textRoom();
    const QFontMetrics fm = fontMetrics();
    const int height = std::max(fm.boundingRect(shown).height(), fm.height());
    const int top = room.y() + (room.height() - height + 1) / 2;
    p.setClipRect(room.adjusted(-kTextMargin, 0, kTextMargin, 0));
    p.setPen(palette().text().color());
    p.drawText(QPoint(room.x(), top + fm.ascent()), shown);
}

}  // namespace tirmo::ui
