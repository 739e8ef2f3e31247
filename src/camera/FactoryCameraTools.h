#pragma once
// The factory window's camera tools: the camera boxes it shares with the main window, sending
// the factory way, with buttons of their own for gain and exposure, the resend of every setting,
// and the frame transfer and display on the factory window's own picture and frame store.
#include <string>

#include "camera/CameraControls.h"
#include "camera/FrameStore.h"
#include "camera/ImageDisplay.h"
#include "ui/Forward.h"

class QGroupBox;

namespace tirmo::camera {

class FactoryCameraTools : public CameraControls {
public:
    // The "Camera" frame goes on parent; the frames are drawn on picture, each transfer's
    // length on transferLabel, and the band grid from bands (the factory window's own tables).
    FactoryCameraTools(link::Console& console, QWidget* parent, ui::PictureBox& picture, ui::Label& transferLabel,
                       GridTables bands);

    void cmd_gain_Click();
    void cmd_exposure_Click();
    // Resends the camera settings from this window's boxes, unscaled, 100 ms apart.
    void cmd_setcamera_Click();
    void ReadCameraImage(const std::string& frame);
    void GrabFrame();
    void SetFrameScale();
    void DrawGrayImage(int camera, int lines, int pixels);
    void DrawCameraImage();
    // The band grid of a camera, and the green centre cross while chk_cross is ticked.
    void DrawCameraGrid(int camera);

    QGroupBox* frame_camera = nullptr;  // "Camera"
    ui::CommandButton* cmd_gain = nullptr;
    ui::CommandButton* cmd_exposure = nullptr;
    ui::CommandButton* cmd_setcamera = nullptr;
    ui::TextBox* txt_crc = nullptr;     // extra bytes per line of a camera block
    ui::CheckBox* chk_cross = nullptr;  // "Green_CROSS"
    FrameStore frame_store;

private:
    ui::PictureBox& picture_;
    ui::Label& transfer_label_;
    GridTables bands_;
};

}  // namespace tirmo::camera
