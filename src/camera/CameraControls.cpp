#include "camera/CameraControls.h"

#include <cmath>

#include "camera/CameraSelect.h"
#include "camera/ReadoutControls.h"
#include "platform/Convert.h"
#include "ui/Controls.h"
#include "ui/Make.h"

namespace tirmo::camera {

CameraControls::CameraControls(link::Console& console, QWidget* parent, Variant variant)
    : console_(console), variant_(variant)
{
    txt_cam = ui::MakeTextBox(parent, "txt_cam", "0");
    cmd_camera = ui::MakeButton(parent, "cmd_camera", "cam", [this] { cmd_camera_Click(); });
    txt_gain = ui::MakeTextBox(parent, "txt_gain", "10");
    txt_exposure = ui::MakeTextBox(parent, "txt_exposure", "20");
    MakeReadoutControls(*this, parent);
}

void CameraControls::cmd_camera_Click() { SelectCamera(txt_cam->Text(), console_, variant_); }

void CameraControls::SendGain(int value) { camera::SendGain(value, console_); }

void CameraControls::SendExposure(int value) { camera::SendExposure(value, console_); }

void CameraControls::SendSpeed(int code) { camera::SendSpeed(code, console_, variant_); }

void CameraControls::cmd_camspeed_Click()
{
    if (variant_ == Variant::Factory) {
        const double v = platform::Val(txt_speed->Text());
        if (!std::isfinite(v) || v < -32768.5 || v > 32767.5) {
            ShowError("error");
            return;
        }
        SendSpeed(int(platform::RoundHalfEven(v)));
        return;
    }
    const long code = BoxWhole(txt_speed->Text());
    // A code beyond the 16-bit range is refused here as SendSpeed would refuse it.
    if (code < -32768 || code > 32767) {
        ShowError("error");
        return;
    }
    SendSpeed(int(code));
}

void CameraControls::cmd_xy_Click() { SendReadoutWindow(*this); }

void CameraControls::cmd_default_Click() { ShowDefaultReadout(*this); }

}  // namespace tirmo::camera
