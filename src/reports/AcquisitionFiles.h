#pragma once
// The small files of an acquisition folder that a report reads when it is generated: the
// set-up (subpj.dat), the instrument's serial number (serial.dat), the blank copy
// (blank_<format>.dat) and the internal-reference factors (factor_correction.txt). Numbers are
// read with "." or "," as the decimal point, whatever the locale. The blank and factor files
// belong to the project code, whose readers these use.
#include <functional>
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

// The blank copy of the format in the folder into blank_values and blank_lapse, read by the
// blank-file reader of the project code: a missing file gives all zeros and 30 minutes, and so
// does a garbled one, after "Blank_File format error" through message. True when it was read.
bool ParseBlankFile(const std::string& format, const std::string& folder, Corrections& corrections,
                    const std::function<void(const std::string&)>& message = {});

// The factors of factor_correction.txt into well_factor, read by the factor-file reader of the
// project code (its "mult_factor" line, one per well in well order, each held to 0..2.55;
// every well without a value keeps 1.0).
struct FactorRead {
    bool read = false;    // the file gave factors
    // A factor that is no number, or none reference runs give (below 0, or beyond any run's
    // factor): the file, its line and the item.
    std::string refusal;
    // The file is there without a "mult_factor" line: every factor is 1.0; or the factors above
    // 2.55 that are taken as 2.55, by their wells.
    std::string note;
};
FactorRead ReadFactorCorrection(const std::string& folder, Corrections& corrections);

// The first line of factor_correction.txt without its double quotes; empty when missing.
std::string ReadFactorCorrectionStamp(const std::string& folder);

// Joins a folder and a file name.
std::string InFolder(const std::string& folder, const std::string& name);

}  // namespace tirmo::reports
