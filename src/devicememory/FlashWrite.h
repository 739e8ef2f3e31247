#pragma once
// The write side of the calibration memory. The instrument has a 96-byte write buffer of four
// lines; the host fills it one byte per "f" frame (255, "f", offset, byte, check), each byte
// answered by the echo "f", offset, byte, and then commits it with an "F" frame whose bank is
// below 240 (255, "F", bank, line, check), which stores the four lines from that memory line on.
//
// A line starts with a flush: a byte left over from an earlier answer would otherwise be read
// as the first byte of the next echo and shift every echo after it. A byte whose echo never
// comes ends the line at once; the caller must not commit a buffer whose lines did not all go
// in, so each operation says how it went.
#include <optional>
#include <string>

#include "devicememory/CalibrationReaders.h"
#include "devicememory/FlashRead.h"

namespace tirmo::devicememory {

// What the write side needs of the link, on top of the block read.
class FlashWritePort : public FlashPort {
public:
    // Drops whatever the instrument sent that nobody read, then pauses 1 ms.
    virtual void Flush() = 0;
    // Writes the bytes in one piece, pauses 10 ms, lets window events run, then reads one byte at
    // a time until `wanted` bytes came, ten empty reads in a row before the first (nine once one
    // has come) ending the wait, 1 ms after each empty read. nullopt when the link is closed or
    // another exchange holds the port: nothing was written.
    virtual std::optional<std::string> Transfer(const std::string& bytes, int wanted) = 0;
    // The communication monitor alone (txt_in).
    virtual void ShowMonitor(const std::string& text) = 0;
    // Whether the link is open (port_open).
    virtual bool LinkOpen() const = 0;
};

inline constexpr unsigned char kBufferLetter = 'f';
inline constexpr unsigned char kCommitLetter = 'F';
inline constexpr int kEchoBytes = 3;
inline constexpr int kByteEndPauseMs = 1;
inline constexpr int kCommitPauseMs = 100;  // twice after an answered commit

enum class WriteOutcome {
    Done,
    WrongEcho,  // every byte went out, at least one echo differed (the box said which)
    NoEcho,     // a byte got no echo: the rest of the line was not sent
    NoAnswer,   // the commit got no answer
    Closed,     // the link closed or the port was taken: nothing more went out
};
bool Failed(WriteOutcome outcome);

// The frames, for tests and the monitor.
std::string BufferByteFrame(int offset, unsigned char data);
std::string CommitFrame(int bank, int line);

// Fills buffer line 0..3 with data, byte by byte: data is completed with byte 0 to 24 bytes in
// place (a longer text keeps its length and sends its first 24). A wrong or short echo shows
// "instruction confirmation error:" and the reply values in a message box and goes on; no echo
// shows "Empty/No response Headline" and the buffer line in the monitor and ends the line.
WriteOutcome WriteFlashBufferLine(FlashWritePort& port, int line, std::string& data, const MemoryNotices& notices);
// Commits the buffer to bank 0..3 from memory line L on; "Len(Rx) = n" and the closing pauses
// after an answer, "Empty/No response Headline" and L in the monitor without one.
WriteOutcome CommitFlashLines(FlashWritePort& port, int bank, int line);

// The memory self-test: the pattern 0..23 in each buffer line, committed where no calibration
// set lives (a set's line would be overwritten). A wrong echo goes to the status line as
// "flash verification error! : " and the reply values.
inline constexpr int kSelfTestBank = 0;
inline constexpr int kSelfTestLine = 252;
WriteOutcome WriteVerifyFlashLine(FlashWritePort& port, const MemoryNotices& notices);

}  // namespace tirmo::devicememory
