// The factory window's plate map: a second map over its own picture, size and band tables, with
// its own drag, grouping wells in the shared group tables.
#include "app/Frm_advance.h"
#include "plate/PlateMap.h"
#include "ui/PictureBox.h"

namespace tirmo::app {

void Frm_advance::buildPlateMap()
{
    plate_map = std::make_unique<plate::PlateMap>(
        *Picact, plate::PlateMapTables{plate_rows, plate_columns, no_camera_off_, groups, well_table, column_bands, row_bands,
                                       column_labels, row_labels});
    Picact->onMouseDown([this](int button, int shift, double x, double y) { Picact_MouseDown(button, shift, x, y); });
    Picact->onMouseUp([this](int button, int shift, double x, double y) { Picact_MouseUp(button, shift, x, y); });
}

void Frm_advance::DrawPlateLayout(const std::string& format)
{
    plate_format = format;
    // No camera-mask format: this window marks no wells "[OFF]".
    plate_map->DrawPlateLayout(format, std::string());
}

void Frm_advance::DrawWell(int well) { plate_map->DrawWell(well, plate_format); }

void Frm_advance::RefreshGroupList(int /*group*/) {}

// A camera picture on Picact has coordinates of its own, and before the first layout there is
// no plate at all: neither is a plate cell.
void Frm_advance::Picact_MouseDown(int button, int /*shift*/, double x, double y)
{
    if (run_state != 0 || !plate_map->Shown()) return;
    selection.Press(button, x, y, plate_rows, plate_columns);
}

void Frm_advance::Picact_MouseUp(int button, int /*shift*/, double x, double y)
{
    if (run_state != 0 || !plate_map->Shown()) {
        selection.Cancel();
        return;
    }
    for (int well : selection.Release(button, x, y, plate_rows, plate_columns)) {
        if (well < 0 || well >= plate::kGroupEntries) continue;
        if (button == plate::kLeftButton) {
            const int group = group_to_assign ? group_to_assign() : 0;
            if (group < 0 || group >= plate::kGroupEntries) continue;
            groups.well_group[size_t(well)] = group;
            RefreshGroupList(group);
        } else {
            groups.well_group[size_t(well)] = plate::kNoGroup;
        }
        DrawWell(well);
    }
}

}  // namespace tirmo::app
