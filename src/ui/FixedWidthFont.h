#pragma once
// A face in which every character takes the same advance, so that rows of text line up in
// columns. Faces are judged by measuring them, not by what they claim: some fixed-width faces
// do not say they are one, and a name asked for may resolve to a proportional face on a desktop
// that lacks it.
#include <QFont>
#include <QString>

namespace tirmo::ui {

// Whether every printable character (blank to tilde) of font takes the same advance.
bool EqualAdvances(const QFont& font);

// family at pointSize when it measures as fixed-width; else the desktop's fixed-width face;
// else the first installed face that does. With none at all, family as it resolves.
QFont FixedWidthFont(const QString& family, int pointSize);

}  // namespace tirmo::ui
