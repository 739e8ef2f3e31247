#pragma once
// Puts the main window's layout onto its widgets: every control the layout names is looked up
// by its object name under the window's client area and given its place through the twips
// layer. The window calls LayoutMainWindow on start-up and on every resize, then draws the plate
// map again when the result says so.
#include <optional>
#include <string>
#include <vector>

#include "app/MainLayout.h"

class QWidget;

namespace tirmo::app {

struct LayoutResult {
    // False when the window was minimised and nothing was touched.
    bool laid_out = false;
    // The plate map is to be drawn again at its new size (DrawPlateLayout with the current
    // format): the plate map and the run panel are shown, the auto-calibration is not, and
    // neither a run nor a light calibration is in progress.
    bool redraw_plate = false;
    // Names the layout places that no widget under the window carries, and controls found in
    // another container than the one the layout measures them from; both stay as they were
    // (the misplaced ones are still placed, relative to the parent they have).
    std::vector<std::string> missing;
    std::vector<std::string> misplaced;
};

// Applies layout to the widgets under root; nullopt (a minimised window) changes nothing.
LayoutResult ApplyMainLayout(QWidget* root, const std::optional<MainLayout>& layout, int run_state);

// Lays out the widgets under root (the window's client area) for root's current size.
LayoutResult LayoutMainWindow(QWidget* root, bool minimised, int run_state);

// Whether the plate map is to be drawn again after a layout (see LayoutResult::redraw_plate).
bool PlateRedrawDue(const QWidget* root, int run_state);

}  // namespace tirmo::app
