#pragma once
// The link console of a window that reports into two of its own text boxes: the status line
// txt_status and the communication monitor txt_in. The window creates both boxes; each report
// replaces the box's text and paints it at once, so that a long device operation shows every
// step as it happens rather than when the event loop next runs.
#include <string>

#include "link/Protocol.h"
#include "ui/Forward.h"

namespace tirmo::app {

class TextBoxConsole : public link::Console {
public:
    explicit TextBoxConsole(link::Session& session) : link::Console(session) {}
    void SetStatus(const std::string& text) override;
    void SetMonitor(const std::string& text) override;
    // The "error" message box, through the dialog layer.
    void ShowError(const std::string& text = "error") override;

    ui::TextBox* txt_status = nullptr;  // status line
    ui::TextBox* txt_in = nullptr;      // communication monitor
};

}  // namespace tirmo::app
