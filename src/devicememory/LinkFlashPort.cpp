#include "devicememory/LinkFlashPort.h"

#include <algorithm>

#include "devicememory/MemoryImage.h"
#include "link/CommPort.h"
#include "link/Exchange.h"
#include "platform/Clock.h"

namespace tirmo::devicememory {

LinkFlashPort::LinkFlashPort(link::Console& console, std::function<void(const std::string&)> showLength)
    : console_(console), showLength_(std::move(showLength))
{
}

std::optional<std::string> LinkFlashPort::RequestBlock(int bank, int line)
{
    const link::Exchange exchange(console_);
    if (!exchange) return std::nullopt;
    if (!link::LinkGuard(console_)) return std::nullopt;
    const auto frame = link::MakeFrame('F', kReadRequestBase + bank, line);
    if (!frame) return std::string();
    link::FlushLink(console_.session(), kFlashFlushPauseMs);
    link::CommWrite(console_.session().port_slot, frame->bytes());
    platform::Sleep(kFlashSendPauseMs);

    // Pieces of at most 32 bytes; five empty reads in a row end the wait before the first byte,
    // four once data has come.
    std::string reply, piece;
    int counter = kFlashEmptyReads;
    while (reply.size() < size_t(kFlashReplyBytes) && counter > 0) {
        const int want = std::min(kFlashReadPiece, kFlashReplyBytes - int(reply.size()));
        if (link::CommRead(console_.session().port_slot, piece, want) > 0) {
            reply += piece;
            counter = kFlashEmptyReads;
        } else if (!link::AfterEmptyRead(1)) {
            break;
        }
        --counter;
    }
    return reply;
}

void LinkFlashPort::ShowReply(const std::string& trace, const std::string& length)
{
    console_.SetMonitor(trace);
    if (showLength_) showLength_(length);
}

}  // namespace tirmo::devicememory
