#include "ui/Make.h"

#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/PictureBox.h"
#include "ui/Shape.h"
#include "ui/SimpleComboBox.h"
#include "ui/StatusLine.h"

namespace tirmo::ui {
namespace {

template <class Control>
Control* named(QWidget* parent, const QString& name)
{
    auto* c = new Control(parent);
    c->setObjectName(name);
    return c;
}

}  // namespace

TextBox* MakeTextBox(QWidget* parent, const QString& name, std::string_view text)
{
    auto* t = named<TextBox>(parent, name);
    t->SetText(text);
    return t;
}

TextBox* MakeStatusLine(QWidget* parent, const QString& name) { return named<StatusLine>(parent, name); }

TextArea* MakeTextArea(QWidget* parent, const QString& name) { return named<TextArea>(parent, name); }

Label* MakeLabel(QWidget* parent, const QString& name, std::string_view caption)
{
    auto* l = named<Label>(parent, name);
    l->SetCaption(caption);
    return l;
}

CommandButton* MakeButton(QWidget* parent, const QString& name, std::string_view caption, Handler onClick)
{
    auto* b = named<CommandButton>(parent, name);
    b->SetCaption(caption);
    b->onClick(std::move(onClick));
    return b;
}

CheckBox* MakeCheckBox(QWidget* parent, const QString& name, std::string_view caption)
{
    auto* c = named<CheckBox>(parent, name);
    c->SetCaption(caption);
    return c;
}

ComboBox* MakeComboBox(QWidget* parent, const QString& name) { return named<ComboBox>(parent, name); }

SimpleComboBox* MakeSimpleComboBox(QWidget* parent, const QString& name) { return named<SimpleComboBox>(parent, name); }

Shape* MakeShape(QWidget* parent, const QString& name) { return named<Shape>(parent, name); }

PictureBox* MakePicture(QWidget* parent, const QString& name, int width, int height)
{
    auto* p = named<PictureBox>(parent, name);
    p->SetPixelSize(width, height);
    p->setMinimumSize(width, height);
    return p;
}

}  // namespace tirmo::ui
