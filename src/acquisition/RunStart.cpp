// The Play button, the pre-run checks, the name frame and the run start of the run object.
#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QWidget>

#include "acquisition/RunAutoReference.h"
#include "acquisition/RunControls.h"
#include "acquisition/RunFiles.h"
#include "acquisition/RunNames.h"
#include "link/Exchange.h"
#include "link/Protocol.h"
#include "link/Session.h"
#include "platform/Clock.h"
#include "platform/ConfigFiles.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "thermal/TemperatureStage.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Make.h"

namespace tirmo::acquisition {

namespace {
constexpr int kEnterKey = 13;
constexpr int kPulsePauseMs = 10;
constexpr double kShortestRun = 5;
constexpr double kLongestRun = 32000;

// The name box's click and keys, as its own events would run them: the prompt goes on the first
// click or key, and Enter starts the run. The key still reaches the box.
class NameBoxEvents : public QObject {
public:
    NameBoxEvents(RunControls& run, QObject* parent) : QObject(parent), run_(run) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress) {
            run_.txt_acqname_Click();
        } else if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            const QString text = key->text();
            run_.txt_acqname_KeyPress(enter ? kEnterKey : text.isEmpty() ? 0 : int(text.at(0).unicode()));
        }
        return QObject::eventFilter(watched, event);
    }

private:
    RunControls& run_;
};

bool ReferenceFormat(const std::string& format) { return format == "w12" || format == "w48" || format == "w96f"; }

void Put(ui::TextBox* box, const std::string& text, bool locked)
{
    box->SetText(text);
    box->setReadOnly(locked);
}
}  // namespace

void RunControls::buildRunButtons(QWidget* client)
{
    if (!client) return;
    cmdPlay = ui::MakeButton(client, "cmdPlay", "Start", [this] { cmdPlay_Click(); });
    // Nothing to report before the first run; the run start enables it.
    cmdreport = ui::MakeButton(client, "cmdreport", "Report");
    cmdreport->setEnabled(false);
}

void RunControls::AttachNameFrame(QWidget* frame)
{
    frm_confirmacq = frame;
    if (!frame) return;
    chk_internalref = ui::MakeCheckBox(frame, "chk_internalref", "Use as Internal Reference");
    chk_internalref->onClick([this] { chk_internalref_Click(); });
    chk_internalref->hide();
    txt_pjname = ui::MakeTextBox(frame, "txt_pjname", "Default_project");
    txt_acqname = ui::MakeTextBox(frame, "txt_acqname", kAcquisitionPrompt);
    name_box_events_ = new NameBoxEvents(*this, txt_acqname);
    txt_acqname->installEventFilter(name_box_events_.get());
    cmd_playacq = ui::MakeButton(frame, "cmd_playacq", "PLAY", [this] { cmd_playacq_Click(); });
    cmd_cancelacq = ui::MakeButton(frame, "cmd_cancelacq", "Cancel", [this] { cmd_cancelacq_Click(); });
    // Each box under a caption saying what it takes: the run's project, then its own name.
    auto* grid = new QGridLayout(frame);
    grid->addWidget(chk_internalref, 0, 0, 1, 2);
    grid->addWidget(ui::MakeLabel(frame, "lbl_pjname", "Project:"), 1, 0, 1, 2, Qt::AlignLeft | Qt::AlignBottom);
    grid->addWidget(txt_pjname, 2, 0, 1, 2);
    grid->addWidget(ui::MakeLabel(frame, "lbl_acqname", "Acquisition Name:"), 3, 0, 1, 2, Qt::AlignLeft | Qt::AlignBottom);
    grid->addWidget(txt_acqname, 4, 0, 1, 2);
    grid->addWidget(cmd_playacq, 5, 0);
    grid->addWidget(cmd_cancelacq, 5, 1);
}

void RunControls::SetPlayCaption(const std::string& caption)
{
    if (!cmdPlay) return;
    cmdPlay->SetCaption(caption);
    cmdPlay->Refresh();
}

