#include "app/RunWindowAdapter.h"

#include "app/Frm_acquire.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/PictureBox.h"

namespace tirmo::app {

namespace {
constexpr uint32_t kCameraButton = 0xFFFFFF;
constexpr uint32_t kRunCameraButton = 0x808080;

void Show(ui::TextBox* box, int value)
{
    box->SetText(std::to_string(value));
    box->Refresh();
}
}  // namespace

acquisition::RunGeometry RunWindowAdapter::ReadPlateGeometry()
{
    const std::string format = w_.cmb_well->Text();
    w_.plate->ReadPlateSpec(format);
    w_.plate->ReadFormatFiles(format);
    acquisition::RunGeometry g;
    g.well_table = w_.plate->well_table;
    g.column_bands = w_.plate->column_bands;
    g.row_bands = w_.plate->row_bands;
    g.column_band_label = w_.plate->column_labels;
    g.row_band_label = w_.plate->row_labels;
    return g;
}

std::string RunWindowAdapter::AcquisitionTimeText() const { return w_.txtlapse->Text(); }

void RunWindowAdapter::ShowRunSettings(int speed, int exposure)
{
    Show(w_.camera->txt_speed, speed);
    Show(w_.camera->txt_exposure, exposure);
}

void RunWindowAdapter::MarkCameraButton(int camera)
{
    for (ui::CommandButton* b : w_.camera->cmd_camselect) b->SetBackColor(kCameraButton);
    if (camera >= 0 && size_t(camera) < w_.camera->cmd_camselect.size()) w_.camera->cmd_camselect[size_t(camera)]->SetBackColor(kRunCameraButton);
    for (ui::CommandButton* b : w_.camera->cmd_camselect) b->Refresh();
}

void RunWindowAdapter::ShowWindowBoxes(const acquisition::CameraWindowGeometry& g)
{
    Show(w_.camera->txt_xini, g.xini);
    Show(w_.camera->txt_xfin, g.xfin);
    Show(w_.camera->txt_yini, g.yini);
    Show(w_.camera->txt_yfin, g.yfin);
    Show(w_.camera->txt_lines, g.lines);
    Show(w_.camera->txt_pix, g.pix);
}

void RunWindowAdapter::ApplyCameraSettings() { w_.camera->ApplyCameraSettings(); }

void RunWindowAdapter::ClearRealtimePicture() { w_.camera->Picrealtime->Cls(); }

void RunWindowAdapter::DrawPlateWells(int camera, int window) { w_.plate->DrawPlateWells(camera, window); }

void RunWindowAdapter::DrawPlateActivity(plate::WindowActivity run, int camera, int window, int mode)
{
    run.blank_values = &w_.project->blank_values;
    run.blank_lapse = w_.project->blank_lapse;
    run.blank_run = w_.project->blank_run;
    run.reference_factor = &w_.project->reference_factor;
    w_.plate->plate_map->DrawPlateActivity(run, camera, window, mode, w_.cmb_well->Text(), w_.plate->cmb_formatplate->Text());
}

void RunWindowAdapter::SendLightPulse(int level) { w_.lighting->SendLightPulse(level); }

acquisition::PulseBoxes RunWindowAdapter::PulseBoxTexts() const
{
    const lighting::LightControls& l = *w_.lighting;
    return {l.Chk_lenabled->Value() == 1, l.txt_pulsetimes->Text(), l.txt_pulseon->Text(), l.txt_pulseoff->Text(),
            l.txt_power->Text()};
}

lighting::PulseState RunWindowAdapter::PulseState()
{
    lighting::LightControls& l = *w_.lighting;
    return {l.pulse_on, l.pulse_end, l.pulse_countdown};
}

bool RunWindowAdapter::CameraInUse(int camera) const
{
    return camera >= 0 && size_t(camera) < w_.camera_in_use.size() && w_.camera_in_use[size_t(camera)];
}

double RunWindowAdapter::StageTemperature() const { return w_.thermal->stage.last_temperature; }

std::span<const double> RunWindowAdapter::ReferenceFactors() const { return w_.project->reference_factor; }

}  // namespace tirmo::app
