#include "lighting/CalibrationFrame.h"

#include "camera/FrameTransfer.h"
#include "link/Exchange.h"

namespace tirmo::lighting {

CalibrationGrab GrabCheckedFrame(const link::Session& session, int camera, long lines, long pix,
                                 camera::FrameStore& store, char mode)
{
    CalibrationGrab grab;
    if (!camera::WindowFitsFrameStore(lines, pix)) {
        grab.outcome = CalibrationGrab::Outcome::WindowTooLarge;
        return grab;
    }
    // Decoding nothing empties the window area: what stays there after a failed grab is no frame.
    auto forget = [&] { camera::DecodeFrame(mode, std::string(), pix, lines, 0, camera, store); };
    // The request and its block as one exchange; refused, it is no frame.
    const link::Exchange exchange;
    if (!exchange) {
        grab.outcome = CalibrationGrab::Outcome::NoLink;
        forget();
        return grab;
    }
    if (!camera::SendRequest(session, camera::CameraRequest(camera & 0xFF, mode), camera::YieldPoint::BeforeEach)) {
        grab.outcome = CalibrationGrab::Outcome::NoLink;
        forget();
        return grab;
    }
    long long expected = camera::ExpectedLength(mode, pix, lines);
    const std::string reply = camera::ReadReply(session, mode, expected);
    grab.trace = camera::TransferTrace(reply, expected);
    if ((long long)reply.size() < expected || !camera::CheckOf(reply).matches()) {
        grab.outcome = CalibrationGrab::Outcome::Bad;
        forget();
        return grab;
    }
    camera::DecodeFrame(mode, reply, pix, lines, 0, camera, store);
    grab.outcome = CalibrationGrab::Outcome::Good;
    return grab;
}

}  // namespace tirmo::lighting
