#pragma once
// The two light calibrations that fill the LED map from frames of an empty stage:
//   light alignment   finds the rectangle of its camera's frame that each LED lights, one LED
//                     column and one LED row at a time, and saves the rectangles (ledxy.dat);
//   saturation level  lights every LED at the levels 0 to 8 and gives each LED of the camera
//                     the highest level at which its rectangle stays at or below grey 178, and
//                     saves the powers (ledpower.dat).
// Both are plain sequences over a host that the main window and the factory window implement
// on their own boxes, camera and LEDs. A calibration that does not reach its end (the user's
// Stop, a frame that did not come whole, a window with no lines) saves nothing and leaves
// every LED off.
#include <string>
#include <utility>
#include <vector>

#include "camera/FrameStore.h"
#include "lighting/LedMap.h"

namespace tirmo::lighting {

class LightCalibrationHost {
public:
    virtual ~LightCalibrationHost() = default;
    virtual void SendAllLedPower(int level) = 0;
    virtual void SendLedPower(int led, int power) = 0;
    // cmd_camera_Click on the camera in txt_cam.
    virtual void SelectCamera() = 0;
    // cmd_default_Click, 10 ms, then the camera set-up sent from the window's boxes.
    virtual void SetDefaultCamera() = 0;
    // One whole frame of the window into Frames(), drawn; false when none came whole (the
    // window's area of the store then holds no frame).
    virtual bool GrabFrame() = 0;
    virtual const camera::FrameStore& Frames() const = 0;
    // The frame window's line count (txt_lines) and pixel count (txt_pix) as the last grab set
    // them: the store keeps lines along x and pixels along y.
    virtual int LineCount() = 0;
    virtual int PixelCount() = 0;
    virtual void Status(const std::string& text) = 0;
    // Share of the camera's calibration done, 0..100.
    virtual void Progress(double percent) = 0;
    virtual bool StopRequested() = 0;
};

struct LightCalibrationSetup {
    int camera = 0;
    std::string layoutPath;   // the layout file (empty: none)
    std::string loadFolder;   // ledxy.dat and ledpower.dat are read from here
    std::string saveFolder;   // and the calibration's result written here (program-relative)
};

// How the calibrations' status lines name a camera: "CAM[n]".
inline std::string CameraTag(int camera) { return "CAM[" + std::to_string(camera) + "]"; }

enum class LightCalibrationEnd {
    Done,
    Stopped,    // the user's Stop
    NoFrame,    // a frame did not come whole
    NoWindow,   // the frame window has no lines or no pixels: nothing can be walked
    NotSaved,   // the file could not be written
    NoLeds,     // the layout gives the camera no LED to light
};

// What both calibrations share for each frame and at an early end: every grab advances the
// progress bar and the first frame that did not come whole is remembered; an early end puts
// every LED off and says why, naming the file that stays unchanged.
class LightCalibrationSteps {
public:
    LightCalibrationSteps(LightCalibrationHost& host, int camera, int steps, std::string file)
        : host_(host), camera_(camera), steps_(steps), file_(std::move(file))
    {
    }

    bool Grab()
    {
        const bool good = host_.GrabFrame();
        host_.Progress(100.0 * ++frames_ / steps_);
        if (!good && end == LightCalibrationEnd::Done) end = LightCalibrationEnd::NoFrame;
        return good;
    }

    LightCalibrationEnd Fail(const std::string& message = {})
    {
        host_.SendAllLedPower(0);
        LightCalibrationEnd ended = end;
        if (host_.StopRequested() || ended == LightCalibrationEnd::Done) ended = LightCalibrationEnd::Stopped;
        if (!message.empty()) host_.Status(message);
        else if (ended == LightCalibrationEnd::NoFrame)
            host_.Status(CameraTag(camera_) + ": no frame came whole: " + file_ + " unchanged");
        return ended;
    }

    LightCalibrationEnd end = LightCalibrationEnd::Done;

private:
    LightCalibrationHost& host_;
    const int camera_;
    const int steps_;
    const std::string file_;
    int frames_ = 0;
};

// The band of values v(0..n) standing above factor x their mean over n: from the first index
// above it to the first index below it after the last rise, or to n when it never falls back.
// A value equal to the threshold changes nothing. {-1, -1} when nothing rises above it, and
// for n below 1 (no mean).
struct Band {
    int start = -1, end = -1;
    bool operator==(const Band&) const = default;
};
Band FindBand(const std::vector<double>& v, int n, double factor);

inline constexpr double kColumnBandFactor = 1.6;
inline constexpr double kRowBandFactor = 1.3;
inline constexpr int kScanColumns = 9;
inline constexpr int kScanRows = 8;
inline constexpr int kProfileSize = camera::FrameStore::kSize;

// The frame's brightness profiles over x = 0..X and y = 0..Y: each position's grey (0 where
// the store holds none) adds grey / Y to the x profile and grey / X to the y profile. Indexed
// 0..192; X and Y must be 1..192.
struct Profiles {
    std::vector<double> x = std::vector<double>(size_t(kProfileSize), 0.0);
    std::vector<double> y = std::vector<double>(size_t(kProfileSize), 0.0);
};
Profiles FrameProfiles(const camera::FrameStore& frames, int camera, int X, int Y);

// Finds and saves the rectangles of the setup's camera's LEDs.
LightCalibrationEnd CalibrateLightAlignment(LightCalibrationHost& host, LedMap& map, const LightCalibrationSetup& setup);

// The saturation limit: a level whose reading is at most this qualifies.
inline constexpr int kSaturationLimit = 178;
// The highest level whose reading is at most the limit (also above a lower level that read
// more); 0 when none does.
int SaturationLevel(const std::vector<int>& readings);

// Chooses, sends and saves the powers of the setup's camera's LEDs. A complete calibration
// leaves the camera's LEDs at their new powers and the others at level 8.
LightCalibrationEnd CalibrateSaturationLevel(LightCalibrationHost& host, LedMap& map, const LightCalibrationSetup& setup);

}  // namespace tirmo::lighting
