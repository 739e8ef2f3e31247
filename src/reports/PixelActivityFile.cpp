#include "reports/PixelActivityFile.h"

#include <charconv>
#include <limits>
#include <string_view>

#include "platform/ProgramFolder.h"

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
    return r.ec == std::errc() && r.ptr == s.data() + s.size() && value >= 0;
}

bool dataLine(std::string_view text, PixelActivityLine& line)
{
    size_t comma = text.find(',');
    if (comma == std::string_view::npos) return false;
    line.well.assign(text.substr(0, comma));
    text.remove_prefix(comma + 1);
    comma = text.find(',');
    if (!wholeNumber(text.substr(0, comma), line.row)) return false;
    line.counts.clear();
    while (comma != std::string_view::npos) {
        text.remove_prefix(comma + 1);
        comma = text.find(',');
        const std::string_view field = text.substr(0, comma);
        int64_t count = 0;
        if (field == "-") count = -1;
        else if (!wholeNumber(field, count) || count > std::numeric_limits<int32_t>::max()) return false;
        line.counts.push_back(int32_t(count));
    }
    return true;
}

}  // namespace

std::string PixelActivityFileName(int camera, int window)
{
    return "wellactivity" + std::to_string(camera) + std::to_string(window) + ".csv";
}

PixelActivityReader::PixelActivityReader(const std::string& path)
    : path_(path), in_(platform::ResolvePath(path), std::ios::binary)
{
    done_ = !in_.is_open();
}

bool PixelActivityReader::readLine()
{
    if (!std::getline(in_, line_)) return false;
    lineEnded_ = !in_.eof();
    ++lineNumber_;
    if (!line_.empty() && line_.back() == '\r') line_.pop_back();
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
    if (line_.rfind("scan,", 0) != 0 || !wholeNumber(std::string_view(line_).substr(5), block.scan))
        return fail("no \"scan,\" line");
    if (!readLine() || !lineEnded_) return cut();
    if (line_.rfind("time[m],", 0) != 0 || !minutesValue(std::string_view(line_).substr(8), block.minutes))
        return fail("no \"time[m],\" line");
    size_t n = 0;
    for (;;) {
        if (!readLine() || !lineEnded_) return cut();
        if (line_.empty()) break;
        // The lines of the block before are reused: a long recording reads thousands of blocks.
        if (n == block.lines.size()) block.lines.emplace_back();
        if (!dataLine(line_, block.lines[n])) return fail("damaged pixel row");
        ++n;
    }
    block.lines.resize(n);
    return true;
}

}  // namespace tirmo::reports
