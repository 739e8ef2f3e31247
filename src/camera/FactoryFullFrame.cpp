// The factory window's frame button: one frame of the read-out window, in full or half
// resolution, with the centre cross and the picture saved into bmp_exp, repeated as a live view
// while the video box is ticked.
#include <memory>

#include "camera/CameraSelect.h"
#include "camera/FactoryCameraTools.h"
#include "camera/FrameTransfer.h"
#include "camera/ImageDisplay.h"
#include "link/Exchange.h"
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
    readout_sent_.reset();
    // A refusal of an earlier click is no outcome of this one.
    console().SetStatus("");
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
        // The window and the read as one exchange: nothing may change the window between them.
        const link::Exchange exchange(console());
        if (!exchange || !setReadoutWindow(int(cameraNumber))) return false;
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

bool FactoryCameraTools::setReadoutWindow(int camera)
{
    // The camera reads with the window it was given last, whoever gave it: a read that asks for
    // another one comes back skewed and of the wrong length.
    const auto limits = ReadReadoutLimits(txt_xini->Text(), txt_xfin->Text(), txt_yini->Text(), txt_yfin->Text());
    const std::string refused = ": full frame not read";
    if (!limits) {
        console().SetStatus("The read-out window boxes must hold whole numbers" + refused);
        return false;
    }
    for (int limit : {limits->xini, limits->xfin, limits->yini, limits->yfin})
        if (limit < 0 || limit > 255) {
            console().SetStatus("Read-out window limit " + std::to_string(limit) + " does not fit a byte (0 to 255)" + refused);
            return false;
        }
    const ReadoutSent wanted{camera, *limits};
    if (readout_sent_ == wanted) return true;
    if (!session().port_open) return true;  // the read says that the link is closed
    const std::string tag = "Camera " + std::to_string(camera);
    if (!SelectCamera(std::to_string(camera), console(), variant())) {
        console().SetStatus(tag + " did not confirm its selection" + refused);
        return false;
    }
    link::FlushLink(session());
    if (!SendWindowPair('y', limits->xini, limits->xfin, console(), variant()) ||
        !SendWindowPair('x', limits->yini, limits->yfin, console(), variant())) {
        console().SetStatus(tag + " did not confirm its read-out window" + refused);
        return false;
    }
    readout_sent_ = wanted;
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
