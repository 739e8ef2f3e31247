#pragma once
// What the run's window-facing object needs of the main window: the plate geometry of the format
// in use, the camera boxes and their set-up, the select buttons, the live strip and the plate
// map, the light panel and the readings a window completion records. One adapter in the main
// window implements it, so the run object never reaches into the window's members itself.
#include <span>
#include <string>

#include "acquisition/CameraWindow.h"
#include "acquisition/RunTables.h"
#include "acquisition/WindowCompletion.h"
#include "lighting/LightPulse.h"
#include "plate/PlateMap.h"

namespace tirmo::acquisition {

class RunWindow {
public:
    virtual ~RunWindow() = default;

    // ---- run preparation
    // Reads the plate spec and then the band files of the format in cmb_well and returns the
    // geometry the readers left.
    virtual RunGeometry ReadPlateGeometry() = 0;
    // The text of the acquisition-time box (minutes).
    virtual std::string AcquisitionTimeText() const = 0;
    // The run's camera speed and exposure into the "Setup CAM" boxes.
    virtual void ShowRunSettings(int speed, int exposure) = 0;

    // ---- camera window set-up
    // Select buttons white, the chosen camera's grey, all redrawn.
    virtual void MarkCameraButton(int camera) = 0;
    // txt_xini, txt_xfin, txt_yini, txt_yfin, txt_lines and txt_pix, each redrawn as written.
    virtual void ShowWindowBoxes(const CameraWindowGeometry& window) = 0;
    // Sends the camera set-up as the boxes stand.
    virtual void ApplyCameraSettings() = 0;
    virtual void ClearRealtimePicture() = 0;
    virtual void DrawPlateWells(int camera, int window) = 0;

    // ---- window completion
    // The activity drawing of the plate map; the window adds its blank and reference factors.
    virtual void DrawPlateActivity(plate::WindowActivity run, int camera, int window, int mode) = 0;
    virtual void SendLightPulse(int level) = 0;
    virtual PulseBoxes PulseBoxTexts() const = 0;
    // The light panel's pulse state, which the completion's pulse step changes.
    virtual lighting::PulseState PulseState() = 0;
    virtual bool CameraInUse(int camera) const = 0;
    // The temperature of the last thermostat step (0 when none was read).
    virtual double StageTemperature() const = 0;
    virtual std::span<const double> ReferenceFactors() const = 0;
    // The SaveRawData mark; false while the window has no such entry.
    virtual bool SaveRawData() const = 0;
};

}  // namespace tirmo::acquisition
