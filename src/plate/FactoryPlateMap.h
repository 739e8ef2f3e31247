#pragma once
// The factory window's plate map: a second map over its own picture, size and band tables, with
// its own drag, grouping wells in the shared group tables. No "[OFF]" marks: it does not look at
// the camera mask.
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "plate/BandTables.h"
#include "plate/PlateMap.h"
#include "plate/PlateSelection.h"
#include "plate/WellGroups.h"
#include "plate/WellTable.h"
#include "ui/Forward.h"

namespace tirmo::plate {

class FactoryPlateMap {
public:
    // Draws on picture and takes its mouse; the wells go into groups (the main window's tables
    // when the factory window works beside it).
    FactoryPlateMap(ui::PictureBox& picture, WellGroups& shared_groups);

    void DrawPlateLayout(const std::string& format);
    void DrawWell(int well);
    void Picact_MouseDown(int button, int shift, double x, double y);
    void Picact_MouseUp(int button, int shift, double x, double y);
    // This window's readers fill its own tables, always from the shared config folder: the
    // factory works on the layout it ships, whatever instrument is connected. They return what
    // was skipped or could not be read (empty when nothing); a missing file is no problem.
    std::string ReadPlateSpec(const std::string& format);
    std::string ReadFormatFiles(const std::string& format);
    // The factory window keeps no group list: nothing to rebuild.
    void RefreshGroupList(int group);
    // This window's own plate and band tables, apart from the main window's.
    WellTable well_table;
    ColumnBands column_bands;
    RowBands row_bands;
    ColumnLabels column_labels;
    RowLabels row_labels;
    // The group a left drag gives (the main window's list); 0 when nobody says.
    std::function<int()> group_to_assign;
    int plate_rows = 0;     // 0 until its plate layout has been drawn
    int plate_columns = 0;
    std::string plate_format;  // the format its layout was drawn for (label size)
    int run_state = 0;         // -1 while one of the window's light calibrations runs
    PlateSelection selection;
    WellGroups& groups;
    std::unique_ptr<PlateMap> plate_map;

private:
    std::array<bool, 7> no_camera_off_{true, true, true, true, true, true, true};
};

}  // namespace tirmo::plate
