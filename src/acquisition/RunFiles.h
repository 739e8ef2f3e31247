#pragma once
// The files of an acquisition folder that a run writes: the starting files and headers the run
// start creates, the rows each finished camera window appends, and the readers of the activity
// and temperature rows. Lines end with CR LF and are written whole. Decimal numbers take the
// decimal separator given (the locale's), except the time of light.csv, which always has ".".
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tirmo::link {
class Console;
class RunSettings;
}  // namespace tirmo::link

namespace tirmo::acquisition {

// The camera mask file at path from the cameras in use; when it cannot be written, says so on
// the console's status line.
bool WriteCameraMask(const std::string& path, const link::RunSettings& settings, link::Console& console);

inline constexpr const char* kSerialFile = "serial.dat";
inline constexpr const char* kSubprojectFile = "subpj.dat";
inline constexpr const char* kRawActivityFile = "current_activity.txt";
inline constexpr const char* kAdjustedActivityFile = "adjusted_activity.txt";
inline constexpr const char* kTemperatureFile = "current_temperature.txt";
inline constexpr const char* kLightLogFile = "light.csv";
inline constexpr const char* kFileStampMask = "yyyy/mm/dd_hh:mm:ss";

// wellactivity<c><w>.csv and lastread<c><w>.csv (camera 0, window 2: wellactivity02.csv).
std::string PixelActivityFileName(int camera, int window);
std::string RawFrameFileName(int camera, int window);
// <folder>/<name>, the folder given with "\" or "/" separators, matched without regard to case.
std::string RunFilePath(const std::string& folder, std::string_view name);

// Mask "0.0" with the decimal separator given; mask "0" (halves away from zero).
std::string Tenths(double value, char decimal);
std::string Whole(double value);
// The time of a row: elapsed seconds / 60 as minutes, mask "0.0".
inline double Minutes(double elapsedSeconds) { return elapsedSeconds / 60.0; }

// Starting files and headers.
std::string SerialLine(int serialNumber);  // "SN12"; "SN0" offline
std::vector<std::string> SubprojectLines(std::string_view title, std::string_view lapseText,
                                         std::string_view formatText);
std::vector<std::string> RawActivityHeader(std::string_view stamp);
std::vector<std::string> AdjustedActivityHeader(std::string_view stamp);
std::vector<std::string> TemperatureHeader(std::string_view stamp);
std::string LightLogHeader();

// Rows.
// 12.5 "A1" 37
std::string ActivityRow(double minutes, std::string_view well, double value, char decimal);
// 12.5 37.2
std::string TemperatureRow(double minutes, double temperature, char decimal);
// 3,"1.5",0
std::string LightRow(long scan, double minutes, int power);

// What the run start writes, in this order: serial.dat, subpj.dat, then, under a stamp taken
// once after subpj.dat, the headers of the two activity files and the temperature file, each
// file created anew. The stamp written, or nullopt when a file could not be written (the
// files before it stay).
struct StartingFiles {
    int serial_number = 0;
    std::string title;  // the acquisition-name box as it stands
    std::string lapse;  // the acquisition-time box
    std::string format; // the plate-format list
};
std::optional<std::string> WriteStartingFiles(const std::string& folder, const StartingFiles& files);
// Appends the header of light.csv (the file is appended to even for its header).
bool CreateLightLog(const std::string& folder);

// Appends lines to a file (created when missing) in one write; on a failed write the file is cut
// back to its old length, so it never ends in part of a line. False when it could not be
// written. Readers of appended files take their lines with platform::ReadRecordLines, which
// leaves out the cut line a killed process may have left.
bool AppendLines(const std::string& path, const std::vector<std::string>& lines);

// Everything one finished camera window adds to the run's files.
struct WindowRecords {
    int camera = 0;
    int window = 0;
    std::string light_row;
    bool raw_frames = false;  // the window's camera is in use: lastread and wellactivity records
    bool raw_append = false;  // SaveRawData: lastread grows by a block instead of being rewritten
    std::vector<std::string> raw_frame_lines;
    std::vector<std::string> pixel_activity_lines;
    std::vector<std::string> activity_rows;  // current_activity.txt
    std::vector<std::string> adjusted_rows;  // adjusted_activity.txt
    std::string temperature_row;
};
// Writes the records into the acquisition folder: light.csv, lastread (rewritten or appended)
// and wellactivity for a camera in use, both activity files, current_temperature.txt. False
// when any file could not be written; the others are still written.
bool WriteWindowRecords(const std::string& folder, const WindowRecords& records);

// Readers. A decimal number written with "," or "." as its separator; nullopt when the text is
// not a number.
std::optional<double> ReadDecimal(std::string_view text);
// An activity row: the time (text before the first blank), the well (text between the first
// and the second blank) and the value (text after the second blank), double quotes removed.
// nullopt for a line without two blanks or whose time or value is not a number.
struct ActivityRecord {
    double minutes = 0;
    std::string well;
    double value = 0;
};
std::optional<ActivityRecord> ParseActivityRow(std::string_view line);
// A temperature row: time, one blank, temperature.
struct TemperatureRecord {
    double minutes = 0;
    double temperature = 0;
};
std::optional<TemperatureRecord> ParseTemperatureRow(std::string_view line);

}  // namespace tirmo::acquisition
