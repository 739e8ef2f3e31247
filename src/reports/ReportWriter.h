#pragma once
// The report writer behind the report panel's Generate button, the same for every window that
// holds an acquisition data set: it reads the acquisition's name, blank and internal-reference
// factors from its folder, builds the report and writes it as
// <folder>/<yyyymmddhhmmss>_report.csv (or .txt). The file appears whole or not at all: it is
// written under a temporary name and then given its name; a second report within the same
// second gets "_2", "_3", ... instead of replacing the first.
//
// The window keeps what is its own: it shows the messages, hides its panel, opens the written
// file with the desktop's program, and hands a MapPlot over to the chemotaxis window.
#include <array>
#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "reports/ReportData.h"

namespace tirmo::reports {

inline constexpr const char* kReportError = "Report Error";
inline constexpr const char* kMapPlotFormats = "MapPlot only available for w6 and p35 microplate";
inline constexpr const char* kFactorsUpdated = "Internal reference updated with latest value";
// The note shown before every report in time bins.
extern const char* const kBinWarning;

struct ReportEnvironment {
    std::chrono::system_clock::time_point now = std::chrono::system_clock::now();
    int serial_number = 0;  // of the connected instrument, 0 offline
    // Message boxes with an OK button.
    std::function<void(const std::string&)> message;
    // Recomputes the internal-reference factors of an acquisition from the instrument's
    // reference runs and writes its factor_correction.txt (folder, plate format, serial number
    // of the acquisition); nullopt when none could be made. Without it the factors stay as read.
    std::function<std::optional<std::array<double, kCorrectionEntries>>(const std::string&, const std::string&, int)>
        compute_internal_reference;
};

struct ReportOutcome {
    enum class Result {
        Written,   // path holds the report: open it, hide the panel
        MapPlot,   // nothing written: hand the plate format over to the chemotaxis window, hide the panel
        Nothing,   // layout ".bmp": nothing written, hide the panel
        Refused,   // MapPlot on a plate it cannot show, or a damaged factor file: message
                   // shown, nothing written, the panel stays open
        Failed,    // "Report Error" shown, nothing written, the panel stays open
    };
    Result result = Result::Failed;
    std::string path;      // the written report
    std::string folder;    // the folder the report belongs to (the program's reports folder when
                           // the acquisition's is gone): the window's current acquisition folder
    std::string bin_text;  // what the bin box shows now (ScanTime for MapPlot, a clamped bin)
    std::string note;      // a default the report took for a file that gave nothing, or what its
                           // content lacks and why (an empty table, scans without temperature):
                           // shown with it
};

// Generates one report of the acquisition in folder.
ReportOutcome GenerateReport(const AcquisitionData& data, const std::string& folder, const ReportOptions& options,
                             const ReportEnvironment& env);

// The report's file name without extension: the stamp of now and "_report".
std::string ReportBaseName(std::chrono::system_clock::time_point now);

// Writes bytes into folder as base + extension, or base + "_2" + extension and so on when that
// name is taken; nullopt (and nothing left behind) when it cannot be written.
std::optional<std::string> WriteNewFile(const std::string& folder, const std::string& base,
                                        const std::string& extension, const std::string& bytes);

}  // namespace tirmo::reports
