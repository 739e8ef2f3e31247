#pragma once
// Captions that stay whole when the layout makes a button narrower than its text: the caption's
// type shrinks step by step (never below a readable size) and grows back to the button's own
// size when there is room again.
class QAbstractButton;
class QComboBox;
class QPlainTextEdit;

namespace tirmo::ui {

void FitCaption(QAbstractButton* button);
// The same at every resize of the button, whoever sizes it (the window's layout or a panel's
// own grid).
void KeepCaptionFitted(QAbstractButton* button);
// Fits again a button kept fitted whose caption changed (a longer caption needs a smaller type);
// any other button is left as it is.
void RefitCaption(QAbstractButton* button);

// A combo box the same way: its type shrinks until the text it shows fits the box, and its open
// list, in the box's own type, is at least as wide as its widest entry. Kept at every resize and
// every change of its text or its entries.
void FitEntries(QComboBox* combo);
void KeepEntriesFitted(QComboBox* combo);

// A box of lines the same way: its lines are never broken, and its type shrinks until the
// widest line fits beside its scroll bar. Kept at every resize and every change of its text.
void FitLines(QPlainTextEdit* box);
void KeepLinesFitted(QPlainTextEdit* box);

}  // namespace tirmo::ui
