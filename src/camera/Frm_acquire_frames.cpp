// The main window's frame transfer and image display: camera windows and reduced images into
// frame_store, the run's checked window fetches, and the pictures Picact, Picact2 and
// Picrealtime.
#include <cmath>

#include "app/Frm_acquire.h"
#include "camera/CameraCommands.h"
#include "camera/FrameTransfer.h"
#include "camera/ImageDisplay.h"
#include "link/Exchange.h"
#include "platform/Convert.h"
#include "ui/Controls.h"
#include "ui/PictureBox.h"

namespace tirmo::app {
namespace {

// A box read as a whole number.
long whole(const ui::TextBox* box) { return camera::BoxWhole(box->Text()); }

}  // namespace

void Frm_acquire::ReadCameraImage(const std::string& frame, bool draw)
{
    // The request and its block as one exchange.
    const link::Exchange exchange(*this);
    if (!exchange) return;
    lbl_lenrx->SetCaption("Reading...");
    lbl_lenrx->Refresh();
    const long cameraNumber = whole(this->camera->txt_cam);
    const long pix = whole(this->camera->txt_pix);
    const long lines = whole(this->camera->txt_lines);
    if (!session().port_open) {
        SetStatus(link::kNotConnected);
        return;
    }
    const char mode = frame.size() >= 4 ? frame[3] : '\0';
    const bool decodes = mode == camera::kWindowBlock || mode == camera::kReducedImage;
    if (cameraNumber < 0 || cameraNumber >= camera::FrameStore::kCameras) {
        SetStatus("Camera number " + camera->txt_cam->Text() + " is outside 0 to 6: not read");
        return;
    }
    // The frame table holds 192 lines of 193 pixels; a larger window is not asked for at all.
    if (decodes && !camera::WindowFitsFrameStore(lines, pix)) {
        SetStatus(camera::WindowTooLargeText(lines, pix));
        return;
    }
    if (!camera::SendRequest(session(), frame, camera::YieldPoint::BeforeEach)) return;
    long long expected = camera::ExpectedLength(mode, pix, lines);
    const std::string reply = camera::ReadReply(session(), mode, expected);
    SetMonitor(camera::ReplyDump(reply, pix, lines));
    lbl_lenrx->SetCaption(camera::TransferTrace(reply, expected));
    lbl_lenrx->Refresh();
    const int cam = int(cameraNumber);
    if (decodes) camera::DecodeFrame(mode, reply, pix, lines, 0, cam, frame_store);
    if (!plate_view_shown && mode != camera::kReducedImage && draw) {
        SetFrameScale();
        Picact->Cls();
        DrawGrayImage(cam, int(lines), int(pix));
    }
}

std::string Frm_acquire::ReadCameraActivity(int camera)
{
    const long pix = whole(this->camera->txt_pix), lines = whole(this->camera->txt_lines);
    return camera::FetchWindowBlock(camera, pix, lines, *this,
                                    [this](const std::string& caption, bool matches) {
                                        lbl_lenrx->SetForeColor(matches ? ui::colour::Black : ui::colour::Red);
                                        lbl_lenrx->SetCaption(caption);
                                        lbl_lenrx->Refresh();
                                    })
        .Result();
}

std::string Frm_acquire::ReadCameraScan(int camera, int window)
{
    const std::string block = ReadCameraActivity(camera);
    if (block.empty() || block.compare(0, 5, "Error") == 0) return block;
    return camera::ExtractWellColumns(block, column_bands, row_bands, camera, window);
}

namespace {

// AcquireCalibrationFrame and GrabFrame: the window from the window boxes, one request of the
// mode, or a random frame in dummy mode.
struct WindowGrab {
    long lines, pix, camera;
};

WindowGrab prepareGrab(Frm_acquire& w, char mode)
{
    WindowGrab g;
    g.lines = whole(w.camera->txt_xfin) - whole(w.camera->txt_xini) + 1;
    g.pix = whole(w.camera->txt_yfin) - whole(w.camera->txt_yini) + 1;
    g.camera = whole(w.camera->txt_cam);
    auto put = [](ui::TextBox* box, const std::string& value) {
        box->SetText(value);
        box->Refresh();
    };
    put(w.txtprogram, std::string(1, mode));
    put(w.camera->txt_pix, std::to_string(g.pix));
    put(w.camera->txt_lines, std::to_string(g.lines));
    return g;
}

// The reader draws only when draw is set; a dummy frame is always drawn.
void grabWindowFrame(Frm_acquire& w, char mode, bool draw)
{
    const link::Exchange exchange(w);  // refused: the boxes stay as they are
    if (!exchange) return;
    const WindowGrab g = prepareGrab(w, mode);
    if (w.session().dummy_mode == 0) {
        w.ReadCameraImage(camera::CameraRequest(int(g.camera & 0xFF), mode), draw);
        return;
    }
    if (!camera::WindowFitsFrameStore(g.lines, g.pix)) {
        w.SetStatus(camera::WindowTooLargeText(g.lines, g.pix));
        return;
    }
    camera::FillRandomFrame(w.frame_store, int(g.camera), g.lines, g.pix);
    w.SetFrameScale();
    w.Picact->Cls();
    w.DrawGrayImage(int(g.camera), int(g.lines), int(g.pix));
}

}  // namespace

void Frm_acquire::AcquireCalibrationFrame() { grabWindowFrame(*this, camera::kWindowBlock, true); }

void Frm_acquire::GrabFrame() { grabWindowFrame(*this, camera::kReducedImage, true); }

void Frm_acquire::GrabCameraImage(bool& draw) { grabWindowFrame(*this, camera::kWindowBlock, draw); }

void Frm_acquire::SetFrameScale()
{
    camera::SetFrameScale(*Picact, whole(this->camera->txt_xini), whole(this->camera->txt_xfin), whole(this->camera->txt_yini), whole(this->camera->txt_yfin));
}

void Frm_acquire::DrawGrayImage(int camera, int lines, int pixels)
{
    camera::DrawFrameCells(*Picact, frame_store, camera, lines, pixels, 1);
}

void Frm_acquire::DrawCameraImage()
{
    camera::DrawFrameCells(*Picact, frame_store, int(whole(this->camera->txt_cam)), whole(this->camera->txt_lines), whole(this->camera->txt_pix), 0);
}

void Frm_acquire::DrawCameraGrid(int camera)
{
    const camera::GridTables tables{column_bands, row_bands, column_labels, row_labels, well_table};
    camera::DrawCameraGrid(*Picact, tables, camera, whole(this->camera->txt_lines), whole(this->camera->txt_pix));
}

void Frm_acquire::ClearRealtimeBar(int slot) { camera::ClearRealtimeBar(*Picrealtime, slot); }

void Frm_acquire::DrawLiveActivity(int camera, int window, const std::string& frame, const std::string& difference,
                                   int have_difference)
{
    camera::LiveActivity in;
    in.camera = camera;
    in.window = window;
    in.lines = whole(this->camera->txt_xfin) - whole(this->camera->txt_xini) + 1;
    in.pixels = whole(this->camera->txt_yfin) - whole(this->camera->txt_yini) + 1;
    in.frame = frame;
    in.difference = difference;
    in.haveDifference = have_difference == 1;
    in.frameCounter = frame_counter;
    camera::DrawLiveActivity(*Picact2, in, column_bands, row_bands, window_pixel_mask);
}

void Frm_acquire::ResetRealtimePicture()
{
    Picrealtime->Cls();
    Picrealtime->Scale(0, 0, 100, 100);
    Picrealtime->SetAutoRedraw(true);
    Picrealtime->Refresh();
    Picrealtime->Cls();
}

}  // namespace tirmo::app
