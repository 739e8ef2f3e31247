#pragma once
// The blank store of an instrument and the blank copies of acquisitions. A finished blank run
// becomes the current blank of its plate format; each run start copies the current blank of its
// format into the new acquisition and loads it; a report loads an acquisition's copy.
//
// These are the main window's blank procedures without the window: the window passes its own
// blank tables and routes the notices to its message boxes. After SaveBlankMeasurement has
// saved a blank the window shows the new one (ReadBlankHeader, BlankInfoOf in BlankHeader.h).
#include <string>
#include <string_view>

#include "project/BlankFile.h"
#include "project/BlankHeader.h"
#include "project/CorrectionFolders.h"

namespace tirmo::project {

inline constexpr const char* kBlankOk = "Blank OK";
inline constexpr const char* kBlankFormatError = "Blank_File format error";
inline constexpr const char* kBlankNotWritten = "Blank file could not be written: ";

// "ERROR! Expected acqusition=60. Found=30": the expected minutes as a plain number with the
// given decimal separator (up to 15 significant digits), found as a whole number.
std::string BlankTooShortMessage(double expectedMinutes, long long foundMinutes, std::string_view decimal);

// Turns the run's current_activity.txt into the current blank of the format in the blank store.
// The blank's header is the run folder's own name; each well's value is its last count (the
// run total); found is the largest row time in whole minutes (halves to even).
// - found below 0.8 x expected: BlankTooShortMessage, nothing written (TooShort);
// - a missing or unreadable activity file, a row without two blanks, a time or count that is
//   no number, a count outside -32768..32767, a well name that gives no index 0..384, a format
//   without rows, or a store that cannot be written: "Blank_File format error", the current
//   blank file unchanged (FormatError);
// - else the blank file is written with "acqlapse=" and the expected minutes rounded (a half
//   up) to at least four digits, and "Blank OK" is shown (Saved).
// decimal is the system's decimal separator, used in the too-short message only.
enum class BlankSave { Saved, TooShort, FormatError };
BlankSave SaveBlankMeasurement(const std::string& runFolder, const std::string& format, double expectedMinutes,
                               int serialNumber, std::string_view decimal, const CorrectionNotices& notices);

// The "none" blank: tables zero with lapse 30, and the store's blank file of the format written
// as "none", "acqlapse=30", the column header and 384 zero rows. False (with a status line)
// when the file could not be written; the tables are reset all the same.
bool WriteBlankFile(const std::string& format, int serialNumber, BlankTables& tables, const CorrectionNotices& notices);

// Loads the store's current blank of the format into tables and writes it into the
// acquisition folder (its full path): the three header lines as read, then rows 0..383 from
// the tables. A missing store blank gives the "none" copy; a garbled one the "none" copy and
// "Blank_File format error". written is false (with a status line) when the copy could not be
// written, for instance because the acquisition folder does not exist.
struct BlankCopy {
    BlankFileState source = BlankFileState::Missing;
    bool written = false;
};
BlankCopy CopyBlankToAcquisition(const std::string& format, const std::string& acquisitionFolder, int serialNumber,
                                 BlankTables& tables, const CorrectionNotices& notices);

// Loads the blank copy of the format in folder into tables. Missing: zeros and lapse 30, no
// message. Garbled: the same and "Blank_File format error".
BlankFileState ParseBlankFile(const std::string& format, const std::string& folder, BlankTables& tables,
                              const CorrectionNotices& notices);

}  // namespace tirmo::project
