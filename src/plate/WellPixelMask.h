#pragma once
// The pixel mask of one well of the 96-well flat plate, found in a camera frame by walking rays
// out of the well's centre to the well's rim, and the two mask files the pixel-map upload reads:
// the full mask and the one sampled every fifth line and pixel. Also the names of those files
// from the operator's row and column choice, and the removal of every mask file.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "plate/BandTables.h"
#include "plate/WellTable.h"

namespace tirmo::plate {

// The mask grid: lines 0..141 by pixels 0..191 of the camera picture (pixel across, line down).
inline constexpr int kMaskLines = 142;
inline constexpr int kMaskPixels = 192;
// The rows a mask file holds: lines 0..139, pixels 0..189 of each.
inline constexpr int kMaskFileLines = 140;
inline constexpr int kMaskFilePixels = 190;
inline constexpr const char* kMaskFileHeader = "\"line\",\"pixel\",\"enabled\"";

using MaskGrid = std::vector<uint8_t>;  // kMaskLines x kMaskPixels, line after line; 1 = in the well

// A line drawn on the camera picture while the mask is found, in picture units.
struct MaskStroke {
    double x1, y1, x2, y2;
    uint32_t colour;
};

struct WellMask {
    bool built = false;  // false: a ray ended within two steps of the centre, nothing to write
    MaskGrid full;
    MaskGrid sampled;
    std::vector<MaskStroke> strokes;  // the rays, the outline and the filled rows and columns
};

// The grey level 0..255 of the frame at (pixel, line), or -1 where the frame holds no value.
using FrameCell = std::function<int(int pixel, int line)>;

// Finds the well around the centre (pixel cx, line cy). A cell without a value ends a ray as the
// frame's edge does: a pixel that never came from the camera is no part of any well; a centre
// without a value builds nothing.
WellMask BuildWellMask(const FrameCell& cell, int cx, int cy);

inline bool MaskAt(const MaskGrid& g, int line, int pixel)
{
    return line >= 0 && line < kMaskLines && pixel >= 0 && pixel < kMaskPixels &&
           g[size_t(line) * kMaskPixels + size_t(pixel)] != 0;
}

// The file's lines: the header, then "line,pixel,0|1" for lines 0..139 and pixels 0..189.
std::vector<std::string> MaskFileLines(const MaskGrid& grid);

// The well named by the two set boxes: a row letter "A" to "H" and a column "1" to "12", as the
// names of the mask files carry them. nullopt for anything else: the texts become file names.
struct MaskWell {
    std::string row, column;
    std::string text() const { return row + column; }
};
std::optional<MaskWell> ParseWellName(const std::string& row, const std::string& column);
std::string WellNameRefusal(const std::string& row, const std::string& column);

// <program folder>/w96f_c0full__<well>.dat and w96f_c0__<well>.dat.
std::string FullMaskPath(const MaskWell& well);
std::string SampledMaskPath(const MaskWell& well);

// Writes the full mask, then the sampled one; each replaces a file of the same name. The names
// of the files that could not be written (empty when both were).
std::string WriteWellMasks(const MaskWell& well, const WellMask& mask);

// Deletes every w96f_c0__*.dat ("bin files") and every w96f_c0full__*.dat ("well files") of the
// program folder, letter case aside.
struct MaskRemoval {
    int sampled = 0;
    int full = 0;
};
MaskRemoval DeleteMaskFiles();
// "<n> bin files and <m>well files deleted".
std::string MaskRemovalText(const MaskRemoval& removal);

// The centre of a well on its camera's picture from the plate geometry (the w96f layout and
// band tables): the middle of the part of the camera's column and row band the well covers.
struct WellCentre {
    int camera = 0;
    int pixel = 0;  // across the picture: the sensor line
    int line = 0;   // down the picture: the pixel within a line
};
std::optional<WellCentre> FindWellCentre(const WellTable& table, const ColumnBands& column_bands,
                                         const RowBands& row_bands, const std::string& wellName);

}  // namespace tirmo::plate
