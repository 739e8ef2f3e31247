#pragma once
// The main window's acquisition run as the window runs it: run preparation with its status line
// and message box, the camera window set-up with its boxes, buttons and plate map, and the
// completion of a camera window with its light pulses, plate drawing and run records. The run's
// own state (the tables, the current camera and window, the scan counter, the frames of the
// window being acquired with their good-frame count and the windows' pixel masks the live
// picture reads) lives here; the elapsed run time is the session's. Everything it needs
// of the window goes through one RunWindow, and everything it counts through the run engine.
//
// The acquisition tick puts each good frame k of the current window into
// frame_store[camera_index][k], calls CompleteWindow once the eleventh is in, then advances
// camera_index / window_index (and scan_counter after the last window of the last camera) and
// calls SetCameraWindow for the next window.
#include <string>

#include "acquisition/CameraWindow.h"
#include "acquisition/RunDevices.h"
#include "acquisition/RunFrameStore.h"
#include "acquisition/RunTables.h"
#include "acquisition/RunWindow.h"
#include "acquisition/WindowCompletion.h"
#include "camera/PixelMask.h"
#include "link/Protocol.h"

namespace tirmo::acquisition {

// The status line when a window's records could not all be written.
inline constexpr const char* kRecordsNotWritten = "Run records could not be written to ";

class RunControls : private RunDevices {
public:
    RunControls(link::Console& console, RunWindow& window);

    // Prepares the run's tables from the plate format in use: "Setting up IR Video-Camera", the
    // plate readers, the engine's preparation, then the run's speed and exposure into the camera
    // boxes. 1 on success; -1 after the message box with the engine's message (the camera boxes
    // are then left alone).
    int PrepareAcquisition();

    // Points the run at (camera, window): select buttons, window boxes, window tables, the camera
    // set-up unless in dummy mode, the live strip cleared and the plate map of the window. 1.
    int SetCameraWindow(int camera, int window);

    // Completes the current window from frame_store[camera_index]: counting, light pulse, plate
    // drawing and the records appended in the session's acquisition folder with the locale's
    // decimal separator. False, with a status line, when a record could not be written (the
    // counts stand).
    bool CompleteWindow();

    RunTables tables;
    WindowTables window_tables;
    RunFrameStore frame_store;
    CameraWindowGeometry window_geometry;  // of the window set up last
    int camera_index = 0;
    int window_index = 0;
    long scan_counter = 0;
    WindowCompletion last_completion;  // what the last completion counted and recorded

    // The good-frame count of the current camera window and its pixel mask, as the live picture
    // reads them.
    long frame_counter = 0;
    camera::WindowPixelMask window_pixel_mask;

    // What the plate map draws for the window just counted, in its own table types.
    plate::WindowActivity ActivityView(double minutes);
    // The same over (camera, window)'s pixel wells and places: the counts are always those of the
    // window just counted. Valid until the next view.
    plate::WindowActivity ActivityView(double minutes, int camera, int window);

private:
    void SendLightPulse(int level) override;
    void ApplyCameraSettings(const CameraWindowGeometry& window) override;

    link::Console& console_;
    RunWindow& window_;
    std::vector<long> viewPixelActivity_;
    std::vector<int> viewPixelWell_, viewPixelColumn_, viewPixelRow_;
    std::vector<double> viewWellActivity_;
};

}  // namespace tirmo::acquisition
