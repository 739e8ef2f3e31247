#pragma once
// The camera settings boxes and their commands, which the main window ("Setup CAM") and the
// factory window both show, alike in name and first value: the camera, gain and exposure boxes,
// the speed with its "send", the read-out window with ">>" and "Default". Subsystems that need a
// camera set up fill the boxes and call the handlers. Each window owns one object, creates it on
// the panel the boxes go in and arranges them there; the object sends the main window's way or
// the factory's (traces, pauses, echo tests) and reports through the window's console.
#include <string>

#include "camera/CameraCommands.h"
#include "link/Protocol.h"
#include "ui/Forward.h"

class QWidget;

namespace tirmo::camera {

class CameraControls {
public:
    CameraControls(link::Console& console, QWidget* parent, Variant variant);

    void cmd_camera_Click();
    void SendGain(int value);
    void SendExposure(int value);
    void SendSpeed(int code);
    void cmd_camspeed_Click();
    void cmd_xy_Click();
    void cmd_default_Click();

    // What the read-out window's ">>" and "Default" need of a window.
    link::Console& console() const { return console_; }
    link::Session& session() const { return console_.session(); }
    Variant variant() const { return variant_; }
    void ShowError(const std::string& text) { console_.ShowError(text); }

    ui::TextBox* txt_cam = nullptr;
    ui::CommandButton* cmd_camera = nullptr;  // "cam"
    ui::TextBox* txt_gain = nullptr;
    ui::TextBox* txt_exposure = nullptr;
    ui::TextBox* txt_speed = nullptr;
    ui::CommandButton* cmd_camspeed = nullptr;  // "send"
    ui::TextBox* txt_xini = nullptr;
    ui::TextBox* txt_xfin = nullptr;
    ui::TextBox* txt_yini = nullptr;
    ui::TextBox* txt_yfin = nullptr;
    ui::TextBox* txt_lines = nullptr;
    ui::TextBox* txt_pix = nullptr;
    ui::CommandButton* cmd_xy = nullptr;       // ">>"
    ui::CommandButton* cmd_default = nullptr;  // "Default"

private:
    link::Console& console_;
    Variant variant_;
};

}  // namespace tirmo::camera
