#pragma once
// A window's pixel-map upload: its "Apply to all" button (cmd_applyset) in the window's
// Frame_select and its own pixel-enable table. Each window that carries the button has one;
// the upload reports in that window's status line and monitor and fills only its table. One
// upload at a time: a click while one runs is refused.
#include <QObject>

#include <functional>
#include <string>

#include "devicememory/PixelMap.h"
#include "link/Protocol.h"
#include "ui/Forward.h"

class QWidget;

namespace tirmo::devicememory {

class PixelMapControls : public QObject {
    Q_OBJECT
public:
    // frame: the window's Frame_select; showLength shows "Len(Rx) = n" in its lbl_lenrx.
    PixelMapControls(link::Console& console, QWidget* frame, std::function<void(const std::string&)> showLength);

    void cmd_applyset_Click();

    ui::CommandButton* cmd_applyset = nullptr;  // "Apply to all"
    PixelEnableMap pixel_enable_map;
    bool uploading = false;

private:
    MemoryNotices notices();
    link::Console& console_;
    std::function<void(const std::string&)> showLength_;
};

}  // namespace tirmo::devicememory
