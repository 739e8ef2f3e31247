#pragma once
// Reads the per-pixel activity files a run appends to (wellactivity<c><w>.csv), one block per
// finished window at a time, so that a day-long recording is never held whole:
//   scan,<scan>
//   time[m],"<minutes>"          (the decimal separator of the recording machine: "12,5" or "12.5")
//   <well>,<column offset>,<count>|-,...   one row per image column of the window
//   <empty line>
// A count is the pixel's activity in that scan; "-" marks a pixel outside every well (-1 here).
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tirmo::reports {

std::string PixelActivityFileName(int camera, int window);  // "wellactivity" + c + w + ".csv"

struct PixelActivityLine {
    std::string well;
    int row = 0;                  // the column offset the run writes as the row's second field
    std::vector<int32_t> counts;  // -1 for "-"
};

struct PixelActivityBlock {
    long scan = 0;
    double minutes = 0;
    std::vector<PixelActivityLine> lines;
};

class PixelActivityReader {
public:
    explicit PixelActivityReader(const std::string& path);  // not open when the file is missing
    bool is_open() const { return file_ != nullptr; }
    // The next whole block; false at the end of the file, or at a damaged block (error() says
    // where). A run killed while it appends leaves its last block cut: that block is left out
    // and the end is clean.
    bool Next(PixelActivityBlock& block);
    const std::string& error() const { return error_; }

private:
    bool readLine();
    bool fail(const std::string& what);

    std::string path_;
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> file_;
    // Read in large pieces; a line is a view into the buffer until the next line is read.
    std::vector<char> buffer_;
    size_t begin_ = 0, end_ = 0;
    bool eof_ = false;
    std::string_view line_;
    bool lineEnded_ = false;
    long lineNumber_ = 0;
    bool done_ = false;
    std::string error_;
};

}  // namespace tirmo::reports
