#pragma once
// What a person would trip over in a laid-out window: a control outside it, or one shown over
// what another shows. Drawn boxes lie under the controls they frame, labels under buttons beside
// their text, panels under others only where they hold nothing; panels that take the same place
// one at a time are not compared.
#include <QRect>

#include <string>
#include <vector>

class QWidget;

namespace tirmo::test {

// w's rectangle r in root's coordinates.
QRect InWindow(QWidget* root, const QWidget* w, const QRect& r);

// "upper covers lower" for every pair of the shown controls where one covers the other.
std::vector<std::string> CoveredControls(QWidget* root, const std::vector<QWidget*>& shown);

// Every control a person sees under root: shown, with some of it inside root, and not one of the
// parts a list, a combo box or a scroll area is built of.
std::vector<QWidget*> ShownControls(QWidget* root);

// A name to report a control by: its own, or its kind and text.
std::string Describe(const QWidget* w);

// What a person cannot read of one control, measured with its own font: a caption or text wider
// or taller than the room the control gives it, a list entry its list or combo box cuts, a line
// the box wraps; a box whose text is longer than the box must show the text's start. Empty when
// all of it reads.
std::string Unreadable(const QWidget* w);

// "box has no caption" for each typing box among shown with no label, button or captioned box before it or above it.
std::vector<std::string> Uncaptioned(QWidget* root, const std::vector<QWidget*>& shown);

// Whether part of w lies outside what root and w's containers show of it (cut at a panel's edge,
// scrolled out of view).
bool OutOfView(QWidget* root, const QWidget* w);

}  // namespace tirmo::test
