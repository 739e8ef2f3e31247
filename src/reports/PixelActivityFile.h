#pragma once
// Reads the per-pixel activity files a run appends to (wellactivity<c><w>.csv), one block per
// finished window at a time, so that a day-long recording is never held whole:
//   scan,<scan>
//   time[m],"<minutes>"          (the decimal separator of the recording machine: "12,5" or "12.5")
//   <well>,<column offset>,<count>|-,...   one row per image column of the window
//   <empty line>
// A count is the pixel's activity in that scan; "-" marks a pixel outside every well (-1 here).
//
// The heat maps and the chemotaxis processing read these files through this one reader, so both
// take a file as sound or as damaged alike: what no run can write is damage, except a negative
// count, which is read as a pixel without activity (a single bad pixel must not cost the
// recording) and counted, so that the window can say how many it met.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "reports/RunFileRows.h"

namespace tirmo::reports {

// The bounds of what a run writes into these files.
// The time of a block is the run's clock, as in the activity files.
inline constexpr double kLatestBlockMinutes = kLatestRowMinutes;
// Every scan reads each of the six cameras' windows for eleven ticks of 200 ms at least
// (13.2 s), so the latest time holds scans 0 to 152,000.
inline constexpr long kLastBlockScan = 152000;
// A pixel's event count stops growing at 32,000 (a window adds at most ten more to 31,999);
// its count is that times its cell's share of the well (at most 1) and its well's area ratio
// (at most 32,767 pixels to one).
inline constexpr int32_t kMostPixelCount = 32009 * 32767;

// The status line's account of the negative counts read as inactive; "" for none.
std::string NegativeCountsNote(long count);

std::string PixelActivityFileName(int camera, int window);  // "wellactivity" + c + w + ".csv"

struct PixelActivityLine {
    std::string well;
    int row = 0;                  // the column offset the run writes as the row's second field
    std::vector<int32_t> counts;  // -1 for "-", 0 for a negative count
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
    // and the end is clean. A block whose scan is not above the one before is damaged: the run
    // numbers them upwards. A scan left out is not: a camera taken out of use during a run gets
    // no block until it is put back.
    bool Next(PixelActivityBlock& block);
    const std::string& error() const { return error_; }
    // The negative counts of the blocks read so far.
    long negative_counts() const { return negatives_; }

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
    long lastScan_ = -1;
    long negatives_ = 0;
};

}  // namespace tirmo::reports
