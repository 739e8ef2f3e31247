#pragma once
// Reading one block of the calibration memory: the request goes out up to three times until a
// reply of exactly 100 bytes comes back ("F", 240 + bank, line, the 96 block bytes, their XOR);
// the communication monitor then shows the last reply. Whether the block was accepted is not
// handed on: the reader of a record trusts the record's own name and check byte, so a rejected
// reply still gives whatever it held.
#include <optional>
#include <string>

namespace tirmo::devicememory {

// The instrument exchange that a block read needs, kept apart so that the link it goes over
// can change without touching the reading rules.
class FlashPort {
public:
    virtual ~FlashPort() = default;
    // One read request of the block at (bank, first line): flush, 20 ms, the frame 255, "F",
    // 240 + bank, line, check, 10 ms, then the reply as it came (at most 100 bytes, possibly
    // empty). nullopt when the link is closed: nothing was sent.
    virtual std::optional<std::string> RequestBlock(int bank, int line) = 0;
    // The communication monitor: the reply trace (txt_in) and "Len(Rx) = n" (lbl_lenrx).
    virtual void ShowReply(const std::string& trace, const std::string& length) = 0;
};

inline constexpr int kFlashReplyBytes = 100;
inline constexpr int kFlashReadAttempts = 3;
inline constexpr int kFlashRetryPauseMs = 100;

// Whether a reply to the request (bank, line) is the block: 100 bytes, "F", the request byte
// and the line echoed, and the XOR of bytes 4 to 99 in byte 100.
bool ReplyAccepted(const std::string& reply, int bank, int line);

// "C0L<line>:" and each byte as itself when its code is above 32, else its code, each followed
// by ","; "Empty" for an empty reply.
std::string FlashReplyTrace(int line, const std::string& reply);

// The block at (bank 0..3, first line): 96 bytes, from the accepted reply, else from the last
// reply's bytes 4 on (zero-padded; 96 zeros when nothing came). Empty when the link is closed.
std::string ReadFlashLines(FlashPort& port, int bank, int line);

}  // namespace tirmo::devicememory
