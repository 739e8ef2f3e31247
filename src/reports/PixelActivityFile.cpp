#include "reports/PixelActivityFile.h"

#include <charconv>
#include <cstring>
#include <string_view>

#include "platform/ProgramFolder.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tirmo::reports {
namespace {

template <typename T>
bool wholeNumber(std::string_view text, T& value)
{
    if (text.empty() || text.front() == '-' || text.front() == '+') return false;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    return r.ec == std::errc() && r.ptr == text.data() + text.size();
}

// The time as the run wrote it: in double quotes, with the separator of the machine's locale.
bool minutesValue(std::string_view text, double& value)
{
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
    std::string s(text);
    for (char& c : s)
        if (c == ',') c = '.';
    if (s.empty() || s.front() == '+') return false;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), value);
    return r.ec == std::errc() && r.ptr == s.data() + s.size() && value >= 0 && value <= kLatestBlockMinutes;
}

// A row: the well, the column offset and the counts. Rows are most of a recording's bytes, so
// the counts are read in one pass over the characters. negatives grows by the row's negative
// counts, which are kept as 0.
bool dataLine(std::string_view text, PixelActivityLine& line, long& negatives)
{
    size_t comma = text.find(',');
    if (comma == std::string_view::npos) return false;
    line.well.assign(text.substr(0, comma));
    text.remove_prefix(comma + 1);
    comma = text.find(',');
    if (!wholeNumber(text.substr(0, comma), line.row)) return false;
    if (comma == std::string_view::npos) {
        line.counts.clear();
        return true;
    }
    const char* p = text.data() + comma + 1;
    const char* const end = text.data() + text.size();
    // n fields take at least 2n - 1 characters.
    line.counts.resize(size_t(end - p) / 2 + 1);
    int32_t* const first = line.counts.data();
    int32_t* out = first;
    for (;;) {
        // Nearly every field is one character ("0", "-" or a small count): those without a
        // branch on their kind.
#if defined(__SSE2__)
        // Eight such fields at a time while the commas fall on every second character.
        while (end - p >= 16) {
            const __m128i text16 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            if ((_mm_movemask_epi8(_mm_cmpeq_epi8(text16, _mm_set1_epi8(','))) & 0xAAAA) != 0xAAAA) break;
            const __m128i chars = _mm_and_si128(text16, _mm_set1_epi16(0x00FF));
            const __m128i digit = _mm_sub_epi16(chars, _mm_set1_epi16('0'));
            const __m128i dash = _mm_cmpeq_epi16(chars, _mm_set1_epi16('-'));
            const __m128i isDigit =
                _mm_and_si128(_mm_cmpgt_epi16(digit, _mm_set1_epi16(-1)), _mm_cmplt_epi16(digit, _mm_set1_epi16(10)));
            if (_mm_movemask_epi8(_mm_or_si128(isDigit, dash)) != 0xFFFF) return false;
            const __m128i value = _mm_or_si128(_mm_andnot_si128(dash, digit), dash);  // "-" is -1
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_srai_epi32(_mm_unpacklo_epi16(value, value), 16));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4), _mm_srai_epi32(_mm_unpackhi_epi16(value, value), 16));
            out += 8;
            p += 16;
        }
#endif
        while (end - p > 1 && p[1] == ',') {
            const char c = *p;
            if (unsigned(c - '0') > 9u && c != '-') return false;
            *out++ = c == '-' ? -1 : int32_t(c - '0');
            p += 2;
        }
        if (p == end) return false;
        if (*p == '-' && (end - p == 1 || unsigned(p[1] - '0') > 9u)) {
            ++p;
            *out++ = -1;
        } else if (*p == '-') {
            // Any number of digits: the value is not kept.
            bool nonzero = false;
            while (++p < end && unsigned(*p - '0') <= 9u) nonzero = nonzero || *p != '0';
            negatives += nonzero ? 1 : 0;
            *out++ = 0;
        } else {
            unsigned digit = unsigned(*p - '0');
            if (digit > 9) return false;
            uint64_t value = digit;
            while (++p < end && (digit = unsigned(*p - '0')) <= 9)
                if ((value = value * 10 + digit) > uint64_t(kMostPixelCount)) return false;
            *out++ = int32_t(value);
        }
        if (p == end) break;
        if (*p++ != ',') return false;
    }
    line.counts.resize(size_t(out - first));
    return true;
}

}  // namespace

