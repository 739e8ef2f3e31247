#pragma once
// A combo box whose list is always open: a text line with the entries beneath it, the list
// filling whatever height the window gives the box, so every entry is in view at once.
//
// It keeps the rules of ComboBox (ComboBox.h): the click handler runs when an entry is selected
// by the user (a click on the list, Up or Down in the line), by SetListIndex, or by SetText with
// the text of an entry, also when that entry was already selected; filling, changing or clearing
// the list and setting a text that is no entry run nothing. Selecting an entry puts its text in
// the line; a text that is no entry stays in the line with no entry selected, and so does what
// the user types.
#include "ui/Control.h"

#include <QWidget>

#include <string>
#include <string_view>

class QLineEdit;
class QListWidget;

namespace tirmo::ui {

class SimpleComboBox : public QWidget {
    Q_OBJECT
public:
    explicit SimpleComboBox(QWidget* parent = nullptr);

    // Appends, or inserts before index when 0 <= index < ListCount(). Adding never selects.
    void AddItem(std::string_view item, int index = -1);
    // Removing the selected entry leaves no entry selected and the line as it was.
    void RemoveItem(int index);
    // Empties the list and the line.
    void Clear();

    int ListCount() const;
    // The text of entry i; empty for an index outside the list.
    std::string List(int index) const;
    // Renaming the selected entry renames it in the line as well.
    void SetList(int index, std::string_view item);

    int ItemData(int index) const;
    void SetItemData(int index, int data);

    // -1 when no entry is selected, also once the line no longer holds the selected entry's text.
    int ListIndex() const;
    // Selects entry index and runs the click handler; an index outside the list selects none,
    // empties the line and runs nothing.
    void SetListIndex(int index);

    std::string Text() const;
    void SetText(std::string_view text);

    void onClick(Handler handler);

    // The two parts, for windows that watch their mouse and key events.
    QLineEdit* editPart() const { return edit_; }
    QListWidget* listPart() const { return list_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int findEntry(const QString& text) const;
    // Selects entry index (which is in the list) and shows its text, without running anything.
    void select(int index);
    // Selects nothing and shows text in the line, without running anything.
    void showUnlisted(const QString& text);
    // Marks in the list the entry ListIndex() names, or none.
    void showSelection();
    // A choice of the user's: selects and runs the handler.
    void choose(int index);

    QLineEdit* edit_ = nullptr;
    QListWidget* list_ = nullptr;
    int selected_ = -1;
    Handler click_;
};

}  // namespace tirmo::ui
