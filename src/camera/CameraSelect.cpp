#include "camera/CameraSelect.h"

#include "link/Exchange.h"

namespace tirmo::camera {

int CameraByte(const std::string& text)
{
    if (text.size() == 1 && text[0] >= '0' && text[0] <= '5') return text[0] - '0';
    return 6;
}

bool SelectCamera(const std::string& camText, link::Console& console, Variant variant)
{
    if (console.session().dummy_mode == 1) return false;
    const link::Exchange exchange(console);
    if (!exchange) return false;
    if (!link::LinkGuard(console)) return false;
    link::FlushLink(console.session());
    const int c = CameraByte(camText);
    const link::Frame frame = *link::MakeFrame('C', c, 0);
    const std::string trace = "sending [255,67," + std::to_string(c) + ",0," + std::to_string(frame.check()) + "]";
    console.SetMonitor(variant == Variant::Factory ? trace : trace + ":" + frame.bytes());
    link::SendOptions o;
    o.form = variant == Variant::Factory ? link::SendForm::Bytes : link::SendForm::Paced15;
    o.replyLength = 1;
    o.maxSends = link::kMaxSends;
    o.confirm = [&camText](const std::string& reply) {
        return std::to_string(static_cast<unsigned char>(reply[0])) == camText;
    };
    auto result = link::SendFrame(console.session(), frame, o);
    console.SetMonitor(
        result.reply.empty() ? "Empty" : std::to_string(static_cast<unsigned char>(result.reply[0])) + " <- Camera");
    return result.confirmed;
}

}  // namespace tirmo::camera
