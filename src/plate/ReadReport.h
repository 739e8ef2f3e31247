#pragma once
// What a reader of the plate files found wrong. Lines that name a camera, column, row or band
// outside the tables are skipped; a short or garbled line ends the reading there, so that no
// later line is read out of place. The text goes to the status line.
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

}  // namespace tirmo::plate
