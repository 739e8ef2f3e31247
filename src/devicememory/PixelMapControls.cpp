#include "devicememory/PixelMapControls.h"

#include <QWidget>

#include "devicememory/LinkFlashPort.h"
#include "link/Exchange.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Make.h"
#include "ui/Twips.h"

namespace tirmo::devicememory {
namespace {

struct Uploading {
    explicit Uploading(bool& flag) : flag_(flag) { flag_ = true; }
    ~Uploading() { flag_ = false; }
    bool& flag_;
};

}  // namespace

PixelMapControls::PixelMapControls(link::Console& console, QWidget* frame, std::function<void(const std::string&)> showLength)
    : console_(console), showLength_(std::move(showLength))
{
    cmd_applyset = ui::MakeButton(frame, "cmd_applyset", "Apply to all", [this] { cmd_applyset_Click(); });
    ui::setGeometryTwips(cmd_applyset, 150, 2400, 2100, 400);
}

MemoryNotices PixelMapControls::notices()
{
    MemoryNotices n;
    n.message = [](const std::string& text) { ui::dialogs().messageBox(text); };
    n.status = [this](const std::string& text) { console_.SetStatus(text); };
    return n;
}

void PixelMapControls::cmd_applyset_Click()
{
    if (uploading) {
        console_.SetStatus(link::kBusy);
        return;
    }
    // The whole upload is one exchange: nothing may come between a block's head and its body.
    const link::Exchange exchange(console_);
    if (!exchange) return;
    const Uploading running(uploading);
    LinkFlashPort port(console_, showLength_);
    // Both questions lead to the instrument's pixel map: an Enter must not send it.
    ApplyWellMasks(port, pixel_enable_map, notices(), [](const std::string& question) { return ui::ConfirmOverwrite(question); });
}

}  // namespace tirmo::devicememory
