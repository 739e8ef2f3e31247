#pragma once
// The well-mask buttons of a window's "Select" frame: "set" builds the pixel masks of the well
// named by the two set boxes from the stored frame of the camera in the window's camera box,
// drawing what it found on the camera picture; "Reset all" deletes every mask file. Both
// instrument windows carry one, over their own boxes, frames and picture.
#include <functional>
#include <string>

#include "link/Protocol.h"
#include "ui/Forward.h"

class QWidget;

namespace tirmo::plate {

struct WellMaskNeeds {
    ui::ComboBox* cmb_set1 = nullptr;  // row letter
    ui::ComboBox* cmb_set2 = nullptr;  // column number
    ui::PictureBox* picture = nullptr;
    std::function<std::string()> camera_text;                  // the camera box as typed
    std::function<int(int camera, int pixel, int line)> cell;  // the stored frame; -1 for no value
    std::function<int()> mask_mode;                            // 0 circle search, 2 shape region
};

class WellMaskTools {
public:
    // The buttons are made on frame (the window's "Select" frame) at their designed places.
    WellMaskTools(link::Console& console, QWidget* frame, WellMaskNeeds needs);

    void cmd_set_select_Click();
    void cmd_reset_set_Click();

    ui::CommandButton* cmd_set_select = nullptr;  // "set"
    ui::CommandButton* cmd_reset_set = nullptr;   // "Reset all"

private:
    // The message shown, or empty when the build went through (or ended at the frame's edge).
    std::string build();
    link::Console& console_;
    WellMaskNeeds needs_;
};

}  // namespace tirmo::plate
