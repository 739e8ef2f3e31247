#pragma once
// Message and input boxes behind one interface: the program shows Qt dialogs, the tests answer
// from a script. Every window asks through dialogs(), never through Qt directly.
#include <optional>
#include <string>

namespace tirmo::ui {

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgResult { Ok, Cancel, Yes, No };

// The button Enter presses in a box: its first one (Ok or Yes) unless the caller names another.
MsgResult DefaultButton(MsgButtons buttons, std::optional<MsgResult> chosen = std::nullopt);

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // defaultButton: the button Enter presses; none gives the box's first button.
    virtual MsgResult messageBox(const std::string& text, MsgButtons buttons = MsgButtons::Ok,
                                 const std::string& title = {},
                                 std::optional<MsgResult> defaultButton = std::nullopt) = 0;
    // The answer typed; a cancelled box answers the empty text, which callers take as no answer.
    virtual std::string inputBox(const std::string& prompt, const std::string& title = {},
                                 const std::string& defaultAnswer = {}) = 0;
};

// A question whose Yes overwrites the instrument's memory or its calibration files. No is its
// default button: an Enter meant for the box before, or a hurried one, keeps what is there.
// True only for Yes.
bool ConfirmOverwrite(const std::string& question, MsgButtons buttons = MsgButtons::YesNo);

// The dialogs in use: Qt's unless a test has installed its own.
Dialogs& dialogs();
// Installs d (not owned); nullptr restores the Qt dialogs.
void setDialogs(Dialogs* d);

// Closes every message or input box on screen as its Cancel would (a box of one button answers
// Ok): the program is being stopped, and a box left waiting would keep it from ending.
void CloseOpenBoxes();

}  // namespace tirmo::ui
