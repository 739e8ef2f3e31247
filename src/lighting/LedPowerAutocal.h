#pragma once
// The LED-power autocalibration of one camera as a sequence: all LEDs off, the calibration
// camera settings, two settling frames, one frame with every LED at each level 0 to 8, each
// LED's power chosen from its readings, saved and lit, a check frame, each power corrected by
// one or two levels, and the result saved (and, when asked, sent LED by LED). The instrument,
// the window's boxes, its status line and the user's Stop are reached through the host, which
// the main window and the factory window implement on their own controls.
#include <string>
#include <vector>

#include "camera/FrameStore.h"
#include "lighting/LedMap.h"
#include "lighting/LedPowerSelection.h"

namespace tirmo::lighting {

// What the autocalibration needs of the window that runs it. Waits and the event pump between
// steps go through the program's clock (platform::Sleep, platform::DoEvents).
class LedCalibrationHost {
public:
    virtual ~LedCalibrationHost() = default;
    // Every LED at one level (the 'L' 255 frame; the factory window goes through its LED box
    // and "All" button).
    virtual void SendAllLedPower(int level) = 0;
    // One LED at its new power (the calibration's LED sender).
    virtual void SendLedPower(int led, int power) = 0;
    // The camera's powers as saved in ledpower.dat (the main window sends them only during a run).
    virtual void ApplyLedPower(int camera) = 0;
    // The default image window (cmd_default_Click), 50 ms, speed "1" and exposure "240" into
    // the camera boxes, 10 ms, then the camera set-up sent from the boxes (gain included).
    virtual void SetCalibrationCamera() = 0;
    // One new frame of the camera into Frames(); false when none came whole (the camera's
    // cells then hold no frame: see GrabCheckedFrame).
    virtual bool GrabFrame() = 0;
    virtual const camera::FrameStore& Frames() const = 0;
    // Whether an image position counts for the readings: the main window's run mask
    // (well_pixel_mask); the factory window counts every position.
    virtual bool PositionCounts(int camera, int x, int y) const = 0;
    // txt_status, lbl_autocalibra, and the progress bar on Picrealtime (0..100).
    virtual void Status(const std::string& text) = 0;
    virtual void Label(const std::string& text) = 0;
    virtual void Progress(double percent) = 0;
    // The user's Stop (run_state back to 0), looked at between steps.
    virtual bool StopRequested() = 0;
    // The factory window's question "Apply 2nd round of adjustment?": true for Yes.
    virtual bool ConfirmSecondRound() = 0;
};

enum class CalibrationVariant { Main, Factory };

struct LedCalibrationSetup {
    int camera = 0;            // txt_cam
    std::string plateFormat;   // cmb_well
    bool sendPowers = false;   // send each LED's new power and grab a result frame at the end
    CalibrationVariant variant = CalibrationVariant::Main;
    // Where the LED map is loaded from and saved to: the layout file (empty: none) and the
    // per-instrument folder of ledxy.dat and ledpower.dat (relative to the program folder).
    std::string layoutPath;
    std::string folder;
};

struct LedCalibrationOutcome {
    enum class End {
        Done,
        Stopped,   // the user's Stop; ledpower.dat holds what the last completed save saved
        Refused,   // nothing was sent: no targets for the format, or no LED serves the camera
        NoFrame,   // a frame did not come whole; nothing was computed from it
        NotSaved,  // ledpower.dat could not be written; the powers were not sent
        // No LED of the camera lit a counted position at any level: nothing saved or sent,
        // and the LEDs are off
        NothingMeasured,
    };
    End end = End::Refused;
    // The camera's LEDs whose rectangle counted no position of the frame: their powers are kept.
    std::vector<int> unmeasured;
    std::string message;  // the last status text of a calibration that did not end Done
};

// "Autocalibration status = " and the percentage, as the status line shows progress.
std::string AutocalibrationStatus(double percent);

// Calibrates the powers of the setup's camera in `map` (loaded anew first) and ledpower.dat:
// only the rows of that camera's LEDs change. Leaves every LED of the instrument at 0 (the
// last all-LED command) except, with sendPowers, the camera's own at their new powers.
LedCalibrationOutcome AutoCalibrateLedPower(LedCalibrationHost& host, LedMap& map, const LedCalibrationSetup& setup);

}  // namespace tirmo::lighting
