#pragma once
// A combo box as the window code uses it: a list of entries by index, a selection that may be
// none (-1), and a text that may be an entry or something else. It keeps the selection rules of
// ComboSelection. The handler is only ever run from those paths, never from Qt's index signals,
// so each selection runs it once.
//
// A text that is no entry is kept and shown with no entry selected, also when the box is not
// editable (there it shows in the place Qt keeps for a placeholder).
#include "ui/ComboSelection.h"

#include <QComboBox>

#include <string>
#include <string_view>

namespace tirmo::ui {

class ComboBox : public QComboBox, public ComboSelection {
    Q_OBJECT
public:
    explicit ComboBox(QWidget* parent = nullptr);

    // Appends, or inserts before index when 0 <= index < ListCount(). Adding never selects: the
    // first entry added to an empty list leaves the selection at -1 and the text as it was.
    void AddItem(std::string_view item, int index = -1);
    // Removing the selected entry leaves no entry selected.
    void RemoveItem(int index);
    // Empties the list and the text.
    void Clear();

    int ListCount() const override;
    // The text of entry i; empty for an index outside the list.
    std::string List(int index) const;
    void SetList(int index, std::string_view item);

    // A number kept with each entry, for windows that list names and act on codes.
    int ItemData(int index) const;
    void SetItemData(int index, int data);

    // -1 when no entry is selected, also once the user has edited the text of an editable box
    // away from the selected entry.
    int ListIndex() const;

    std::string Text() const;

    // Runs after every change of Text(), whatever made it (the user, the window's code, a list
    // refilled); a box that shows a shared setting keeps the setting with it.
    void onTextChange(Handler handler);
    // Shows text as SetText does, but never runs the click handler: for a value that was decided
    // elsewhere and is only shown here.
    void ShowText(std::string_view text);

protected:
    QString entryText(int index) const override;
    void selectEntry(int index) override;
    void showUnlisted(const QString& text) override;

private:
    // The text as Qt holds it, before it is narrowed to bytes.
    QString shownText() const;
    void noticeText();

    Handler text_change_;
    QString noticed_;
};

}  // namespace tirmo::ui