// ---------------------------------------------------------------- the Play button

void RunControls::cmdPlay_Click()
{
    link::Session& s = console_.session();
    if (cmdPlay->Caption() == "New") {
        SetPlayCaption("Play");
        cmd_cancelacq_Click();
        shared_.project.ReloadProject();
        return;
    }
    stop_requested = false;
    // Only a run about to be armed is checked: a run or a light calibration must stop even when
    // the link or the light calibration file is gone.
    if (s.run_state == 0) {
        window_.SetPlateViewShown(false);
        if (!PreRunChecks()) return;
    }
    Timer2.SetEnabled(false);
    StopTemperatureTick();
    if (s.run_state == 0)
        OpenNameFrame();
    else if (s.run_state == 1)
        StopByUser();
    else
        CancelCalibration();
}

bool RunControls::PreRunChecks()
{
    const link::Session& s = console_.session();
    if (platform::Val(settings().AcquisitionTime()) < 1) {
        ui::dialogs().messageBox(kInvalidAcquisitionTime, ui::MsgButtons::Ok);
        window_.FocusAcquisitionTime();
        return false;
    }
    if (!RunFormat(settings().PlateFormat())) {
        ui::dialogs().messageBox(kPlateFormatError, ui::MsgButtons::Ok);
        window_.FocusPlateFormat();
        return false;
    }
    window_.HideSidePanels();
    // A run started from this button is never a blank run.
    settings().SetBlankRun(false);
    if (s.dummy_mode != 1 && !s.port_open) {
        ui::dialogs().messageBox(kPortNotFound, ui::MsgButtons::Ok);
        return false;
    }
    if (!platform::FileExists(platform::ProgramPath(LedPositionFile(s.serial_number)))) {
        ui::dialogs().messageBox(kLightCalibrationNeeded, ui::MsgButtons::Ok);
        return false;
    }
    return true;
}

void RunControls::OpenNameFrame()
{
    window_.DrawPlateLayout(shared_.plate.current_format);
    const double lapse = platform::Val(settings().AcquisitionTime());
    if (lapse < kShortestRun) {
        // The run will last longer than typed: the user must not learn it from the report.
        settings().SetAcquisitionTime("5");
        console_.SetStatus(kShortestTimeRaised);
    } else if (lapse > kLongestRun)
        settings().SetAcquisitionTime("32000");
    chk_internalref->SetValue(0);
    Put(txt_acqname, kAcquisitionPrompt, false);
    Put(txt_pjname, shared_.project.CurrentProject(), false);
    window_.ClearRunPictures();
    ApplyInternalReferenceRule();
    frm_confirmacq->show();
    cmdPlay->setEnabled(false);
    window_.EnablePlateFormat(false);
    txt_acqname->setFocus();
    window_.ShowGroupPanel(false);
}

void RunControls::ApplyInternalReferenceRule()
{
    const std::string format = shared_.plate.current_format;
    if (!ReferenceFormat(format) || shared_.project.HasInternalReference(format)) {
        chk_internalref->SetValue(0);
        chk_internalref->setEnabled(true);
        return;
    }
    // The run about to be named becomes the reference run of the format.
    chk_internalref->show();
    chk_internalref->SetValue(1);
    chk_internalref->setEnabled(false);
    ui::dialogs().messageBox(kReferenceMandatory, ui::MsgButtons::Ok);
}

void RunControls::chk_internalref_Click()
{
    if (chk_internalref->Value() != 0) {
        Put(txt_pjname, shared_.project.ReferenceProjectName(), true);
        Put(txt_acqname, settings().PlateFormat() + "_reference", true);
    } else {
        txt_pjname->setReadOnly(false);
        txt_acqname->setReadOnly(false);
    }
}

