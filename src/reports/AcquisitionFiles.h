#pragma once
// The small files of an acquisition folder that a report reads when it is generated: the
// set-up (subpj.dat), the instrument's serial number (serial.dat), the blank copy
// (blank_<format>.dat) and the internal-reference factors (factor_correction.txt). Numbers are
// read with "." or "," as the decimal point, whatever the locale.
#include <optional>
#include <string>

#include "reports/ReportData.h"

namespace tirmo::reports {

inline constexpr const char* kUnnamedAcquisition = "<Write Acquisition Name>";

// subpj.dat: line 1 the title, line 2 "acq_time=" and minutes, line 3 "plate_format=" and the
// format code. Values that are missing stay empty.
struct SubprojectSetup {
    bool found = false;
    std::string title;
    std::optional<int> acq_time;
    std::string plate_format;
};
SubprojectSetup ReadSubprojectSetup(const std::string& folder);

// The acquisition's name as a report shows it: the title, empty when the file is missing or
// the user kept the name prompt's text.
std::string ReportSubprojectName(const std::string& folder);

// The number after "SN" in serial.dat; 0 when the file is missing or holds none.
int ReadSerialFile(const std::string& folder);

// The blank copy of the format in the folder into blank_values and blank_lapse. A missing file
// gives all zeros and 30 minutes. Rows "index,value" for indexes 0..384 are taken, a later row
// of the same index replacing the earlier one; rows that are not two whole numbers are skipped.
// True when the file was read.
bool ParseBlankFile(const std::string& format, const std::string& folder, Corrections& corrections);

// The factors of factor_correction.txt (its "mult_factor" line, one per well in well order)
// into well_factor, each held to 0..2.55; every well without a value keeps 1.0. True when the
// file had a factor line.
bool ReadFactorCorrection(const std::string& folder, Corrections& corrections);

// The first line of factor_correction.txt without its double quotes; empty when missing.
std::string ReadFactorCorrectionStamp(const std::string& folder);

// Joins a folder and a file name.
std::string InFolder(const std::string& folder, const std::string& name);

}  // namespace tirmo::reports
