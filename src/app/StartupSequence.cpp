// The load handler: the whole start-up of the program, in one pass and in a fixed order. The
// search for the instrument (StartupConnection.cpp) comes first; then the folder tree, the first
// start's calibration download, the status line, the generation defaults, the window's fixed
// lists, the default and last project, the plate, the groups, the default files, the
// temperature calibration, the layout, and last the stage at rest.
#include <QFont>
#include <QGroupBox>
#include <QListWidget>
#include <QVBoxLayout>

#include "platform/ConfigFiles.h"
#include "app/Frm_acquire.h"
#include "devicememory/CalibrationInstall.h"
#include "devicememory/LinkFlashPort.h"
#include "plate/PlateSpecFile.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "project/LastProject.h"
#include "project/ProjectNames.h"
#include "project/ProjectSetup.h"
#include "thermal/ThermalControls.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Make.h"
#include "ui/PictureBox.h"

namespace tirmo::app {
namespace {

constexpr int kOfflineSerialPoints = 12;
constexpr int kSerialPoints = 16;

// Why the program folder cannot hold what the program keeps there; "" when it can. A folder
// that exists but refuses new files fails as surely as one that cannot be made, so a file is
// tried as well (the writer discards it unless committed).
std::string programFolderProblem()
{
    const std::string reports = platform::ProgramPath("reports");
    if (!platform::MakeFolder(platform::ProgramFolder()) || !platform::MakeFolder(reports))
        return "The program folder " + platform::ProgramFolder() + " cannot be written";
    platform::TextFileWriter probe(platform::ProgramPath("reports/write_test.tmp"));
    if (!probe.ok()) return "The program folder " + platform::ProgramFolder() + " cannot be written";
    return {};
}

// A last-project name that names a folder directly under reports.
bool isProjectName(const std::string& name)
{
    if (name.empty() || name == "." || name == "..") return false;
    return name.find_first_of("/\\") == std::string::npos;
}

void fill(ui::ComboBox* box, const std::vector<std::string>& items)
{
    box->Clear();
    for (const std::string& item : items) box->AddItem(item);
}

void fill(QListWidget* list, const std::vector<std::string>& items)
{
    list->clear();
    for (const std::string& item : items) list->addItem(QString::fromStdString(item));
    list->setCurrentRow(0);
}

std::vector<std::string> rowLetters() { return {"A", "B", "C", "D", "E", "F", "G", "H"}; }

}  // namespace

void Frm_acquire::buildStartupLists()
{
    // Nothing shows the well and channel lists or the two mode lists: they stay among the
    // hidden controls. The mask tools' well boxes belong in their frame on the live picture.
    auto* hiddenColumn = static_cast<QVBoxLayout*>(hidden_controls->layout());
    lstwell = new QListWidget(hidden_controls);
    lstwell->setObjectName("lstwell");
    lstchannel = new QListWidget(hidden_controls);
    lstchannel->setObjectName("lstchannel");
    cmb_mode = ui::MakeComboBox(hidden_controls, "cmb_mode");
    cmb_acqmode = ui::MakeComboBox(hidden_controls, "cmb_acqmode");
    for (QWidget* w : std::initializer_list<QWidget*>{lstwell, lstchannel, cmb_mode, cmb_acqmode})
        hiddenColumn->addWidget(w);

    QWidget* select = containers.Frame_select ? containers.Frame_select : hidden_controls;
    cmb_set1 = ui::MakeComboBox(select, "cmb_set1");
    cmb_set2 = ui::MakeComboBox(select, "cmb_set2");
    cmb_set1->move(10, 30);
    cmb_set2->move(80, 30);
}

std::string Frm_acquire::PrepareInstrument()
{
    const int serial = session().serial_number;
    if (offline_mode || serial <= 0) return {};
    const devicememory::InstrumentFolders folders = devicememory::PrepareInstrumentFolders(serial);
    // A report folder that could not be made does not hold the restore back: the instrument's
    // folder exists from now on, so this is the only start that reads its memory.
    if (!folders.firstStart) return folders.problem;

    devicememory::LinkFlashPort port(*this, [this](const std::string& length) { lbl_lenrx->SetCaption(length); });
    devicememory::MemoryNotices notices;
    notices.status = [this](const std::string& text) { SetStatus(text); };
    notices.message = [](const std::string& text) { ui::dialogs().messageBox(text); };
    const devicememory::CalibrationDownload download = devicememory::DownloadCalibration(port, serial, notices);
    // The folder now exists, so no later start reads the memory again: what was not restored
    // must stay in sight after the status line has been written.
    std::string tail = folders.problem;
    auto add = [&tail](const std::string& part) {
        if (!part.empty()) tail += (tail.empty() ? "" : "; ") + part;
    };
    add(download.Text());
    for (const std::string& note : download.notes) add(note);
    return tail;
}

void Frm_acquire::Form_Load()
{
    // A clean session; the working panels and the monitor stay hidden until the end.
    session().run_state = 0;
    session().dummy_mode = 0;
    session().run_settings.SetBlankRun(false);
    session().acquisition_folder = platform::ProgramFolder();
    for (QWidget* w : std::initializer_list<QWidget*>{containers.frame_main, containers.Frame_menu, containers.lblrx,
                                                      lbl_lenrx, txt_in})
        if (w) w->hide();

    // Everything the program keeps lives in its folder: without it the program would lose its
    // settings, calibration and measurements without a word, so it says so and ends before it
    // touches the instrument.
    if (const std::string problem = programFolderProblem(); !problem.empty()) {
        ui::dialogs().messageBox(problem + ". The program keeps its settings, calibration and measurements there"
                                           " and cannot run without it; start it with --folder and a writable folder."
                                           " The program will close.");
        Form_Unload();
        close();
        return;
    }
    // Half-written files of a program that was killed would only take up the disk.
    platform::RemoveLeftoverTemporaries(platform::ProgramFolder());

    // The instrument search. Closed (or stopped by a signal) during it: the shutdown has left
    // the instrument at rest, and the start-up must not wake it again.
    ConnectDevice();
    if (unloaded) return;

    // The folder tree; the first start with an instrument reads its calibration sets.
    platform::MakeFolder(platform::ProgramPath("reports"));
    platform::MakeFolder(platform::ProgramPath("config"));
    const std::string notRestored = PrepareInstrument();
    if (unloaded) return;

    // The status line and the serial number label.
    if (offline_mode)
        SetStatus("Offline Mode");
    else if (instrument_answered)
        SetStatus("OK. Connected to TIRMO SN" + std::to_string(session().serial_number) +
                  (notRestored.empty() ? "" : ". " + notRestored));
    else  // a typed port that opened: the link is kept, but nothing confirmed an instrument on it
        SetStatus("COM" + std::to_string(session().port_slot) + " open, but the instrument did not answer (SN" +
                  std::to_string(session().serial_number) + ")");
    ui::Label* serialLabel = containers.lbl_myserial;
    QFont serialFont = serialLabel->font();
    serialFont.setPointSize(offline_mode ? kOfflineSerialPoints : kSerialPoints);
    serialLabel->setFont(serialFont);
    serialLabel->SetCaption(offline_mode ? "Offline" : "SN" + std::to_string(session().serial_number));
    // The layout gives the label its width; its height leaves the text clear of the frame's
    // border just above it.
    serialLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    serialLabel->resize(serialLabel->sizeHint().width(), serialLabel->fontMetrics().height() + 8);
    serialLabel->show();

    // Generation and camera defaults.
    link::ApplyInstrumentDefaults(session());
    camera->txt_gain->SetText(std::to_string(session().default_gain));
    camera->txt_exposure->SetText(std::to_string(session().default_exposure));
    instrument.stage.analog_stage = session().hardware_generation == 1;

    // The well list; the set-point list keeps the 20 to 37 it was made with.
    std::vector<std::string> wells;
    for (const std::string& row : rowLetters())
        for (int column = 0; column < 12; ++column) wells.push_back(row + std::to_string(column));
    fill(lstwell, wells);

    // The default project, with its set-up only when it is new.
    if (!project::CreateDefaultProject()) SetStatus("Could not write reports/default_project/pjsetup.dat");

    // The camera mask; the camera entries' check marks follow it.
    ReadCameraMask(platform::CameraMaskPath(session().serial_number));

    // The last project, or the default one when its folder is gone.
    std::string last = project::LoadLastProject(session().serial_number);
    if (!isProjectName(last) || !platform::FolderExists(project::ProjectFolder(last))) {
        ui::dialogs().messageBox(project::kLastProjectMissing);
        if (unloaded) return;
        last = project::kDefaultProject;
    }
    // The list shows the last project; the end of the start-up applies it.
    project->FillProjectCombo(last, false);
    project->current_project = last;

    // The plate format shown, its layout, and the panels the window opens with.
    lighting->Frame_light->hide();
    if (cmb_well->Text().empty()) {
        plate->SetCurrentFormat("w6");
        cmb_well->SetText("w6");
    } else {
        plate->SetCurrentFormat(cmb_well->Text());
    }
    plate->cmb_formatplate->SetText(plate->current_format);
    plate->ReadPlateSpec(plate->current_format);
    if (containers.Frm_report) containers.Frm_report->hide();
    plate->frame_group->show();
    camera->Picact2->hide();

    // The blank of the format, the block menu, the project's groups.
    project->ShowBlankOf(plate->current_format);
    plate->BuildGroupOptionMenu();
    plate->LoadWellGroups(project->current_project);
    plate->BuildGroupList(0);


    // The channel and the two mode lists, shown disabled.
    fill(lstchannel, {"0"});
    fill(cmb_mode, {"Global activity", "Population distribution", "Track single animal"});
    cmb_mode->SetListIndex(0);
    cmb_mode->setEnabled(false);
    fill(cmb_acqmode, {"1_Fast speed(low resolution)", "2_Dynamic mode(well multiplexing)", "3_Full plate scanning"});
    cmb_acqmode->SetListIndex(1);
    cmb_acqmode->setEnabled(false);

    // The format boxes hold the format and the two formats a run is offered; the default
    // files missing in config; the mask tools' well boxes.
    containers.cmd_menu->hide();
    for (ui::ComboBox* box : {cmb_well, plate->cmb_formatplate}) {
        box->Clear();
        box->SetText(plate->current_format);
    }
    lighting->WriteDefaultLedLayouts();
    const bool layoutWasMissing = !platform::FileExists(plate::SpecFilePath("\\config", plate->current_format));
    plate->WriteMissingSpecFiles();
    // On a fresh installation the layout read above found no file: the wells take the places of
    // the default layout just written rather than none at all.
    if (layoutWasMissing) plate->ReadPlateSpec(plate->current_format);
    for (ui::ComboBox* box : {cmb_well, plate->cmb_formatplate}) {
        box->AddItem("w6");
        box->AddItem("w24");
    }
    containers.frameblank->hide();
    fill(cmb_set1, rowLetters());
    fill(cmb_set2, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"});
    cmb_set1->SetListIndex(0);
    cmb_set2->SetListIndex(0);
    // The report panel's lists: time base, internal reference, file kind and the divider from
    // the locale.
    report->FillReportLists();

    // The temperature calibration; the plate map's scale.
    thermal->ReadTempCalibration();
    if (unloaded) return;  // its message box may have been closed by a termination signal
    camera->Picact->Scale(0, 0, 500, 2048);
    platform::DoEvents();
    if (unloaded) return;

    // Camera 0's bands and defaults, the colour scale, the layout, the plate map drawn.
    camera->camera_index = 0;
    plate->ReadFormatFiles(plate->current_format);
    int selectorCamera = 0, column = 0, row = 0;
    camera->InitRowColumnSelectors(selectorCamera, column, row);
    camera->cmd_default_Click();
    plate->BuildColorScale();
    show();
    LayoutMainWindow();
    platform::Sleep(1);
    // The last project applied once more, now at the laid-out size: its format, time, set
    // point, groups, plate map and blank.
    project->cmb_project_Click();

    // The live picture cleared; the working window revealed.
    camera->ResetRealtimePicture();
    containers.frame_main->show();
    containers.Frame_menu->show();
    instrument.stage.last_temperature = 0;

    // The stage at rest, over a live link only.
    if (unloaded) return;
    if (!offline_mode && session().dummy_mode == 0) {
        thermal->SetFan(128);
        int power = 0;
        thermal->SetPowerReadTemperature(power);
    }
}

}  // namespace tirmo::app
