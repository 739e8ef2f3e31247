#pragma once
// Where every panel and control of the main window goes for a given window size: one entry per
// control, keyed by the control's name, so a window can apply the table by name without this
// code knowing any widget.
//
// Positions are twips relative to the control's container. Controls that sit directly on the
// window include the grid's margins; controls inside a frame or picture box are measured from
// its edges and carry none. A property the table leaves empty keeps the value the control was
// built with (its designed size, or its place for the panels that only move).
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "app/LayoutGrid.h"

namespace tirmo::app {

struct ControlPlacement {
    // The name of the frame or picture box the control sits in; empty for the window itself.
    std::string container;
    std::optional<double> left, top, width, height;
    // Lines are placed by their two ends instead.
    std::optional<double> x1, y1, x2, y2;
    // 0 no border, 1 a single line.
    std::optional<int> border_style;
    // Border (or line) thickness in pixels.
    std::optional<int> border_width;
    std::optional<uint32_t> back_color;
    // A picture box that keeps its drawing across the move and is repainted after it.
    bool keeps_drawing = false;
    // The caret of the box goes back to the start of its text.
    bool caret_to_start = false;
    // Hidden by every layout, whatever showed it.
    bool hidden = false;
};

struct MainLayout {
    LayoutGrid grid;
    std::map<std::string, ControlPlacement> controls;

    // A fresh entry for a control in its container; unset sizes keep the designed ones.
    ControlPlacement& Place(const std::string& name, const std::string& container, std::optional<double> left,
                            std::optional<double> top, std::optional<double> width = std::nullopt,
                            std::optional<double> height = std::nullopt);
};

// The communication monitor of either window on its grid: the reply-length label ("Len(Rx)")
// at 18 rows and the text box under it at 18.5 rows, each as high as the room it has there.
void PlaceCommunicationMonitor(MainLayout& layout);

// The main window's layout for a client area of width x height twips; nullopt while the window
// is minimised, when nothing is to change.
std::optional<MainLayout> ComputeMainLayout(double width, double height, bool minimised);

// The client area the main window is designed for, in twips; it opens at this size.
inline constexpr double kMainDesignWidth = 20250;
inline constexpr double kMainDesignHeight = 10635;

}  // namespace tirmo::app
