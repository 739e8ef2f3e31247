#pragma once
// The chemotaxis processing of one acquisition: every well's per-pixel activity, scan by scan,
// becomes one numbered BMP frame (<well>_<n>.bmp) and adds to the well's side sums; a live
// chart shows the chosen index as the frames are made; at the end the report and the six index
// charts of every well are written.
//
// Every file is read once before the first frame: the scans of the recording are those any file
// holds, numbered n from 0 in ascending order (a scan number no file holds gets no frame, column
// or chart step), each scan's time is the one of the first file (by camera, then window) that
// holds it, and a damaged file ends the run with its message before any frame is made. A file
// without a whole block (a run killed before its first write ended) is a camera without data.
//
// The run asks whether to go on before each file and each scan. A stopped run keeps the frames
// written so far, each one whole, and writes no report.
#include <QImage>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "chemotaxis/ChemotaxisIndex.h"
#include "platform/Locale.h"
#include "reports/PixelActivityFile.h"

namespace tirmo::chemotaxis {

inline constexpr const char* kErrorFile = "error file";
inline constexpr const char* kProcessDone = "ok process";
inline constexpr const char* kReportError = "Report Error";

// The plates the processing knows: their wells and rows, the windows read of each camera and
// the wells read from each file.
struct ChemotaxisPlate {
    int wells = 0;
    int rows = 1;
    int windows = 1;
    int blocks = 1;
};
std::optional<ChemotaxisPlate> PlateOf(const std::string& format);

// The well a name stands for on a plate of that many rows ("B2" with 2 rows is 3); -1 for a
// name that is no well of the plate.
int WellIndexOf(const std::string& name, int rows, int wells);

// "1scans_images" or "3scans_images" in the acquisition folder.
std::string ImageFolder(const std::string& acquisition_folder, bool three_point);
std::string FrameFileName(const std::string& well, int scan);                 // A1_0007.bmp
std::string ChartFileName(const std::string& code, const std::string& well);  // CI_XR_a1.bmp

// The group label of each well 0..wells-1 from the acquisition's chgroup.dat: the group in
// three digits, "_" and its name; empty for a well without a row.
std::vector<std::string> ReadGroupLabels(const std::string& acquisition_folder, int wells);

// Where a well's pixels lie in the rows the first scan of a file gives it: the rows that carry
// data (any field that is not "-"), the leading masked fields common to them, and the widest.
struct BlockGeometry {
    int width = 0;      // W: field positions from the first to the last that carries data
    int height = 0;     // H: rows carrying data
    int first_row = 0;  // position of the first such row among the well's rows
    int lead = 0;       // leading "-" fields skipped in every row
};
BlockGeometry MeasureBlock(const std::vector<const reports::PixelActivityLine*>& rows);

struct ProcessSettings {
    std::string folder;  // the acquisition folder
    std::string format;  // plate format
    bool three_point = false;
    bool red_cross = true;
    bool grey = true;
    std::optional<IndexKind> kind;  // the chosen index kind
    int frame_width = 200, frame_height = 200;
    int chart_width = 320, chart_height = 200;
    // The report.
    std::string extension = ".csv";
    std::string divider = ",";
    std::string decimal = ".";
    platform::Charset charset = platform::Charset::Latin1;
    std::chrono::system_clock::time_point now = std::chrono::system_clock::now();
};

// What the window shows while the run goes on; every member may be left empty.
struct ProcessView {
    std::function<bool()> running;                              // false stops the run
    std::function<void(int last_scan)> frames;                  // a well starts: its last frame
    std::function<void(const std::string& well)> well;          // the well being read
    // A frame is saved: the frame, the live chart, the number of the next scan.
    std::function<void(const QImage& frame, const QImage& chart, int next)> frame_done;
    std::function<void(const std::string&)> message;            // message boxes
    // The status line: where a damaged file is damaged, or how many negative counts were read
    // as pixels without activity.
    std::function<void(const std::string&)> status;
};

struct ProcessResult {
    enum class End { Done, Stopped, Failed } end = End::Failed;
    std::string report;  // the written report (Done)
    int frames = 0;      // frames written
    long negative_counts = 0;
};

ProcessResult ProcessAcquisition(const ProcessSettings& settings, const ProcessView& view);

}  // namespace tirmo::chemotaxis
