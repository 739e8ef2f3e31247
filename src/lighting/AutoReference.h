#pragma once
// The autoreference round before a run: for every camera in use the LED-power autocalibration,
// then for each of its well windows a frame, the centring of the LED map on the window's wells,
// the powers saved and sent again, and a second frame. Every window looked at is recorded,
// before and after the centring, in a results file in the acquisition folder. The window's
// boxes, pictures, camera and LEDs are reached through the host; the round itself is plain
// sequencing and file lines.
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "lighting/LedCentring.h"
#include "lighting/LedMap.h"
#include "lighting/LedPowerAutocal.h"

namespace tirmo::lighting {

// The window boxes of a well window as ApplyCameraWindow leaves them, and its pixel count.
struct RoundWindow {
    int xini = 0, xfin = 0, yini = 0, yfin = 0;
    long pixelCount = 0;  // window_pixel_count
};

class AutoReferenceHost {
public:
    virtual ~AutoReferenceHost() = default;
    virtual bool CameraInUse(int camera) const = 0;
    // The camera's well windows (its well rows); 0 for a camera without bands.
    virtual int WindowCount(int camera) const = 0;
    virtual bool DummyMode() const = 0;
    // The user's Stop: the run is no longer running.
    virtual bool StopRequested() = 0;
    // The round's first steps on the window: the progress picture, the run's camera settings in
    // the boxes, the camera buttons, the plate layout redrawn and the run counters cleared.
    virtual void BeginRound() = 0;
    // txt_cam, then (per window) the run's speed, exposure and gain into the boxes.
    virtual void ShowCamera(int camera) = 0;
    virtual void ShowRunSettings() = 0;
    virtual LedCalibrationOutcome CalibrateLedPower(int camera) = 0;
    virtual void ApplyLedPower(int camera) = 0;
    // Makes (camera, window) current: boxes, window tables, camera settings unless in dummy mode.
    virtual RoundWindow ApplyCameraWindow(int camera, int window) = 0;
    // The window's frame: one character per pixel, "Error" or empty when none came.
    virtual std::string ReadCameraScan(int camera, int window) = 0;
    virtual void DrawCalibrationWellGrid(int camera, int window, const std::string& frame) = 0;
    virtual CentringReport CentreLedMap(int camera, int window, const std::string& frame) = 0;
    virtual bool WriteLedPower() = 0;
    virtual const LedMap& Map() const = 0;
    virtual void Status(const std::string& text) = 0;
    // After the last camera: the calibration frame hidden, events, 1500 ms, events.
    virtual void EndRound() = 0;
    // A grey level 0..255 for a dummy frame.
    virtual int RandomGrey() = 0;
};

struct AutoReferenceOutcome {
    bool stopped = false;     // the user's Stop ended it
    std::string path;         // the results file
    bool fileWritten = true;  // false: the results file could not be created or written
    int windows = 0;          // windows recorded
};

// "yy", the day of the year, "mm", "dd", "hh", "nn" of the local time, then "_calibration.csv".
std::string CalibrationResultsName(std::chrono::system_clock::time_point when);

// The results file's lines (without their CR LF).
std::string RoundWindowLine(const RoundWindow& window);
std::string RoundPowerLine(const LedMap& map);
std::string RoundFrameLine(int camera, int window, std::string_view frame);

// A dummy frame of the window: its full pixel count, so that everything that reads pixels
// 1..window_pixel_count finds them.
std::string DummyWindowFrame(long pixelCount, AutoReferenceHost& host);

// The round; the results file goes into folder (a path as the file layer resolves it).
AutoReferenceOutcome AutoCalibrateCameras(AutoReferenceHost& host, const std::string& folder,
                                          std::chrono::system_clock::time_point start);

// One dot of DrawCalibrationWellGrid: the place in the plate picture's scale and its grey.
struct GridDot {
    double x = 0, y = 0;
    int grey = 0;
};
// The dots of the window's frame drawn over the wells it shows (wells 0..100 across the columns,
// 0..250 down the rows). A format without rows or columns draws nothing; a column or row band
// of no width draws nothing for its wells.
std::vector<GridDot> CalibrationGridDots(const CentringPlate& plate, const CentringWindow& window, int plateRows,
                                         int plateColumns);

}  // namespace tirmo::lighting
