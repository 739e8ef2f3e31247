#pragma once
// What the run's window-facing object needs of the main window: the plate geometry of the format
// in use, the camera boxes and their set-up, the select buttons, the live strip and the plate
// map, the light panel and the readings a window completion records. One adapter in the main
// window implements it, so the run object never reaches into the window's members itself.
#include <cstdint>
#include <span>
#include <string>

#include "acquisition/CameraWindow.h"
#include "acquisition/RunTables.h"
#include "acquisition/WindowCompletion.h"
#include "lighting/LightPulse.h"
#include "plate/PlateMap.h"
#include "thermal/TemperatureControl.h"

namespace tirmo::acquisition {

class RunWindow {
public:
    virtual ~RunWindow() = default;

    // ---- run preparation
    // Reads the plate spec and then the band files of the format in cmb_well and returns the
    // geometry the readers left.
    virtual RunGeometry ReadPlateGeometry() = 0;
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
    // The pulse indicator: Chk_lenabled's caption and Shape_light's fill.
    virtual void ShowPulseIndicator(const std::string& caption, uint32_t fill) = 0;
    virtual PulseBoxes PulseBoxTexts() const = 0;
    // The light panel's pulse state, which the completion's pulse step changes.
    virtual lighting::PulseState PulseState() = 0;
    virtual std::span<const double> ReferenceFactors() const = 0;

    // ---- acquisition tick
    // Each attempt of a frame transfer: its trace, black when the check byte matched, else red.
    virtual void ShowTransferTrace(const std::string& caption, bool matches) = 0;
    // The live picture of a good frame and the progress bar's slot.
    virtual void ShowLiveFrame(int camera, int window, const std::string& frame, const std::string& difference,
                               bool hasDifference, long frameCounter) = 0;
    virtual void ShowElapsedTime(const std::string& text) = 0;
    // What a thermostat step read and decided, in the temperature boxes and the indicator.
    virtual void ShowThermostatStep(const thermal::ThermostatStepResult& step) = 0;
    // txt_cam shows the camera (6: none).
    virtual void ShowCamera(int camera) = 0;
    // txt_exposure and txt_gain for the next window.
    virtual void ShowRunExposure(int exposure, int gain) = 0;
    virtual void DrawActivityChart(int camera, int window) = 0;

    // ---- run end and stop
    // txt_pulseoff, txt_pulseon and txt_pulsetimes editable again.
    virtual void UnlockPulseFields() = 0;
    // chk_temp captioned "Temperature" and unticked (its click handler runs), the indicator white.
    virtual void ResetTemperatureBox() = 0;
    // txtlapse and cmb_well editable again.
    virtual void UnlockRunBoxes() = 0;
    // After a communication error: the group frame shown, cmb_well enabled, Picact2 hidden.
    virtual void ShowRunPanelsAfterError() = 0;
    // A finished blank run becomes the blank of its format in the store.
    virtual void SaveBlankMeasurement(const std::string& folder, const std::string& format, double minutes) = 0;
    // The report panel for the run just finished.
    virtual void OpenRunReport() = 0;

    // ---- Play button and run start
    // The plate format and the name of the current project.
    virtual std::string CurrentFormat() const = 0;
    virtual std::string CurrentProject() const = 0;
    virtual void FocusAcquisitionTime() = 0;
    virtual void FocusPlateFormat() = 0;
    virtual void EnablePlateFormat(bool enabled) = 0;
    // frame_offline and frm_calibrate hidden.
    virtual void HideSidePanels() = 0;
    // The group panel or, during a run, the activity chart in its place.
    virtual void ShowGroupPanel(bool shown) = 0;
    // Picact2 and Picrealtime cleared.
    virtual void ClearRunPictures() = 0;
    // True while the plate map, not a camera picture, is on Picact.
    virtual void SetPlateViewShown(bool shown) = 0;
    virtual void DrawPlateLayout(const std::string& format) = 0;
    virtual void RedrawAllWells() = 0;
    // After a stop: the current format taken from cmb_well, its plate drawn and its plate layout file read,
    // every well drawn.
    virtual void RedrawPlateOfPlateFormat() = 0;
    // The current project's setup, groups and plate read again (the project list's own click).
    virtual void ReloadProject() = 0;
    // chk_temp captioned "Temperature" (its value left) and the indicator white.
    virtual void ResetTemperatureIndicator() = 0;
    // 1 when the instrument has an accepted reference run of the format.
    virtual bool HasInternalReference(const std::string& format) const = 0;
    // The reference project of the instrument: "_internal_reference" and its serial tag.
    virtual std::string ReferenceProjectName() const = 0;
    // The run start's files outside the run files: each false, with its own notice, when it could
    // not be written. project is a folder name under reports, folder below reports for the groups,
    // acquisitionFolder a full path.
    virtual bool WriteProjectSetup(const std::string& project) = 0;
    virtual bool CopyBlankToAcquisition(const std::string& format, const std::string& acquisitionFolder) = 0;
    // The factors of the format from the reference runs into the reference table and the
    // acquisition's factor_correction.txt; NeutralReferenceFactors sets every factor to 1.0.
    virtual bool ComputeInternalReference(const std::string& acquisitionFolder, const std::string& format) = 0;
    virtual void NeutralReferenceFactors() = 0;
    // txt_gain alone, and the camera boxes of the run's first window.
    virtual void ShowGain(int gain) = 0;
    virtual void ShowRunCamera(int camera, int speed, int exposure, int gain) = 0;
    // The autoreference round with the LED powers of ledpower.dat after it; false when the
    // user stopped it.
    virtual bool AutoCalibrateCameras() = 0;
};

}  // namespace tirmo::acquisition
