#pragma once
// A camera window of a run: one row band slot of a camera by the camera's whole column extent.
// Its read-out rectangle as the camera boxes show it, its pixel count as the counter uses it,
// and the per-window tables (the frame history, each pixel's events and activity) that are
// cleared whenever the run moves to a window.
#include <cstdint>
#include <vector>

#include "acquisition/ActivityCounter.h"
#include "acquisition/RunDevices.h"
#include "acquisition/RunTables.h"

namespace tirmo::acquisition {

// The sensor mirrors the second axis: band pixel p is window position 183 - p.
inline constexpr int kMirrorRow = 183;

// The six window boxes (txt_xini, txt_xfin, txt_yini, txt_yfin, txt_lines, txt_pix) and
// window_pixel_count, which counts one line fewer than lines x pix.
struct CameraWindowGeometry {
    int camera = 0;
    int window = 0;
    int xini = 0, xfin = 0, yini = 0, yfin = 0;
    int lines = 0, pix = 0;
    int window_pixel_count = 0;
    int line_width = 0;  // pixels per line: row band end - start + 1
};
CameraWindowGeometry WindowGeometry(const RunGeometry& geometry, int camera, int window);

// The tables of the window being acquired.
struct WindowTables {
    int camera_index = 0;
    int window_index = 0;
    int window_pixel_count = 0;
    int line_width = 0;
    FrameHistory frame_history;
    std::vector<int32_t> pixel_events = std::vector<int32_t>(1, 0);    // pixels 0..window_pixel_count
    std::vector<int32_t> pixel_activity = std::vector<int32_t>(1, 0);  // pixels 0..window_pixel_count

    // Points the tables at a window and clears them (a negative count gives empty tables).
    void Reset(const CameraWindowGeometry& window);
};

// Points the run at (camera, window): the geometry for the boxes, the window tables sized and
// cleared, and, unless in dummy mode, the camera set-up sent with that window. The caller then
// shows the geometry, clears its live strip and redraws the plate map for the window.
CameraWindowGeometry SetCameraWindow(const RunTables& tables, WindowTables& window, int camera, int windowIndex,
                                     bool dummyMode, RunDevices& devices);

}  // namespace tirmo::acquisition
