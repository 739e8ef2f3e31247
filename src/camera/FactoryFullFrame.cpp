// The factory window's frame button: one frame of the read-out window, in full or half
// resolution, with the centre cross and the picture saved into bmp_exp, repeated as a live view
// while the video box is ticked.
#include <memory>

#include "camera/FactoryCameraTools.h"
#include "camera/FrameTransfer.h"
#include "camera/ImageDisplay.h"
#include "platform/Clock.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "ui/Controls.h"
#include "ui/PictureBox.h"

namespace tirmo::camera {
namespace {

constexpr int kVideoPauseMs = 100;
constexpr char kHalfResolution = '-';

long boxWhole(const ui::TextBox* box) { return BoxWhole(box->Text()); }

}  // namespace

void FactoryCameraTools::AttachFrameSwitches(ui::CommandButton* fullframe, ui::CheckBox* video, ui::CheckBox* exportbmp)
{
    Command_fullframe = fullframe;
    chk_video = video;
    chk_exportbmp = exportbmp;
}

void FactoryCameraTools::StopVideo() { video_stop_ = true; }

void FactoryCameraTools::Command_fullframe_Click()
{
    // Pressed again while the live view runs: the view ends at its next test, no second one.
    if (video_running_) {
        video_stop_ = true;
        return;
    }
    video_running_ = true;
    video_stop_ = false;
    const std::shared_ptr<bool> alive = alive_;
    for (;;) {
        if (!grabFullFrame()) break;
        if (chk_video->Value() != 1 || video_stop_) break;
        platform::Sleep(kVideoPauseMs);
        Command_fullframe->SetCaption("Video=ON");
        platform::DoEvents();
        if (!*alive) return;  // the window went while the view yielded
        if (chk_video->Value() != 1 || video_stop_) break;
    }
    video_running_ = false;
}

bool FactoryCameraTools::grabFullFrame()
{
    long lines = long(platform::RoundHalfEven(platform::Val(txt_xfin->Text()) - platform::Val(txt_xini->Text()) + 1));
    long pix = long(platform::RoundHalfEven(platform::Val(txt_yfin->Text()) - platform::Val(txt_yini->Text()) + 1));
    char mode = kWindowBlock;
    if (chk_halfpixel->Value() == 1) {
        // Every second line and pixel: the even positions from 0 to the count.
        lines = lines / 2 + 1;
        pix = pix / 2 + 1;
        mode = kHalfResolution;
    }
    const long cameraNumber = boxWhole(txt_cam);
    if (cameraNumber < 0 || cameraNumber >= FrameStore::kCameras) {
        console().SetStatus("Camera number " + txt_cam->Text() + " is outside 0 to 6: not read");
        return false;
    }
    if (!WindowFitsFrameStore(lines, pix)) {
        console().SetStatus(WindowTooLargeText(lines, pix));
        return false;
    }
    txt_pix->SetText(std::to_string(pix));
    txt_pix->Refresh();
    txt_lines->SetText(std::to_string(lines));
    txt_lines->Refresh();
    txtprogram->SetText(std::string(1, mode));
    if (session().dummy_mode == 0) {
        ReadCameraImage(CameraRequest(int(cameraNumber), mode));
    } else {
        FillRandomFrame(frame_store, int(cameraNumber), lines, pix);
        SetFrameScale();
        picture_.Cls();
        DrawGrayImage(int(cameraNumber), int(lines), int(pix));
    }
    if (chk_cross->Value() == 1) DrawCentreCross(picture_, lines, pix);
    if (chk_exportbmp->Value() == 1) exportPicture(int(cameraNumber));
    return true;
}

void FactoryCameraTools::exportPicture(int camera)
{
    // The folder is made here too: the shell makes it only when the video box is clicked.
    const std::string folder = platform::ProgramPath("bmp_exp");
    if (!platform::FolderExists(folder) && !platform::MakeFolder(folder)) {
        console().SetStatus("Could not create the folder " + folder);
        return;
    }
    const bool bad = transfer_label_.ForeColor() == ui::colour::Red;
    const std::string path = folder + "/c" + std::to_string(camera) + "_" +
                             platform::FormatDate(platform::WallNow(), "yyyymmddhhmmss") + (bad ? "b.bmp" : ".bmp");
    if (!picture_.SavePicture(path)) {
        console().SetStatus("Could not write the picture " + path);
        return;
    }
    // A single frame is opened with the desktop's program; a live view only fills the folder.
    if (chk_video->Value() != 1 && open_picture) open_picture(path);
}

}  // namespace tirmo::camera
