#pragma once
// The plate map: the microplate drawn in a picture box in plate coordinates (the plate fills
// x 0..100 and y 0..250 of the scale (-10, -20)-(110, 260), the margins hold the column numbers
// and row letters), its wells with their group labels and "[OFF]" marks, the marker on the wells
// of the camera window being measured, their activity values during a run, and the chart of one
// camera window. Each window that shows a plate owns one map over its own picture and tables.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "plate/BandTables.h"
#include "plate/PlateFormat.h"
#include "plate/WellGroups.h"
#include "plate/WellTable.h"
#include "ui/Colour.h"

namespace tirmo::ui {
class PictureBox;
}

namespace tirmo::plate {

inline constexpr double kMapLeft = -10, kMapTop = -20, kMapRight = 110, kMapBottom = 260;
inline constexpr double kPlateWidth = 100, kPlateHeight = 250;
inline constexpr int kColourCount = 6;
inline constexpr uint32_t kPlateOutline = ui::RGB(255, 0, 0);
inline constexpr uint32_t kPlateGrid = ui::RGB(255, 255, 0);
inline constexpr uint32_t kPlateLabels = ui::RGB(170, 170, 170);
inline constexpr uint32_t kMapGrey = ui::RGB(128, 128, 128);
inline constexpr uint32_t kChartLines = ui::RGB(200, 200, 200);
inline constexpr const char* kOffMark = "[OFF]";

// What a map reads of the window that owns it. The plate size is the window's: drawing the
// layout or a window marker sets it.
struct PlateMapTables {
    int& plate_rows;
    int& plate_columns;
    const std::array<bool, 7>& camera_in_use;
    const WellGroups& groups;
    const WellTable& well_table;
    const ColumnBands& column_bands;
    const RowBands& row_bands;
    const ColumnLabels& column_labels;
    const RowLabels& row_labels;
};

// The run's state of one counted camera window, for the activity values.
struct WindowActivity {
    double minutes = 0;            // elapsed run time
    long window_pixel_count = 0;   // pixels 1..count of the window
    // Per pixel of the window (index 1..count): its movement count, its well number and its
    // place along the column and row axes in sensor units.
    const std::vector<long>* pixel_activity = nullptr;
    const std::vector<int>* pixel_well = nullptr;
    const std::vector<int>* pixel_column = nullptr;
    const std::vector<int>* pixel_row = nullptr;
    // Per well number: the run's accumulated activity, the blank count and the internal
    // reference factor; the blank is subtracted when blank_lapse >= 1 and blank_run is 0.
    const std::vector<double>* well_activity = nullptr;
    const std::vector<int>* blank_values = nullptr;
    int blank_lapse = 0;
    int blank_run = 0;
    const std::vector<double>* reference_factor = nullptr;
};

// The activity colour scale: entries 0..count-1 from dark red over yellow to green, entry
// count (6) black.
std::array<uint32_t, 7> BuildColorScale(int count = kColourCount);
// The label colour of a group: by group mod 10, black, green, blue, red, yellow, twice over.
uint32_t GroupColour(int group);
// The camera whose field holds a well: the fixed fields of "p35", "w6" and "w24", and for every
// other format the camera that the plate table puts the well under; -1 when none does.
int CameraOfWell(int well, const std::string& format, const WellTable& table);
// The wells of one camera on "p35"/"w6" (one) and "w24" (four); empty for other formats.
std::vector<int> FixedCameraWells(int camera, const std::string& format);

class PlateMap {
public:
    PlateMap(ui::PictureBox& picture, PlateMapTables tables);

    // Clears the picture and draws the empty plate of a format: outline, grid, column numbers,
    // row letters, and "[OFF]" on the wells of cameras out of use ("p35", "w6", "w24"; the
    // cameras of wellFormat, the project's format). Sets the plate size (0 x 0 for a text that
    // is no format: only the outline).
    void DrawPlateLayout(const std::string& format, const std::string& wellFormat);
    // "[OFF]" in the cell of a well whose camera is out of use.
    void DrawDisabledWells(int well, const std::string& wellFormat);
    // One well again: its label area cleared, "G<group>" in the group colour when grouped,
    // "[OFF]" when its camera is out of use. plateFormat is the band editor's format.
    void DrawWell(int well, const std::string& plateFormat);
    // Every well of the plate, rows outer, columns inner.
    void RedrawAllWells(const std::string& plateFormat);
    // The window marker (a black dot in each cell's upper right corner) on the wells of one
    // camera window, whatever the camera's flag.
    void DrawPlateWells(int camera, int window, const std::string& wellFormat);
    // During a run: mode 1 marks the window about to be measured, mode 0 shows the counted
    // window's pixel strokes and corrected values. Nothing for a camera out of use. A well whose
    // column or row band has no width is left as it is.
    void DrawPlateActivity(const WindowActivity& run, int camera, int window, int mode, const std::string& wellFormat,
                           const std::string& plateFormat);
    // Prepares the picture for drawing over a camera picture of pixels x lines.
    void ResetPlatePicture(long pixels, long lines);
    // Whether the picture shows the plate: its points are plate coordinates only while it keeps
    // the scale DrawPlateLayout gave it, and every camera picture sets a scale of its own.
    bool Shown() const;
    // The chart of one camera window on chart: its wells stacked in band order with their names.
    void DrawActivityChart(ui::PictureBox& chart, int camera, int window);

    // The corner of a cell (column, row from 0) in plate coordinates, halves to even.
    double CellX(int column) const;
    double CellY(int row) const;
    double CellWidth() const;
    double CellHeight() const;

    int colour_count = kColourCount;
    std::array<uint32_t, 7> colour_table = BuildColorScale();

private:
    bool hasPlate() const { return t_.plate_rows > 0 && t_.plate_columns > 0; }
    void marker(int camera, int window, uint32_t fill);
    void setSize(const std::string& format);
    // Text centred on x, its top at y (or centred on y too).
    void printCentred(const std::string& text, double x, double y, bool centreY = false);
    // The type of the texts in the cells: a size that reads on the smallest cells, bold.
    void cellType(const std::string& plateFormat);

    ui::PictureBox& pic_;
    PlateMapTables t_;
};

}  // namespace tirmo::plate