std::string NegativeCountsNote(long count)
{
    if (count <= 0) return {};
    return std::to_string(count) + (count == 1 ? " negative pixel count" : " negative pixel counts") +
           " read as no activity";
}

std::string PixelActivityFileName(int camera, int window)
{
    return "wellactivity" + std::to_string(camera) + std::to_string(window) + ".csv";
}

PixelActivityReader::PixelActivityReader(const std::string& path)
    : path_(path), file_(std::fopen(platform::ResolvePath(path).c_str(), "rb"))
{
    done_ = file_ == nullptr;
}

bool PixelActivityReader::readLine()
{
    constexpr size_t kPiece = size_t(1) << 20;
    constexpr size_t kLongestLine = size_t(1) << 20;
    for (;;) {
        const char* const start = buffer_.data() + begin_;
        const void* nl = end_ > begin_ ? std::memchr(start, '\n', end_ - begin_) : nullptr;
        if (nl) {
            const size_t length = size_t(static_cast<const char*>(nl) - start);
            line_ = std::string_view(start, length);
            begin_ += length + 1;
            lineEnded_ = true;
            break;
        }
        if (eof_) {
            if (begin_ == end_) return false;
            line_ = std::string_view(start, end_ - begin_);
            begin_ = end_;
            lineEnded_ = false;
            break;
        }
        // No run writes a row this long (32767 pixels of ten digits each come to a third of
        // this): a file without line ends must not fill the memory.
        if (end_ - begin_ > kLongestLine) {
            ++lineNumber_;
            return fail("no line end");
        }
        // Keep the part of a line read so far and read on behind it.
        if (end_ > begin_) std::memmove(buffer_.data(), start, end_ - begin_);  // an empty buffer has no data pointer
        end_ -= begin_;
        begin_ = 0;
        if (buffer_.size() - end_ < kPiece) buffer_.resize(end_ + kPiece);
        const size_t n = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_.get());
        end_ += n;
        if (n == 0) eof_ = true;
    }
    ++lineNumber_;
    if (!line_.empty() && line_.back() == '\r') line_.remove_suffix(1);
    return true;
}

bool PixelActivityReader::fail(const std::string& what)
{
    done_ = true;
    error_ = path_ + ", line " + std::to_string(lineNumber_) + ": " + what;
    return false;
}

bool PixelActivityReader::Next(PixelActivityBlock& block)
{
    if (done_) return false;
    // Every block goes out in one write with its line ends, so a line without its end, or a
    // file ending before the empty line, is what a killed run left behind.
    auto cut = [&] {
        done_ = true;
        return false;
    };
    if (!readLine()) return cut();
    if (!lineEnded_) return cut();
    if (!line_.starts_with("scan,") || !wholeNumber(line_.substr(5), block.scan))
        return fail("no \"scan,\" line");
    if (block.scan > kLastBlockScan) return fail("scan beyond " + std::to_string(kLastBlockScan));
    if (block.scan <= lastScan_)
        return fail("scan " + std::to_string(block.scan) + " after scan " + std::to_string(lastScan_));
    if (!readLine() || !lineEnded_) return cut();
    if (!line_.starts_with("time[m],")) return fail("no \"time[m],\" line");
    if (!minutesValue(line_.substr(8), block.minutes)) return fail("no time a run writes");
    size_t n = 0;
    long negatives = 0;  // counted once the block is whole
    for (;;) {
        if (!readLine() || !lineEnded_) return cut();
        if (line_.empty()) break;
        // The lines of the block before are reused: a long recording reads thousands of blocks.
        if (n == block.lines.size()) block.lines.emplace_back();
        if (!dataLine(line_, block.lines[n], negatives)) return fail("damaged pixel row");
        ++n;
    }
    block.lines.resize(n);
    lastScan_ = block.scan;
    negatives_ += negatives;
    return true;
}

}  // namespace tirmo::reports
