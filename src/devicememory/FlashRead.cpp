#include "devicememory/FlashRead.h"

#include "devicememory/MemoryImage.h"
#include "platform/Clock.h"

namespace tirmo::devicememory {

bool ReplyAccepted(const std::string& reply, int bank, int line)
{
    if (reply.size() != size_t(kFlashReplyBytes)) return false;
    auto at = [&reply](size_t i) { return static_cast<unsigned char>(reply[i]); };
    return reply[0] == 'F' && at(1) == kReadRequestBase + bank && at(2) == line &&
           at(kFlashReplyBytes - 1) == CheckByte(std::string_view(reply).substr(3, kBlockBytes));
}

std::string FlashReplyTrace(int line, const std::string& reply)
{
    std::string trace = "C0L" + std::to_string(line) + ":";
    if (reply.empty()) return trace + "Empty";
    for (char c : reply) {
        const unsigned char code = static_cast<unsigned char>(c);
        trace += code > 32 ? std::string(1, c) : std::to_string(code);
        trace += ',';
    }
    return trace;
}

std::string ReadFlashLines(FlashPort& port, int bank, int line)
{
    std::string reply;
    for (int attempt = 0; attempt < kFlashReadAttempts; ++attempt) {
        auto got = port.RequestBlock(bank, line);
        if (!got) {
            // Closed before the first request: nothing went out and the monitor stays as it was.
            if (attempt == 0) return {};
            break;
        }
        reply = std::move(*got);
        if (ReplyAccepted(reply, bank, line)) break;
        platform::Sleep(kFlashRetryPauseMs);
        platform::DoEvents();
    }
    port.ShowReply(FlashReplyTrace(line, reply), "Len(Rx) = " + std::to_string(reply.size()));
    return Padded(reply.size() > 3 ? std::string_view(reply).substr(3) : std::string_view(), kBlockBytes);
}

}  // namespace tirmo::devicememory
