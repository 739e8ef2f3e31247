// The main window's wiring of the project panel and the blank frame to the plate, the run
// panel's boxes, the temperature list and the run start.
#include "app/Frm_acquire.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"

namespace tirmo::app {

project::ProjectNeeds Frm_acquire::NeedsOfProject()
{
    project::ProjectNeeds needs;
    needs.txttemp = thermal->txttemp;
    needs.use_format = [this](const std::string& format) {
        plate->current_format = format;
        plate->DrawPlateLayout(format);
        plate->ReadPlateSpec(format);
        // The band editor follows without asking: its format is now the one in use.
        plate->cmb_formatplate->SetText(format);
        plate->BuildGroupOptionMenu();
    };
    needs.load_groups = [this](const std::string& project) {
        plate->LoadWellGroups(project);
        plate->BuildGroupList(0);
    };
    needs.redraw_wells = [this] { plate->RedrawAllWells(); };
    needs.blank_menu = mndelblank_top;
    needs.delete_blank = mndelblank;
    needs.lock_run_boxes = [this](bool locked) {
        txtlapse->setReadOnly(locked);
        cmb_well->setEnabled(!locked);
    };
    // A blank run is started from the name frame's boxes, as a run from the Play button is.
    needs.set_run_names = [this](const std::string& acquisition, const std::string& project) {
        run->txt_acqname->SetText(acquisition);
        run->txt_pjname->SetText(project);
    };
    needs.clear_stop_request = [this] { run->stop_requested = false; };
    needs.start_run = [this] { run->cmd_playacq_Click(); };
    return needs;
}

}  // namespace tirmo::app
