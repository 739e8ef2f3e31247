// The factory window's plate map: a second map over its own picture, size and band tables, with
// its own drag, grouping wells in the shared group tables.
#include "plate/FactoryPlateMap.h"

#include "plate/BandFiles.h"
#include "plate/PlateSpecFile.h"
#include "ui/PictureBox.h"

namespace tirmo::plate {

FactoryPlateMap::FactoryPlateMap(ui::PictureBox& picture, WellGroups& shared_groups) : groups(shared_groups)
{
    plate_map = std::make_unique<PlateMap>(picture, PlateMapTables{plate_rows, plate_columns, no_camera_off_, groups,
                                                                   well_table, column_bands, row_bands, column_labels,
                                                                   row_labels});
    picture.onMouseDown([this](int button, int shift, double x, double y) { Picact_MouseDown(button, shift, x, y); });
    picture.onMouseUp([this](int button, int shift, double x, double y) { Picact_MouseUp(button, shift, x, y); });
}

void FactoryPlateMap::DrawPlateLayout(const std::string& format)
{
    plate_format = format;
    // No camera-mask format: this window marks no wells "[OFF]".
    plate_map->DrawPlateLayout(format, std::string());
}

std::string FactoryPlateMap::ReadPlateSpec(const std::string& format)
{
    return plate::ReadPlateSpec(format, well_table).Text();
}

std::string FactoryPlateMap::ReadFormatFiles(const std::string& format)
{
    // Serial number 0: the band files of config.
    return JoinReports(plate::ReadFormatFiles(format, 0, FormatTables{column_bands, row_bands, column_labels, row_labels}));
}

void FactoryPlateMap::DrawWell(int well) { plate_map->DrawWell(well, plate_format); }

void FactoryPlateMap::RefreshGroupList(int /*group*/) {}

// A camera picture on Picact has coordinates of its own, and before the first layout there is
// no plate at all: neither is a plate cell.
void FactoryPlateMap::Picact_MouseDown(int button, int /*shift*/, double x, double y)
{
    if (run_state != 0 || !plate_map->Shown()) return;
    selection.Press(button, x, y, plate_rows, plate_columns);
}

void FactoryPlateMap::Picact_MouseUp(int button, int /*shift*/, double x, double y)
{
    if (run_state != 0 || !plate_map->Shown()) {
        selection.Cancel();
        return;
    }
    for (int well : selection.Release(button, x, y, plate_rows, plate_columns)) {
        if (well < 0 || well >= kGroupEntries) continue;
        if (button == kLeftButton) {
            const int group = group_to_assign ? group_to_assign() : 0;
            if (group < 0 || group >= kGroupEntries) continue;
            groups.well_group[size_t(well)] = group;
            RefreshGroupList(group);
        } else {
            groups.well_group[size_t(well)] = kNoGroup;
        }
        DrawWell(well);
    }
}

}  // namespace tirmo::plate
