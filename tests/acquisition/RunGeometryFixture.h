#pragma once
// Plate geometries for the run engine's tests: the default w6 and w24 plates read by the real
// plate readers from the default files the program writes, and hand-made plates with one cell
// per camera.
#include <string>

#include "acquisition/RunTables.h"
#include "plate/BandFiles.h"
#include "plate/PlateSpecFile.h"
#include "platform/ProgramFolder.h"
#include "support/TempFolder.h"

namespace tirmo::acquisition::test {

// The geometry of a default format ("w6", "p35" or "w24") as a fresh installation without an
// instrument reads it.
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

// A plate whose column and row slots differ, so that a column slot taken for a row slot (or the
// other way round) lands on another well: every camera sees three plate columns (column slots
// 0..2) of two plate rows (windows 0 and 1), a 4 x 9 plate numbered down each column. Cell
// (1, 0) holds only the upper half of its well, so the cells of a window differ in area too.
inline RunGeometry ThreeColumnsTwoRowsPerCamera()
{
    RunGeometry g;
    for (int c = 0; c < kRunCameras; ++c) {
        g.column_bands.first[size_t(c)] = 3 * (c / 2);
        g.column_bands.last[size_t(c)] = 3 * (c / 2) + 2;
        g.row_bands.first[size_t(c)] = 2 * (c % 2);
        g.row_bands.last[size_t(c)] = 2 * (c % 2) + 1;
        for (int s = 0; s < 3; ++s) {
            g.column_bands.start[size_t(c)][size_t(s)] = 5 + 45 * s;
            g.column_bands.end[size_t(c)][size_t(s)] = 50 + 45 * s;
            g.column_band_label[size_t(c)][size_t(s)] = std::to_string(3 * (c / 2) + s + 1);
        }
        for (int w = 0; w < 2; ++w) {
            g.row_bands.start[size_t(c)][size_t(w)] = 10 + 80 * w;
            g.row_bands.end[size_t(c)][size_t(w)] = 90 + 80 * w;
            g.row_band_label[size_t(c)][size_t(w)] = std::string(1, char('A' + 2 * (c % 2) + w));
            for (int s = 0; s < 3; ++s) {
                plate::WellCell& cell = g.well_table.at(c, s, w);
                cell.dataindex = cell.plotindex = (3 * (c / 2) + s) * 4 + 2 * (c % 2) + w;
                cell.name = g.row_band_label[size_t(c)][size_t(w)] + g.column_band_label[size_t(c)][size_t(s)];
                cell.col_end = 100;
                cell.row_end = s == 1 && w == 0 ? 50 : 100;
            }
        }
    }
    return g;
}

}  // namespace tirmo::acquisition::test
