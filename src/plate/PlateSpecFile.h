#pragma once
// The plate layout file <format>_spc.dat in the shared config folder: a title, a header
// and one line per well naming the camera, the local column and row inside the camera's field,
// the well number, the well name, the plot index and the well's part of the camera's bands.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plate/ReadReport.h"
#include "plate/WellTable.h"

namespace tirmo::plate {

inline constexpr const char* kSpecHeader = "camera,column,row,dataindex,name,plotindex,col_ini,col_end,row_ini,row_end";

// One well line of a plate layout file.
struct SpecLine {
    int camera = 0, column = 0, row = 0;
    int dataindex = 0, plotindex = 0;
    std::string name;
    int col_ini = 0, col_end = 0, row_ini = 0, row_end = 0;
};

// A well line as read: camera, column, row, dataindex and plotindex take the leading number
// of their text (none gives 0), the four percent fields must be numbers in the 16-bit range.
// nullopt, with the reason, for a line without exactly ten fields or with a field that breaks
// these rules.
std::optional<SpecLine> ParseSpecLine(std::string_view line, std::string& reason);
// The line as the writers put it: ten fields joined by commas.
std::string SpecLineText(const SpecLine& line);

// Every line of the default file of "p35", "w6" or "w24" (title and header included); empty for
// other formats, whose files come with the installation.
std::vector<std::string> DefaultSpecLines(std::string_view format);

// <program folder><folder>\<format>_spc.dat, folder starting with a backslash ("\config").
std::string SpecFilePath(std::string_view folder, std::string_view format);
// The formats that have a layout file <format>_spc.dat in config (the name up to its first "_"),
// sorted by name.
std::vector<std::string> SpecFileFormats();

// The default writers: create the folder when missing, then create or replace the file. False
// when it could not be written (an existing file is then left as it was).
bool WriteP35SpecFile(const std::string& folder);
bool WriteW6SpecFile(const std::string& folder);
bool WriteW24SpecFile(const std::string& folder);

// Empties the table, then fills it from config\<format>_spc.dat. A missing file leaves the
// table empty and the report not found. Lines outside the table are skipped; reading stops at
// a short or garbled line. A later line for the same cell replaces the earlier one.
ReadReport ReadPlateSpec(const std::string& format, WellTable& table);
// The same from any file.
ReadReport ReadPlateSpecFile(const std::string& path, WellTable& table);

}  // namespace tirmo::plate
