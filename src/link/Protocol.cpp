#include "link/Protocol.h"

#include <utility>

#include "link/CommPort.h"
#include "link/Exchange.h"
#include "platform/Clock.h"

namespace tirmo::link {

std::string Frame::bytes() const
{
    std::string s(5, '\0');
    s[0] = char(kFrameStart);
    s[1] = char(letter);
    s[2] = char(a);
    s[3] = char(b);
    s[4] = char(check());
    return s;
}

std::optional<Frame> MakeFrame(char letter, long a, long b)
{
    if (a < 0 || a > 255 || b < 0 || b > 255) return std::nullopt;
    return Frame{static_cast<unsigned char>(letter), static_cast<unsigned char>(a), static_cast<unsigned char>(b)};
}

std::optional<Frame> MakeFrame16(char letter, long value)
{
    if (value < 0 || value > 32767) return std::nullopt;
    return MakeFrame(letter, value / 256, value % 256);
}

bool LinkGuard(Console& console)
{
    if (console.session().port_open) return true;
    console.SetStatus(kNotConnected);
    return false;
}

namespace {
int tellOnceDepth = 0;
bool closedLinkTold = false;
}  // namespace

void ShowNotConnected(Console& console)
{
    if (tellOnceDepth > 0 && std::exchange(closedLinkTold, true)) return;
    console.ShowError(kNotConnected);
}

TellClosedLinkOnce::TellClosedLinkOnce()
{
    if (tellOnceDepth++ == 0) closedLinkTold = false;
}

TellClosedLinkOnce::~TellClosedLinkOnce() { --tellOnceDepth; }

void FlushLink(const Session& session, int pauseMs)
{
    CommFlush(session.port_slot);
    platform::Sleep(pauseMs);
}

std::string PollReply(const Session& session, int wanted, int firstEmptyReads, int emptyPauseMs, int port)
{
    if (port == 0) port = session.port_slot;
    std::string reply, piece;
    int counter = firstEmptyReads;
    while (int(reply.size()) < wanted && counter >= 1) {
        if (CommRead(port, piece, 1) > 0) {
            reply += piece;
            counter = kEmptyReadLimit;
        } else if (!AfterEmptyRead(emptyPauseMs)) {
            break;
        }
        --counter;
    }
    return reply;
}

SendResult SendFrame(const Session& session, const Frame& frame, const SendOptions& options)
{
    SendResult result;
    const Exchange exchange;
    if (!exchange || OperationStopped()) {
        result.stopped = true;
        return result;
    }
    const std::string bytes = frame.bytes();
    for (int send = 0; send < options.maxSends; ++send) {
        switch (options.form) {
        case SendForm::Text: CommWrite(session.port_slot, bytes); break;
        case SendForm::Bytes: CommWriteBytes(session.port_slot, {bytes.begin(), bytes.end()}); break;
        case SendForm::Paced15:
            for (char c : bytes) {
                CommWrite(session.port_slot, std::string(1, c));
                platform::Sleep(kPacedBytePauseMs);
            }
            break;
        case SendForm::Yielding:
            for (char c : bytes) {
                platform::DoEvents();
                if (!session.port_open || OperationStopped()) {
                    result.stopped = true;
                    return result;
                }
                CommWrite(session.port_slot, std::string(1, c));
                platform::Sleep(kYieldBytePauseMs);
            }
            break;
        }
        ++result.sends;
        result.reply = PollReply(session, options.replyLength, options.firstEmptyReads, options.emptyReadPauseMs);
        // A stop that came while the reply was awaited ends the command: no further send.
        if (OperationStopped()) {
            result.stopped = true;
            return result;
        }
        if (options.afterEach) options.afterEach(result.reply);
        if (!options.confirm) break;
        if (!result.reply.empty() && options.confirm(result.reply)) {
            result.confirmed = true;
            break;
        }
        platform::Sleep(kRetryPauseMs);
    }
    return result;
}

std::string ReplyTrace(const std::string& reply)
{
    if (reply.empty()) return "Empty";
    std::string s(1, reply[0]);
    for (size_t i = 1; i < reply.size(); ++i) s += ";" + std::to_string(static_cast<unsigned char>(reply[i]));
    return s;
}

long ReplyValue(const std::string& reply)
{
    if (reply.size() < 3) return 0;
    return long(static_cast<unsigned char>(reply[1])) * 256 + static_cast<unsigned char>(reply[2]);
}

std::function<bool(const std::string&)> EchoIs(char letter)
{
    return [letter](const std::string& reply) { return !reply.empty() && reply[0] == letter; };
}

void SendReset(const Session& session)
{
    const Exchange exchange;
    if (!exchange) return;
    CommFlush(session.port_slot);
    platform::Sleep(kFlushPauseMs);
    for (int i = 0; i < kResetCount; ++i) {
        CommWrite(session.port_slot, "Z");
        platform::Sleep(kResetPauseMs);
    }
}

}  // namespace tirmo::link
