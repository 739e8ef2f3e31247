#pragma once
// The simple controls: text box, label, command button, check box and option button. Text is
// bytes (see Control.h), so an instrument reply goes into a text box as it came and reads back
// unchanged. Handlers run as the window code expects from the controls it was written for: a
// check box's click handler runs when code changes its value as well as when the user clicks.
#include "ui/Control.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cstdint>
#include <string>
#include <string_view>

namespace tirmo::ui {

// Paints a button's face in colour through its palette (the factory tools mark a running drive so).
void SetButtonFace(QWidget* button, uint32_t colour);

// A read-only box of several lines (a report of values, one per line). The text keeps its bytes as
// set, line ends included; the display breaks the lines at CR LF, LF or CR.
class TextArea : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextArea(QWidget* parent = nullptr);
    std::string Text() const { return bytes_; }
    void SetText(std::string_view text);
    void Refresh();

private:
    std::string bytes_;
};

// A one-line text box without a length limit. The change handler runs once for every change of
// the text, whether the user typed it or code set it, and not at all when code sets the text it
// already has; no other event follows from setting the text.
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);

    std::string Text() const;
    void SetText(std::string_view text);

    void onChange(Handler handler);

    // Selection, in bytes from the start; window code moves the caret to the end of a growing
    // log and selects a field's text on entry.
    int SelStart() const;
    void SetSelStart(int start);
    int SelLength() const;
    void SetSelLength(int length);

    // Paints now rather than when the event loop next runs, for windows that update a text box
    // in a long loop and want each value seen.
    void Refresh();

private:
    Handler change_;
};

// A label shows its caption as plain text: a reply that happens to contain '<' must not turn
// into markup.
class Label : public QLabel {
    Q_OBJECT
public:
    explicit Label(QWidget* parent = nullptr);

    std::string Caption() const;
    void SetCaption(std::string_view caption);

    // Text colour as an RGB value (see Colour.h); black until set.
    uint32_t ForeColor() const { return foreColor_; }
    void SetForeColor(uint32_t colour);

    // On: the label's width follows its caption at every change (a read-out whose text grows);
    // its place and height stay where the window put them.
    void SetAutoSize(bool on);

    void Refresh();

private:
    uint32_t foreColor_ = 0;
    bool autoSize_ = false;
};

// A push button. Click() is what the user's click does, for tests and for windows that press a
// button of their own: nothing when the button is disabled.
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    explicit CommandButton(QWidget* parent = nullptr);

    std::string Caption() const;
    void SetCaption(std::string_view caption);

    void onClick(Handler handler);
    void Click();

    // Face colour as an RGB value (see Colour.h); the style's own face until set.
    uint32_t BackColor() const { return backColor_; }
    void SetBackColor(uint32_t colour);
    void Refresh();

private:
    Handler click_;
    uint32_t backColor_ = 0xF0F0F0;
};

// A check box with the values 0 (clear), 1 (checked) and 2 (greyed, settable only by code). The
// click handler runs once for every change of the value, by the user or by SetValue, and not
// when SetValue leaves the value as it was. A user click on a greyed box checks it.
class CheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit CheckBox(QWidget* parent = nullptr);

    int Value() const;
    // Values other than 0, 1 and 2 count as 1, as any non-zero "checked" does.
    void SetValue(int value);

    std::string Caption() const;
    void SetCaption(std::string_view caption);

    void onClick(Handler handler);
    void Click();

protected:
    void nextCheckState() override;

private:
    Handler click_;
};

// An option button; those with the same parent exclude each other. The click handler runs when
// the button becomes selected, by the user or by SetValue(true); losing the selection to another
// button runs nothing, and clicking the button already selected runs nothing either. Code may
// clear every option of a group with SetValue(false), which the user cannot.
class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    explicit OptionButton(QWidget* parent = nullptr);

    bool Value() const;
    void SetValue(bool value);

    std::string Caption() const;
    void SetCaption(std::string_view caption);

    void onClick(Handler handler);
    void Click();

private:
    Handler click_;
};

}  // namespace tirmo::ui
