#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <utility>

namespace tirmo::test {

using tirmo::ui::MsgButtons;
using tirmo::ui::MsgResult;

namespace {

const char* kindName(bool message) { return message ? "message box" : "input box"; }

bool offers(MsgButtons buttons, MsgResult answer)
{
    switch (buttons) {
    case MsgButtons::Ok: return answer == MsgResult::Ok;
    case MsgButtons::OkCancel: return answer == MsgResult::Ok || answer == MsgResult::Cancel;
    case MsgButtons::YesNo: return answer == MsgResult::Yes || answer == MsgResult::No;
    case MsgButtons::YesNoCancel:
        return answer == MsgResult::Yes || answer == MsgResult::No || answer == MsgResult::Cancel;
    }
    return false;
}

}  // namespace

void ScriptedDialogs::expectMessage(std::string substring, MsgResult answer)
{
    expected_.push_back({Kind::Message, std::move(substring), answer, {}});
}

void ScriptedDialogs::expectInput(std::string substring, std::string answer)
{
    expected_.push_back({Kind::Input, std::move(substring), MsgResult::Ok, std::move(answer)});
}

bool ScriptedDialogs::take(Kind kind, const std::string& text, Expected& matched)
{
    shown_.push_back(text);
    const bool message = kind == Kind::Message;
    if (expected_.empty()) {
        ADD_FAILURE() << "unexpected " << kindName(message) << ": \"" << text << "\"";
        return false;
    }
    const Expected& next = expected_.front();
    if (next.kind != kind || text.find(next.substring) == std::string::npos) {
        ADD_FAILURE() << "unexpected " << kindName(message) << ": \"" << text << "\"; expected a "
                      << kindName(next.kind == Kind::Message) << " containing \"" << next.substring << "\"";
        return false;
    }
    matched = next;
    expected_.pop_front();
    return true;
}

MsgResult ScriptedDialogs::messageBox(const std::string& text, MsgButtons buttons, const std::string&,
                                      std::optional<MsgResult> defaultButton)
{
    lastDefault_ = tirmo::ui::DefaultButton(buttons, defaultButton);
    if (!offers(buttons, lastDefault_)) ADD_FAILURE() << "message box \"" << text << "\" has a default button it does not offer";
    Expected matched;
    if (!take(Kind::Message, text, matched)) return MsgResult::Ok;
    if (!offers(buttons, matched.result))
        ADD_FAILURE() << "the answer scripted for message box \"" << text << "\" is not one of its buttons";
    return matched.result;
}

std::string ScriptedDialogs::inputBox(const std::string& prompt, const std::string&, const std::string&)
{
    Expected matched;
    if (!take(Kind::Input, prompt, matched)) return {};
    return matched.answer;
}

const std::vector<std::string>& ScriptedDialogs::shown() const { return shown_; }

size_t ScriptedDialogs::pending() const { return expected_.size(); }

void ScriptedDialogs::verifyAllShown()
{
    for (const Expected& e : expected_)
        ADD_FAILURE() << "expected " << kindName(e.kind == Kind::Message) << " containing \"" << e.substring
                      << "\" was never shown";
    expected_.clear();
}

ScopedDialogs::ScopedDialogs(ScriptedDialogs& script) : script_(script), previous_(&tirmo::ui::dialogs())
{
    tirmo::ui::setDialogs(&script_);
}

ScopedDialogs::~ScopedDialogs()
{
    tirmo::ui::setDialogs(previous_);
    script_.verifyAllShown();
}

}  // namespace tirmo::test
