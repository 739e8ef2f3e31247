#pragma once
// What a reader of the plate files found wrong. Lines that name a camera, column, row or band
// outside the tables are skipped; a short or garbled line ends the reading there, so that no
// later line is read out of place. The text goes to the status line.
#include <functional>
#include <string>
#include <vector>

namespace tirmo::plate {

struct ReadReport {
    std::string file;               // the file name as shown to the user
    bool found = false;             // the file existed and could be read
    int linesTaken = 0;             // data lines stored
    std::vector<int> skippedLines;  // line numbers (from 1) outside the tables
    int stoppedAtLine = 0;          // the first unsound line; 0 when read to the end
    std::string stopReason;

    bool clean() const { return skippedLines.empty() && stoppedAtLine == 0; }
    // Empty when clean; otherwise one sentence for the status line.
    std::string Text() const;
};

// The texts of several reports joined, the clean ones left out.
std::string JoinReports(const std::vector<ReadReport>& reports);

// What a reader made of one data line: stored, skipped as outside the tables, or unsound (the
// reader gives the reason, and the reading ends there).
enum class LineVerdict { Taken, Skipped, Unsound };
using LineReader = std::function<LineVerdict(const std::string& line, std::string& reason)>;

// Reads the plate file at path line by line into take and reports on it. The report names the
// file (what follows the last '/'); a missing or unreadable file leaves it not found. The first
// two lines are the title and the column header; of the rest, blank lines are passed over and
// every other line goes to take, whose verdicts the report counts by line number.
ReadReport ReadPlateFile(const std::string& path, const LineReader& take);

}  // namespace tirmo::plate
