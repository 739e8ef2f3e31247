#include "devicememory/FlashWrite.h"

#include "devicememory/MemoryImage.h"
#include "platform/Clock.h"

namespace tirmo::devicememory {
namespace {

constexpr const char* kNoResponse = "Empty/No response Headline";

std::string frame(unsigned char letter, int a, int b)
{
    const unsigned char ua = static_cast<unsigned char>(a), ub = static_cast<unsigned char>(b);
    return {char(255), char(letter), char(ua), char(ub), char(letter ^ ua ^ ub)};
}

std::string codes(const std::string& reply, const char* separator)
{
    std::string out;
    for (char c : reply) out += separator + std::to_string(static_cast<unsigned char>(c));
    return out;
}

// One buffer byte with its echo; the wrong echo is shown as `complain` says.
template <class Complain>
WriteOutcome writeByte(FlashWritePort& port, int offset, unsigned char data, int index, int missingLine,
                       Complain complain)
{
    const std::string out = BufferByteFrame(offset, data);
    port.ShowMonitor("snd:" + out);
    const auto reply = port.Transfer(out, kEchoBytes);
    if (!reply) return WriteOutcome::Closed;
    std::string monitor = "rcv(" + std::to_string(index) + "):";
    if (reply->empty()) {
        port.ShowMonitor(kNoResponse + std::to_string(missingLine));
        return WriteOutcome::NoEcho;
    }
    monitor += codes(*reply, ",");
    const std::string echo{char(kBufferLetter), char(offset), char(data)};
    const bool wrong = *reply != echo;
    if (wrong) complain(codes(*reply, ""));
    port.ShowMonitor(monitor);
    platform::Sleep(kByteEndPauseMs);
    return wrong ? WriteOutcome::WrongEcho : WriteOutcome::Done;
}

WriteOutcome commit(FlashWritePort& port, int bank, int line, int shownIndex)
{
    const std::string out = CommitFrame(bank, line);
    port.ShowMonitor("snd:" + out);
    const auto reply = port.Transfer(out, 1);
    if (!reply) return WriteOutcome::Closed;
    if (reply->empty()) {
        port.ShowMonitor(kNoResponse + std::to_string(line));
        return WriteOutcome::NoAnswer;
    }
    port.ShowReply("rcv(" + (shownIndex >= 0 ? std::to_string(shownIndex) : std::string()) + "):" + codes(*reply, ""),
                   "Len(Rx) = " + std::to_string(reply->size()));
    port.Flush();
    platform::DoEvents();
    platform::Sleep(kCommitPauseMs);
    platform::DoEvents();
    platform::Sleep(kCommitPauseMs);
    return WriteOutcome::Done;
}

}  // namespace

bool Failed(WriteOutcome outcome) { return outcome != WriteOutcome::Done && outcome != WriteOutcome::WrongEcho; }

std::string BufferByteFrame(int offset, unsigned char data) { return frame(kBufferLetter, offset, data); }
std::string CommitFrame(int bank, int line) { return frame(kCommitLetter, bank, line); }

WriteOutcome WriteFlashBufferLine(FlashWritePort& port, int line, std::string& data, const MemoryNotices& notices)
{
    if (data.size() < size_t(kLineBytes)) data.resize(size_t(kLineBytes), '\0');
    port.Flush();
    WriteOutcome outcome = WriteOutcome::Done;
    for (int i = 0; i < kLineBytes; ++i) {
        const WriteOutcome byte =
            writeByte(port, line * kLineBytes + i, static_cast<unsigned char>(data[size_t(i)]), i, line,
                      [&notices](const std::string& values) { notices.Message("instruction confirmation error:" + values); });
        if (Failed(byte)) return byte;
        if (byte == WriteOutcome::WrongEcho) outcome = byte;
    }
    platform::DoEvents();
    return outcome;
}

WriteOutcome CommitFlashLines(FlashWritePort& port, int bank, int line) { return commit(port, bank, line, -1); }

WriteOutcome WriteVerifyFlashLine(FlashWritePort& port, const MemoryNotices& notices)
{
    WriteOutcome outcome = WriteOutcome::Done;
    for (int n = 0; n < kBlockLines; ++n) {
        port.Flush();
        for (int i = 0; i < kLineBytes; ++i) {
            const WriteOutcome byte =
                writeByte(port, n * kLineBytes + i, static_cast<unsigned char>(i), i, kSelfTestLine,
                          [&notices](const std::string& values) { notices.Status("flash verification error! : " + values); });
            if (Failed(byte)) return byte;
            if (byte == WriteOutcome::WrongEcho) outcome = byte;
        }
        platform::DoEvents();
    }
    const WriteOutcome committed = commit(port, kSelfTestBank, kSelfTestLine, kLineBytes);
    return Failed(committed) ? committed : outcome;
}

}  // namespace tirmo::devicememory
