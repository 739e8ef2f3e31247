#pragma once
// The instrument command protocol: five-byte frames (255, letter, a, b, check), the four ways a
// frame goes out, the reply poll with its counter of empty reads, the echo test with its three
// sends, and the reply log. Device operations of every subsystem are built from these steps;
// nothing above this unit writes to or reads from the port.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "link/Session.h"

namespace tirmo::link {

// What an exchange needs of the window that runs it: the session it works in, the status line,
// the communication monitor and the "error" message box.
class Console {
public:
    explicit Console(Session& session) : session_(session) {}
    virtual ~Console() = default;
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;
    // The session whose link and instrument the console's device routines work with.
    Session& session() const { return session_; }
    virtual void SetStatus(const std::string& text) = 0;   // txt_status, refreshed
    virtual void SetMonitor(const std::string& text) = 0;  // txt_in, refreshed
    // Whether "Show Communication values" is ticked (some senders trace only then).
    virtual bool ShowComm() const { return false; }
    // The message box of an unexpected fault (the window's console shows it; a console without
    // a window to show it on drops it).
    virtual void ShowError(const std::string& text = "error") { (void)text; }

private:
    Session& session_;
};

inline constexpr unsigned char kFrameStart = 255;
inline constexpr int kEmptyReadLimit = 10;  // empty 1-byte reads allowed before a reply is given up
inline constexpr int kFlushPauseMs = 1;
inline constexpr int kEmptyReadPauseMs = 1;
inline constexpr int kRetryPauseMs = 10;
inline constexpr int kMaxSends = 3;
inline constexpr int kPacedBytePauseMs = 15;
inline constexpr int kYieldBytePauseMs = 1;
inline constexpr int kResetCount = 132;
inline constexpr int kResetPauseMs = 10;
inline constexpr const char* kNotConnected = "COMPORT not opened. Click Connect";

struct Frame {
    unsigned char letter = 0, a = 0, b = 0;
    unsigned char check() const { return static_cast<unsigned char>(letter ^ a ^ b); }
    // The five bytes as characters.
    std::string bytes() const;
};

// The frame, or nullopt when a or b does not fit a byte.
std::optional<Frame> MakeFrame(char letter, long a, long b);
// A 16-bit value as the two parameter bytes (hi, lo); nullopt outside 0..32767.
std::optional<Frame> MakeFrame16(char letter, long value);

enum class SendForm {
    Text,      // five characters in one write
    Bytes,     // a five-byte array in one write
    Paced15,   // five one-character writes, 15 ms after each
    Yielding,  // per character: let events run, stop if the link closed, write, 1 ms
};

struct SendOptions {
    SendForm form = SendForm::Text;
    int replyLength = 3;                  // bytes wanted
    int maxSends = 1;                     // 3 for commands with an echo test
    int firstEmptyReads = kEmptyReadLimit;
    int emptyReadPauseMs = kEmptyReadPauseMs;
    // The echo test; empty means the command has none. An empty reply never confirms.
    std::function<bool(const std::string& reply)> confirm;
    // Called after every send with the reply, before the echo test (monitors that show each try).
    std::function<void(const std::string& reply)> afterEach;
};

struct SendResult {
    std::string reply;   // the last reply
    bool confirmed = false;
    // A yielding send found the link closed, another exchange held the port, or the operation was
    // stopped (Exchange.h) before the command was through.
    bool stopped = false;
    int sends = 0;
};

// Steps 1 and 2 of every guarded command: false (and the status text) when the link is closed.
bool LinkGuard(Console& console);

// The kNotConnected box of a sender that finds the link closed. While a TellClosedLinkOnce is
// held it is shown once only: an operation of many sends (the run start with its round) tells the
// user once that the link went away, not at every send it still tries.
void ShowNotConnected(Console& console);
class TellClosedLinkOnce {
public:
    TellClosedLinkOnce();
    ~TellClosedLinkOnce();
    TellClosedLinkOnce(const TellClosedLinkOnce&) = delete;
    TellClosedLinkOnce& operator=(const TellClosedLinkOnce&) = delete;
};
// Flush of the link's port followed by the short pause.
void FlushLink(const Session& session, int pauseMs = kFlushPauseMs);
// Writes the frame in the given form and polls its reply, repeating while the echo test fails.
// The port is held from the first byte to the last reply (Exchange.h); when another exchange
// holds it nothing is sent and the result is stopped.
SendResult SendFrame(const Session& session, const Frame& frame, const SendOptions& options);
// Polls for wanted bytes, one 1-byte read at a time: every byte sets the counter back to 10,
// every read counts it down, an empty read pauses and lets window events run (AfterEmptyRead);
// ends when enough came, the counter is out, or the operation was stopped meanwhile.
// port 0 means the link's slot; the start-up search polls the port it is trying.
std::string PollReply(const Session& session, int wanted, int firstEmptyReads = kEmptyReadLimit, int emptyPauseMs = kEmptyReadPauseMs,
                      int port = 0);
// "Empty", or the first byte as a character and ";" with each further byte in decimal.
std::string ReplyTrace(const std::string& reply);
// byte 2 x 256 + byte 3 of a short reply (0 when shorter).
long ReplyValue(const std::string& reply);
// An echo test on the first reply byte, case-sensitive.
std::function<bool(const std::string&)> EchoIs(char letter);

// The unframed reset: one flush, then "Z" 132 times, 10 ms apart; no link guard, no reply. It
// holds the port throughout (nothing when another exchange holds it).
void SendReset(const Session& session);

}  // namespace tirmo::link
