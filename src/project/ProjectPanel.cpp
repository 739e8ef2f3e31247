// The project column of the main window: the project list, "New" and "Rename", the project's
// set-up file on the run panel's boxes, and the last project at start-up.
#include <filesystem>
#include <system_error>

#include "link/Session.h"
#include "platform/Clock.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "project/LastProject.h"
#include "project/ProjectControls.h"
#include "project/ProjectNames.h"
#include "project/ProjectSetup.h"
#include "project/ProjectState.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"

namespace tirmo::project {
namespace {

constexpr int kNewProjectPauseMs = 10;

int entryOf(const ui::ComboBox& box, const std::string& text)
{
    for (int i = 0; i < box.ListCount(); ++i)
        if (box.List(i) == text) return i;
    return -1;
}

// The format list's text set as the project file gives it, without the handler that asks
// before it changes the plate: the project applies its own format in its own steps.
void message(const std::string& text) { ui::dialogs().messageBox(text); }

}  // namespace

// ---------------------------------------------------------------- set-up file

void ProjectControls::ReadProjectSetup(const std::string& project)
{
    if (runSettings().BlankRun() || project.empty()) return;
    const std::string path = ProjectSetupPath(project);
    if (!platform::FileExists(path)) {
        // The project keeps the window's values; its file starts from the general defaults.
        if (!WriteProjectSetupFile(path, "30", "w96f", "20")) console_.SetStatus(std::string(kSetupWriteError) + ": " + path);
        return;
    }
    const auto values = ReadProjectSetupFile(path);
    // Each line is applied as it is read; the first one missing ends the reading.
    if (!values || values->lines < 1) return message(kSetupReadError);
    if (values->acq_time) runSettings().SetAcquisitionTime(*values->acq_time);
    if (values->lines < 2) return message(kSetupReadError);
    if (values->plate_format) runSettings().SetPlateFormat(*values->plate_format);
    if (values->lines < 3) return message(kSetupReadError);
    if (values->temperature) {
        if (entryOf(*needs_.txttemp, *values->temperature) < 0) return message(kSetupReadError);
        needs_.txttemp->SetText(*values->temperature);  // selects it, with its handler
    }
}

bool ProjectControls::WriteProjectSetup(const std::string& project)
{
    return project::WriteProjectSetup(project, console_.session());
}

// ---------------------------------------------------------------- the project list

void ProjectControls::FillProjectCombo(const std::string& selection, bool apply)
{
    cmb_project->Clear();
    for (const std::string& name : ListProjects()) cmb_project->AddItem(name);
    // Folder names are matched without regard to letter case; the list shows the folder's own.
    const std::string listed = ListedProject(selection);
    const int entry = listed.empty() ? -1 : entryOf(*cmb_project, listed);
    if (entry < 0) return message(kProjectNotListed);
    if (apply)
        cmb_project->SetListIndex(entry);  // applies the project
    else
        cmb_project->setCurrentIndex(entry);  // shown only: the handler runs from SetListIndex alone
    cmb_project->setToolTip(ui::toQString(listed));
}

void ProjectControls::cmb_project_Click()
{
    const std::string chosen = cmb_project->Text();
    // Nothing listed is selected: an empty name would make reports itself the project.
    if (chosen.empty()) return;
    // A recording run takes its plate format and groups from the window: another project's
    // would change them under it. The list goes back to the run's project.
    if (console_.session().run_state == 1 && chosen != current_project) {
        const int running = entryOf(*cmb_project, current_project);
        if (running >= 0) cmb_project->setCurrentIndex(running);
        return message(kChooseDuringRun);
    }
    current_project = chosen;
    cmb_project->setToolTip(ui::toQString(current_project));
    ReadProjectSetup(current_project);
    const std::string format = runSettings().PlateFormat();
    if (!format.empty()) needs_.use_format(format);
    needs_.load_groups(current_project);
    needs_.redraw_wells();
    ShowBlankOf(plate_.current_format);
}

// ---------------------------------------------------------------- New and Rename

void ProjectControls::cmd_loadpj_Click()
{
    const std::string answer = ui::dialogs().inputBox(kNewProjectPrompt, kNewProjectTitle, "");
    switch (CheckProjectNameLength(answer)) {
    case NameLength::Empty: return;
    case NameLength::TooShort: return message(kNameTooShort);
    case NameLength::TooLong: return message(kNameTooLong);
    case NameLength::Fine: break;
    }
    if (const std::string notice = platform::SafeNameNotice(answer); !notice.empty()) message(notice);
    const std::string name = NewProjectName(platform::WallNow(), answer);
    // A project of that name made the same day is used as it is; a folder that cannot be made
    // shows in the set-up write, and the current project stays.
    platform::MakeFolder(ProjectFolder(name));
    if (!WriteProjectSetup(name)) return;
    current_project = name;
    plate::SaveWellGroups(plate_.groups, name, console_);
    platform::Sleep(kNewProjectPauseMs);
    FillProjectCombo(name);
}

void ProjectControls::cmd_renpj_Click()
{
    const std::string old = cmb_project->Text();
    if (!IsDatedProject(old)) return;  // only what "New" made is renamed
    // A running acquisition appends to its folder inside the project until it ends: moving the
    // project would lose the rest of the run.
    if (console_.session().run_state == 1) return message(kRenameDuringRun);
    const std::string answer = ui::dialogs().inputBox(kRenamePrompt, kRenameTitle, RenameOffer(old));
    if (answer.empty()) return;
    if (const std::string notice = platform::SafeNameNotice(answer); !notice.empty()) message(notice);
    const std::string renamed = RenamedProject(old, answer);
    const std::string from = ProjectFolder(old);
    const std::string to = ProjectFolder(renamed);
    // The same folder, whatever the letter case: nothing to rename.
    if (to == from) return;
    std::error_code ec;
    if (std::filesystem::exists(to, ec)) return message("A project named " + renamed + " already exists");
    std::filesystem::rename(from, to, ec);
    if (ec) return message("Project " + old + " could not be renamed: " + ec.message());
    FillProjectCombo(renamed);
}

}  // namespace tirmo::project
