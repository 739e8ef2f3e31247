#include "camera/FrameTransfer.h"

#include <algorithm>
#include <random>

#include "link/CommPort.h"
#include "link/Exchange.h"
#include "platform/Clock.h"
#include "platform/Convert.h"

namespace tirmo::camera {
namespace {

int byteAt(const std::string& s, long long position1)  // 1-based
{
    return static_cast<unsigned char>(s[size_t(position1 - 1)]);
}

}  // namespace

std::string CameraRequest(int camera, char mode)
{
    std::string s(5, '\0');
    s[0] = char(link::kFrameStart);
    s[1] = 'C';
    s[2] = char(camera);
    s[3] = mode;
    s[4] = char('C' ^ (camera & 0xFF) ^ static_cast<unsigned char>(mode));
    return s;
}

long long ExpectedLength(char mode, long pix, long lines, long extra)
{
    const long long p = pix, l = lines, e = extra;
    if (mode == kReducedImage) return (p / 5 + 2 + e) * (l / 5) + 3;
    if (mode == kLengthBlock) return (p + e) * l;
    return (p + e) * l + 1;
}

BlockCheck CheckOf(const std::string& reply)
{
    BlockCheck c;
    if (reply.empty()) return c;
    for (size_t i = 0; i + 1 < reply.size(); ++i) c.calc ^= static_cast<unsigned char>(reply[i]);
    c.byteinput = static_cast<unsigned char>(reply.back());
    return c;
}

std::string TransferTrace(const std::string& reply, long long expected)
{
    const BlockCheck c = CheckOf(reply);
    return "LEN(Rx) = " + std::to_string(reply.size()) + "/" + std::to_string(expected) +
           " CRC: calc=" + std::to_string(c.calc) + "(byteinput=" + std::to_string(c.byteinput) + ")";
}

bool SendRequest(const link::Session& session, const std::string& frame, YieldPoint yieldPoint)
{
    const link::Exchange exchange;
    if (!exchange) return false;
    link::FlushLink(session);
    for (char c : frame) {
        if (yieldPoint == YieldPoint::BeforeEach) platform::DoEvents();
        if (!session.port_open || link::OperationStopped()) return false;
        link::CommWrite(session.port_slot, std::string(1, c));
        platform::Sleep(1);
        if (yieldPoint == YieldPoint::AfterEach) platform::DoEvents();
    }
    return true;
}

std::string ReadReply(const link::Session& session, char mode, long long& expected)
{
    std::string reply, piece;
    reply.reserve(size_t(std::clamp<long long>(expected, 0, 1 << 20)));
    int counter = kIdleReads;
    auto readPiece = [&](int want) {
        if (link::CommRead(session.port_slot, piece, want) > 0) {
            reply += piece;
            counter = 2;
        } else if (!link::AfterEmptyRead(1)) {
            counter = 0;  // stopped: the wait ends now
            return;
        }
        --counter;
    };
    if (mode == kLengthBlock) {
        while (reply.size() < 2 && counter >= 1) readPiece(2);
        if (reply.size() >= 2) expected = (long long)byteAt(reply, 1) * 256 + byteAt(reply, 2) + 3;
    }
    while ((long long)reply.size() < expected && counter >= 1)
        readPiece(int(std::min<long long>(expected - (long long)reply.size(), kReadPiece)));
    return reply;
}

std::string ReplyDump(const std::string& reply, long pix, long lines, long extra)
{
    std::string out;
    const long long stride = (long long)pix + extra;
    const long long length = (long long)reply.size();
    for (long long line = 0; line <= lines; ++line) {
        for (long long column = 1; column <= stride; ++column) {
            const long long position = stride * line + column;
            // Positions only grow along a line: past the reply's end nothing more is listed, so a
            // huge extra count in the box costs nothing.
            if (position > length) break;
            if (position < 1) continue;
            if (column > pix) {
                out += "0;";
            } else {
                out += std::to_string(byteAt(reply, position));
                out += ';';
            }
        }
        out += "\r\n";
    }
    return out;
}

bool WindowFitsFrameStore(long lines, long pix)
{
    return lines >= 1 && lines <= FrameStore::kSize - 1 && pix >= 1 && pix <= FrameStore::kSize;
}

std::string WindowTooLargeText(long lines, long pix)
{
    return "Camera window of " + std::to_string(lines) + " lines x " + std::to_string(pix) +
           " pixels does not fit the frame table (1 to " + std::to_string(FrameStore::kSize - 1) + " lines, 1 to " +
           std::to_string(FrameStore::kSize) + " pixels): not read";
}

bool DecodeFrame(char mode, const std::string& reply, long pix, long lines, long extra, int camera, FrameStore& store)
{
    if (mode != kWindowBlock && mode != kFullFrame && mode != kReducedImage) return false;
    if (!WindowFitsFrameStore(lines, pix)) return false;
    const long long length = (long long)reply.size();
    // The last expected byte is the check byte, never a pixel, even when a reply stops short.
    const long long lastData = std::min(length, ExpectedLength(mode, pix, lines, extra) - 1);
    // The whole area the decode owns is emptied first, the position one past the last line
    // included (where the check byte would land): no cell of it may keep an older frame.
    for (long y = 0; y <= lines; ++y)
        for (long x = 1; x <= pix; ++x) store.Set(camera, int(y + 1), int(x - 1), -1);
    if (mode == kReducedImage) {
        const long k = pix / 5 + 2;
        for (long r = 0; r <= lines / 5; ++r) {
            for (long c = 1; c <= k && c <= pix; ++c) {
                const long long position = (long long)(k + extra) * r + 2 + c;
                const long column = 5 * c, line = 5 * r;  // the cell of the full window
                if (position > lastData || column > pix || line >= lines) continue;
                store.Set(camera, int(line + 1), int(pix - column), byteAt(reply, position));
            }
        }
        return true;
    }
    const long long stride = (long long)pix + extra;
    for (long y = 0; y < lines; ++y) {
        for (long column = 1; column <= pix; ++column) {
            const long long position = stride * y + column;
            if (position > lastData) break;
            store.Set(camera, int(y + 1), int(pix - column), byteAt(reply, position));
        }
    }
    return true;
}

void FillRandomFrame(FrameStore& store, int camera, long lines, long pix)
{
    static unsigned calls = 0;
    std::mt19937 rng(unsigned(platform::MonotonicMs() * 1000.0) ^ (++calls * 2654435761u));
    std::uniform_real_distribution<double> rnd(0.0, 1.0);
    for (long p = 1; p <= pix; ++p)
        for (long l = 0; l < lines; ++l)
            store.Set(camera, int(l + 1), int(p - 1), int(platform::RoundHalfEven(rnd(rng) * 100.0)));
}

std::string BlockFetch::Result() const
{
    switch (outcome) {
    case Outcome::Good: return block;
    case Outcome::Bad: return "Error";
    default: return {};
    }
}

BlockFetch FetchWindowBlock(int camera, long pix, long lines, link::Console& console, const TraceSink& trace)
{
    BlockFetch fetch;
    const link::Session& session = console.session();
    if (session.dummy_mode == 1) return fetch;
    // Both tries, each request with its block, as one exchange.
    const link::Exchange exchange(console);
    if (!exchange) return fetch;
    if (!session.port_open) {
        link::ShowNotConnected(console);
        return fetch;
    }
    const std::string frame = CameraRequest(camera, kWindowBlock);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!SendRequest(session, frame, YieldPoint::AfterEach)) {
            fetch.outcome = BlockFetch::Outcome::NotSent;
            return fetch;
        }
        ++fetch.requests;
        long long expected = ExpectedLength(kWindowBlock, pix, lines);
        fetch.block = ReadReply(session, kWindowBlock, expected);
        if (fetch.block.empty()) {
            fetch.outcome = BlockFetch::Outcome::Empty;
            return fetch;
        }
        const BlockCheck check = CheckOf(fetch.block);
        if (trace) trace(TransferTrace(fetch.block, expected), check.matches());
        if ((long long)fetch.block.size() >= expected && check.matches()) {
            fetch.outcome = BlockFetch::Outcome::Good;
            return fetch;
        }
        fetch.outcome = BlockFetch::Outcome::Bad;
        platform::Sleep(kSecondTryPauseMs);
        platform::DoEvents();
    }
    return fetch;
}

std::string ExtractWellColumns(const std::string& block, const plate::ColumnBands& column_bands,
                               const plate::RowBands& row_bands, int camera, int window)
{
    if (!plate::RowBands::InBounds(camera, window)) return {};
    const long long w = (long long)row_bands.endOf(camera, window) - row_bands.startOf(camera, window) + 1;
    const int bands = column_bands.count(camera);
    if (w < 1 || bands == 0) return {};
    const long long origin = column_bands.startOf(camera, 0);
    std::string out;
    for (int j = 0; j < bands; ++j) {
        const long long from = w * (column_bands.startOf(camera, j) - origin);
        const long long length = w * (column_bands.endOf(camera, j) - column_bands.startOf(camera, j));
        if (from < 0 || length <= 0 || from >= (long long)block.size()) continue;
        out += block.substr(size_t(from), size_t(length));
    }
    return out;
}

}  // namespace tirmo::camera