void RunControls::StopByUser()
{
    stop_requested = true;
    window_.SetPlateViewShown(true);
    StopPlayRun();
    window_.UnlockRunBoxes();
    window_.ShowGroupPanel(true);
    window_.EnablePlateFormat(true);
    RedrawPlateAfterStop();
}

void RunControls::CancelCalibration()
{
    stop_requested = true;
    console_.session().run_state = 0;
    window_.SetPlateViewShown(true);
    PeltierOff();
    SendLightPulse(0);
    window_.ResetTemperatureIndicator();
    SetPlayCaption("Play");
    window_.ShowGroupPanel(true);
    RedrawPlateAfterStop();
}

void RunControls::RedrawPlateAfterStop()
{
    // A stop after the window's second frame leaves the map as the run drew it.
    if (frame_counter > 1) return;
    plate::PlateState& plate = shared_.plate;
    plate.current_format = settings().PlateFormat();
    window_.DrawPlateLayout(plate.current_format);
    plate::ReadPlateSpec(plate, plate.current_format, console_);
    window_.RedrawAllWells();
}

void RunControls::txtlapse_Change()
{
    if (platform::Val(settings().AcquisitionTime()) <= kLongestRun) return;
    ui::dialogs().messageBox(kMaximumTime, ui::MsgButtons::Ok);
    settings().SetAcquisitionTime("32000");
}

// ---------------------------------------------------------------- the name frame

void RunControls::cmd_cancelacq_Click()
{
    txt_acqname->SetText(kAcquisitionPrompt);
    frm_confirmacq->hide();
    cmdPlay->setEnabled(true);
    window_.EnablePlateFormat(true);
    frm_confirmacq->repaint();
    window_.ShowGroupPanel(true);
    window_.RedrawAllWells();
    platform::DoEvents();
    StopPlayRun();
}

void RunControls::txt_acqname_Click()
{
    if (txt_acqname->Text() != kAcquisitionPrompt) return;
    txt_acqname->SetText("");
    txt_acqname->Refresh();
}

void RunControls::txt_acqname_KeyPress(int key)
{
    txt_acqname_Click();
    if (key == kEnterKey) cmd_playacq_Click();
}

// ---------------------------------------------------------------- the run start

void RunControls::RefuseStart(const std::string& message)
{
    ui::dialogs().messageBox(message, ui::MsgButtons::Ok);
}

void RunControls::GiveBackBlankRun()
{
    // The blank frame locked the time and plate boxes for its run; a run that did not start
    // leaves them free again and is no blank run.
    if (!settings().BlankRun()) return;
    settings().SetBlankRun(false);
    window_.UnlockRunBoxes();
}

void RunControls::cmd_playacq_Click()
{
    link::Session& s = console_.session();
    cmdPlay->setEnabled(true);
    // A folder or starting file that cannot be made stops the start with the name frame open;
    // what was made stays.
    if (!CreateRunFolders() || !WriteRunStartFiles()) return GiveBackBlankRun();
    // A blank run measures an empty plate into the blank store: it is never a reference run, even
    // with the box left ticked by a name frame that was cancelled.
    if (chk_internalref->Value() != 0 && !settings().BlankRun()) {
        if (ui::dialogs().messageBox(kConfirmReferenceRun, ui::MsgButtons::YesNoCancel) != ui::MsgResult::Yes) return;
        // The reference run records its raw counts as adjusted ones.
        shared_.project.NeutralReferenceFactors();
    } else if (!shared_.project.ComputeInternalReference(s.acquisition_folder, settings().PlateFormat())) {
        RefuseStart(kStartingFileNotWritten + s.acquisition_folder);
        return GiveBackBlankRun();
    }
    window_.ShowGroupPanel(false);
    frm_confirmacq->hide();
    RunAutoreferenceRound();
}

