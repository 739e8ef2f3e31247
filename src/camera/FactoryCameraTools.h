#pragma once
// The factory window's camera tools: the camera boxes it shares with the main window, sending
// the factory way, with buttons of their own for gain and exposure, the resend of every setting,
// and the frame transfer and display on the factory window's own picture and frame store; the
// engineers' raw console, sensor register write, put-camera and identification commands and the
// well-grid overlay; the frame button with its half resolution, pictures and live view.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "camera/CameraCommands.h"
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
    ~FactoryCameraTools();

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

    // ---- the engineers' camera tools (FactoryCameraConsole.cpp) ----
    // Raw console: txtprogram sent unframed, the reply dumped and, for "+", stored.
    void cmd_transmit_Click();
    // Writes sensor register txt_ov1 with txt_ov2 after a confirmation.
    void cmd_ov7670_Click();
    // The put-camera command, up to three attempts.
    void cmd_putcamera_Click();
    // The serial-number query with "I".
    void cmd_mnid_Click();
    // The well-grid overlay on the plate picture, on and off.
    void cmdset_Click();

    // ---- full frame, pictures and live view (FactoryFullFrame.cpp) ----
    // The shell's switches of the frame button, which this object's grab reads.
    void AttachFrameSwitches(ui::CommandButton* fullframe, ui::CheckBox* video, ui::CheckBox* exportbmp);
    // One grab (or the live view while chk_video is ticked); pressed during the live view, it
    // ends it.
    void Command_fullframe_Click();
    // Ends a live view at its next test (the window is closing).
    void StopVideo();
    bool VideoRunning() const { return video_running_; }

    // What the tools need of the window: the plate picture prepared for a grid of pixels x lines,
    // the plate format the overlay follows, and the desktop's program for an exported picture.
    std::function<void(long pixels, long lines)> reset_plate_picture;
    std::function<std::string()> plate_format;
    std::function<void(const std::string& path)> open_picture;

    QWidget* frame_transmit = nullptr;  // "TX:", the console, overlay, register, put-camera and ID
    ui::TextBox* txtprogram = nullptr;
    ui::CommandButton* cmd_transmit = nullptr;  // "Transmit"
    ui::TextBox* txt_ov1 = nullptr;             // "#Reg"
    ui::TextBox* txt_ov2 = nullptr;             // "Data"
    ui::CommandButton* cmd_ov7670 = nullptr;    // ">ov7670"
    ui::CommandButton* cmd_putcamera = nullptr; // "*"
    ui::CommandButton* cmd_mnid = nullptr;      // "Get ID"
    ui::CommandButton* cmdset = nullptr;        // "set", then "setON" / "setOFF"
    ui::CheckBox* chk_halfpixel = nullptr;      // "1/2 size"
    bool grid_overlay = false;
    ui::CommandButton* Command_fullframe = nullptr;
    ui::CheckBox* chk_video = nullptr;
    ui::CheckBox* chk_exportbmp = nullptr;

    QGroupBox* frame_camera = nullptr;  // "Camera"
    ui::CommandButton* cmd_gain = nullptr;
    ui::CommandButton* cmd_exposure = nullptr;
    ui::CommandButton* cmd_setcamera = nullptr;
    ui::TextBox* txt_crc = nullptr;     // extra bytes per line of a camera block
    ui::CheckBox* chk_cross = nullptr;  // "Green_CROSS"
    FrameStore frame_store;

private:
    void buildTools();
    // A read refused or not sent after "Reading...": the transfer label is cleared.
    void ShowNothingRead();
    // One grab of Command_fullframe; false when it was refused or the window could not be set.
    bool grabFullFrame();
    // Selects the camera and gives it the read-out window of the boxes, unless this click did.
    bool setReadoutWindow(int camera);
    void exportPicture(int camera);
    ui::PictureBox& picture_;
    // The window this click gave the camera: whatever ran before it (a run, the main window's
    // set-up) may have left the camera with another one.
    struct ReadoutSent {
        int camera = 0;
        ReadoutLimits limits;
        bool operator==(const ReadoutSent&) const = default;
    };
    std::optional<ReadoutSent> readout_sent_;
    bool video_running_ = false;
    bool video_stop_ = false;
    // False once the object is gone: a live view that yields finds out before touching it.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    ui::Label& transfer_label_;
    GridTables bands_;
};

}  // namespace tirmo::camera
