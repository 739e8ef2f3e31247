#pragma once
// The plate as every window and the run share it: the format in use, its well table from the
// layout file, its band tables from the band files, and the well groups. The main window's
// plate panel shows and edits it; the run reads its geometry from it when it is prepared.
#include <string>

#include "link/Protocol.h"
#include "plate/BandTables.h"
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
void ReadPlateSpec(PlateState& plate, const std::string& format, link::Console& console);
// The band files of format (of the console's instrument) into the band tables, which become
// that format's; what the readers skipped goes to the status line.
void ReadFormatFiles(PlateState& plate, const std::string& format, link::Console& console);

}  // namespace tirmo::plate
