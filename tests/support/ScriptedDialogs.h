#pragma once
// Message and input boxes answered from a script, so tests drive windows that ask the user.
//
// Each box the window shows takes the next expected box from the queue; it must be of the same
// kind and its text must contain the expected substring. A box nobody expected, or one that does
// not match, fails the running test with its text and is answered Ok (input boxes: empty, as a
// cancelled box answers); the expectation it did not match stays queued for the next box.
//
//     ScriptedDialogs boxes;
//     ScopedDialogs installed(boxes);
//     boxes.expectMessage("Overwrite", MsgResult::Yes);
//     window.save();  // the test fails if the box was not shown
#include "ui/Dialogs.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace tirmo::test {

class ScriptedDialogs : public tirmo::ui::Dialogs {
public:
    // An answer the box cannot give (Yes for an Ok/Cancel box) fails the test when it is shown.
    void expectMessage(std::string substring, tirmo::ui::MsgResult answer = tirmo::ui::MsgResult::Ok);
    void expectInput(std::string substring, std::string answer);

    tirmo::ui::MsgResult messageBox(const std::string& text, tirmo::ui::MsgButtons buttons, const std::string& title,
                                    std::optional<tirmo::ui::MsgResult> defaultButton) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultAnswer) override;

    // The text of every box shown, expected or not, in order.
    const std::vector<std::string>& shown() const;
    // The button Enter would have pressed in the last message box shown.
    tirmo::ui::MsgResult lastDefaultButton() const { return lastDefault_; }
    // Expected boxes not yet shown.
    size_t pending() const;
    // Fails the test once for each expected box not yet shown, and forgets them.
    void verifyAllShown();

private:
    enum class Kind { Message, Input };
    struct Expected {
        Kind kind = Kind::Message;
        std::string substring;
        tirmo::ui::MsgResult result = tirmo::ui::MsgResult::Ok;
        std::string answer;
    };
    // The expectation the box matches, taken off the queue; false (with the test failed) if none.
    bool take(Kind kind, const std::string& text, Expected& matched);

    std::deque<Expected> expected_;
    std::vector<std::string> shown_;
    tirmo::ui::MsgResult lastDefault_ = tirmo::ui::MsgResult::Ok;
};

// Installs a ScriptedDialogs for its lifetime, puts back whatever was installed before, and fails
// the test if any expected box was never shown.
class ScopedDialogs {
public:
    explicit ScopedDialogs(ScriptedDialogs& script);
    ~ScopedDialogs();
    ScopedDialogs(const ScopedDialogs&) = delete;
    ScopedDialogs& operator=(const ScopedDialogs&) = delete;

private:
    ScriptedDialogs& script_;
    tirmo::ui::Dialogs* previous_;
};

}  // namespace tirmo::test