bool RunControls::CreateRunFolders()
{
    link::Session& s = console_.session();
    // The name of the folders is taken here: a project the lists would not show gets no run.
    project_folder = ProjectFolderName(txt_pjname->Text());
    if (!ListedProjectFolder(project_folder)) {
        RefuseStart(kRunProjectTooShort);
        return false;
    }
    for (const std::string& folder : {std::string("reports"), "reports/" + shared_.project.ReferenceProjectName()}) {
        const std::string path = platform::ProgramPath(folder);
        if (!platform::MakeFolder(path)) {
            RefuseStart(kFolderNotCreated + path);
            return false;
        }
    }
    // A typed name that keeps no letter or digit is told before its folder is made.
    for (const std::string& typed : {txt_pjname->Text(), txt_acqname->Text()})
        if (const std::string notice = platform::SafeNameNotice(typed); !notice.empty())
            ui::dialogs().messageBox(notice, ui::MsgButtons::Ok);
    const std::string projectPath = platform::ProgramPath("reports/" + project_folder);
    if (!platform::MakeFolder(projectPath)) {
        RefuseStart(kFolderNotCreated + projectPath);
        return false;
    }
    const std::string stamp = platform::FormatDate(platform::WallNow(), kRunStampMask);
    const std::string wanted = AcquisitionFolderName(stamp, txt_acqname->Text());
    const auto made = CreateAcquisitionFolder(projectPath, wanted);
    if (!made) {
        RefuseStart(kFolderNotCreated + projectPath + "/" + wanted);
        return false;
    }
    acquisition_name = *made;
    s.acquisition_folder = platform::ProgramPath("reports/" + project_folder + "/" + acquisition_name);
    return true;
}

bool RunControls::WriteRunStartFiles()
{
    const link::Session& s = console_.session();
    const std::string format = settings().PlateFormat();
    StartingFiles files;
    files.serial_number = s.serial_number;
    files.title = txt_acqname->Text();
    files.lapse = settings().AcquisitionTime();
    files.format = format;
    const bool written = shared_.project.WriteProjectSetup(project_folder) &&
                         plate::SaveWellGroups(shared_.plate.groups, project_folder, console_) &&
                         plate::SaveWellGroups(shared_.plate.groups, project_folder + "\\" + acquisition_name, console_) &&
                         WriteCameraMask(platform::CameraMaskPath(s.serial_number), settings(), console_) &&
                         shared_.project.CopyBlankToAcquisition(format, s.acquisition_folder) &&
                         WriteStartingFiles(s.acquisition_folder, files);
    if (!written) RefuseStart(kStartingFileNotWritten + s.acquisition_folder);
    return written;
}

void RunControls::RunAutoreferenceRound()
{
    // A STOP or the close box during any of the start's waits ends the start there.
    const link::StoppableOperation start;
    // A link that goes away during the start is told once, however many sends still find it closed.
    const link::TellClosedLinkOnce told;
    link::Session& s = console_.session();
    SetPlayCaption("STOP");
    cmdreport->setEnabled(true);
    SetFan(shared_.temperature.Settings().box_ticked ? thermal::kFanFull : thermal::kFanHalf);
    s.run_state = 1;
    // A refused preparation leaves the run armed: the next press of STOP stops it cleanly.
    if (PrepareAcquisition() <= 0) return;
    PeltierOff();
    StopTemperatureTick();
    platform::Sleep(kPulsePauseMs);
    SendLightPulse(0);
    cameraSettings().SetNumber(link::CameraSettings::Box::Gain, s.default_gain);
    console_.SetStatus(kStartingAutoreference);
    // The round yields to the window: a STOP pressed meanwhile ends the start here.
    if (autoreference_) autoreference_->AutoCalibrateCameras();
    if (s.run_state != 1) return;
    if (s.dummy_mode != 1 && !s.port_open) {
        // The round stopped with the link: the run cannot measure, so it stops here.
        StopPlayRun();
        window_.ShowRunPanelsAfterError();
        link::ShowNotConnected(console_);
        return;
    }
    StartTicking();
}

}  // namespace tirmo::acquisition
