#include "ui/Controls.h"

#include <QPalette>

#include "ui/Colour.h"
#include "ui/FitCaption.h"

#include <algorithm>
#include <limits>

namespace tirmo::ui {

void SetButtonFace(QWidget* button, uint32_t colour)
{
    QPalette p = button->palette();
    p.setColor(QPalette::Button, toQColor(colour));
    button->setPalette(p);
    button->update();
}

TextBox::TextBox(QWidget* parent) : QLineEdit(parent)
{
    // Qt cuts a line edit's text at 32767 characters; a long reply or log must stay whole.
    setMaxLength(std::numeric_limits<int>::max());
    // textChanged rather than textEdited: it covers typing and code alike, and Qt emits it only
    // when the text really changed, which is when the change event is due.
    connect(this, &QLineEdit::textChanged, this, [this] { fire(change_); });
}

std::string TextBox::Text() const { return toBytes(text()); }

void TextBox::SetText(std::string_view text)
{
    const QString value = toQString(text);
    if (value == QLineEdit::text()) return;
    setText(value);
}

void TextBox::onChange(Handler handler) { change_ = std::move(handler); }

int TextBox::SelStart() const
{
    // With nothing selected Qt reports -1; the caret position is the start of the empty selection.
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

void TextBox::SetSelStart(int start)
{
    const int length = int(QLineEdit::text().size());
    setCursorPosition(std::clamp(start, 0, length));
}

int TextBox::SelLength() const { return hasSelectedText() ? int(selectedText().size()) : 0; }

void TextBox::SetSelLength(int length)
{
    const int start = SelStart();
    const int available = int(QLineEdit::text().size()) - start;
    setSelection(start, std::clamp(length, 0, available));
}

void TextBox::Refresh() { repaint(); }

TextArea::TextArea(QWidget* parent) : QPlainTextEdit(parent) { setReadOnly(true); }

void TextArea::SetText(std::string_view text)
{
    bytes_.assign(text);
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        shown += text[i] == '\r' ? '\n' : text[i];
    }
    setPlainText(toQString(shown));
}

void TextArea::Refresh() { viewport()->repaint(); }

Label::Label(QWidget* parent) : QLabel(parent) { setTextFormat(Qt::PlainText); }

std::string Label::Caption() const { return toBytes(text()); }

void Label::SetCaption(std::string_view caption)
{
    setText(toQString(caption));
    if (autoSize_) resize(sizeHint().width(), height());
}

void Label::SetAutoSize(bool on)
{
    autoSize_ = on;
    if (on) resize(sizeHint().width(), height());
}

void Label::SetForeColor(uint32_t colour)
{
    foreColor_ = colour & 0xFFFFFFu;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, toQColor(foreColor_));
    setPalette(p);
}

void Label::Refresh() { repaint(); }

CommandButton::CommandButton(QWidget* parent) : QPushButton(parent)
{
    connect(this, &QAbstractButton::clicked, this, [this] { fire(click_); });
}

std::string CommandButton::Caption() const { return toBytes(text()); }
void CommandButton::SetCaption(std::string_view caption)
{
    setText(toQString(caption));
    RefitCaption(this);
}
void CommandButton::onClick(Handler handler) { click_ = std::move(handler); }
void CommandButton::Click() { click(); }

void CommandButton::SetBackColor(uint32_t colour)
{
    backColor_ = colour & 0xFFFFFFu;
    setStyleSheet(QString("background-color: %1").arg(toQColor(backColor_).name()));
}

void CommandButton::Refresh() { repaint(); }

CheckBox::CheckBox(QWidget* parent) : QCheckBox(parent)
{
    // stateChanged covers the user's clicks and SetValue alike and is emitted only on a real
    // change, which is exactly when the click event is due; clicked would miss changes by code.
    connect(this, &QCheckBox::stateChanged, this, [this] { fire(click_); });
}

int CheckBox::Value() const
{
    switch (checkState()) {
    case Qt::Unchecked: return 0;
    case Qt::PartiallyChecked: return 2;
    default: return 1;
    }
}

void CheckBox::SetValue(int value)
{
    const Qt::CheckState state = value == 0 ? Qt::Unchecked : value == 2 ? Qt::PartiallyChecked : Qt::Checked;
    setCheckState(state);
}

std::string CheckBox::Caption() const { return toBytes(text()); }
void CheckBox::SetCaption(std::string_view caption) { setText(toQString(caption)); }
void CheckBox::onClick(Handler handler) { click_ = std::move(handler); }
void CheckBox::Click() { click(); }

void CheckBox::nextCheckState()
{
    // Greying makes Qt's box tri-state, and a tri-state box would let the user click through to
    // grey again; the user only ever toggles between clear and checked.
    const Qt::CheckState next = checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked;
    setTristate(false);
    setCheckState(next);
}

OptionButton::OptionButton(QWidget* parent) : QRadioButton(parent)
{
    // toggled(true) is the one signal for becoming selected by a click, by the arrow keys within
    // the group and by code; clicked would also fire for a click on the selected button.
    connect(this, &QAbstractButton::toggled, this, [this](bool on) {
        if (on) fire(click_);
    });
}

bool OptionButton::Value() const { return isChecked(); }

void OptionButton::SetValue(bool value)
{
    if (value == isChecked()) return;
    if (value) {
        setChecked(true);
        return;
    }
    // Qt will not clear the selected button of an exclusive group; the exclusion is lifted for
    // the moment it takes.
    const bool exclusive = autoExclusive();
    setAutoExclusive(false);
    setChecked(false);
    setAutoExclusive(exclusive);
}

std::string OptionButton::Caption() const { return toBytes(text()); }
void OptionButton::SetCaption(std::string_view caption) { setText(toQString(caption)); }
void OptionButton::onClick(Handler handler) { click_ = std::move(handler); }
void OptionButton::Click() { click(); }

}  // namespace tirmo::ui
