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

}  // namespace tirmo::test
