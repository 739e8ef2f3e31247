#include "ui/ComboBox.h"

#include <QLineEdit>
#include <QPalette>

namespace tirmo::ui {

ComboBox::ComboBox(QWidget* parent) : QComboBox(parent)
{
    // An editable Qt combo box adds whatever the user types when Return is pressed; our lists
    // belong to the windows that fill them.
    setInsertPolicy(QComboBox::NoInsert);
    // An unlisted text on a box that is not editable shows in the placeholder's place; it is the
    // box's text all the same and must not look greyed out like a hint.
    QPalette shown = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        shown.setColor(group, QPalette::PlaceholderText, shown.color(group, QPalette::ButtonText));
    setPalette(shown);
    // activated is emitted for the user's choices only (list, keys, wheel), and also when the
    // user picks the entry already selected, as the click event was.
    connect(this, &QComboBox::activated, this, [this] {
        setPlaceholderText({});
        clicked();
    });
    connect(this, &QComboBox::currentTextChanged, this, [this] { noticeText(); });
}

void ComboBox::AddItem(std::string_view item, int index)
{
    const QString savedText = shownText();
    const int qtIndexBefore = currentIndex();
    if (index < 0 || index >= count())
        addItem(toQString(item));
    else
        insertItem(index, toQString(item));
    // Qt selects the first entry put into an empty list.
    if (qtIndexBefore < 0 && currentIndex() >= 0) showUnlisted(savedText);
}

void ComboBox::RemoveItem(int index)
{
    if (index < 0 || index >= count()) return;
    const QString savedText = shownText();
    const int selected = ListIndex();
    // Qt moves the selection off a removed entry onto a neighbour, and an editable box's text
    // with it; without an entry selected before, there is none after.
    removeItem(index);
    if (selected == index)
        showUnlisted(isEditable() ? savedText : QString());
    else if (selected < 0)
        showUnlisted(savedText);
}

void ComboBox::Clear()
{
    clear();
    showUnlisted({});
}

int ComboBox::ListCount() const { return count(); }

std::string ComboBox::List(int index) const
{
    if (index < 0 || index >= count()) return {};
    return toBytes(itemText(index));
}

void ComboBox::SetList(int index, std::string_view item)
{
    if (index < 0 || index >= count()) return;
    const bool selected = index == ListIndex();
    setItemText(index, toQString(item));
    if (selected && isEditable()) lineEdit()->setText(itemText(index));
}

int ComboBox::ItemData(int index) const
{
    if (index < 0 || index >= count()) return 0;
    return itemData(index).toInt();
}

void ComboBox::SetItemData(int index, int data)
{
    if (index < 0 || index >= count()) return;
    setItemData(index, data);
}

int ComboBox::ListIndex() const
{
    const int index = currentIndex();
    if (index < 0) return -1;
    // Typing into an editable box leaves Qt's index where it was; the selection is gone once the
    // text no longer is the entry's.
    if (isEditable() && lineEdit() && lineEdit()->text() != itemText(index)) return -1;
    return index;
}

QString ComboBox::entryText(int index) const { return itemText(index); }

void ComboBox::selectEntry(int index)
{
    setPlaceholderText({});
    setCurrentIndex(index);
    // An editable box whose text was edited away may still have this index; show the entry.
    if (isEditable() && lineEdit()->text() != itemText(index)) lineEdit()->setText(itemText(index));
}

std::string ComboBox::Text() const { return toBytes(shownText()); }

QString ComboBox::shownText() const
{
    if (isEditable() && lineEdit()) return lineEdit()->text();
    if (currentIndex() >= 0) return itemText(currentIndex());
    return placeholderText();
}

void ComboBox::onTextChange(Handler handler)
{
    noticed_ = shownText();
    text_change_ = std::move(handler);
}

void ComboBox::ShowText(std::string_view text)
{
    const QString value = toQString(text);
    const int entry = findEntry(value);
    if (entry < 0) return showUnlisted(value);
    selectEntry(entry);
    noticeText();
}

void ComboBox::noticeText()
{
    // Qt's signal misses a text shown in the placeholder's place, and reports an index change
    // that leaves the text as it was.
    const QString now = shownText();
    if (now == noticed_) return;
    noticed_ = now;
    fire(text_change_);
}

void ComboBox::showUnlisted(const QString& text)
{
    setCurrentIndex(-1);
    if (isEditable() && lineEdit()) {
        lineEdit()->setText(text);
        setPlaceholderText({});
    } else {
        setPlaceholderText(text);
    }
    noticeText();
}

}  // namespace tirmo::ui
