#pragma once
// Plate geometries for the run engine's tests: the default w6 and w24 plates read by the real
// plate readers from the default files the program writes, a w48 plate whose column and row
// slots differ, and hand-made plates with one cell per camera.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "acquisition/RunTables.h"
#include "plate/BandFiles.h"
#include "plate/PlateSpecFile.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "support/TempFolder.h"

namespace tirmo::acquisition::test {

// A w48 plate whose column and row slots differ, so that a column slot taken for a row slot (or
// the other way round) lands on another well: camera c sees plate rows 2 (c mod 3) and the one
// below (windows 0 and 1) of plate columns 4 (c div 3) to 4 (c div 3) + 3 (column slots 0..3),
// wells numbered down each column. Cell (1, 0) holds only the upper half of its well, so the
// cells of a window differ in area too.
inline RunGeometry W48Geometry()
{
    RunGeometry g;
    for (int c = 0; c < kRunCameras; ++c) {
        const int row0 = 2 * (c % 3), column0 = 4 * (c / 3);
        g.column_bands.first[size_t(c)] = column0;
        g.column_bands.last[size_t(c)] = column0 + 3;
        g.row_bands.first[size_t(c)] = row0;
        g.row_bands.last[size_t(c)] = row0 + 1;
        for (int s = 0; s < 4; ++s) {
            g.column_bands.start[size_t(c)][size_t(s)] = 5 + 34 * s;
            g.column_bands.end[size_t(c)][size_t(s)] = 39 + 34 * s;
            g.column_band_label[size_t(c)][size_t(s)] = std::to_string(column0 + s + 1);
        }
        for (int w = 0; w < 2; ++w) {
            g.row_bands.start[size_t(c)][size_t(w)] = 10 + 80 * w;
            g.row_bands.end[size_t(c)][size_t(w)] = 90 + 80 * w;
            g.row_band_label[size_t(c)][size_t(w)] = std::string(1, char('A' + row0 + w));
            for (int s = 0; s < 4; ++s) {
                plate::WellCell& cell = g.well_table.at(c, s, w);
                cell.dataindex = cell.plotindex = (column0 + s) * 6 + row0 + w;
                cell.name = g.row_band_label[size_t(c)][size_t(w)] + g.column_band_label[size_t(c)][size_t(s)];
                cell.col_end = 100;
                cell.row_end = s == 1 && w == 0 ? 50 : 100;
            }
        }
    }
    return g;
}

// The band files of a geometry in the band folder of the instrument (config for 0) and its
// plate layout file in config, as an installation brings them.
inline void WritePlateFiles(const RunGeometry& g, const std::string& format, int serialNumber)
{
    ASSERT_TRUE(plate::WriteFormatFiles(format, serialNumber, g.column_bands, g.row_bands));
    std::vector<std::string> lines{format + " specifications,,,,,,,,,", plate::kSpecHeader};
    for (int c = 0; c < kRunCameras; ++c)
        for (int s = 0; s < g.ColumnSlots(c); ++s)
            for (int w = 0; w < g.RowSlots(c); ++w) {
                const plate::WellCell& x = g.well_table.at(c, s, w);
                lines.push_back(plate::SpecLineText(
                    {c, s, w, x.dataindex, x.plotindex, x.name, x.col_ini, x.col_end, x.row_ini, x.row_end}));
            }
    ASSERT_TRUE(platform::WriteLines(plate::SpecFilePath("\\config", format), lines));
}

// The geometry of a default format ("w6", "p35" or "w24"), or of the w48 plate above, as a
// fresh installation without an instrument reads it.
class DefaultPlate {
public:
    explicit DefaultPlate(const std::string& format)
    {
        platform::SetProgramFolder(folder_.path());
        if (format == "w24") {
            plate::WriteW24SpecFile("\\config");
            plate::WriteW24ColumnFile("\\config");
            plate::WriteW24RowFile("\\config");
        } else if (format == "p35") {
            plate::WriteP35SpecFile("\\config");
            plate::WriteP35ColumnFile("\\config");
            plate::WriteP35RowFile("\\config");
        } else if (format == "w48") {
            WritePlateFiles(W48Geometry(), "w48", 0);
        } else {
            plate::WriteW6SpecFile("\\config");
            plate::WriteW6ColumnFile("\\config");
            plate::WriteW6RowFile("\\config");
        }
        plate::ReadPlateSpec(format, geometry.well_table);
        plate::ReadFormatFiles(format, 0,
                               plate::FormatTables{geometry.column_bands, geometry.row_bands, geometry.column_band_label,
                                                   geometry.row_band_label});
    }
    RunGeometry geometry;

private:
    tirmo::test::TempFolder folder_;
};

// Every camera 0..5 with one column band and one row band and one cell covering a whole well
// (percentages 0 to 100 both ways, unless given), well number = camera, named "A1".."A6".
inline RunGeometry OneCellPerCamera(int columnStart, int columnEnd, int rowStart, int rowEnd, int colIni = 0,
                                    int colEnd = 100, int rowIni = 0, int rowEnd2 = 100)
{
    RunGeometry g;
    for (int c = 0; c < kRunCameras; ++c) {
        g.column_bands.first[size_t(c)] = g.column_bands.last[size_t(c)] = c;
        g.column_bands.start[size_t(c)][0] = columnStart;
        g.column_bands.end[size_t(c)][0] = columnEnd;
        g.row_bands.first[size_t(c)] = g.row_bands.last[size_t(c)] = 0;
        g.row_bands.start[size_t(c)][0] = rowStart;
        g.row_bands.end[size_t(c)][0] = rowEnd;
        plate::WellCell& cell = g.well_table.at(c, 0, 0);
        cell.dataindex = c;
        cell.name = "A" + std::to_string(c + 1);
        cell.col_ini = colIni;
        cell.col_end = colEnd;
        cell.row_ini = rowIni;
        cell.row_end = rowEnd2;
        g.column_band_label[size_t(c)][0] = std::to_string(c + 1);
        g.row_band_label[size_t(c)][0] = "A";
    }
    return g;
}

}  // namespace tirmo::acquisition::test
