#pragma once
// What the run shows on the main window: the select buttons, the live strip and the plate map,
// the pulse and temperature indicators, the transfer trace, the elapsed time and the panels and
// boxes it shows, hides, locks and unlocks. Drawing and showing only: what the run reads and
// changes is shared state (the session's run and camera settings, the plate and the project) and
// what it sends goes through the link. One adapter in the main window implements it.
#include <cstdint>
#include <string>

#include "plate/PlateMap.h"
#include "thermal/TemperatureControl.h"

namespace tirmo::acquisition {

class RunWindow {
public:
    virtual ~RunWindow() = default;

    // ---- camera window set-up
    // Select buttons white, the chosen camera's grey, all redrawn.
    virtual void MarkCameraButton(int camera) = 0;
    virtual void ClearRealtimePicture() = 0;
    virtual void DrawPlateWells(int camera, int window) = 0;

    // ---- window completion
    // The activity drawing of the plate map; the window adds its blank and reference factors.
    virtual void DrawPlateActivity(plate::WindowActivity run, int camera, int window, int mode) = 0;
    // The pulse indicator: Chk_lenabled's caption and Shape_light's fill.
    virtual void ShowPulseIndicator(const std::string& caption, uint32_t fill) = 0;

    // ---- acquisition tick
    // Each attempt of a frame transfer: its trace, black when the check byte matched, else red.
    virtual void ShowTransferTrace(const std::string& caption, bool matches) = 0;
    // The live picture of a good frame and the progress bar's slot.
    virtual void ShowLiveFrame(int camera, int window, const std::string& frame, const std::string& difference,
                               bool hasDifference, long frameCounter) = 0;
    virtual void ShowElapsedTime(const std::string& text) = 0;
    // What a thermostat step read and decided, in the temperature boxes and the indicator.
    virtual void ShowThermostatStep(const thermal::ThermostatStepResult& step) = 0;
    virtual void DrawActivityChart(int camera, int window) = 0;

    // ---- run end and stop
    // txt_pulseoff, txt_pulseon and txt_pulsetimes editable again.
    virtual void UnlockPulseFields() = 0;
    // chk_temp captioned "Temperature" and unticked (its handler left alone: the run switched
    // the control off), the indicator white.
    virtual void ResetTemperatureBox() = 0;
    // txtlapse and cmb_well editable again.
    virtual void UnlockRunBoxes() = 0;
    // After a communication error: the group frame shown, cmb_well enabled, Picact2 hidden.
    virtual void ShowRunPanelsAfterError() = 0;
    // The run panel's blank labels for the blank of format, now in use.
    virtual void ShowBlankOf(const std::string& format) = 0;
    // The report panel for the run just finished.
    virtual void OpenRunReport() = 0;

    // ---- Play button and run start
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
    // chk_temp captioned "Temperature" (its value left) and the indicator white.
    virtual void ResetTemperatureIndicator() = 0;
};

}  // namespace tirmo::acquisition
