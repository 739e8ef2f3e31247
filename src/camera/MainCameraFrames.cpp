// The main window's frame transfer and image display: camera windows and reduced images into
// frame_store, the run's checked window fetches, and the pictures Picact, Picact2 and
// Picrealtime.
#include "camera/MainCameraControls.h"

#include <cmath>

#include "camera/CameraCommands.h"
#include "camera/FrameTransfer.h"
#include "camera/ImageDisplay.h"
#include "link/Exchange.h"
#include "platform/Convert.h"
#include "ui/Controls.h"
#include "ui/PictureBox.h"

namespace tirmo::camera {
namespace {

// A box read as a whole number.
long whole(const ui::TextBox* box) { return camera::BoxWhole(box->Text()); }

}  // namespace

void MainCameraControls::ReadCameraImage(const std::string& frame, bool draw)
{
    // The request and its block as one exchange.
    const link::Exchange exchange(console());
    if (!exchange) return;
    ui::Label* lbl_lenrx = needs_.transfer_label();
    lbl_lenrx->SetCaption("Reading...");
    lbl_lenrx->Refresh();
    const long cameraNumber = whole(txt_cam);
    const long pix = whole(txt_pix);
    const long lines = whole(txt_lines);
    if (!session().port_open) {
        console().SetStatus(link::kNotConnected);
        return;
    }
    const char mode = frame.size() >= 4 ? frame[3] : '\0';
    const bool decodes = mode == camera::kWindowBlock || mode == camera::kReducedImage;
    if (cameraNumber < 0 || cameraNumber >= camera::FrameStore::kCameras) {
        console().SetStatus("Camera number " + txt_cam->Text() + " is outside 0 to 6: not read");
        return;
    }
    // The frame table holds 192 lines of 193 pixels; a larger window is not asked for at all.
    if (decodes && !camera::WindowFitsFrameStore(lines, pix)) {
        console().SetStatus(camera::WindowTooLargeText(lines, pix));
        return;
    }
    if (!camera::SendRequest(session(), frame, camera::YieldPoint::BeforeEach)) return;
    long long expected = camera::ExpectedLength(mode, pix, lines);
    const std::string reply = camera::ReadReply(session(), mode, expected);
    console().SetMonitor(camera::ReplyDump(reply, pix, lines));
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

std::string MainCameraControls::ReadCameraActivity(int camera)
{
    const long pix = whole(txt_pix), lines = whole(txt_lines);
    ui::Label* lbl_lenrx = needs_.transfer_label();
    return camera::FetchWindowBlock(camera, pix, lines, console(),
                                    [lbl_lenrx](const std::string& caption, bool matches) {
                                        lbl_lenrx->SetForeColor(matches ? ui::colour::Black : ui::colour::Red);
                                        lbl_lenrx->SetCaption(caption);
                                        lbl_lenrx->Refresh();
                                    })
        .Result();
}

std::string MainCameraControls::ReadCameraScan(int camera, int window)
{
    const std::string block = ReadCameraActivity(camera);
    if (block.empty() || block.compare(0, 5, "Error") == 0) return block;
    const GridTables tables = bandTables();
    return camera::ExtractWellColumns(block, tables.column_bands, tables.row_bands, camera, window);
}

namespace {

// AcquireCalibrationFrame and GrabFrame: the window from the window boxes, one request of the
// mode, or a random frame in dummy mode.
struct WindowGrab {
    long lines, pix, camera;
};

WindowGrab prepareGrab(MainCameraControls& w, char mode)
{
    WindowGrab g;
    g.lines = whole(w.txt_xfin) - whole(w.txt_xini) + 1;
    g.pix = whole(w.txt_yfin) - whole(w.txt_yini) + 1;
    g.camera = whole(w.txt_cam);
    auto put = [](ui::TextBox* box, const std::string& value) {
        box->SetText(value);
        box->Refresh();
    };
    put(w.txtprogram, std::string(1, mode));
    put(w.txt_pix, std::to_string(g.pix));
    put(w.txt_lines, std::to_string(g.lines));
    return g;
}

// The reader draws only when draw is set; a dummy frame is always drawn.
void grabWindowFrame(MainCameraControls& w, char mode, bool draw)
{
    const link::Exchange exchange(w.console());  // refused: the boxes stay as they are
    if (!exchange) return;
    const WindowGrab g = prepareGrab(w, mode);
    if (w.session().dummy_mode == 0) {
        w.ReadCameraImage(camera::CameraRequest(int(g.camera & 0xFF), mode), draw);
        return;
    }
    if (!camera::WindowFitsFrameStore(g.lines, g.pix)) {
        w.console().SetStatus(camera::WindowTooLargeText(g.lines, g.pix));
        return;
    }
    camera::FillRandomFrame(w.frame_store, int(g.camera), g.lines, g.pix);
    w.SetFrameScale();
    w.Picact->Cls();
    w.DrawGrayImage(int(g.camera), int(g.lines), int(g.pix));
}

}  // namespace

void MainCameraControls::AcquireCalibrationFrame() { grabWindowFrame(*this, camera::kWindowBlock, true); }

void MainCameraControls::GrabFrame() { grabWindowFrame(*this, camera::kReducedImage, true); }

void MainCameraControls::GrabCameraImage(bool& draw) { grabWindowFrame(*this, camera::kWindowBlock, draw); }

void MainCameraControls::SetFrameScale()
{
    camera::SetFrameScale(*Picact, whole(txt_xini), whole(txt_xfin), whole(txt_yini), whole(txt_yfin));
}

void MainCameraControls::DrawGrayImage(int camera, int lines, int pixels)
{
    camera::DrawFrameCells(*Picact, frame_store, camera, lines, pixels, 1);
}

void MainCameraControls::DrawCameraImage()
{
    camera::DrawFrameCells(*Picact, frame_store, int(whole(txt_cam)), whole(txt_lines), whole(txt_pix), 0);
}

void MainCameraControls::DrawCameraGrid(int camera)
{
    const GridTables tables = bandTables();
    camera::DrawCameraGrid(*Picact, tables, camera, whole(txt_lines), whole(txt_pix));
}

void MainCameraControls::ClearRealtimeBar(int slot) { camera::ClearRealtimeBar(*Picrealtime, slot); }

void MainCameraControls::DrawLiveActivity(int camera, int window, const std::string& frame, const std::string& difference,
                                   int have_difference)
{
    camera::LiveActivity in;
    in.camera = camera;
    in.window = window;
    in.lines = whole(txt_xfin) - whole(txt_xini) + 1;
    in.pixels = whole(txt_yfin) - whole(txt_yini) + 1;
    in.frame = frame;
    in.difference = difference;
    in.haveDifference = have_difference == 1;
    in.frameCounter = live_.frame_counter;
    const GridTables tables = bandTables();
    camera::DrawLiveActivity(*Picact2, in, tables.column_bands, tables.row_bands, live_.pixel_mask);
}

void MainCameraControls::ResetRealtimePicture()
{
    Picrealtime->Cls();
    Picrealtime->Scale(0, 0, 100, 100);
    Picrealtime->SetAutoRedraw(true);
    Picrealtime->Refresh();
    Picrealtime->Cls();
}

}  // namespace tirmo::camera
