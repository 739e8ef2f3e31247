#pragma once
// The main window as the acquisition run shows itself on it: the pictures, buttons, indicators
// and panels of the window's subsystems. When a subsystem's controls move, only this adapter
// follows them.
#include "acquisition/RunWindow.h"

namespace tirmo::app {

class Frm_acquire;

class RunWindowAdapter : public acquisition::RunWindow {
public:
    explicit RunWindowAdapter(Frm_acquire& window) : w_(window) {}

    void MarkCameraButton(int camera) override;
    void ClearRealtimePicture() override;
    void DrawPlateWells(int camera, int window) override;
    void DrawPlateActivity(plate::WindowActivity run, int camera, int window, int mode) override;
    void ShowPulseIndicator(const std::string& caption, uint32_t fill) override;

    void ShowTransferTrace(const std::string& caption, bool matches) override;
    void ShowLiveFrame(int camera, int window, const std::string& frame, const std::string& difference,
                       bool hasDifference, long frameCounter) override;
    void ShowElapsedTime(const std::string& text) override;
    void ShowThermostatStep(const thermal::ThermostatStepResult& step) override;
    void DrawActivityChart(int camera, int window) override;
    void UnlockPulseFields() override;
    void ResetTemperatureBox() override;
    void UnlockRunBoxes() override;
    void ShowRunPanelsAfterError() override;
    void ShowBlankOf(const std::string& format) override;
    // The run's end opens the report panel on the run.
    void OpenRunReport() override;

    void FocusAcquisitionTime() override;
    void FocusPlateFormat() override;
    void EnablePlateFormat(bool enabled) override;
    void HideSidePanels() override;
    void ShowGroupPanel(bool shown) override;
    void ClearRunPictures() override;
    void SetPlateViewShown(bool shown) override;
    void DrawPlateLayout(const std::string& format) override;
    void RedrawAllWells() override;
    void ResetTemperatureIndicator() override;

private:
    Frm_acquire& w_;
};

}  // namespace tirmo::app
