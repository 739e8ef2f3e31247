#pragma once
// The serial port layer: sixteen port slots numbered like the COM ports, and the only code that
// touches a port. Failures are written into one error record and returned as codes; the layer
// never shows a message.
#include <functional>
#include <string>
#include <vector>

namespace tirmo::link {

inline constexpr int kSlotCount = 16;
inline constexpr int kMaxRead = 512;
inline constexpr int kPortInUse = -1;

// The last failure, kept until the next one; nothing else in the program reads it.
struct CommError {
    long code = 0;
    std::string source;   // "CommRead (ReadFile)", or the bare operation name
    std::string message;
};
const CommError& LastCommError();

// Opens COM<port> (name "COM<n>") into slot port with a settings text such as
// "baud=115200 parity=N data=8 stop=1". 0, -1 when the slot is already open, or the system code
// (2 no such port, 5 held by another program). A failure after the port was obtained releases it.
long CommOpen(int port, const std::string& name, const std::string& settings);
// Closes the slot's port when open; 0 or the system code. Never refused, also in the middle of an
// exchange (see Exchange.h).
long CommClose(int port);
// Flush, read and write are refused while an exchange the caller is not part of holds the port,
// and to an operation that a rest sequence has stopped (Exchange.h): they touch nothing, record
// "Port busy." and return -1.
// Discards both queues; 0 or the system code (and a code for a slot that is not open). Inside a
// rest sequence that found the instrument silent it discards nothing.
long CommFlush(int port);
// Reads at most maxLength (<= 512) bytes into data; the count, 0 when none came within the
// time-outs, -1 on failure. A short read flushes the port. Inside a rest sequence that found the
// instrument silent it gives 0 at once.
long CommRead(int port, std::string& data, int maxLength);
// Writes every byte of data; the count, or -1 (0 for an invalid or closed slot).
long CommWrite(int port, const std::string& data);
long CommWriteBytes(int port, const std::vector<unsigned char>& bytes);

// A read or write that finds the device gone (the line hung up, the adapter pulled out) closes
// the slot: the port cannot work again until it is opened anew, and nothing may keep taking it
// for a link.
bool CommIsOpen(int port);
// Told of each slot closed that way, after it closed (the window's session then counts its link
// as closed).
using HangUpObserver = std::function<void(int port)>;
void SetHangUpObserver(HangUpObserver observer);

// Sees every write that reached a port, after it went out (tests check pacing with it).
using WriteObserver = std::function<void(int port, const std::string& data)>;
void SetWriteObserver(WriteObserver observer);
// Closes every slot (program end and tests).
void CommCloseAll();

}  // namespace tirmo::link
