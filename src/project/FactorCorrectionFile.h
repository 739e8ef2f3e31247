#pragma once
// factor_correction.txt: the internal-reference factors that apply to one folder (an
// acquisition, or the instrument's calibration folder). Lines end with CR LF, items are
// separated by single blanks:
//   1  the stamp in double quotes: the date "yyyy/mm/dd_hh:mm:ss" and the factors' source
//   2  "well" and the well names in well-number order (A1, B1, ... down each column)
//   3  "mult_factor" and one factor per well, "0.00" with "."
//   4  empty
// and, when the factors come from reference runs, a weight block and a raw-value block:
//   "<internal_reference_weight>", one line per run (its folder name and a "0.00" weight per
//   well), an empty line, "<internal_reference_raw_values>", one line per run (its folder name
//   and the well's count). Before the file is rewritten the old one is copied beside it.
#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "project/CorrectionFolders.h"

namespace tirmo::project {

inline constexpr const char* kFactorFile = "factor_correction.txt";
inline constexpr int kFactorEntries = 385;    // reference_factors 0..384, index = well number - 1
inline constexpr int kMaxFactorValues = 383;  // the most values a read takes from line 3
inline constexpr double kMaxFactor = 2.55;

// The window's reference_factors: 1.0 means no correction; every stored value lies in 0..2.55.
using ReferenceFactors = std::array<double, kFactorEntries>;
ReferenceFactors NeutralFactors();

// The factors in compact form, one byte per well in well-number order: the whole part of
// factor x 100 (the factor already limited to 0..2.55), so 0 to 254. Bytes, not text: the
// instrument's memory stores them as they are, and no text conversion may touch them.
using FactorCodeString = std::vector<std::uint8_t>;
double LimitFactor(double factor);
std::uint8_t FactorCode(double limitedFactor);

// The largest factor reference runs give: a factor is 1 / the well's mean weight over at most
// 99 runs, and the smallest weight above 0 is one count against a plate mean of the largest
// 32-bit count, in one run, with none in the others. No run gives a factor below 0.
inline constexpr double kLargestRunFactor = 99.0 * 2147483647.0;

// What a read found wrong in a file that is there, for a reader that must say so.
struct FactorFileCheck {
    bool no_factor_line = false;  // fewer than three lines, or no "mult_factor" on line 3
    std::string not_a_number;     // the first factor of line 3 that is no number, when one is
    std::string out_of_range;     // the first factor below 0 or above kLargestRunFactor, when one is
    // The factors above 2.55, taken as 2.55: the well's name (from line 2) and the factor's text.
    std::vector<std::string> limited;
};

// Sets factors to 1.0, then takes the values after the first item of line 3 when that line
// holds "mult_factor": the k-th value for index k - 1, at most 383, "," or "." as the point,
// each limited to 0..2.55 (a value that is no number leaves its well at 1.0 and codes as 100).
// Returns their codes; empty when the file is missing, has fewer than three lines or no
// "mult_factor" on line 3.
FactorCodeString ReadFactorCorrection(const std::string& folder, ReferenceFactors& factors,
                                      FactorFileCheck* check = nullptr);

// Line 1 without its double quotes; empty when the file is missing.
std::string ReadFactorCorrectionStamp(const std::string& folder);

// The backup's name for an old file whose first line is firstLine: the 14 digits of the old
// stamp's date and "_factor_correction.txt"; "factor_correction_bk", now as
// "yyyymmddhhmmss" and ".txt" when the first line is shorter than 20 characters or its date
// part is not 14 digits.
std::string FactorBackupName(const std::string& firstLine, std::chrono::system_clock::time_point now);

// Copies the folder's factor_correction.txt to its backup beside it (a backup of the same name
// is replaced). NoFile when there is nothing to keep.
enum class FactorBackup { NoFile, Copied, Failed };
FactorBackup BackupFactorCorrection(const std::string& folder);

// One reference run's share of the file.
struct FactorRunBlock {
    std::string name;             // the run's folder name
    std::vector<double> weights;  // per well
    std::vector<long> raw;        // per well
};
// The file's content; run blocks only in the form from reference runs.
struct FactorFile {
    std::string stamp;                      // without the double quotes
    std::vector<std::string> wells;         // names in well-number order
    std::vector<std::string> factor_texts;  // the "mult_factor" items, one per well
    bool from_runs = false;
    std::vector<FactorRunBlock> runs;
};
std::vector<std::string> FactorFileLines(const FactorFile& file);
// "0.00" with "."
std::string FactorText(double value);

// Stamps of the three forms, dated now.
std::string RunsStamp(std::chrono::system_clock::time_point now, const std::string& referenceFolder);
std::string FactoryStamp(std::chrono::system_clock::time_point now, int serialNumber);
std::string DefaultStamp(std::chrono::system_clock::time_point now);

inline constexpr const char* kFactorBackupFailed = "factor_correction.txt not replaced: its backup failed in ";
inline constexpr const char* kFactorNotWritten = "factor_correction.txt could not be written in ";

// Backs the old file up, then writes the new one in one step. A failed backup leaves the old
// file as it is and reports it in the status box (BackupFailed); a failed write does too
// (WriteFailed).
enum class FactorWrite { Written, BackupFailed, WriteFailed };
FactorWrite WriteFactorCorrection(const std::string& folder, const FactorFile& file, const CorrectionNotices& notices);

}  // namespace tirmo::project
