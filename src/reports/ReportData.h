#pragma once
// What a report is made from: the acquisition data set a window holds (read from an
// acquisition's run files, the run just recorded included), the corrections read for it, and the
// options of the report panel. The report engine reads these and never changes them, so that the same data
// give the same report however often it is generated.
#include <array>
#include <string>
#include <vector>

#include "plate/WellGroups.h"
#include "platform/Locale.h"

namespace tirmo::reports {

inline constexpr int kReportWells = 96;       // wells 0..95 carry activity (a w96 plate at most)
inline constexpr int kCorrectionEntries = 385;  // blank and factor tables, entries 0..384

// The per-scan tables of one acquisition. Scans run 0..scan_counter; -1 means no scan at all.
struct AcquisitionData {
    std::string plate_format;  // "w6", "w96f", ...; any other text gives a plate of no wells
    int scan_counter = -1;
    std::vector<long> record_seconds;        // per scan: seconds since the run's start
    std::vector<double> record_temperature;  // per scan: stage temperature in degrees C
    // Per well 0..95, per scan: the activity counted in that scan (a negative value: not
    // measured) and the second at which the well was read.
    std::array<std::vector<double>, kReportWells> well_activity;
    std::array<std::vector<long>, kReportWells> well_seconds;
    plate::WellGroups groups;  // the window's own copy of the well groups
    // Scans, ascending, for which the run's files hold no temperature reading at all (the file
    // missing or cut short): their temperature reads 0.
    std::vector<int> no_temperature;

    int scans() const { return scan_counter + 1; }
    // Sizes every table for scans 0..lastScan: activity -1 (not measured), times and
    // temperatures 0, no scan without a temperature.
    void Resize(int lastScan);
};

// The corrections that apply to an acquisition, as its folder holds them.
struct Corrections {
    std::array<int, kCorrectionEntries> blank_values{};  // counts of the blank run per well
    int blank_lapse = 30;                                // minutes the blank run counted them
    std::array<double, kCorrectionEntries> well_factor;  // internal-reference multipliers
    std::string factor_stamp;                            // source and date of the factors
    Corrections() { well_factor.fill(1.0); }
};

enum class InternalReference { No = 0, Apply = 1, Update = 2 };

// Option_output: 0 table, 1 plate layout, 2 hand over to the chemotaxis window, 3 nothing.
enum class ReportLayout { Rows = 0, Array = 1, MapPlot = 2, Bmp = 3 };

inline constexpr const char* kScanTime = "ScanTime";

struct ReportOptions {
    std::string bin_text = kScanTime;  // "ScanTime", or bins of that many minutes
    InternalReference intref = InternalReference::Apply;
    bool blank = false;  // subtract the acquisition's blank
    bool noise = false;  // spike filter
    ReportLayout layout = ReportLayout::Rows;
    std::string extension = ".csv";  // ".csv"; any other text writes ".txt"
    std::string divider = ",";       // written between fields
    std::string decimal = ".";       // the locale's decimal separator for report numbers
    // The character set of the user's locale for the texts (degree sign, group names, title).
    platform::Charset charset = platform::Charset::Latin1;
};

}  // namespace tirmo::reports
