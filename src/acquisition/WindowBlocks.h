#pragma once
// The two per-window records of a camera in use: the pixel-activity block appended to
// wellactivity<c><w>.csv and the raw frames written to lastread<c><w>.csv. Both walk the
// window's pixels in their numbering order (column band by column band, line by line, each line
// from its last pixel down) and start a row wherever the column offset changes.
#include <string>
#include <vector>

#include "acquisition/CameraWindow.h"
#include "acquisition/RunFrameStore.h"
#include "acquisition/RunTables.h"

namespace tirmo::acquisition {

// "scan,<scan>", "time[m],"<t>"", then per column of pixels 1..window_pixel_count the cell name
// of its first pixel, the column offset and each pixel's activity ("-" outside every well or
// for an unnamed cell); rows of unnamed cells are left out. Ends with an empty line.
std::vector<std::string> PixelActivityBlock(const RunTables& tables, const WindowTables& window, long scan,
                                            double minutes, char decimal);

// With SaveRawData the block starts with the scan and time lines. Then per column of pixels
// 3..window_pixel_count (no further than the longest frame) the cell name of its last pixel, the
// column offset and eleven blocks of ",," followed by ",value" per pixel the frame reaches:
// frame 0's grey level, for frames 1..10 the change from the frame before ("-" for a pixel in
// no well). A pixel the frame before does not reach counts as unchanged. Then an empty line and
// "Temperature,<temperature>".
std::vector<std::string> RawFrameBlock(const RunTables& tables, const WindowTables& window, const WindowFrames& frames,
                                       bool withScan, long scan, double minutes, double temperature, char decimal);

}  // namespace tirmo::acquisition
