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
    std::string AcquisitionTimeText() const override;
    void ShowRunSettings(int speed, int exposure) override;
    void MarkCameraButton(int camera) override;
    void ShowWindowBoxes(const acquisition::CameraWindowGeometry& window) override;
    void ApplyCameraSettings() override;
    void ClearRealtimePicture() override;
    void DrawPlateWells(int camera, int window) override;
    void DrawPlateActivity(plate::WindowActivity run, int camera, int window, int mode) override;
    void SendLightPulse(int level) override;
    acquisition::PulseBoxes PulseBoxTexts() const override;
    lighting::PulseState PulseState() override;
    bool CameraInUse(int camera) const override;
    std::span<const double> ReferenceFactors() const override;
    bool SaveRawData() const override { return false; }

    std::string PlateFormat() const override;
    std::string FetchFrame(int camera, int window) override;
    void ReadCameraActivity(int camera) override;
    void ShowLiveFrame(int camera, int window, const std::string& frame, const std::string& difference,
                       bool hasDifference, long frameCounter) override;
    void ShowElapsedTime(const std::string& text) override;
    double ThermostatStep() override;
    void SelectCamera(int camera) override;
    void ShowRunExposure(int exposure, int gain) override;
    void DrawActivityChart(int camera, int window) override;
    void SetPlayCaption(const std::string& caption) override;
    void StopTemperatureTimer() override;
    void PeltierOff() override;
    void SetFan(int level) override;
    void UnlockPulseFields() override;
    void ResetTemperatureBox() override;
    void UnlockRunBoxes() override;
    void ShowRunPanelsAfterError() override;
    bool BlankRun() const override;
    void ClearBlankRun() override;
    void SaveBlankMeasurement(const std::string& folder, const std::string& format, double minutes) override;
    void OpenRunReport() override;

private:
    Frm_acquire& w_;
};

}  // namespace tirmo::app
