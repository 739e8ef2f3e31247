#pragma once
// The heat-map picture of a loaded recording: the plate as a grid of wells, 100 units a well,
// each well a red circle with its disc's active pixels painted by their counts. The summed map
// paints every pixel's sum over all scans (and crosses the wells); a single scan paints that
// scan's counts.
#include <QImage>
#include <QSize>

#include <cstdint>
#include <vector>

#include "reports/HeatMapStore.h"

namespace tirmo::reports {

// Indices of the option array opt_hetmap_color.
enum class HeatMapColours { BlackWhite = 0, Grey = 1, Colour = 2 };

struct HeatMapFrame {
    bool summed = true;
    long scan = 0;  // the scan number drawn when not summed
    HeatMapColours colours = HeatMapColours::Colour;
    std::vector<bool> highlight;  // by well number: label bold and underlined
};

// value clamped to 0..maximum (maximum above 0); colours as RGB values, red in the low byte.
// Blue through yellow to red.
uint32_t HeatColorScale(int64_t value, int64_t maximum);
// Light grey for the smallest counts, black for the maximum.
uint32_t GrayColorScale(int64_t value, int64_t maximum);

// The picture at the given size in pixels; the plate's units are stretched over it.
QImage DrawHeatMap(const HeatMapStore& store, const HeatMapFrame& frame, QSize size);

}  // namespace tirmo::reports
