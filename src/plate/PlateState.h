#pragma once
// The plate as every window and the run share it: the format in use, its well table from the
// layout file, its band tables from the band files, and the well groups. The main window's
// plate panel shows and edits it; the run reads its geometry from it when it is prepared.
#include <string>

#include "link/Protocol.h"
#include "plate/BandFiles.h"
#include "plate/BandTables.h"
#include "plate/PlateSpecFile.h"
#include "plate/ReadReport.h"
#include "plate/WellGroups.h"
#include "plate/WellTable.h"

namespace tirmo::plate {

struct PlateState {
    std::string current_format = "w6";
    WellTable well_table;
    ColumnBands column_bands;
    RowBands row_bands;
    ColumnLabels column_labels;
    RowLabels row_labels;
    // The format whose band files the band tables were last read from; the band editor's save
    // writes the tables only into that format's files.
    std::string bands_format;
    // The shared group tables (well_group, group_names, group_used).
    WellGroups groups;
};

// The layout file of format into the well table; what the reader skipped goes to the status line.
inline void ReadPlateSpec(PlateState& plate, const std::string& format, link::Console& console)
{
    const ReadReport report = ReadPlateSpec(format, plate.well_table);
    if (!report.clean()) console.SetStatus(report.Text());
}
// The band files of format (of the console's instrument) into the band tables, which become
// that format's; what the readers skipped goes to the status line.
inline void ReadFormatFiles(PlateState& plate, const std::string& format, link::Console& console)
{
    const FormatTables tables{plate.column_bands, plate.row_bands, plate.column_labels, plate.row_labels};
    const std::string problems = JoinReports(ReadFormatFiles(format, console.session().serial_number, tables));
    plate.bands_format = format;
    if (!problems.empty()) console.SetStatus(problems);
}

}  // namespace tirmo::plate
