#pragma once
// Moving camera pixels from the instrument: the 'C' request of one mode, the reply read in
// pieces of at most 32 bytes, its length and XOR check, the trace, the text dump, the decoding
// into the frame store, random frames for dummy mode, and the checked window-block fetch of the
// acquisition run with the well-column extraction.
#include <functional>
#include <string>

#include "camera/FrameStore.h"
#include "link/Protocol.h"
#include "plate/BandTables.h"

namespace tirmo::camera {

// Request modes.
inline constexpr char kWindowBlock = '+';   // the window, line after line, then the check byte
inline constexpr char kReducedImage = 'A';  // every fifth line and pixel, two leading bytes
inline constexpr char kLengthBlock = '0';   // a two-byte length, the bytes, the check byte
inline constexpr char kFullFrame = '-';     // the factory window's full frame, laid out as '+'

inline constexpr int kReadPiece = 32;  // bytes asked of one read
inline constexpr int kIdleReads = 10;  // empty reads allowed before the first bytes
inline constexpr int kSecondTryPauseMs = 10;

// 255, "C", camera, mode, 67 XOR camera XOR mode, as five characters.
std::string CameraRequest(int camera, char mode);

// The reply length a mode expects, in 64-bit arithmetic so that no window overflows it: "+"
// (and any other mode) (pix + extra) x lines + 1; "A" (Int(pix / 5) + 2 + extra) x Int(lines / 5)
// + 3; "0" the length used when its prefix does not come: (pix + extra) x lines.
long long ExpectedLength(char mode, long pix, long lines, long extra = 0);

// The XOR of every byte but the last (calc) against the last byte (byteinput, -1 for an empty
// reply).
struct BlockCheck {
    int calc = 0;
    int byteinput = -1;
    bool matches() const { return calc == byteinput; }
};
BlockCheck CheckOf(const std::string& reply);

// "LEN(Rx) = <length>/<expected> CRC: calc=<calc>(byteinput=<byteinput>)".
std::string TransferTrace(const std::string& reply, long long expected);

// Flushes, pauses 1 ms, then writes the five characters one by one, 1 ms apart, letting window
// events run before or after each. The link is tested before each character; false when it
// was closed meanwhile (the rest is not sent), or when another exchange holds the port. The
// caller holds the port (link::Exchange) across the request and its reply.
enum class YieldPoint { BeforeEach, AfterEach };
bool SendRequest(const link::Session& session, const std::string& frame, YieldPoint yieldPoint);

// Reads a reply of the expected length: pieces of min(remaining, 32) bytes, ten empty reads
// allowed before the first piece and one after each; window events run after each empty read
// (link::AfterEmptyRead), and a stop ends the wait. Mode "0" first reads its two-byte length
// and sets expected to that length + 3 (it keeps the given value when the prefix does not
// come).
std::string ReadReply(const link::Session& session, char mode, long long& expected);

// The communication-monitor dump: per line 0..lines the decimal code and ";" of every byte of
// the line present in the reply ("0;" for the extra bytes of a line), CR LF after each line.
std::string ReplyDump(const std::string& reply, long pix, long lines, long extra = 0);

// Whether a window fits the frame store (lines 1..192 at x positions 1..lines, pixels 1..193
// at y positions 0..pix-1), and the status text when it does not.
bool WindowFitsFrameStore(long lines, long pix);
std::string WindowTooLargeText(long lines, long pix);

// Decodes a "+" (or "-") or "A" reply of the window into the store: line l of the reply at
// x position l + 1, its pixels last first from y position 0. Every cell of the window area is
// written, empty where the reply held nothing; the check byte is never taken for a pixel.
// Other modes decode nothing (false). The window must fit the store.
bool DecodeFrame(char mode, const std::string& reply, long pix, long lines, long extra, int camera, FrameStore& store);

// Dummy mode: random grey levels 0..100 over the window area of a camera.
void FillRandomFrame(FrameStore& store, int camera, long lines, long pix);

// One checked "+" fetch of a camera's window, tried at most twice.
struct BlockFetch {
    enum class Outcome { Good, Bad, Empty, NotSent };
    Outcome outcome = Outcome::NotSent;
    std::string block;  // the last reply
    int requests = 0;
    // The fetchers' result: the block when good, "Error" when bad, empty text for no result.
    std::string Result() const;
};
// Shows each attempt's trace and whether calc equals byteinput (black or red trace).
using TraceSink = std::function<void(const std::string& caption, bool checkMatches)>;
// Dummy mode: no result at once. No link: the message box "COMPORT not opened. Click Connect".
// Another exchange holding the port: no result, the status line says so.
// An empty reply ends at once (no second try); a short block or a wrong check byte is tried
// once more after 10 ms and events.
BlockFetch FetchWindowBlock(int camera, long pix, long lines, link::Console& console, const TraceSink& trace);

// The well columns of a good block of (camera, row band window): for each column band j of the
// camera, the W x (end(j) - start(j)) bytes from offset W x (start(j) - start(0)), W the row
// band's width in pixels. Empty for a camera without column bands.
std::string ExtractWellColumns(const std::string& block, const plate::ColumnBands& column_bands,
                               const plate::RowBands& row_bands, int camera, int window);

}  // namespace tirmo::camera
