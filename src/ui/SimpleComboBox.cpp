#include "ui/SimpleComboBox.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPalette>
#include <QVBoxLayout>

namespace tirmo::ui {

SimpleComboBox::SimpleComboBox(QWidget* parent) : QWidget(parent)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    edit_ = new QLineEdit(this);
    list_ = new QListWidget(this);
    column->addWidget(edit_);
    column->addWidget(list_, 1);

    // The line keeps the focus, as in one control: keys select through it, and the list only
    // answers the mouse.
    setFocusProxy(edit_);
    list_->setFocusPolicy(Qt::NoFocus);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    // However low the window makes the box, the list takes what is left under the line.
    list_->setMinimumHeight(1);
    // Without the focus the list would mark its selection in the pale inactive colours; the
    // selected entry is the box's value and must read as such.
    QPalette marked = list_->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        marked.setColor(QPalette::Inactive, role, marked.color(QPalette::Active, role));
    list_->setPalette(marked);

    // The list's own mouse handling would move the selection on a drag and on a press outside
    // the entries; the box takes the mouse itself, so that only a press on an entry selects.
    list_->viewport()->installEventFilter(this);
    edit_->installEventFilter(this);
    connect(edit_, &QLineEdit::textEdited, this, [this] { showSelection(); });
}

bool SimpleComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == list_->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            edit_->setFocus(Qt::MouseFocusReason);
            if (mouse->button() == Qt::LeftButton) {
                const int row = list_->indexAt(mouse->position().toPoint()).row();
                if (row >= 0) choose(row);
            }
            return true;
        }
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            return true;
        default:
            break;
        }
    } else if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            const int current = ListIndex();
            // With nothing selected either key starts at the first entry.
            const int next = current < 0 ? 0 : current + (key == Qt::Key_Down ? 1 : -1);
            if (next >= 0 && next < ListCount() && next != current) choose(next);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SimpleComboBox::AddItem(std::string_view item, int index)
{
    if (index < 0 || index >= ListCount()) {
        list_->addItem(toQString(item));
        return;
    }
    list_->insertItem(index, toQString(item));
    if (selected_ >= index) ++selected_;
    showSelection();
}

void SimpleComboBox::RemoveItem(int index)
{
    if (index < 0 || index >= ListCount()) return;
    delete list_->takeItem(index);
    if (selected_ == index)
        selected_ = -1;
    else if (selected_ > index)
        --selected_;
    showSelection();
}

void SimpleComboBox::Clear()
{
    list_->clear();
    showUnlisted({});
}

int SimpleComboBox::ListCount() const { return list_->count(); }

std::string SimpleComboBox::List(int index) const
{
    if (index < 0 || index >= ListCount()) return {};
    return toBytes(list_->item(index)->text());
}

void SimpleComboBox::SetList(int index, std::string_view item)
{
    if (index < 0 || index >= ListCount()) return;
    const bool shown = index == ListIndex();
    list_->item(index)->setText(toQString(item));
    if (shown) edit_->setText(list_->item(index)->text());
}

int SimpleComboBox::ItemData(int index) const
{
    if (index < 0 || index >= ListCount()) return 0;
    return list_->item(index)->data(Qt::UserRole).toInt();
}

void SimpleComboBox::SetItemData(int index, int data)
{
    if (index < 0 || index >= ListCount()) return;
    list_->item(index)->setData(Qt::UserRole, data);
}

int SimpleComboBox::ListIndex() const
{
    if (selected_ < 0 || selected_ >= ListCount()) return -1;
    // What the user typed over the selected entry's text is no longer that entry.
    if (edit_->text() != list_->item(selected_)->text()) return -1;
    return selected_;
}

std::string SimpleComboBox::Text() const { return toBytes(edit_->text()); }

QString SimpleComboBox::entryText(int index) const { return list_->item(index)->text(); }

void SimpleComboBox::selectEntry(int index)
{
    selected_ = index;
    edit_->setText(list_->item(index)->text());
    showSelection();
}

void SimpleComboBox::showUnlisted(const QString& text)
{
    selected_ = -1;
    edit_->setText(text);
    showSelection();
}

void SimpleComboBox::showSelection()
{
    const int index = ListIndex();
    if (index < 0) {
        list_->clearSelection();
        list_->setCurrentRow(-1);
        return;
    }
    list_->setCurrentRow(index);
    list_->scrollToItem(list_->item(index));
}

}  // namespace tirmo::ui
