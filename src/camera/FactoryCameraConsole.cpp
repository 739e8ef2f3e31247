// The factory window's low-level camera tools: the raw console, the sensor register write, the
// put-camera command, the identification query and the well-grid overlay of the plate picture.
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

#include <algorithm>
#include <cctype>

#include "camera/FactoryCameraTools.h"
#include "camera/FrameTransfer.h"
#include "link/CommPort.h"
#include "link/Exchange.h"
#include "platform/Clock.h"
#include "platform/Convert.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Make.h"
#include "ui/PictureBox.h"

namespace tirmo::camera {
namespace {

constexpr char kRegisterWrite = 'c';
constexpr long kLastRegister = 201;  // the sensor's registers this tool may write
constexpr char kPutCamera = '*';
constexpr int kGridBands = 4;        // the overlay of the 96-well flat plate: 4 x 4 per camera

long boxWhole(const ui::TextBox* box) { return BoxWhole(box->Text()); }

// Flush, pause, the frame as one text, and a reply of up to three bytes read one at a time.
std::string exchangeFrame(const link::Session& session, const link::Frame& frame)
{
    link::FlushLink(session);
    link::CommWrite(session.port_slot, frame.bytes());
    return link::PollReply(session, 3);
}

}  // namespace

void FactoryCameraTools::buildTools()
{
    // The console's row, which the window places in its transmit panel: the raw console, the
    // overlay switch, the sensor register write, the put-camera and identification commands.
    frame_transmit = new QWidget(frame_camera);
    frame_transmit->setObjectName("frame_transmit");
    auto* row = new QHBoxLayout(frame_transmit);
    row->setContentsMargins(0, 0, 0, 0);
    txtprogram = ui::MakeTextBox(frame_transmit, "txtprogram");
    cmd_transmit = ui::MakeButton(frame_transmit, "cmd_transmit", "Transmit", [this] { cmd_transmit_Click(); });
    cmdset = ui::MakeButton(frame_transmit, "cmdset", "set", [this] { cmdset_Click(); });
    txt_ov1 = ui::MakeTextBox(frame_transmit, "txt_ov1", "0");
    txt_ov2 = ui::MakeTextBox(frame_transmit, "txt_ov2", "0");
    cmd_ov7670 = ui::MakeButton(frame_transmit, "cmd_ov7670", ">ov7670", [this] { cmd_ov7670_Click(); });
    cmd_putcamera = ui::MakeButton(frame_transmit, "cmd_putcamera", "*", [this] { cmd_putcamera_Click(); });
    cmd_mnid = ui::MakeButton(frame_transmit, "cmd_mnid", "Get ID", [this] { cmd_mnid_Click(); });
    row->addWidget(new QLabel("TX:", frame_transmit));
    row->addWidget(txtprogram, 3);
    for (QWidget* w : {static_cast<QWidget*>(cmd_transmit), static_cast<QWidget*>(cmdset)}) row->addWidget(w, 2);
    row->addWidget(new QLabel("#Reg", frame_transmit));
    row->addWidget(txt_ov1, 1);
    row->addWidget(new QLabel("Data", frame_transmit));
    row->addWidget(txt_ov2, 1);
    for (QWidget* w : {static_cast<QWidget*>(cmd_ov7670), static_cast<QWidget*>(cmd_putcamera), static_cast<QWidget*>(cmd_mnid)})
        row->addWidget(w, 2);
    // The half resolution switch goes beside the frame button's other switches.
    chk_halfpixel = ui::MakeCheckBox(frame_camera, "chk_halfpixel", "1/2 size");
}

void FactoryCameraTools::cmd_transmit_Click()
{
    // This transfer's outcome replaces whatever the status line said of an earlier one.
    console().SetStatus("");
    transfer_label_.SetCaption("Reading...");
    transfer_label_.Refresh();
    const long cameraNumber = boxWhole(txt_cam);
    const long lines = boxWhole(txt_lines), pix = boxWhole(txt_pix), extra = boxWhole(txt_crc);
    SetFrameScale();
    if (!session().port_open) {
        ShowNothingRead();
        ui::dialogs().messageBox(link::kNotConnected);
        return;
    }
    // The dump has a row per line: a count beyond the frame table is no window of the camera.
    if (lines > FrameStore::kSize) {
        ShowNothingRead();
        console().SetStatus(WindowTooLargeText(lines, pix));
        return;
    }
    const link::Exchange exchange(console());
    const std::string text = txtprogram->Text();
    // Sent exactly as typed: the last character is the mode the reply is read by.
    if (!exchange || !SendRequest(session(), text, YieldPoint::BeforeEach)) {
        ShowNothingRead();
        return;
    }
    const char mode = text.empty() ? '\0' : text.back();
    // The reply length follows the same rule as every other camera transfer.
    long long expected = ExpectedLength(mode, pix, lines, extra);
    const std::string reply = ReadReply(session(), mode, expected);
    console().SetMonitor(ReplyDump(reply, pix, lines, extra));
    transfer_label_.SetCaption("LEN(Rx) = " + std::to_string(reply.size()));
    transfer_label_.Refresh();
    if (mode == kWindowBlock) {
        // Line l of the reply goes across at position l, its bytes down from the line's end;
        // what falls outside the frame table is not stored.
        const long long stride = (long long)pix + extra;
        for (long long line = 0; line <= lines && line < FrameStore::kSize && stride * line < (long long)reply.size(); ++line)
            for (long long k = 1; k <= pix && stride * line + k <= (long long)reply.size(); ++k) {
                const long long y = stride - k;
                if (y >= 0 && y < FrameStore::kSize)
                    frame_store.Set(int(cameraNumber), int(line), int(y),
                                    static_cast<unsigned char>(reply[size_t(stride * line + k - 1)]));
            }
    }
    picture_.Cls();
}

void FactoryCameraTools::cmd_ov7670_Click()
{
    if (!session().port_open) {
        ui::dialogs().messageBox(link::kNotConnected);
        return;
    }
    if (ui::dialogs().messageBox("Sure to write ov7670?", ui::MsgButtons::OkCancel) != ui::MsgResult::Ok) return;
    const double reg = platform::Val(txt_ov1->Text()), value = platform::Val(txt_ov2->Text());
    if (reg > kLastRegister) {
        ui::dialogs().messageBox("Invalid register number");
        return;
    }
    const std::optional<link::Frame> frame =
        link::MakeFrame(kRegisterWrite, long(platform::RoundHalfEven(reg)), long(platform::RoundHalfEven(value)));
    if (!frame) {
        ShowError("error");
        return;
    }
    const link::Exchange exchange(console());
    if (!exchange) return;
    std::string reply = exchangeFrame(session(), *frame);
    console().SetMonitor(link::ReplyTrace(reply));
    if (reply.size() < 3) {
        ShowError("error");
        return;
    }
    if (static_cast<unsigned char>(reply[1]) != frame->a || static_cast<unsigned char>(reply[2]) != frame->b) {
        ui::dialogs().messageBox("Error COM");
        return;
    }
    // The write is sent a second time, as a well-formed frame: a check byte made with another
    // letter would be a broken frame the instrument has to throw away.
    reply = exchangeFrame(session(), *frame);
    console().SetMonitor(link::ReplyTrace(reply));
}

void FactoryCameraTools::cmd_putcamera_Click()
{
    if (session().dummy_mode != 0) return;
    if (!session().port_open) {
        console().SetStatus(link::kNotConnected);
        return;
    }
    const link::Exchange exchange(console());
    if (!exchange) return;
    link::FlushLink(session());
    link::SendOptions options;
    options.maxSends = link::kMaxSends;
    options.confirm = link::EchoIs('C');
    const link::SendResult result = link::SendFrame(session(), *link::MakeFrame('C', 0, kPutCamera), options);
    console().SetMonitor(link::ReplyTrace(result.reply));
}

void FactoryCameraTools::cmd_mnid_Click()
{
    if (session().dummy_mode != 0) return;
    const link::Exchange exchange(console());
    if (!exchange) return;
    const link::Frame frame = *link::MakeFrame('I', 0, 0);
    link::FlushLink(session());
    console().SetMonitor("sending " + frame.bytes());
    link::CommWrite(session().port_slot, frame.bytes());
    const std::string reply = link::PollReply(session(), 3);
    console().SetMonitor(reply.empty() ? "Empty" : "in:" + link::ReplyTrace(reply));
    console().SetStatus("Serial Number = SN" + std::to_string(link::ReplyValue(reply)));
}

void FactoryCameraTools::cmdset_Click()
{
    if (grid_overlay) {
        grid_overlay = false;
        cmdset->SetCaption("setOFF");
        return;
    }
    grid_overlay = true;
    cmdset->SetCaption("setON");
    const long pix = boxWhole(txt_pix), lines = boxWhole(txt_lines);
    const double width = 4.0 * double(pix), height = 4.0 * double(lines);
    if (reset_plate_picture) reset_plate_picture(pix, lines);
    std::string format = plate_format ? plate_format() : std::string();
    std::transform(format.begin(), format.end(), format.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (format != "w96f") return;
    for (int i = 1; i <= kGridBands; ++i) {
        const double x = double(platform::RoundHalfEven(i * width / kGridBands));
        picture_.Line(x, 0, x, height, ui::colour::Blue);
    }
    for (int j = 1; j <= kGridBands; ++j) {
        const double y = double(platform::RoundHalfEven(j * height / kGridBands));
        picture_.Line(0, y, width, y, ui::colour::Blue);
    }
}

}  // namespace tirmo::camera
