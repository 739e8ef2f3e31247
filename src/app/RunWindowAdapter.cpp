#include "app/RunWindowAdapter.h"

#include <algorithm>

#include "app/Frm_acquire.h"
#include "project/BlankStore.h"
#include "project/InternalReference.h"
#include "project/ProjectSetup.h"
#include "ui/Colour.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/PictureBox.h"
#include "ui/Shape.h"
#include "ui/Timer.h"

namespace tirmo::app {

namespace {
constexpr uint32_t kRunCameraButton = 0x808080;

void Show(ui::TextBox* box, int value)
{
    box->SetText(std::to_string(value));
    box->Refresh();
}
}  // namespace

acquisition::RunGeometry RunWindowAdapter::ReadPlateGeometry()
{
    const std::string format = w_.session().run_settings.PlateFormat();
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


void RunWindowAdapter::ShowRunSettings(int speed, int exposure)
{
    Show(w_.camera->txt_speed, speed);
    Show(w_.camera->txt_exposure, exposure);
}

void RunWindowAdapter::MarkCameraButton(int camera)
{
    for (ui::CommandButton* b : w_.camera->cmd_camselect) b->SetBackColor(camera::kCameraButton);
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
    run.blank_run = w_.session().run_settings.BlankRun() ? -1 : 0;
    run.reference_factor = &w_.project->reference_factor;
    w_.plate->plate_map->DrawPlateActivity(run, camera, window, mode, w_.session().run_settings.PlateFormat(), w_.plate->cmb_formatplate->Text());
}

void RunWindowAdapter::ShowPulseIndicator(const std::string& caption, uint32_t fill)
{
    w_.lighting->Chk_lenabled->SetCaption(caption);
    w_.lighting->Shape_light->SetFillColor(fill);
}

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


std::span<const double> RunWindowAdapter::ReferenceFactors() const { return w_.project->reference_factor; }


void RunWindowAdapter::ShowTransferTrace(const std::string& caption, bool matches)
{
    w_.lbl_lenrx->SetForeColor(matches ? ui::colour::Black : ui::colour::Red);
    w_.lbl_lenrx->SetCaption(caption);
    w_.lbl_lenrx->Refresh();
}

void RunWindowAdapter::ShowLiveFrame(int camera, int window, const std::string& frame, const std::string& difference,
                                     bool hasDifference, long frameCounter)
{
    // Both pictures are drawn anew on every frame, so a hidden window (minimised, or a run
    // driven without a screen) loses nothing by not drawing them; the drawing is most of a
    // frame's time.
    if (!w_.isVisible()) return;
    w_.camera->DrawLiveActivity(camera, window, frame, difference, hasDifference ? 1 : 0);
    w_.camera->ClearRealtimeBar(int(frameCounter));
}

void RunWindowAdapter::ShowElapsedTime(const std::string& text)
{
    w_.containers.txt_timepass->SetText(text);
    w_.containers.txt_timepass->Refresh();
}

void RunWindowAdapter::ShowThermostatStep(const thermal::ThermostatStepResult& step)
{
    w_.thermal->ShowThermostatStep(step);
}

void RunWindowAdapter::ShowCamera(int camera) { Show(w_.camera->txt_cam, camera); }

void RunWindowAdapter::ShowRunExposure(int exposure, int gain)
{
    Show(w_.camera->txt_exposure, exposure);
    Show(w_.camera->txt_gain, gain);
}

void RunWindowAdapter::DrawActivityChart(int camera, int window) { w_.plate->DrawActivityChart(camera, window); }

void RunWindowAdapter::UnlockPulseFields()
{
    for (ui::TextBox* box : {w_.lighting->txt_pulseoff, w_.lighting->txt_pulseon, w_.lighting->txt_pulsetimes})
        box->setReadOnly(false);
}

void RunWindowAdapter::ResetTemperatureBox()
{
    thermal::ThermalControls& t = *w_.thermal;
    t.chk_temp->SetCaption("Temperature");
    t.chk_temp->SetValue(0);
    t.Shape_temp->SetFillColor(0xFFFFFF);
}

void RunWindowAdapter::UnlockRunBoxes()
{
    w_.txtlapse->setReadOnly(false);
    w_.cmb_well->setEnabled(true);
}

void RunWindowAdapter::ShowRunPanelsAfterError()
{
    w_.containers.frame_group->setVisible(true);
    w_.cmb_well->setEnabled(true);
    w_.camera->Picact2->setVisible(false);
}


void RunWindowAdapter::SaveBlankMeasurement(const std::string& folder, const std::string& format, double minutes)
{
    w_.project->SaveBlankRun(folder, format, minutes);
}


void RunWindowAdapter::OpenRunReport() { w_.report->cmdreport_Click(); }

// ---------------------------------------------------------------- Play button and run start

namespace {
project::CorrectionNotices WindowNotices(Frm_acquire& w)
{
    project::CorrectionNotices notices;
    notices.message = [](const std::string& text) { ui::dialogs().messageBox(text); };
    notices.status = [&w](const std::string& text) { w.SetStatus(text); };
    return notices;
}
}  // namespace

std::string RunWindowAdapter::CurrentFormat() const { return w_.plate->current_format; }

std::string RunWindowAdapter::CurrentProject() const { return w_.project->current_project; }


void RunWindowAdapter::FocusAcquisitionTime() { w_.txtlapse->setFocus(); }

void RunWindowAdapter::FocusPlateFormat() { w_.cmb_well->setFocus(); }

void RunWindowAdapter::EnablePlateFormat(bool enabled) { w_.cmb_well->setEnabled(enabled); }

void RunWindowAdapter::HideSidePanels()
{
    w_.containers.frame_offline->setVisible(false);
    w_.containers.frm_calibrate->setVisible(false);
}

void RunWindowAdapter::ShowGroupPanel(bool shown)
{
    w_.containers.frame_group->setVisible(shown);
    w_.camera->Picact2->setVisible(!shown);
    w_.camera->Picact2->repaint();
}

void RunWindowAdapter::ClearRunPictures()
{
    w_.camera->Picact2->Cls();
    w_.camera->Picrealtime->Cls();
}

void RunWindowAdapter::SetPlateViewShown(bool shown) { w_.camera->plate_view_shown = shown; }

void RunWindowAdapter::DrawPlateLayout(const std::string& format) { w_.plate->DrawPlateLayout(format); }

void RunWindowAdapter::RedrawAllWells() { w_.plate->RedrawAllWells(); }

void RunWindowAdapter::RedrawPlateOfPlateFormat()
{
    plate::PlateControls& p = *w_.plate;
    p.current_format = w_.session().run_settings.PlateFormat();
    p.DrawPlateLayout(p.current_format);
    p.ReadPlateSpec(p.current_format);
    p.RedrawAllWells();
}

void RunWindowAdapter::ReloadProject() { w_.project->cmb_project_Click(); }

void RunWindowAdapter::ResetTemperatureIndicator()
{
    w_.thermal->chk_temp->SetCaption("Temperature");
    w_.thermal->Shape_temp->SetFillColor(0xFFFFFF);
}

bool RunWindowAdapter::HasInternalReference(const std::string& format) const
{
    return project::HasInternalReference(format, w_.session().serial_number) == 1;
}

std::string RunWindowAdapter::ReferenceProjectName() const
{
    return "_internal_reference" + project::SerialTag(w_.session().serial_number);
}

bool RunWindowAdapter::WriteProjectSetup(const std::string& project) { return w_.project->WriteProjectSetup(project); }

bool RunWindowAdapter::CopyBlankToAcquisition(const std::string& format, const std::string& acquisitionFolder)
{
    project::ProjectControls& p = *w_.project;
    project::BlankTables tables;
    const project::BlankCopy copy =
        project::CopyBlankToAcquisition(format, acquisitionFolder, w_.session().serial_number, tables, WindowNotices(w_));
    std::copy_n(tables.values.begin(), std::min(tables.values.size(), p.blank_values.size()), p.blank_values.begin());
    p.blank_lapse = tables.lapse;
    return copy.written;
}

bool RunWindowAdapter::ComputeInternalReference(const std::string& acquisitionFolder, const std::string& format)
{
    std::string folder = acquisitionFolder;
    std::vector<double>& table = w_.project->reference_factor;
    project::ReferenceFactors factors = project::NeutralFactors();
    std::copy_n(table.begin(), std::min(factors.size(), table.size()), factors.begin());
    const project::InternalReferenceResult result =
        project::ComputeInternalReference(folder, format, w_.session().serial_number, false, factors, WindowNotices(w_));
    std::copy_n(factors.begin(), std::min(factors.size(), table.size()), table.begin());
    return result.write == project::FactorWrite::Written;
}

void RunWindowAdapter::NeutralReferenceFactors()
{
    std::vector<double>& f = w_.project->reference_factor;
    std::fill(f.begin(), f.begin() + std::min<size_t>(f.size(), 384), 1.0);
}

void RunWindowAdapter::ShowGain(int gain) { Show(w_.camera->txt_gain, gain); }

void RunWindowAdapter::ShowRunCamera(int camera, int speed, int exposure, int gain)
{
    Show(w_.camera->txt_cam, camera);
    Show(w_.camera->txt_speed, speed);
    Show(w_.camera->txt_exposure, exposure);
    Show(w_.camera->txt_gain, gain);
}

bool RunWindowAdapter::AutoCalibrateCameras() { return w_.autoref->AutoCalibrateCameras(); }

}  // namespace tirmo::app
