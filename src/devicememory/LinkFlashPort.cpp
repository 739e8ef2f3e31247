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
    written += std::max(0L, link::CommWrite(console_.session().port_slot, frame->bytes()));
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
    received += long(reply.size());
    return reply;
}

void LinkFlashPort::ShowReply(const std::string& trace, const std::string& length)
{
    console_.SetMonitor(trace);
    if (showLength_ && !length.empty()) showLength_(length);
}

void LinkFlashPort::Flush()
{
    const link::Exchange exchange(console_);
    if (exchange && console_.session().port_open) link::FlushLink(console_.session());
}

std::optional<std::string> LinkFlashPort::Transfer(const std::string& bytes, int wanted)
{
    const link::Exchange exchange(console_);
    if (!exchange || link::OperationStopped() || !console_.session().port_open) return std::nullopt;
    const long sent = link::CommWrite(console_.session().port_slot, bytes);
    if (sent <= 0) return std::nullopt;
    written += sent;
    platform::Sleep(kFlashSendPauseMs);
    platform::DoEvents();
    std::string reply = link::PollReply(console_.session(), wanted);
    received += long(reply.size());
    return reply;
}

void LinkFlashPort::ShowMonitor(const std::string& text) { console_.SetMonitor(text); }

bool LinkFlashPort::LinkOpen() const { return console_.session().port_open; }

}  // namespace tirmo::devicememory
