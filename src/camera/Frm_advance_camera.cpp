// The factory window's camera buttons: select, gain, exposure, speed, read-out window and
// defaults on the factory window's own boxes.
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include <cmath>

#include "app/Frm_advance.h"
#include "app/ModuleState.h"
#include "camera/CameraCommands.h"
#include "camera/CameraSelect.h"
#include "camera/FrameTransfer.h"
#include "camera/ImageDisplay.h"
#include "platform/Clock.h"
#include "platform/Convert.h"
#include "ui/Controls.h"
#include "ui/PictureBox.h"

namespace tirmo::app {
namespace {

// A box read as a whole number.
long whole(const ui::TextBox* box) { return camera::BoxWhole(box->Text()); }

}  // namespace

void Frm_advance::buildCameraTools()
{
    frame_camera = new QGroupBox("Camera", frame_advanced);
    auto* grid = new QGridLayout(frame_camera);
    auto text = [&](const char* name, const char* value) {
        auto* t = new ui::TextBox(frame_camera);
        t->setObjectName(name);
        t->SetText(value);
        return t;
    };
    auto button = [&](const char* name, const char* caption, auto handler) {
        auto* b = new ui::CommandButton(frame_camera);
        b->setObjectName(name);
        b->SetCaption(caption);
        b->onClick(handler);
        return b;
    };
    txt_cam = text("txt_cam", "0");
    cmd_camera = button("cmd_camera", "cam", [this] { cmd_camera_Click(); });
    txt_gain = text("txt_gain", "10");
    cmd_gain = button("cmd_gain", "gain", [this] { cmd_gain_Click(); });
    txt_exposure = text("txt_exposure", "20");
    cmd_exposure = button("cmd_exposure", "expos.", [this] { cmd_exposure_Click(); });
    txt_speed = text("txt_speed", "7");
    cmd_camspeed = button("cmd_camspeed", "send", [this] { cmd_camspeed_Click(); });
    txt_xini = text("txt_xini", "0");
    txt_xfin = text("txt_xfin", "142");
    txt_yini = text("txt_yini", "1");
    txt_yfin = text("txt_yfin", "183");
    txt_lines = text("txt_lines", "143");
    txt_pix = text("txt_pix", "183");
    cmd_xy = button("cmd_xy", ">>", [this] { cmd_xy_Click(); });
    cmd_default = button("cmd_default", "Default", [this] { cmd_default_Click(); });
    cmd_setcamera = button("cmd_setcamera", "Set camera", [this] { cmd_setcamera_Click(); });
    txt_crc = text("txt_crc", "0");
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
    add("CRC", txt_crc, nullptr);
    grid->addWidget(cmd_xy, row, 1);
    grid->addWidget(cmd_default, row, 2);
    grid->addWidget(cmd_setcamera, row + 1, 2);
    tools_->addWidget(frame_camera);
    Picact = new ui::PictureBox(frame_advanced);
    Picact->setObjectName("Picact");
    Picact->SetPixelSize(330, 500);
    Picact->setMinimumSize(330, 500);
    tools_->addWidget(Picact);
}

void Frm_advance::cmd_camera_Click() { camera::SelectCamera(txt_cam->Text(), *this, camera::Variant::Factory); }

void Frm_advance::cmd_gain_Click() { camera::SendFactoryGain(txt_gain->Text(), *this); }

void Frm_advance::cmd_exposure_Click()
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

void Frm_advance::SendExposure(int value) { camera::SendExposure(value, *this); }

void Frm_advance::cmd_camspeed_Click()
{
    const double v = platform::Val(txt_speed->Text());
    if (!std::isfinite(v) || v < -32768.5 || v > 32767.5) {
        ShowError("error");
        return;
    }
    SendSpeed(int(platform::RoundHalfEven(v)));
}

void Frm_advance::SendSpeed(int code) { camera::SendSpeed(code, *this, camera::Variant::Factory); }

void Frm_advance::cmd_xy_Click()
{
    int xini = 0, xfin = 0, yini = 0, yfin = 0;
    try {
        xini = platform::WholeNumber16(txt_xini->Text());
        xfin = platform::WholeNumber16(txt_xfin->Text());
        yini = platform::WholeNumber16(txt_yini->Text());
        yfin = platform::WholeNumber16(txt_yfin->Text());
    } catch (const platform::NumberError&) {
        ShowError("error");
        return;
    }
    txt_lines->SetText(std::to_string(xfin - xini + 1));
    txt_lines->Refresh();
    txt_pix->SetText(std::to_string(yfin - yini + 1));
    txt_pix->Refresh();
    if (mod::dummy_mode == 1) return;
    if (!mod::port_open) {
        ShowError(link::kNotConnected);
        return;
    }
    link::FlushLink();
    SendWindowY(xini, xfin);
    SendWindowX(yini, yfin);
}

void Frm_advance::SendWindowY(int start, int end)
{
    camera::SendWindowPair('y', start, end, *this, camera::Variant::Factory);
}

void Frm_advance::SendWindowX(int start, int end)
{
    camera::SendWindowPair('x', start, end, *this, camera::Variant::Factory);
}

void Frm_advance::cmd_setcamera_Click()
{
    if (mod::dummy_mode == 1) return;
    // Every value unscaled, from this window's boxes.
    for (void (Frm_advance::*send)() : {&Frm_advance::cmd_camera_Click, &Frm_advance::cmd_gain_Click,
                                        &Frm_advance::cmd_exposure_Click, &Frm_advance::cmd_camspeed_Click,
                                        &Frm_advance::cmd_xy_Click}) {
        (this->*send)();
        platform::Sleep(100);
    }
}

void Frm_advance::cmd_default_Click()
{
    auto put = [](ui::TextBox* box, const std::string& value) {
        box->SetText(value);
        box->Refresh();
    };
    put(txt_speed, camera::DefaultSpeedCode(mod::hardware_generation));
    put(txt_xini, std::to_string(camera::kDefaultXini));
    put(txt_xfin, std::to_string(camera::kDefaultXfin));
    put(txt_yini, std::to_string(camera::kDefaultYini));
    put(txt_yfin, std::to_string(camera::kDefaultYfin));
}

void Frm_advance::ReadCameraImage(const std::string& frame)
{
    lbl_lenrx->SetCaption("Reading...");
    lbl_lenrx->Refresh();
    const long cameraNumber = whole(txt_cam);
    const long pix = whole(txt_pix), lines = whole(txt_lines), extra = whole(txt_crc);
    if (!mod::port_open) {
        SetStatus(link::kNotConnected);
        return;
    }
    if (cameraNumber < 0 || cameraNumber >= camera::FrameStore::kCameras) {
        SetStatus("Camera number " + txt_cam->Text() + " is outside 0 to 6: not read");
        return;
    }
    const char mode = frame.size() >= 4 ? frame[3] : '\0';
    const bool decodes = mode == camera::kWindowBlock || mode == camera::kFullFrame || mode == camera::kReducedImage;
    if (decodes && !camera::WindowFitsFrameStore(lines, pix)) {
        SetStatus(camera::WindowTooLargeText(lines, pix));
        return;
    }
    if (!camera::SendRequest(frame, camera::YieldPoint::BeforeEach)) return;
    long long expected = camera::ExpectedLength(mode, pix, lines, extra);
    const std::string reply = camera::ReadReply(mode, expected);
    SetMonitor(camera::ReplyDump(reply, pix, lines, extra));
    const bool good = (long long)reply.size() == expected && camera::CheckOf(reply).matches();
    lbl_lenrx->SetForeColor(good ? ui::colour::Black : ui::colour::Red);
    lbl_lenrx->SetCaption(camera::TransferTrace(reply, expected));
    lbl_lenrx->Refresh();
    camera::DecodeFrame(mode, reply, pix, lines, extra, int(cameraNumber), frame_store);
    SetFrameScale();
    Picact->Cls();
    DrawGrayImage(int(cameraNumber), int(lines), int(pix));
}

void Frm_advance::GrabFrame()
{
    const long lines = whole(txt_xfin) - whole(txt_xini) + 1;
    const long pix = whole(txt_yfin) - whole(txt_yini) + 1;
    const long cameraNumber = whole(txt_cam);
    txt_pix->SetText(std::to_string(pix));
    txt_pix->Refresh();
    txt_lines->SetText(std::to_string(lines));
    txt_lines->Refresh();
    if (mod::dummy_mode == 0) {
        ReadCameraImage(camera::CameraRequest(int(cameraNumber & 0xFF), camera::kReducedImage));
        return;
    }
    if (!camera::WindowFitsFrameStore(lines, pix)) {
        SetStatus(camera::WindowTooLargeText(lines, pix));
        return;
    }
    camera::FillRandomFrame(frame_store, int(cameraNumber), lines, pix);
    SetFrameScale();
    Picact->Cls();
    DrawGrayImage(int(cameraNumber), int(lines), int(pix));
}

void Frm_advance::SetFrameScale()
{
    camera::SetFrameScale(*Picact, whole(txt_xini), whole(txt_xfin), whole(txt_yini), whole(txt_yfin));
}

void Frm_advance::DrawGrayImage(int camera, int lines, int pixels)
{
    camera::DrawFrameCells(*Picact, frame_store, camera, lines, pixels, 1);
}

void Frm_advance::DrawCameraImage()
{
    camera::DrawFrameCells(*Picact, frame_store, int(whole(txt_cam)), whole(txt_lines), whole(txt_pix), 0);
}

}  // namespace tirmo::app
