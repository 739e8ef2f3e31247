// The factory window's camera tools: select, gain, exposure, speed, read-out window and
// defaults on the factory window's own boxes, and its frame transfers.
#include "camera/FactoryCameraTools.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include <cmath>
#include <functional>

#include "camera/CameraCommands.h"
#include "camera/CameraSelect.h"
#include "camera/FrameTransfer.h"
#include "camera/ImageDisplay.h"
#include "camera/ReadoutControls.h"
#include "link/Exchange.h"
#include "platform/Clock.h"
#include "platform/Convert.h"
#include "ui/Controls.h"
#include "ui/Make.h"
#include "ui/PictureBox.h"

namespace tirmo::camera {
namespace {

// A box read as a whole number.
long whole(const ui::TextBox* box) { return camera::BoxWhole(box->Text()); }

}  // namespace

FactoryCameraTools::FactoryCameraTools(link::Console& console, QWidget* parent, ui::PictureBox& picture,
                                       ui::Label& transferLabel, GridTables bands)
    : CameraControls(console, new QGroupBox("Camera", parent), Variant::Factory),
      picture_(picture),
      transfer_label_(transferLabel),
      bands_(bands)
{
    frame_camera = static_cast<QGroupBox*>(txt_cam->parentWidget());
    auto* grid = new QGridLayout(frame_camera);
    cmd_gain = ui::MakeButton(frame_camera, "cmd_gain", "gain", [this] { cmd_gain_Click(); });
    cmd_exposure = ui::MakeButton(frame_camera, "cmd_exposure", "expos.", [this] { cmd_exposure_Click(); });
    cmd_setcamera = ui::MakeButton(frame_camera, "cmd_setcamera", "Set camera", [this] { cmd_setcamera_Click(); });
    txt_crc = ui::MakeTextBox(frame_camera, "txt_crc", "0");
    int row = 0;
    auto add = [&](const char* caption, QWidget* box, QWidget* action) {
        grid->addWidget(new QLabel(caption, frame_camera), row, 0);
        grid->addWidget(box, row, 1);
        if (action) grid->addWidget(action, row, 2);
        ++row;
    };
    add("CAM", txt_cam, cmd_camera);
    add("GAIN", txt_gain, cmd_gain);
    add("EXPOS.", txt_exposure, cmd_exposure);
    add("CAM_speed=", txt_speed, cmd_camspeed);
    add("x", txt_xini, txt_xfin);
    add("y", txt_yini, txt_yfin);
    add("lines / pix", txt_lines, txt_pix);
    add("CRC", txt_crc, cmd_xy);
    grid->addWidget(cmd_default, row, 0);
    grid->addWidget(cmd_setcamera, row, 1, 1, 2);
    chk_cross = ui::MakeCheckBox(frame_camera, "chk_cross", "Green_CROSS");
    grid->addWidget(chk_cross, row + 1, 0, 1, 3);
    // The boxes and buttons share what the captions leave.
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    buildTools();
}

FactoryCameraTools::~FactoryCameraTools() { *alive_ = false; }

void FactoryCameraTools::cmd_gain_Click() { camera::SendFactoryGain(txt_gain->Text(), console()); }

void FactoryCameraTools::cmd_exposure_Click()
{
    int value = 0;
    try {
        value = platform::WholeNumber16(txt_exposure->Text());
    } catch (const platform::NumberError&) {
        ShowError("error");
        return;
    }
    SendExposure(value);
}

void FactoryCameraTools::cmd_setcamera_Click()
{
    if (session().dummy_mode == 1) return;
    const link::Exchange exchange(console());
    if (!exchange) return;
    // Every value unscaled, from this window's boxes.
    const std::function<void()> sends[] = {[this] { cmd_camera_Click(); }, [this] { cmd_gain_Click(); },
                                           [this] { cmd_exposure_Click(); }, [this] { cmd_camspeed_Click(); },
                                           [this] { cmd_xy_Click(); }};
    for (const auto& send : sends) {
        send();
        platform::Sleep(100);
    }
}

void FactoryCameraTools::ReadCameraImage(const std::string& frame)
{
    // The request and its block as one exchange.
    const link::Exchange exchange(console());
    if (!exchange) return;
    transfer_label_.SetCaption("Reading...");
    transfer_label_.Refresh();
    const long cameraNumber = whole(txt_cam);
    const long pix = whole(txt_pix), lines = whole(txt_lines), extra = whole(txt_crc);
    const char mode = frame.size() >= 4 ? frame[3] : '\0';
    const bool decodes = mode == camera::kWindowBlock || mode == camera::kFullFrame || mode == camera::kReducedImage;
    std::string refusal;
    if (!session().port_open)
        refusal = link::kNotConnected;
    else if (cameraNumber < 0 || cameraNumber >= camera::FrameStore::kCameras)
        refusal = "Camera number " + txt_cam->Text() + " is outside 0 to 6: not read";
    else if (decodes && !camera::WindowFitsFrameStore(lines, pix))
        refusal = camera::WindowTooLargeText(lines, pix);
    if (!refusal.empty()) console().SetStatus(refusal);
    if (!refusal.empty() || !camera::SendRequest(session(), frame, camera::YieldPoint::BeforeEach)) {
        ShowNothingRead();
        return;
    }
    long long expected = camera::ExpectedLength(mode, pix, lines, extra);
    const std::string reply = camera::ReadReply(session(), mode, expected);
    console().SetMonitor(camera::ReplyDump(reply, pix, lines, extra));
    const bool good = (long long)reply.size() == expected && camera::CheckOf(reply).matches();
    transfer_label_.SetForeColor(good ? ui::colour::Black : ui::colour::Red);
    transfer_label_.SetCaption(camera::TransferTrace(reply, expected));
    transfer_label_.Refresh();
    camera::DecodeFrame(mode, reply, pix, lines, extra, int(cameraNumber), frame_store);
    SetFrameScale();
    picture_.Cls();
    DrawGrayImage(int(cameraNumber), int(lines), int(pix));
}

void FactoryCameraTools::ShowNothingRead()
{
    // Neither "Reading..." nor an earlier read's trace is the outcome of a read that never went out.
    transfer_label_.SetCaption("");
    transfer_label_.Refresh();
}

void FactoryCameraTools::GrabFrame()
{
    const link::Exchange exchange(console());  // refused: the boxes stay as they are
    if (!exchange) return;
    const long lines = whole(txt_xfin) - whole(txt_xini) + 1;
    const long pix = whole(txt_yfin) - whole(txt_yini) + 1;
    const long cameraNumber = whole(txt_cam);
    txt_pix->SetText(std::to_string(pix));
    txt_pix->Refresh();
    txt_lines->SetText(std::to_string(lines));
    txt_lines->Refresh();
    if (session().dummy_mode == 0) {
        ReadCameraImage(camera::CameraRequest(int(cameraNumber & 0xFF), camera::kReducedImage));
        return;
    }
    if (!camera::WindowFitsFrameStore(lines, pix)) {
        console().SetStatus(camera::WindowTooLargeText(lines, pix));
        return;
    }
    camera::FillRandomFrame(frame_store, int(cameraNumber), lines, pix);
    SetFrameScale();
    picture_.Cls();
    DrawGrayImage(int(cameraNumber), int(lines), int(pix));
}

void FactoryCameraTools::SetFrameScale()
{
    camera::SetFrameScale(picture_, whole(txt_xini), whole(txt_xfin), whole(txt_yini), whole(txt_yfin));
}

void FactoryCameraTools::DrawGrayImage(int camera, int lines, int pixels)
{
    camera::DrawFrameCells(picture_, frame_store, camera, lines, pixels, 1);
}

void FactoryCameraTools::DrawCameraImage()
{
    camera::DrawFrameCells(picture_, frame_store, int(whole(txt_cam)), whole(txt_lines), whole(txt_pix), 0);
}

void FactoryCameraTools::DrawCameraGrid(int camera)
{
    const long lines = whole(txt_lines), pixels = whole(txt_pix);
    camera::DrawCameraGrid(picture_, bands_, camera, lines, pixels);
    if (chk_cross->Value() == 1) camera::DrawCentreCross(picture_, lines, pixels);
}

}  // namespace tirmo::camera
