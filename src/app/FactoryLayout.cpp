#include "app/FactoryLayout.h"

#include <algorithm>

#include "ui/Colour.h"

namespace tirmo::app {
namespace {

// A size held in a 16-bit integer stops at its limit. A value that is not a number is passed on
// as it is: the grid counts it as too small.
double Clamp16(double value)
{
    if (value != value) return value;
    return std::clamp(value, -double(kFactorySizeLimit) - 1, double(kFactorySizeLimit));
}

}  // namespace

LayoutGrid ComputeFactoryGrid(double width, double height)
{
    // With the size within 16 bits, nine tenths of it and every whole-number product of the
    // grid stay within 16 bits too.
    return ComputeLayoutGrid(Clamp16(width), Clamp16(height));
}

MainLayout ComputeFactoryLayout(double width, double height)
{
    MainLayout l;
    l.grid = ComputeFactoryGrid(width, height);
    const LayoutGrid& g = l.grid;
    const double lm = double(g.left_margin), tm = double(g.top_margin);
    const double cu = double(g.column_unit), ru = double(g.row_unit);

    ControlPlacement& frame = l.Place("Shape5", "", lm - 2, tm - 2, double(6 * g.column_unit + 4), 19.5 * ru + 4);
    frame.border_width = 4;
    frame.back_color = ui::colour::White;
    ControlPlacement& line = l.controls["Line5"];
    line.x1 = lm;
    line.x2 = double(6 * g.column_unit + g.left_margin - 8);
    line.y1 = line.y2 = 1.4 * ru + tm + 2;
    line.border_width = 4;

    l.Place("lbl_status", "", lm + 0.175 * cu, tm + 0.275 * ru, 0.5 * cu);
    l.Place("txt_status", "", lm + 0.575 * cu, tm + 0.275 * ru, 3.65 * cu);
    l.Place("txt_timepass", "", lm + 4.5 * cu, tm + 0.275 * ru, 1.25 * cu);
    l.Place("frame_main", "", lm + 0.125 * cu, tm + 1.75 * ru, 4.3 * cu, 15 * ru).border_style = 0;

    ControlPlacement& side = l.Place("Picact2", "frame_main", 0.05 * cu, 0.2 * ru, 0.8 * cu, 14.5 * ru);
    side.border_style = 0;
    side.keeps_drawing = true;
    ControlPlacement& picture = l.Place("Picact", "frame_main", 0.925 * cu, 0.2 * ru, 3.3 * cu, 12.5 * ru);
    picture.border_style = 0;
    picture.keeps_drawing = true;
    l.Place("Picrealtime", "frame_main", 1.1 * cu, 14 * ru, 3 * cu, ru).border_style = 1;
    // The raw console under the picture, above the progress bar.
    l.Place("Frame2", "", lm + 1.05 * cu, tm + 14.5 * ru, 3.3 * cu, 1.05 * ru);

    // The window is smaller than the main window, and so is its row: the Close strip takes 0.4
    // of it (ending above the frame at 2.05 rows) to hold a whole line of the smallest type.
    l.Place("cmd_menu", "", lm + 4.5 * cu, tm + 1.6 * ru, 1.25 * cu, 0.4 * ru);
    l.Place("frame_advanced", "", lm + 4.5 * cu, tm + 2.05 * ru, 1.35 * cu, 16 * ru);
    // The strip between the picture and the communication monitor: the temperature console; the
    // light calibrations under the tools' column.
    l.Place("frame_peltier", "", lm + 0.125 * cu, tm + 16.8 * ru, 4.1 * cu, 1.1 * ru);
    l.Place("frame_ledcal", "", lm + 4.5 * cu, tm + 18.1 * ru, 1.35 * cu, 1.25 * ru);
    l.Place("lblrx", "", std::nullopt, std::nullopt).hidden = true;
    PlaceCommunicationMonitor(l);
    return l;
}

}  // namespace tirmo::app
