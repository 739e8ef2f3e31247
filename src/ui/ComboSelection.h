#pragma once
// The selection rules that both combo boxes keep (ComboBox, a drop-down, and SimpleComboBox,
// whose list is always open):
//
// The click handler runs when an entry is selected: by the user, by SetListIndex, or by SetText
// with the text of an entry. Selection by code runs it even when the entry was already
// selected, since windows select an entry to have its handler set up the rest of the window.
// Filling, changing or clearing the list, and setting a text that is no entry, run nothing.
// Selecting an entry shows its text; a text that is no entry is kept and shown with no entry
// selected. An index outside the list selects none, empties the text and runs nothing.
//
// Each box says how it counts, names, selects and shows; the rules are kept here once.
#include "ui/Control.h"

#include <QString>

#include <string>
#include <string_view>

namespace tirmo::ui {

class ComboSelection {
public:
    virtual ~ComboSelection() = default;

    virtual int ListCount() const = 0;
    // Selects entry index and runs the click handler; -1 (or any index outside the list) selects
    // none, empties the text and runs nothing.
    void SetListIndex(int index)
    {
        if (index < 0 || index >= ListCount()) {
            showUnlisted({});
            return;
        }
        choose(index);
    }
    // The text of an entry selects that entry (and runs the handler); any other text is shown
    // with no entry selected.
    void SetText(std::string_view text)
    {
        const QString value = toQString(text);
        const int entry = findEntry(value);
        if (entry >= 0)
            SetListIndex(entry);
        else
            showUnlisted(value);
    }
    void onClick(Handler handler) { click_ = std::move(handler); }

protected:
    // The text of entry index (which is in the list), as Qt holds it.
    virtual QString entryText(int index) const = 0;
    // Selects entry index (which is in the list) and shows its text, without running anything.
    virtual void selectEntry(int index) = 0;
    // Selects nothing and shows text, without running anything.
    virtual void showUnlisted(const QString& text) = 0;

    // The first entry whose text is text; -1 for none.
    int findEntry(const QString& text) const
    {
        for (int i = 0; i < ListCount(); ++i)
            if (entryText(i) == text) return i;
        return -1;
    }
    // A selection, by code or by the user: the entry, then the handler.
    void choose(int index)
    {
        selectEntry(index);
        clicked();
    }
    // The user picked an entry the box has already selected and shown.
    void clicked() { fire(click_); }

private:
    Handler click_;
};

}  // namespace tirmo::ui
