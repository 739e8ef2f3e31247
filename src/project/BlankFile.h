#pragma once
// The blank file blank_<format>.dat: the background counts of an empty plate, per well index.
//   line 1   the blank's identity: the blank run's folder name, "none", or a factory stamp
//   line 2   "acqlapse=" and the blank's length in minutes
//   line 3   "#well","Value"
//   then     384 rows "index,value" for the indexes 0..383, whole numbers
// Well index: (column - 1) x rows of the format + (row letter - "A"), down each column first.
// The current blank of each format lies in the blank store; every acquisition keeps a copy of
// the one that was current when it started.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tirmo::project {

inline constexpr int kBlankEntries = 385;  // blank_values 0..384; the files carry rows 0..383
inline constexpr int kBlankRows = 384;
inline constexpr const char* kNoBlank = "none";
inline constexpr int kNoBlankLapse = 30;  // minutes of the "none" blank
inline constexpr const char* kBlankColumnHeader = "\"#well\",\"Value\"";

// blank_<format>.dat
std::string BlankFileName(std::string_view format);

// The loaded blank of a window: blank_values and blank_lapse.
struct BlankTables {
    std::array<int, kBlankEntries> values{};
    int lapse = kNoBlankLapse;
};

// The rows of a format (R of the well index): 8 for "w96f" and "w96u", 6 "w48", 4 "w24",
// 3 "w12", 2 "w6" and "p35"; 0 for a text that is no format.
int BlankRowsOf(std::string_view format);
// The index of a well name ("B3") with R rows; nullopt when the text is no well name.
std::optional<int> BlankWellIndex(std::string_view well, int rows);

// A blank file as it stands: its three header lines as read, and the tables.
struct BlankFileContents {
    std::string header = kNoBlank;
    std::string lapse_line = "acqlapse=30";
    std::string column_header = kBlankColumnHeader;
    BlankTables tables;
};

// Missing: no such file. Garbled: shorter than its three header lines, a lapse that is not a
// whole number from -32768 to 32767 after the first "=", or a row that is not two such whole
// numbers separated by a comma with an index from 0 to 384 (empty lines are passed over).
// Anything but Read gives the "none" blank: nothing of a garbled file is used.
enum class BlankFileState { Missing, Read, Garbled };
struct BlankFileRead {
    BlankFileState state = BlankFileState::Missing;
    BlankFileContents contents;
};
BlankFileRead ReadBlankFile(const std::string& path);

// The file's lines: the three header lines, then rows 0..383 from the tables.
std::vector<std::string> BlankFileLines(const BlankFileContents& contents);
// Writes them in one step (the old file stays whole when writing fails); false on failure.
bool WriteBlankFileAt(const std::string& path, const BlankFileContents& contents);

}  // namespace tirmo::project
