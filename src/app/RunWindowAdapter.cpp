#include "app/RunWindowAdapter.h"

#include "app/Frm_acquire.h"
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
}  // namespace

void RunWindowAdapter::MarkCameraButton(int camera)
{
    for (ui::CommandButton* b : w_.camera->cmd_camselect) b->SetBackColor(camera::kCameraButton);
    if (camera >= 0 && size_t(camera) < w_.camera->cmd_camselect.size()) w_.camera->cmd_camselect[size_t(camera)]->SetBackColor(kRunCameraButton);
    for (ui::CommandButton* b : w_.camera->cmd_camselect) b->Refresh();
}

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

void RunWindowAdapter::DrawActivityChart(int camera, int window) { w_.plate->DrawActivityChart(camera, window); }

void RunWindowAdapter::UnlockPulseFields()
{
    for (ui::TextBox* box : {w_.lighting->txt_pulseoff, w_.lighting->txt_pulseon, w_.lighting->txt_pulsetimes})
        box->setReadOnly(false);
}

void RunWindowAdapter::ResetTemperatureBox() { w_.thermal->ShowTemperatureControlOff(); }

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

void RunWindowAdapter::ShowBlankOf(const std::string& format) { w_.project->ShowBlankOf(format); }

void RunWindowAdapter::OpenRunReport() { w_.report->cmdreport_Click(); }

// ---------------------------------------------------------------- Play button and run start

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

void RunWindowAdapter::ResetTemperatureIndicator()
{
    w_.thermal->chk_temp->SetCaption("Temperature");
    w_.thermal->Shape_temp->SetFillColor(0xFFFFFF);
}

}  // namespace tirmo::app
