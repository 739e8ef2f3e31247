#pragma once
// The rows of a run's own files, read by one set of rules for every reader of them: the report
// loader reads current_activity.txt and current_temperature.txt with them, the joint report
// adjusted_activity.txt. A file holds two header lines (the run's stamp, then the column
// header beginning with "Time[m]") and one row per line; a row that no run writes (a time,
// count or temperature no run can give, a row without them, an accumulated count that falls)
// is refused by its file and line, so that no reader ever takes it for data.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "plate/PlateFormat.h"

namespace tirmo::reports {

// The latest time a row of a run may carry: the longest acquisition time (32000 minutes) and a
// day's allowance for the scan that is still under way when that time is over.
inline constexpr double kLatestRowMinutes = 32000 + 1440;
// More than any accumulated count a run can write: a window adds to a well at most the square
// root of 32767 pixels x 32000 events x a well-area ratio of 32767 (about 5.9e6), and a window
// takes at least eleven ticks of 200 ms, so a run of kLatestRowMinutes ends below 5.4e12; the
// adjusted file holds that times a factor of at most 2.55, below 1.4e13.
inline constexpr double kMostAccumulatedCount = 1.4e13;
// More than any stage temperature a run records: the digital stage reads below 100 degrees, the
// analog one at most about 210 through a sensor line kept near the nominal one. A scan without
// a reading is recorded as 0.
inline constexpr double kHottestReading = 250;

inline constexpr size_t kRunFileHeaderLines = 2;

// Thrown at the first line no run writes; message names the file and the line.
struct RunFileRefusal {
    std::string message;
    size_t line = std::string::npos;  // index of the damaged line; npos: the file as a whole
};

// One run file read whole. A last line without its end is no line: every row goes out with its
// end, so that is the part of a row a program killed mid-write left behind.
class RunFile {
public:
    // nullopt when the file is missing; refused when it is there but cannot be read.
    static std::optional<RunFile> Read(const std::string& folder, const char* name);

    const std::string& path() const { return path_; }
    size_t lines() const { return lines_.size(); }
    std::string_view line(size_t index) const
    {
        return std::string_view(bytes_).substr(lines_[index].first, lines_[index].second);
    }
    // Keeps the lines before index only.
    void cutAt(size_t index);

    [[noreturn]] void refuse(size_t index, const std::string& what) const;
    // Refuses a file whose second line is not its column header "Time[m]".
    void checkHeader() const;
    // The time of a row: minutes from 0 to the latest a run reaches.
    double rowMinutes(size_t index, std::string_view text) const;

private:
    std::string path_;
    std::string bytes_;
    std::vector<std::pair<size_t, size_t>> lines_;  // offset and length of each line
};

// An item as a message shows it: quoted, cut short, and without control characters.
std::string Shown(std::string_view item);
// The next blank-separated item of a line from pos on; empty at the end.
std::string_view NextItem(std::string_view line, size_t& pos);
// A number written in full, with "." or "," as the point; never nan or infinite.
std::optional<double> RunNumber(std::string_view text);

// One row of an activity file: "time well count", the well in double quotes.
struct ActivityRow {
    size_t line = 0;       // index of its line in the file
    double minutes = 0;
    std::string_view tag;  // the well's name; empty for a cell of the window without a name
    int well = -1;         // the well on the plate, numbered down the columns; -1: none of its wells
    double count = 0;      // the well's accumulated count: whole, 0 or more, never below its last
};

// The rows of an activity file one by one, each checked; the header is checked first. wells
// limits the wells taken from the plate.
class ActivityRows {
public:
    ActivityRows(const RunFile& file, const plate::PlateSize& plate, int wells);
    // The next row; false at the end. Refuses a row no run writes.
    bool next(ActivityRow& row);

private:
    const RunFile& file_;
    plate::PlateSize plate_;
    int wells_;
    size_t index_ = kRunFileHeaderLines;
    std::vector<double> last_;  // per well: its count in the row before
};

}  // namespace tirmo::reports
