#pragma once
// Captions that stay whole when the layout makes a button narrower than its text: the caption's
// type shrinks step by step (never below a readable size) and grows back to the button's own
// size when there is room again.
class QAbstractButton;

namespace tirmo::ui {

void FitCaption(QAbstractButton* button);
// The same at every resize of the button, whoever sizes it (the window's layout or a panel's
// own grid).
void KeepCaptionFitted(QAbstractButton* button);

}  // namespace tirmo::ui
