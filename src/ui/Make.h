#pragma once
// Factories for the controls as the windows create them: the control under its parent, named
// so that tests can find it, with its first text or caption and, where the window has one, its
// handler. Anything else (tips, sizes, read-only) the window sets on what comes back.
#include "ui/Control.h"
#include "ui/Forward.h"

#include <QString>

#include <string_view>

class QWidget;

namespace tirmo::ui {

TextBox* MakeTextBox(QWidget* parent, const QString& name, std::string_view text = {});
// A window's status line (StatusLine): read-only, its whole message readable.
TextBox* MakeStatusLine(QWidget* parent, const QString& name);
TextArea* MakeTextArea(QWidget* parent, const QString& name);
Label* MakeLabel(QWidget* parent, const QString& name, std::string_view caption = {});
CommandButton* MakeButton(QWidget* parent, const QString& name, std::string_view caption, Handler onClick = {});
CheckBox* MakeCheckBox(QWidget* parent, const QString& name, std::string_view caption);
ComboBox* MakeComboBox(QWidget* parent, const QString& name);
SimpleComboBox* MakeSimpleComboBox(QWidget* parent, const QString& name);
Shape* MakeShape(QWidget* parent, const QString& name);
// A picture of width x height pixels that the layout may not shrink below that size.
PictureBox* MakePicture(QWidget* parent, const QString& name, int width, int height);

}  // namespace tirmo::ui
