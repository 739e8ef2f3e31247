#pragma once
// The report engine: the acquisition data set and its corrections in, the report's text out.
// It filters spikes, subtracts the blank, applies the internal-reference factors, bins the
// activity in time, averages the wells by group and lays the result out as the table or the
// plate-layout report. It touches no file and no window; the report writer feeds it and puts
// its text on disk.
#include <array>
#include <string>
#include <vector>

#include "reports/ReportData.h"

namespace tirmo::reports {

using WellTable = std::array<std::vector<double>, kReportWells>;

// The activity of wells 0..95 for scans 0..scan_counter, as the data set holds it.
WellTable ActivityTable(const AcquisitionData& data);

// The activity with spikes replaced: in every well, a value above 10 and above 5 times the sum
// of its two neighbouring scans becomes half that sum (the first scan compares with scans 1
// and 2, the last with the two before it). Scans are taken in ascending order, so a replaced
// value takes part in the next comparison. Needs three scans; a not-measured value, or one
// with a not-measured neighbour, is left alone.
WellTable FilterSpikes(const AcquisitionData& data);

// The seconds scan t stands for: up to the next scan's time; the last scan lasts as long as
// the one before it; a lone scan lasts from the run's start.
long ScanDuration(const AcquisitionData& data, int scan);

// Blank and factors applied to the activity: (count - blank of the scan) x factor, never
// below 0; not-measured values pass unchanged. The blank of a scan is the blank's rate
// (counts per minute of the blank run) times the scan's own duration. factorCorrected tells
// whether the factors were applied to any value.
struct Corrected {
    WellTable values;
    bool factorCorrected = false;
};
Corrected CorrectActivity(const AcquisitionData& data, const WellTable& activity, const Corrections& corrections,
                          const ReportOptions& options);

// The columns of a report: the scans, or the time bins.
struct ReportColumns {
    bool activity = true;            // false: the bin text is no number above 0; no well data
    std::vector<std::string> heads;  // the time of each column, "0.0" with the report's decimal
    WellTable values;                // per well of the plate, per column
    std::string bin_text;            // the bin box's text after the report (it may be clamped)
    int total_minutes = 0;           // bin mode: the run's length as the wells' times give it
    std::string note;                // bin mode: why the table has no column, when it has none
};

// Scan mode: one column per scan with the corrected values.
ReportColumns ScanColumns(const AcquisitionData& data, const WellTable& corrected, const std::string& decimal);
// Bin mode: every well resampled to one value per minute (each minute takes the scan nearest
// to it in time among those where the well has a reading), then summed over bins of the chosen
// length (at least 10 minutes, at most the run's length rounded down to 5 minutes), as far as
// the run has valid scans.
ReportColumns BinColumns(const AcquisitionData& data, const WellTable& corrected, const std::string& binText,
                         const std::string& decimal);

// Which scans show a temperature of 0 because the run's files hold none for them, by their
// times ("at 12.0-30.0 min"); empty when every scan has one.
std::string NoTemperatureNote(const AcquisitionData& data);

// Per group of the plate, per column: wells, mean and standard error of the mean.
struct GroupStats {
    std::vector<int> groups;  // groups with wells, ascending
    std::vector<int> count;   // wells of each
    std::vector<std::vector<double>> mean, error;
};
GroupStats ComputeGroupStats(const AcquisitionData& data, const ReportColumns& columns);

// Everything besides the data set that goes into the report's text.
struct ReportInputs {
    Corrections corrections;
    std::string folder;      // the report's folder, shown in the FILE line
    std::string subproject;  // the acquisition's name, shown in the SUBPROJECT line
    std::string date_text;   // shown in the DATE line
};

struct ReportText {
    std::string bytes;  // the file's content, line ends included
    std::string bin_text;
    bool factorCorrected = false;
    std::string note;  // what the user must know of the report's content: shown with it
};

// The table report (layout Rows) or the plate-layout report (layout Array). Bin mode is any
// bin text other than "ScanTime".
ReportText BuildReport(const AcquisitionData& data, const ReportInputs& inputs, const ReportOptions& options);

}  // namespace tirmo::reports
