// The factory window's camera buttons: select, gain, exposure, speed, read-out window and
// defaults on the factory window's own boxes.
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include <cmath>
#include <functional>

#include "app/Frm_advance.h"
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

namespace tirmo::app {
namespace {

// A box read as a whole number.
long whole(const ui::TextBox* box) { return camera::BoxWhole(box->Text()); }

}  // namespace

void Frm_advance::buildCameraTools()
{
    frame_camera = new QGroupBox("Camera", frame_advanced);
    auto* grid = new QGridLayout(frame_camera);
    camera = std::make_unique<camera::CameraControls>(*this, frame_camera, camera::Variant::Factory);
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
    add("CAM", camera->txt_cam, camera->cmd_camera);
    add("GAIN", camera->txt_gain, cmd_gain);
    add("EXPOS.", camera->txt_exposure, cmd_exposure);
    add("CAM_speed=", camera->txt_speed, camera->cmd_camspeed);
    add("x", camera->txt_xini, camera->txt_xfin);
    add("y", camera->txt_yini, camera->txt_yfin);
    add("lines / pix", camera->txt_lines, camera->txt_pix);
    add("CRC", txt_crc, camera->cmd_xy);
    grid->addWidget(camera->cmd_default, row, 0);
    grid->addWidget(cmd_setcamera, row, 1, 1, 2);
    chk_cross = ui::MakeCheckBox(frame_camera, "chk_cross", "Green_CROSS");
    grid->addWidget(chk_cross, row + 1, 0, 1, 3);
    // The boxes and buttons share what the captions leave.
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    tools_->addWidget(frame_camera);
    // The picture sits in the window's main frame; the layout gives it its place.
    Picact = ui::MakePicture(frame_main, "Picact", 330, 500);
}

void Frm_advance::cmd_gain_Click() { camera::SendFactoryGain(camera->txt_gain->Text(), *this); }

void Frm_advance::cmd_exposure_Click()
{
    int value = 0;
    try {
        value = platform::WholeNumber16(camera->txt_exposure->Text());
    } catch (const platform::NumberError&) {
        ShowError("error");
        return;
    }
    camera->SendExposure(value);
}

void Frm_advance::cmd_setcamera_Click()
{
    if (session().dummy_mode == 1) return;
    const link::Exchange exchange(*this);
    if (!exchange) return;
    // Every value unscaled, from this window's boxes.
    const std::function<void()> sends[] = {[this] { camera->cmd_camera_Click(); }, [this] { cmd_gain_Click(); },
                                           [this] { cmd_exposure_Click(); }, [this] { camera->cmd_camspeed_Click(); },
                                           [this] { camera->cmd_xy_Click(); }};
    for (const auto& send : sends) {
        send();
        platform::Sleep(100);
    }
}

void Frm_advance::ReadCameraImage(const std::string& frame)
{
    // The request and its block as one exchange.
    const link::Exchange exchange(*this);
    if (!exchange) return;
    lbl_lenrx->SetCaption("Reading...");
    lbl_lenrx->Refresh();
    const long cameraNumber = whole(this->camera->txt_cam);
    const long pix = whole(this->camera->txt_pix), lines = whole(this->camera->txt_lines), extra = whole(txt_crc);
    if (!session().port_open) {
        SetStatus(link::kNotConnected);
        return;
    }
    if (cameraNumber < 0 || cameraNumber >= camera::FrameStore::kCameras) {
        SetStatus("Camera number " + camera->txt_cam->Text() + " is outside 0 to 6: not read");
        return;
    }
    const char mode = frame.size() >= 4 ? frame[3] : '\0';
    const bool decodes = mode == camera::kWindowBlock || mode == camera::kFullFrame || mode == camera::kReducedImage;
    if (decodes && !camera::WindowFitsFrameStore(lines, pix)) {
        SetStatus(camera::WindowTooLargeText(lines, pix));
        return;
    }
    if (!camera::SendRequest(session(), frame, camera::YieldPoint::BeforeEach)) return;
    long long expected = camera::ExpectedLength(mode, pix, lines, extra);
    const std::string reply = camera::ReadReply(session(), mode, expected);
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
    const link::Exchange exchange(*this);  // refused: the boxes stay as they are
    if (!exchange) return;
    const long lines = whole(this->camera->txt_xfin) - whole(this->camera->txt_xini) + 1;
    const long pix = whole(this->camera->txt_yfin) - whole(this->camera->txt_yini) + 1;
    const long cameraNumber = whole(this->camera->txt_cam);
    camera->txt_pix->SetText(std::to_string(pix));
    camera->txt_pix->Refresh();
    camera->txt_lines->SetText(std::to_string(lines));
    camera->txt_lines->Refresh();
    if (session().dummy_mode == 0) {
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
    camera::SetFrameScale(*Picact, whole(this->camera->txt_xini), whole(this->camera->txt_xfin), whole(this->camera->txt_yini), whole(this->camera->txt_yfin));
}

void Frm_advance::DrawGrayImage(int camera, int lines, int pixels)
{
    camera::DrawFrameCells(*Picact, frame_store, camera, lines, pixels, 1);
}

void Frm_advance::DrawCameraImage()
{
    camera::DrawFrameCells(*Picact, frame_store, int(whole(this->camera->txt_cam)), whole(this->camera->txt_lines), whole(this->camera->txt_pix), 0);
}

void Frm_advance::DrawCameraGrid(int camera)
{
    const long lines = whole(this->camera->txt_lines), pixels = whole(this->camera->txt_pix);
    const camera::GridTables tables{column_bands, row_bands, column_labels, row_labels, well_table};
    camera::DrawCameraGrid(*Picact, tables, camera, lines, pixels);
    if (chk_cross->Value() == 1) camera::DrawCentreCross(*Picact, lines, pixels);
}

}  // namespace tirmo::app
