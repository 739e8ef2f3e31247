#pragma once
// Drawing camera pixels and the well grid in picture boxes, one filled cell per camera pixel in
// the box's own user scale: the still frame of a camera window, the band grid with the well
// outlines and names, the progress bar of the acquisition run and its live activity picture.
// Both instrument windows draw through these with their own boxes and tables.
#include <cstdint>
#include <functional>
#include <string>

#include "camera/FrameStore.h"
#include "camera/PixelMask.h"
#include "plate/BandTables.h"
#include "plate/WellTable.h"
#include "ui/Colour.h"

namespace tirmo::ui {
class PictureBox;
}

namespace tirmo::camera {

// The colours of the camera pictures.
inline constexpr uint32_t kBarBackground = ui::RGB(240, 240, 220);
inline constexpr uint32_t kLiveReset = ui::RGB(255, 255, 200);
inline constexpr uint32_t kBandSeparator = ui::RGB(200, 200, 200);

// Clears the picture and gives it the scale of the window (0, 0)-(xfin - xini, yfin - yini).
void SetFrameScale(ui::PictureBox& pic, long xini, long xfin, long yini, long yfin);

// Draws the cells x = firstX .. firstX + lines - 1, y = 0 .. pixels - 1 of a camera's frame as
// grey boxes (x, y)-(x + 1, y + 1); a cell without a value is black. The reader draws from
// x = 1 (DrawGrayImage), the deferred redraw from x = 0 (DrawCameraImage).
void DrawFrameCells(ui::PictureBox& pic, const FrameStore& store, int camera, long lines, long pixels, int firstX);

// What the camera grid needs of the plate tables.
struct GridTables {
    const plate::ColumnBands& column_bands;
    const plate::RowBands& row_bands;
    const plate::ColumnLabels& column_labels;
    const plate::RowLabels& row_labels;
    const plate::WellTable& well_table;
};
// Red band lines, the circular well outlines and the well names of a camera. An outline whose
// start and end percentages are equal on an axis would need a band of no width and is left out.
void DrawCameraGrid(ui::PictureBox& pic, const GridTables& tables, int camera, long lines, long pixels);
// The part of the grid that outlines one well (column band r, row band c).
void DrawWellOutline(ui::PictureBox& pic, const GridTables& tables, int camera, int r, int c);

// The factory window's green centre mark: a line across at pixels / 2 from 0.3 to 0.7 of the
// lines, and one down at lines / 2 from 0.3 to 0.7 of the pixels.
void DrawCentreCross(ui::PictureBox& pic, long lines, long pixels);

// Slot n of the progress bar: the box (10n + 1, 10)-(10n + 10, 85) in RGB(240, 240, 220).
void ClearRealtimeBar(ui::PictureBox& pic, int slot);

// One cell of the live picture. p is the 1-based byte position of the cell in the frame text,
// x (1..pixels) and y (0..) its place. Without a difference: grey. With one: an event cell gets
// RGB(255 - m, 255 - m, 200 - m), m = min(5 |d0|, 200); a quiet cell RGB(255, 255, 200) on the
// first difference of a window (frameCounter 1), else nothing. 0 means the cell is not drawn.
uint32_t LiveCellColour(const std::string& frame, const std::string& difference, bool haveDifference, long frameCounter,
                        long p, long x, long y, long pixels);

struct LiveActivity {
    int camera = 0;
    int window = 0;          // row band of the camera window
    long lines = 0;          // window lines
    long pixels = 0;         // pixels per line
    std::string frame;       // one byte per pixel, line after line
    std::string difference;  // frame-to-frame change + 128
    bool haveDifference = false;
    long frameCounter = 0;
};
// Draws the frame's cells (x - 1, y)-(x, y + 1), then paints the pixels outside the wells
// white and separates the column bands.
void DrawLiveActivity(ui::PictureBox& pic, const LiveActivity& in, const plate::ColumnBands& column_bands,
                      const plate::RowBands& row_bands, const WindowPixelMask& mask);

}  // namespace tirmo::camera
