#pragma once
// The column and row band files <format>_col.dat and <format>_row.dat of an instrument: a
// quoted title, a quoted header and one line per band (camera, plate column or row, start,
// end). They live in config_SN<n> for instrument n and in config without an instrument.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "plate/BandTables.h"
#include "plate/ReadReport.h"

namespace tirmo::plate {

// "config_SN12" for serial number 12, "config" below 1. No fall-back between the two.
std::string BandFolder(int serialNumber);
// <program folder>\<folder>\<format>_col.dat (or _row.dat); folder with or without a leading
// backslash.
std::string ColumnFilePath(std::string_view folder, std::string_view format);
std::string RowFilePath(std::string_view folder, std::string_view format);

// Every line of a default band file ("w6", "p35" or "w24"; the header in its ", " form); empty
// for other formats.
std::vector<std::string> DefaultColumnLines(std::string_view format);
std::vector<std::string> DefaultRowLines(std::string_view format);

// The six default writers: folder is relative to the program folder and starts with a
// backslash ("\config_SN12"); it is created when missing. False when the file could not be
// written.
bool WriteW6ColumnFile(const std::string& folder);
bool WriteP35ColumnFile(const std::string& folder);
bool WriteW24ColumnFile(const std::string& folder);
bool WriteP35RowFile(const std::string& folder);
bool WriteW6RowFile(const std::string& folder);
bool WriteW24RowFile(const std::string& folder);

// Reads one band file into a table: first and last of cameras 0..5 are set to -1 by the caller
// (ReadFormatFiles); each good line sets first (on the camera's first line), the local band's
// start and end, and last. Lines naming a camera outside 0..6, a negative band or a band
// outside the camera's local range are skipped; a line that is not four whole numbers ends the
// reading.
template <int N>
ReadReport ReadBandFile(const std::string& path, Bands<N>& bands);

struct FormatTables {
    ColumnBands& column_bands;
    RowBands& row_bands;
    ColumnLabels& column_labels;
    RowLabels& row_labels;
};

// Loads the bands of a format for the instrument: resets first and last of cameras 0..5 (band
// values, camera 6 and labels are kept), reads the column and row files of the band folder,
// then the well labels from config\<format>_spc.dat. Missing files leave their tables as
// said; the reports say what was skipped or not read.
std::vector<ReadReport> ReadFormatFiles(const std::string& format, int serialNumber, const FormatTables& tables);

// Writes both band files of the format from the tables into the band folder (created when
// missing), cameras 0..5 that have bands, header words joined by ",". False when a file could
// not be written.
bool WriteFormatFiles(const std::string& format, int serialNumber, const ColumnBands& column_bands,
                      const RowBands& row_bands);

// First start with an instrument: each of the six default band files (w6, p35, w24; column and
// row) missing in <program folder>\<folder> is copied from config when there, else written
// with its default writer. Existing files are left alone. A shared file that cannot be read or
// is damaged is not copied: report hears of it and the built-in file is written instead; a file
// that cannot be written is reported as well, and the installation goes on with the next.
void InstallFormatFiles(const std::string& folder, const std::function<void(const std::string&)>& report = {});

}  // namespace tirmo::plate
