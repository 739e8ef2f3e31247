#pragma once
// A window's status line: one read-only line that keeps the place the layout gives it, however
// long its message. The whole message is always the line's text and its tip; a message longer
// than the line is shown shortened: a path in it loses its middle, so that what happened (the
// start) and which file (the end) both stay in sight, and other text ends in "…". Clicked into,
// the line shows the whole message to scroll through and copy.
#include "ui/Controls.h"

#include <QString>

class QFontMetrics;

namespace tirmo::ui {

// What a line width pixels wide shows of message in that type: all of it when it fits; else
// the message with its path (its longest run of non-blanks holding a "/") shortened in the
// middle; else the message cut at the end with "…".
QString ShortenToFit(const QString& message, const QFontMetrics& metrics, int width);

class StatusLine : public TextBox {
    Q_OBJECT
public:
    explicit StatusLine(QWidget* parent = nullptr);
    // What the line shows of its message at its present width and type.
    QString Shown() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect textRoom() const;
};

}  // namespace tirmo::ui
