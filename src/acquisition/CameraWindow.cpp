#include "acquisition/CameraWindow.h"

#include <algorithm>

namespace tirmo::acquisition {

CameraWindowGeometry WindowGeometry(const RunGeometry& g, int camera, int window)
{
    CameraWindowGeometry r;
    r.camera = camera;
    r.window = window;
    const int lastColumn = std::max(g.ColumnSlots(camera) - 1, 0);
    r.xini = g.ColumnStart(camera, 0);
    r.xfin = g.ColumnEnd(camera, lastColumn);
    const int rowStart = g.RowStart(camera, window), rowEnd = g.RowEnd(camera, window);
    r.yini = kMirrorRow - rowEnd;
    r.yfin = kMirrorRow - rowStart;
    r.lines = r.xfin - r.xini + 1;
    r.pix = r.yfin - r.yini + 1;
    r.line_width = rowEnd - rowStart + 1;
    r.window_pixel_count = r.line_width * (r.xfin - r.xini);
    return r;
}

void WindowTables::Reset(const CameraWindowGeometry& g)
{
    camera_index = g.camera;
    window_index = g.window;
    window_pixel_count = std::max(g.window_pixel_count, 0);
    line_width = g.line_width;
    frame_history.Reset(window_pixel_count);
    pixel_events.assign(size_t(window_pixel_count) + 1, 0);
    pixel_activity.assign(size_t(window_pixel_count) + 1, 0);
}

CameraWindowGeometry SetCameraWindow(const RunTables& tables, WindowTables& window, int camera, int windowIndex,
                                     bool dummyMode, RunDevices& devices)
{
    const CameraWindowGeometry g = WindowGeometry(tables.geometry, camera, windowIndex);
    window.Reset(g);
    if (!dummyMode) devices.ApplyCameraSettings(g);
    return g;
}

}  // namespace tirmo::acquisition
