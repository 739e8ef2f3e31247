#pragma once
// What the main window shows of the autoreference round (the calibration frame with its label
// and the progress bar on Picrealtime, the camera buttons, the plate map and the grid of the
// wells it centres on, the transfer trace), and its well-position calibration entry: the
// "Calibrate position" menu entry that opens the well calibration panel on camera 0. The round
// itself is the run's (acquisition::RunAutoReference).
#include <QObject>

#include <string>
#include <vector>

#include "acquisition/RunAutoReference.h"
#include "ui/Forward.h"

class QAction;

namespace tirmo::app {

class Frm_acquire;

// Refused during a run: the run's camera windows and its closing steps belong to the run.
inline constexpr const char* kCalibrateDuringRun =
    "Acquisition in progress: stop the run before calibrating the well positions";

class AutoReferenceWindow : public QObject, public acquisition::AutoReferenceView {
    Q_OBJECT
public:
    AutoReferenceWindow(Frm_acquire& window, QWidget* calibrationFrame, QAction* calibratePosition);

    // "Calibrate position": the well calibration panel for the format in cmb_well, on camera 0.
    void mncalibratewell_Click();

    ui::Label* lbl_autocalibra = nullptr;
    QAction* mncalibratewell = nullptr;

    // AutoReferenceView on the window.
    void ShowRoundPanel() override;
    void HideRoundPanel() override;
    void MarkRoundCamera(int camera) override;
    void DrawPlateLayout(const std::string& format) override;
    void ShowRoundLabel(const std::string& text) override;
    void ShowProgress(double percent) override;
    void ShowGrabTrace(const std::string& trace) override;
    void DrawCalibrationDots(const std::vector<lighting::GridDot>& dots) override;

private:
    Frm_acquire& w_;
    QWidget* frame_ = nullptr;  // frm_calibrate
};

}  // namespace tirmo::app
