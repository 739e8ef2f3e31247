#include "plate/WellMaskTools.h"

#include <QWidget>

#include "plate/BandFiles.h"
#include "plate/PlateSpecFile.h"
#include "plate/WellPixelMask.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Make.h"
#include "ui/PictureBox.h"
#include "ui/Twips.h"

namespace tirmo::plate {
namespace {

// The masks are always those of the 96-well flat plate, whatever format is in use.
constexpr const char* kMaskFormat = "w96f";
constexpr int kShapeRegionMode = 2;

// The plate files the well centre comes from that are not where they are looked for, as ". Missing
// ...: <paths>", or empty. The program writes no default for them: a fresh program folder lacks
// them until the factory's copies are put in.
std::string missingGeometry(int serialNumber)
{
    const std::string bands = BandFolder(serialNumber);
    std::string missing;
    for (const std::string& path :
         {SpecFilePath("\\config", kMaskFormat), ColumnFilePath(bands, kMaskFormat), RowFilePath(bands, kMaskFormat)})
        if (!platform::FileExists(path)) missing += (missing.empty() ? "" : ", ") + path;
    return missing.empty() ? std::string() : ". Missing (the factory provides them): " + missing;
}

}  // namespace

WellMaskTools::WellMaskTools(link::Console& console, QWidget* frame, WellMaskNeeds needs)
    : console_(console), needs_(std::move(needs))
{
    cmd_set_select = ui::MakeButton(frame, "cmd_set_select", "set", [this] { cmd_set_select_Click(); });
    ui::setGeometryTwips(cmd_set_select, 150, 900, 900, 360);
    cmd_reset_set = ui::MakeButton(frame, "cmd_reset_set", "Reset all", [this] { cmd_reset_set_Click(); });
    ui::setGeometryTwips(cmd_reset_set, 1150, 900, 1100, 360);
}

void WellMaskTools::cmd_set_select_Click()
{
    const std::string problem = build();
    if (!problem.empty()) ui::dialogs().messageBox(problem);
}

std::string WellMaskTools::build()
{
    const std::string row = needs_.cmb_set1->Text(), column = needs_.cmb_set2->Text();
    const std::optional<MaskWell> well = ParseWellName(row, column);
    if (!well) return WellNameRefusal(row, column);
    // The shape region has no control that sets it: there is nothing to build from.
    if (needs_.mask_mode && needs_.mask_mode() == kShapeRegionMode)
        return "No mask written: the circle selection is on and no well region is set";
    const std::string cameraText = needs_.camera_text();
    const double number = platform::Val(cameraText);
    if (!(number >= 0 && number <= 6)) return "No mask written: camera " + cameraText + " is outside 0 to 6";
    const int camera = int(platform::RoundHalfEven(number));

    // The centre is where the plate geometry puts the well on the camera picture.
    WellTable table;
    ColumnBands columns;
    RowBands rows;
    ColumnLabels columnLabels;
    RowLabels rowLabels;
    ReadPlateSpec(kMaskFormat, table);
    ReadFormatFiles(kMaskFormat, console_.session().serial_number, FormatTables{columns, rows, columnLabels, rowLabels});
    const std::optional<WellCentre> centre = FindWellCentre(table, columns, rows, well->text());
    if (!centre) return "No mask written: the " + std::string(kMaskFormat) + " plate layout and bands do not place well " + well->text() +
                        missingGeometry(console_.session().serial_number);
    if (centre->camera != camera)
        return "No mask written: well " + well->text() + " is seen by camera " + std::to_string(centre->camera) + ", not camera " +
               std::to_string(camera);
    if (needs_.cell(camera, centre->pixel, centre->line) < 0)
        return "No mask written: no frame of camera " + std::to_string(camera) + " has been read";

    const WellMask mask = BuildWellMask([&](int pixel, int line) { return needs_.cell(camera, pixel, line); }, centre->pixel,
                                        centre->line);
    for (const MaskStroke& s : mask.strokes) needs_.picture->Line(s.x1, s.y1, s.x2, s.y2, s.colour);
    if (!mask.built) return {};
    const std::string failed = WriteWellMasks(*well, mask);
    return failed.empty() ? std::string() : "Could not write " + failed;
}

void WellMaskTools::cmd_reset_set_Click()
{
    if (!ui::ConfirmOverwrite("are you sure to Reinicialize?")) return;
    ui::dialogs().messageBox(MaskRemovalText(DeleteMaskFiles()));
}

}  // namespace tirmo::plate
