#pragma once
// A combo box whose list is always open: a text line with the entries beneath it, the list
// filling whatever height the window gives the box, so every entry is in view at once.
//
// It keeps the selection rules of ComboSelection; the user selects by a click on the list or Up
// or Down in the line. Selecting an entry puts its text in the line; a text that is no entry
// stays in the line with no entry selected, and so does what the user types.
#include "ui/ComboSelection.h"

#include <QWidget>

#include <string>
#include <string_view>

class QLineEdit;
class QListWidget;

namespace tirmo::ui {

class SimpleComboBox : public QWidget, public ComboSelection {
    Q_OBJECT
public:
    explicit SimpleComboBox(QWidget* parent = nullptr);

    // Appends, or inserts before index when 0 <= index < ListCount(). Adding never selects.
    void AddItem(std::string_view item, int index = -1);
    // Removing the selected entry leaves no entry selected and the line as it was.
    void RemoveItem(int index);
    // Empties the list and the line.
    void Clear();

    int ListCount() const override;
    // The text of entry i; empty for an index outside the list.
    std::string List(int index) const;
    // Renaming the selected entry renames it in the line as well.
    void SetList(int index, std::string_view item);

    int ItemData(int index) const;
    void SetItemData(int index, int data);

    // -1 when no entry is selected, also once the line no longer holds the selected entry's text.
    int ListIndex() const;
    std::string Text() const;

    // The two parts, for windows that watch their mouse and key events.
    QLineEdit* editPart() const { return edit_; }
    QListWidget* listPart() const { return list_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    QString entryText(int index) const override;
    void selectEntry(int index) override;
    void showUnlisted(const QString& text) override;

private:
    // Marks in the list the entry ListIndex() names, or none.
    void showSelection();

    QLineEdit* edit_ = nullptr;
    QListWidget* list_ = nullptr;
    int selected_ = -1;
};

}  // namespace tirmo::ui
