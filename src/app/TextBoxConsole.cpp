#include "app/TextBoxConsole.h"

#include "ui/Controls.h"
#include "ui/Dialogs.h"

namespace tirmo::app {
namespace {

// A message longer than its line is read from its start: that is where it says what happened.
void show(ui::TextBox* box, const std::string& text)
{
    box->SetText(text);
    box->setCursorPosition(0);
    box->Refresh();
}

}  // namespace

void TextBoxConsole::SetStatus(const std::string& text) { show(txt_status, text); }

void TextBoxConsole::SetMonitor(const std::string& text) { show(txt_in, text); }

void TextBoxConsole::ShowError(const std::string& text) { ui::dialogs().messageBox(text); }

}  // namespace tirmo::app
