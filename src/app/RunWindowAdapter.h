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
    double StageTemperature() const override;
    std::span<const double> ReferenceFactors() const override;
    bool SaveRawData() const override { return false; }

private:
    Frm_acquire& w_;
};

}  // namespace tirmo::app
