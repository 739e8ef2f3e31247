#pragma once
// The main window as the acquisition run sees it: the run object's one way into the window's
// plate tables, camera boxes and pictures, light panel, stage and project. When a subsystem's
// controls move, only this adapter follows them.
#include "acquisition/RunWindow.h"

namespace tirmo::app {

class Frm_acquire;

class RunWindowAdapter : public acquisition::RunWindow {
public:
    explicit RunWindowAdapter(Frm_acquire& window) : w_(window) {}

    acquisition::RunGeometry ReadPlateGeometry() override;
    void ShowRunSettings(int speed, int exposure) override;
    void MarkCameraButton(int camera) override;
    void ShowWindowBoxes(const acquisition::CameraWindowGeometry& window) override;
    void ApplyCameraSettings() override;
    void ClearRealtimePicture() override;
    void DrawPlateWells(int camera, int window) override;
    void DrawPlateActivity(plate::WindowActivity run, int camera, int window, int mode) override;
    void ShowPulseIndicator(const std::string& caption, uint32_t fill) override;
    acquisition::PulseBoxes PulseBoxTexts() const override;
    lighting::PulseState PulseState() override;
    std::span<const double> ReferenceFactors() const override;

    void ShowTransferTrace(const std::string& caption, bool matches) override;
    void ShowLiveFrame(int camera, int window, const std::string& frame, const std::string& difference,
                       bool hasDifference, long frameCounter) override;
    void ShowElapsedTime(const std::string& text) override;
    void ShowThermostatStep(const thermal::ThermostatStepResult& step) override;
    void ShowCamera(int camera) override;
    void ShowRunExposure(int exposure, int gain) override;
    void DrawActivityChart(int camera, int window) override;
    void UnlockPulseFields() override;
    void ResetTemperatureBox() override;
    void UnlockRunBoxes() override;
    void ShowRunPanelsAfterError() override;
    void SaveBlankMeasurement(const std::string& folder, const std::string& format, double minutes) override;
    // The run's end opens the report panel on the run.
    void OpenRunReport() override;

    std::string CurrentFormat() const override;
    std::string CurrentProject() const override;
    void FocusAcquisitionTime() override;
    void FocusPlateFormat() override;
    void EnablePlateFormat(bool enabled) override;
    void HideSidePanels() override;
    void ShowGroupPanel(bool shown) override;
    void ClearRunPictures() override;
    void SetPlateViewShown(bool shown) override;
    void DrawPlateLayout(const std::string& format) override;
    void RedrawAllWells() override;
    void RedrawPlateOfPlateFormat() override;
    void ReloadProject() override;
    void ResetTemperatureIndicator() override;
    bool HasInternalReference(const std::string& format) const override;
    std::string ReferenceProjectName() const override;
    bool WriteProjectSetup(const std::string& project) override;
    bool CopyBlankToAcquisition(const std::string& format, const std::string& acquisitionFolder) override;
    bool ComputeInternalReference(const std::string& acquisitionFolder, const std::string& format) override;
    void NeutralReferenceFactors() override;
    void ShowGain(int gain) override;
    void ShowRunCamera(int camera, int speed, int exposure, int gain) override;
    bool AutoCalibrateCameras() override;

private:
    Frm_acquire& w_;
};

}  // namespace tirmo::app
