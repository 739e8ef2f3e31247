#pragma once
// Message and input boxes behind one interface: the program shows Qt dialogs, the tests answer
// from a script. Every window asks through dialogs(), never through Qt directly.
#include <string>

namespace tirmo::ui {

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgResult { Ok, Cancel, Yes, No };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MsgResult messageBox(const std::string& text, MsgButtons buttons = MsgButtons::Ok,
                                 const std::string& title = {}) = 0;
    // The answer typed; a cancelled box answers the empty text, which callers take as no answer.
    virtual std::string inputBox(const std::string& prompt, const std::string& title = {},
                                 const std::string& defaultAnswer = {}) = 0;
};

// The dialogs in use: Qt's unless a test has installed its own.
Dialogs& dialogs();
// Installs d (not owned); nullptr restores the Qt dialogs.
void setDialogs(Dialogs* d);

// Closes every message or input box on screen as its Cancel would (a box of one button answers
// Ok): the program is being stopped, and a box left waiting would keep it from ending.
void CloseOpenBoxes();

}  // namespace tirmo::ui
