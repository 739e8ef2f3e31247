#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGroupBox>

#include <csignal>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "acquisition/AcquisitionTick.h"
#include "acquisition/RunNames.h"
#include "app/Frm_acquire.h"
#include "app/SignalClose.h"
#include "lighting/LedMap.h"
#include "link/CommPort.h"
#include "link/Exchange.h"
#include "link/Session.h"
#include "plate/BandFiles.h"
#include "plate/PlateSpecFile.h"
#include "platform/ProgramFolder.h"
#include "project/ProjectControls.h"
#include "project/ProjectNames.h"
#include "sim/SimDeviceState.h"
#include "support/AppFixture.h"
#include "support/FakeClock.h"
#include "support/LitW6Plate.h"
#include "support/ProgramFiles.h"
#include "support/W6WindowFixture.h"
#include "thermal/ThermalControls.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"

namespace tirmo::acquisition {
namespace {

namespace fs = std::filesystem;

using test::LocalTime;

std::vector<std::string> Entries(const std::string& folder)
{
    std::vector<std::string> out;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

// ---------------------------------------------------------------- offline, in dummy mode

// The main window offline (serial number 0) in dummy mode on the default w6 files of config,
// with a light calibration, the project default_project and the wall clock at
// 2025-03-04 09:05:07.
class OfflineRunStart : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        useFakeClock();
        fakeClock->setWall(LocalTime(2025, 3, 4, 9, 5, 7));
        link::Session& s = window->session();
        s.serial_number = 0;
        s.port_open = false;
        s.dummy_mode = 1;
        ASSERT_TRUE(plate::WriteW6ColumnFile("\\config"));
        ASSERT_TRUE(plate::WriteW6RowFile("\\config"));
        ASSERT_TRUE(plate::WriteW6SpecFile("\\config"));
        ASSERT_TRUE(lighting::WriteLedSetup2File("\\config"));
        test::WriteProgramFile("config/ledxy.dat", "\"Led control\"\r\n");
        window->project->current_project = "default_project";
        window->thermal->txttemp->SetText("25");
    }
    RunControls& run() { return *window->run; }
    // The wall clock back at 09:05:07, however long the runs before took.
    void backToTheStartSecond()
    {
        fakeClock->setWall(LocalTime(2025, 3, 4, 9, 5, 7) -
                           std::chrono::milliseconds(long(fakeClock->monotonicMs() - 1000)));
    }
    void pressPlay()
    {
        backToTheStartSecond();
        run().cmdPlay->Click();
    }
    // Play, the name typed, PLAY.
    void startRun(const std::string& name)
    {
        pressPlay();
        ASSERT_TRUE(run().frm_confirmacq->isVisibleTo(window.get()));
        run().txt_acqname->SetText(name);
        run().cmd_playacq->Click();
    }
    std::string file(const std::string& relative) { return test::ReadProgramFile(relative); }
};

std::string GroupFile()
{
    std::string text = "#Well, Group, name\r\n";
    for (int w = 0; w < 384; ++w) text += std::to_string(w) + ",-1,\"Free\"\r\n";
    return text;
}

std::string NoBlankFile()
{
    std::string text = "none\r\nacqlapse=30\r\n\"#well\",\"Value\"\r\n";
    for (int w = 0; w < 384; ++w) text += std::to_string(w) + ",0\r\n";
    return text;
}

TEST_F(OfflineRunStart, TheRunStartCreatesItsFolderAndEveryStartingFile)
{
    ASSERT_NO_FATAL_FAILURE(startRun("Test 1"));
    ASSERT_EQ(window->session().run_state, 1);
    EXPECT_TRUE(run().Timer2.Enabled());
    EXPECT_EQ(run().project_folder, "default_project");
    EXPECT_EQ(run().acquisition_name, "20250304_090507test_1");
    const std::string acq = "reports/default_project/20250304_090507test_1/";
    EXPECT_EQ(window->session().acquisition_folder, platform::ProgramPath(acq.substr(0, acq.size() - 1)));

    const std::string stamp = "\"2025/03/04_09:05:07\"";
    const struct {
        std::string path, text;
    } files[] = {
        {"reports/default_project/pjsetup.dat", "acq_time=30\r\nplate_format=w6\r\ntemperature=25\r\n"},
        {"reports/default_project/chgroup.dat", GroupFile()},
        {acq + "chgroup.dat", GroupFile()},
        {"config/camconf.dat", "111111\r\n"},
        {acq + "blank_w6.dat", NoBlankFile()},
        {acq + "serial.dat", "SN0\r\n"},
        {acq + "subpj.dat", "Test 1\r\nacq_time=30\r\nplate_format=w6\r\n"},
        {acq + "current_activity.txt",
         stamp + " \"<Raw_activity_file_without_internal_factor_correction>\"\r\n\"Time[m]\" \"Well\" \"Accumulated_activity\"\r\n"},
        {acq + "adjusted_activity.txt",
         stamp + " \"<activity_file_adjusted_by_internal_factor_correction>\"\r\n\"Time[m]\" \"Well\" \"Accumulated_activity\"\r\n"},
        {acq + "current_temperature.txt", stamp + "\r\n\"Time[m]\" \"Temperature[C]\"\r\n"},
        {acq + "factor_correction.txt",
         "\"2025/03/04_09:05:07_DEFAULT=1.0\"\r\nwell A1 B1 A2 B2 A3 B3\r\nmult_factor 1.00 1.00 1.00 1.00 1.00 1.00\r\n\r\n"},
        {acq + "light.csv", "\"#scan\",\"time[m]\",\"light power[0=off]\"\r\n"},
    };
    for (const auto& f : files) EXPECT_EQ(file(f.path), f.text) << f.path;
    EXPECT_TRUE(fs::is_directory(platform::ProgramPath("reports/_internal_reference"))) << "no tag offline";
    EXPECT_EQ(run().cmdPlay->Caption(), "STOP");
    EXPECT_TRUE(run().cmdreport->isEnabled());
    EXPECT_FALSE(run().frm_confirmacq->isVisibleTo(window.get()));
    EXPECT_EQ(window->camera->txt_cam->Text(), "0");
    pressPlay();
    EXPECT_EQ(window->session().run_state, 0);
}

TEST_F(OfflineRunStart, RunsStartedInTheSameSecondWithTheSameNameKeepTheirOwnFolders)
{
    for (int i = 0; i < 3; ++i) {
        ASSERT_NO_FATAL_FAILURE(startRun("Test 1"));
        pressPlay();  // STOP
        ASSERT_EQ(window->session().run_state, 0);
    }
    EXPECT_EQ(Entries(platform::ProgramPath("reports/default_project")),
              (std::vector<std::string>{"20250304_090507test_1", "20250304_090507test_1_2", "20250304_090507test_1_3",
                                        "chgroup.dat", "pjsetup.dat"}));
    EXPECT_EQ(run().acquisition_name, "20250304_090507test_1_3");
    EXPECT_EQ(file("reports/default_project/20250304_090507test_1_3/subpj.dat").substr(0, 8), "Test 1\r\n");
}

// Whatever the boxes hold, the run's folders stay inside reports; a name without letters is told.
// A project the project list would not show (two characters or fewer) gets no run.
TEST_F(OfflineRunStart, TypedNamesNeverLeaveTheReportsFolder)
{
    const struct {
        std::string project, name, projectFolder, acquisition;
        std::vector<std::string> told = {};
    } cases[] = {
        {"../../x", "../../y", "______x", "20250304_090507______y"},
        {"/etc", "/etc/passwd", "_etc", "20250304_090507_etc_passwd"},
        {"", "", "default_project", "20250304_090507"},
        {"Caf\xC3\xA9", "\xC3\xA9t\xC3\xA9", "caf__", "20250304_090507__t__"},
        {std::string(101, 'P'), std::string(101, 'N'), std::string(101, 'p'), "20250304_090507" + std::string(101, 'n')},
        {"...", "??", "___", "20250304_090507__", {"saved as \"___\"", "saved as \"__\""}},
        {"abc", "x", "abc", "20250304_090507x"},
        {".", "x", "", "", {kRunProjectTooShort}},
        {"..", "x", "", "", {kRunProjectTooShort}},
        {"Ab", "x", "", "", {kRunProjectTooShort}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.project);
        for (const std::string& notice : c.told) boxes.expectMessage(notice);
        pressPlay();
        run().txt_pjname->SetText(c.project);
        run().txt_acqname->SetText(c.name);
        run().cmd_playacq->Click();
        boxes.verifyAllShown();
        if (c.projectFolder.empty()) {
            EXPECT_EQ(window->session().run_state, 0);
            EXPECT_TRUE(run().frm_confirmacq->isVisibleTo(window.get()));
            run().cmd_cancelacq->Click();
            continue;
        }
        ASSERT_EQ(window->session().run_state, 1);
        EXPECT_EQ(run().project_folder, c.projectFolder);
        EXPECT_EQ(project::ListedProject(c.projectFolder), c.projectFolder) << "the project list shows the run's project";
        EXPECT_EQ(run().acquisition_name, c.acquisition);
        EXPECT_TRUE(fs::is_directory(folder.path() + "/reports/" + c.projectFolder + "/" + c.acquisition));
        pressPlay();
    }
    EXPECT_EQ(Entries(folder.path()), (std::vector<std::string>{"config", "reports"}));
    for (const char* unlisted : {"_", "__", "ab"}) EXPECT_FALSE(fs::exists(platform::ProgramPath(std::string("reports/") + unlisted)));
}

TEST_F(OfflineRunStart, TheUntouchedPromptNamesTheRunByItsStampAlone)
{
    // PLAY with the prompt: the title is the prompt.
    pressPlay();
    EXPECT_EQ(run().txt_acqname->Text(), kAcquisitionPrompt);
    run().cmd_playacq->Click();
    EXPECT_EQ(run().acquisition_name, "20250304_090507");
    EXPECT_EQ(file("reports/default_project/20250304_090507/subpj.dat").substr(0, 26), "<Write Acquisition Name>\r\n");
    pressPlay();
    // Enter in the untouched box empties it first: the title is empty.
    pressPlay();
    run().txt_acqname_KeyPress(13);
    EXPECT_EQ(run().acquisition_name, "20250304_090507_2");
    EXPECT_EQ(file("reports/default_project/20250304_090507_2/subpj.dat").substr(0, 11), "\r\nacq_time=");
    pressPlay();
    // A typed key also takes the prompt away; other text stays.
    pressPlay();
    run().txt_acqname_KeyPress('a');
    EXPECT_EQ(run().txt_acqname->Text(), "");
    run().txt_acqname->SetText("b");
    run().txt_acqname_Click();
    EXPECT_EQ(run().txt_acqname->Text(), "b");
    run().cmd_cancelacq->Click();
    EXPECT_EQ(run().txt_acqname->Text(), kAcquisitionPrompt);
}

// Any folder of the run that cannot be made (a file has the name of the reference project or of
// the project, or the acquisition's name is longer than a folder name may be) is reported and
// nothing starts: the name frame stays open for another name and no acquisition folder is made.
TEST_F(OfflineRunStart, AFolderThatCannotBeMadeIsReportedAndTheRunDoesNotStart)
{
    const struct { const char *blocker, *project; std::string acquisition; } cases[] = {
        {"reports/_internal_reference", "", "x"},
        {"reports/blocked", "Blocked", "x"},
        {nullptr, "", std::string(300, 'a')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.acquisition.substr(0, 8) + c.project);
        if (c.blocker) test::WriteProgramFile(c.blocker, "a file");
        pressPlay();
        run().txt_pjname->SetText(c.project);
        run().txt_acqname->SetText(c.acquisition);
        boxes.expectMessage(kFolderNotCreated);
        run().cmd_playacq->Click();
        boxes.verifyAllShown();
        EXPECT_EQ(window->session().run_state, 0);
        EXPECT_FALSE(run().Timer2.Enabled());
        EXPECT_TRUE(run().frm_confirmacq->isVisibleTo(window.get()));
        EXPECT_TRUE(run().cmdPlay->isEnabled());
        EXPECT_NE(run().cmdPlay->Caption(), "STOP");
        EXPECT_EQ(Entries(platform::ProgramPath("reports/default_project")), std::vector<std::string>{});
        run().cmd_cancelacq->Click();
        if (c.blocker) {
            EXPECT_EQ(file(c.blocker), "a file");
            fs::remove(platform::ProgramPath(c.blocker));
        }
    }
}

TEST_F(OfflineRunStart, AStartingFileThatCannotBeWrittenIsReportedAndTheRunDoesNotStart)
{
    // A folder where the camera mask goes: camconf.dat cannot be written.
    fs::create_directories(platform::ProgramPath("config/camconf.dat"));
    pressPlay();
    run().txt_acqname->SetText("x");
    boxes.expectMessage(kStartingFileNotWritten);
    run().cmd_playacq->Click();
    EXPECT_EQ(window->session().run_state, 0);
    EXPECT_FALSE(run().Timer2.Enabled());
    EXPECT_TRUE(run().frm_confirmacq->isVisibleTo(window.get()));
    // What came before the mask stays; nothing after it was written.
    const std::string acq = "reports/default_project/20250304_090507x/";
    EXPECT_FALSE(file(acq + "chgroup.dat").empty());
    EXPECT_EQ(Entries(platform::ProgramPath(acq)), (std::vector<std::string>{"chgroup.dat"}));
}

// The preparation's "Configuration error" leaves the run armed and not ticking; STOP stops it.
TEST_F(OfflineRunStart, AConfigurationErrorLeavesTheRunArmedUntilStop)
{
    plate::ColumnBands columns;
    plate::RowBands rows;
    window->plate->ReadFormatFiles("w6");
    columns = window->plate->column_bands;
    rows = window->plate->row_bands;
    rows.end[3][0] = 184;
    ASSERT_TRUE(plate::WriteFormatFiles("w6", 0, columns, rows));
    boxes.expectMessage("Configuration error: ");
    ASSERT_NO_FATAL_FAILURE(startRun("bad"));
    EXPECT_EQ(window->session().run_state, 1);
    EXPECT_EQ(run().cmdPlay->Caption(), "STOP");
    EXPECT_FALSE(run().Timer2.Enabled());
    EXPECT_TRUE(fs::exists(platform::ProgramPath("reports/default_project/20250304_090507bad/subpj.dat")));
    pressPlay();
    EXPECT_EQ(window->session().run_state, 0);
    EXPECT_EQ(run().cmdPlay->Caption(), "Play");
}

// A blank run is no reference run, whatever a cancelled name frame left in the reference box;
// an unticked box gives the same run.
TEST_F(OfflineRunStart, ABlankRunIsNeverAReferenceRun)
{
    for (int ticked : {1, 0}) {
        SCOPED_TRACE(ticked);
        pressPlay();
        run().chk_internalref->SetValue(ticked);
        run().cmd_cancelacq->Click();
        backToTheStartSecond();
        window->project->cmd_blank_Click();
        window->project->txt_blankname->SetText(ticked ? "left" : "clear");
        window->project->cmd_okblank_Click();  // no question: an unexpected box fails here
        ASSERT_EQ(window->session().run_state, 1);
        EXPECT_TRUE(window->session().run_settings.BlankRun());
        EXPECT_EQ(run().project_folder, "_internal_blank_measurement");
        const std::string acq = "reports/_internal_blank_measurement/" + run().acquisition_name;
        EXPECT_EQ(file(acq + "/factor_correction.txt").substr(0, 5), "\"2025") << "the run's own factors";
        pressPlay();
        ASSERT_EQ(window->session().run_state, 0);
    }
}

// A blank run that cannot start gives back the time and plate boxes the blank frame locked and
// is no blank run any more.
TEST_F(OfflineRunStart, ABlankRunThatCannotStartUnlocksTheRunBoxes)
{
    test::WriteProgramFile("reports/_internal_blank_measurement", "a file");
    window->project->cmd_blank_Click();
    boxes.expectMessage(kFolderNotCreated);
    window->project->cmd_okblank_Click();
    boxes.verifyAllShown();
    EXPECT_EQ(window->session().run_state, 0);
    EXPECT_FALSE(window->session().run_settings.BlankRun());
    EXPECT_FALSE(window->txtlapse->isReadOnly());
    EXPECT_TRUE(window->cmb_well->isEnabled());
    EXPECT_FALSE(run().Timer2.Enabled());
    EXPECT_EQ(file("reports/_internal_blank_measurement"), "a file");
}

// ---------------------------------------------------------------- on the instrument

// The main window on the simulator as instrument SN 58 with the default w6 files and a plate lit
// by the instrument's LEDs, the light calibration done, the project default_project.
class RunStartTest : public test::W6WindowFixture {
protected:
    void SetUp() override
    {
        W6WindowFixture::SetUp();
        if (HasFatalFailure()) return;
        lightSource = test::InstallLitW6Plate(*sim, "config_SN58", kStartPower);
        window->project->current_project = "default_project";
        window->thermal->txttemp->SetText("25");
        sim->clearLog();
    }
    RunControls& run() { return *window->run; }
    void pressPlay() { run().cmdPlay->Click(); }
    bool nameFrameOpen() { return run().frm_confirmacq->isVisibleTo(window.get()); }
    // The plate format as a project selection leaves it: the project's format and the list.
    void usePlate(const std::string& format)
    {
        window->plate->current_format = format;
        window->cmb_well->SetText(format);
    }
    void tick()
    {
        clock.advanceMs(kTickMs);
        run().Timer2_Timer();
    }
    std::vector<int> savedPowers()
    {
        lighting::LedMap m;
        lighting::LoadLedTables(m, "", "config_SN58");
        return {m.power.begin(), m.power.end()};
    }

    static constexpr int kStartPower = 3;
    static constexpr double kTickMs = 2000;  // the test's clock moves faster than Timer2's
    test::FakeClock clock;
    std::shared_ptr<sim::LitPlate> lightSource;
};

// Each check in its order: a row that fails one check passes every check before it. What the
// refused press left alone: no frame, no camera, the blank-run mark until the port check.
TEST_F(RunStartTest, ThePreRunChecksRefuseInTheirOrder)
{
    const struct {
        std::string lapse, format;
        bool port;
        int dummy;
        bool ledxy;
        const char* message;  // nullptr: the name frame opens
        bool blankKept;
    } cases[] = {
        {"0", "w6", true, 0, true, kInvalidAcquisitionTime, true},
        {"", "w6", true, 0, true, kInvalidAcquisitionTime, true},
        {"0.99", "w96u", false, 0, false, kInvalidAcquisitionTime, true},
        {"1", "w96u", true, 0, true, kPlateFormatError, true},
        {"1", "W6", true, 0, true, kPlateFormatError, true},
        {"1", "w384", false, 0, false, kPlateFormatError, true},
        {"1", "w6", false, 0, false, kPortNotFound, false},
        {"1", "w6", false, 1, false, kLightCalibrationNeeded, false},
        {"1", "w6", true, 0, false, kLightCalibrationNeeded, false},
        {"1", "w6", false, 1, true, nullptr, false},
        {"1", "w6", true, 0, true, nullptr, false},
    };
    const std::string ledxy = test::ReadProgramFile("config_SN58/ledxy.dat");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lapse + " " + c.format + (c.message ? std::string(" ") + c.message : " opens"));
        window->txtlapse->SetText(c.lapse);
        window->cmb_well->SetText(c.format);
        session.port_open = c.port;
        session.dummy_mode = c.dummy;
        if (c.ledxy)
            test::WriteProgramFile("config_SN58/ledxy.dat", ledxy);
        else
            fs::remove(platform::ProgramPath("config_SN58/ledxy.dat"));
        window->session().run_settings.SetBlankRun(true);
        if (c.message) boxes.expectMessage(c.message);
        pressPlay();
        boxes.verifyAllShown();
        EXPECT_EQ(nameFrameOpen(), c.message == nullptr);
        EXPECT_EQ(run().cmdPlay->isEnabled(), c.message != nullptr);
        EXPECT_EQ(window->session().run_settings.BlankRun(), c.blankKept);
        EXPECT_EQ(session.run_state, 0);
        if (!c.message) {
            session.port_open = true;
            session.dummy_mode = 0;
            run().cmd_cancelacq->Click();
        }
    }
    session.port_open = true;
    std::vector<std::string> sent = frameList();
    std::erase_if(sent, [](const std::string& f) { return f != "C,6,0" && f[0] == 'C'; });
    for (const std::string& f : sent) EXPECT_TRUE(f[0] == 'T' || f == "C,6,0") << f << ": only the cancel's rest";
}

// The time box at the name frame: below 5 becomes 5, told on the status line; above 32000 is refused.
TEST_F(RunStartTest, TheAcquisitionTimeIsKeptBetweenFiveAnd32000Minutes)
{
    const struct {
        std::string typed, armed;
        bool tooLong;
    } cases[] = {
        {"1", "5", false},     {"4.99", "5", false},    {"5", "5", false},       {"5.0", "5.0", false},
        {"30", "30", false},   {"32000", "32000", false}, {"32001", "32000", true}, {"40000", "32000", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        if (c.tooLong) boxes.expectMessage(kMaximumTime);
        window->txtlapse->SetText(c.typed);
        boxes.verifyAllShown();
        window->txt_status->SetText("");
        pressPlay();
        EXPECT_TRUE(nameFrameOpen());
        EXPECT_EQ(window->txtlapse->Text(), c.armed);
        EXPECT_EQ(window->txt_status->Text(), c.armed != c.typed && !c.tooLong ? kShortestTimeRaised : "");
        run().cmd_cancelacq->Click();
    }
}

// w12, w48 and w96f runs need a reference run of their format: without one the name frame files
// the run under the reference project as "<format>_reference", its box ticked and greyed.
TEST_F(RunStartTest, FormatsWithoutAReferenceRunForceTheReferenceRun)
{
    const std::string accepted = "reports/_internal_referenceSN58/20250101_120000w96f_reference/current_activity.txt";
    test::WriteProgramFile(accepted, "\"h\"\r\n\"h\"\r\n10.6 \"H12\" 5\r\n");
    const struct {
        std::string format;
        bool forced;
    } cases[] = {
        {"w12", true}, {"w48", true}, {"w96f", false}, {"w6", false}, {"w24", false}, {"p35", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        usePlate(c.format);
        run().chk_internalref->SetValue(1);  // left ticked by an earlier choice
        if (c.forced) boxes.expectMessage(kReferenceMandatory);
        pressPlay();
        boxes.verifyAllShown();
        ASSERT_TRUE(nameFrameOpen());
        EXPECT_EQ(run().chk_internalref->Value(), c.forced ? 1 : 0);
        EXPECT_EQ(run().chk_internalref->isEnabled(), !c.forced);
        EXPECT_EQ(run().txt_pjname->Text(), c.forced ? "_internal_referenceSN58" : "default_project");
        EXPECT_EQ(run().txt_acqname->Text(), c.forced ? c.format + "_reference" : kAcquisitionPrompt);
        EXPECT_EQ(run().txt_pjname->isReadOnly(), c.forced);
        EXPECT_EQ(run().txt_acqname->isReadOnly(), c.forced);
        if (c.forced) {
            EXPECT_TRUE(run().chk_internalref->isVisibleTo(window.get()));
        }
        run().cmd_cancelacq->Click();
    }
}

// The forced reference run, refused at its question: its folder and starting files stay, the
// name frame stays open and nothing runs.
TEST_F(RunStartTest, ARefusedReferenceRunLeavesItsFolderAndTheNameFrame)
{
    clock.setWall(LocalTime(2025, 3, 4, 9, 5, 7));
    usePlate("w48");
    boxes.expectMessage(kReferenceMandatory);
    pressPlay();
    boxes.expectMessage(kConfirmReferenceRun, ui::MsgResult::No);
    run().cmd_playacq->Click();
    boxes.verifyAllShown();
    EXPECT_EQ(session.run_state, 0);
    EXPECT_TRUE(nameFrameOpen());
    EXPECT_TRUE(run().cmdPlay->isEnabled());
    EXPECT_FALSE(run().Timer2.Enabled());
    const std::string acq = "reports/_internal_referenceSN58/20250304_090507w48_reference";
    EXPECT_EQ(session.acquisition_folder, platform::ProgramPath(acq));
    EXPECT_EQ(Entries(platform::ProgramPath("reports")),
              (std::vector<std::string>{"_internal_referenceSN58"})) << "the reference project reached in any case";
    EXPECT_EQ(Entries(platform::ProgramPath(acq)),
              (std::vector<std::string>{"adjusted_activity.txt", "blank_w48.dat", "chgroup.dat", "current_activity.txt",
                                        "current_temperature.txt", "serial.dat", "subpj.dat"}));
    EXPECT_EQ(test::ReadProgramFile(acq + "/serial.dat"), "SN58\r\n");
    EXPECT_TRUE(sim->framesOf('C').empty());
}

// A running run stops whatever the checks would say now: the link gone, the light calibration
// deleted, the time box emptied.
TEST_F(RunStartTest, StopStopsARunWithTheLinkGone)
{
    session.dummy_mode = 1;
    pressPlay();
    run().txt_acqname->SetText("gone");
    run().cmd_playacq->Click();
    ASSERT_EQ(session.run_state, 1);
    tick();
    session.port_open = false;
    session.dummy_mode = 0;
    fs::remove(platform::ProgramPath("config_SN58/ledxy.dat"));
    window->txtlapse->SetText("");
    window->cmb_well->SetText("w96u");
    window->session().run_settings.SetBlankRun(true);
    pressPlay();
    EXPECT_EQ(session.run_state, 0);
    EXPECT_TRUE(run().stop_requested);
    EXPECT_EQ(run().cmdPlay->Caption(), "Play");
    EXPECT_FALSE(run().Timer2.Enabled());
    EXPECT_EQ(window->camera->txt_cam->Text(), "6");
    EXPECT_FALSE(window->session().run_settings.BlankRun()) << "a stopped run is no blank";
    EXPECT_TRUE(window->containers.frame_group->isVisibleTo(window.get()));
    EXPECT_TRUE(window->cmb_well->isEnabled());
    for (const std::string& b : boxes.shown())
        EXPECT_TRUE(b != kInvalidAcquisitionTime && b != kPlateFormatError && b != kPortNotFound &&
                    b != kLightCalibrationNeeded)
            << b;
}

// From the Play button to "DONE!" on the instrument, the ticks driven here.
TEST_F(RunStartTest, ARunFromThePlayButtonEndsDoneAndOpensTheReport)
{
    clock.setWall(LocalTime(2025, 3, 4, 9, 5, 7));
    EXPECT_FALSE(run().cmdreport->isEnabled());
    window->txtlapse->SetText("1");
    pressPlay();
    ASSERT_TRUE(nameFrameOpen());
    EXPECT_EQ(window->txtlapse->Text(), "5") << "the shortest run";
    run().txt_acqname->SetText("Short");
    run().cmd_playacq->Click();
    ASSERT_EQ(session.run_state, 1);
    EXPECT_EQ(run().cmdPlay->Caption(), "STOP");
    EXPECT_TRUE(run().Timer2.Enabled());
    EXPECT_EQ(run().camera_index, 0);
    EXPECT_EQ(run().window_index, 0);

    // The round: every camera's LEDs through the power levels, then ledpower.dat's powers lit.
    const auto sent = sim->frames();
    std::vector<int> levels;
    for (const auto& f : sent)
        if (f.letter == 'L' && f.a == 255) levels.push_back(f.b);
    EXPECT_GE(levels.size(), 6u * 12u);
    const auto lit = sim->with([](sim::SimState& s) { return s.leds.power; });
    EXPECT_EQ(std::vector<int>(lit.begin(), lit.end()), savedPowers());
    EXPECT_EQ(sim->with([](sim::SimState& s) { return s.thermal.fanLevel; }), 128) << "no temperature control";
    const std::string acq = "reports/default_project/20250304_090507short";
    EXPECT_EQ(session.acquisition_folder, platform::ProgramPath(acq));

    long ticks = 0;
    while (session.run_state == 1 && ticks < 5000) {
        tick();
        ++ticks;
    }
    ASSERT_EQ(session.run_state, 0);
    EXPECT_EQ(window->txt_status->Text(), kRunDone);
    EXPECT_EQ(run().cmdPlay->Caption(), "New");
    EXPECT_EQ(sim->with([](sim::SimState& s) { return s.thermal.fanLevel; }), 128);
    EXPECT_EQ(sim->with([](sim::SimState& s) { return s.cameras.selectedCamera; }), 6);
    EXPECT_TRUE(window->containers.Frm_report->isVisibleTo(window.get())) << "the run's end opens the report panel";
    EXPECT_EQ(window->report->txt_welltype->Text(), "w6");
    const std::string raw = test::ReadProgramFile(acq + "/current_activity.txt");
    EXPECT_GE(std::count(raw.begin(), raw.end(), '\n'), 2 + 6) << "at least one scan of the six wells";
    EXPECT_GE(session.elapsed_seconds, 5 * 60);

    // "New" makes the window ready for the next run.
    pressPlay();
    EXPECT_EQ(run().cmdPlay->Caption(), "Play");
    EXPECT_FALSE(nameFrameOpen());
    EXPECT_TRUE(run().cmdPlay->isEnabled());
}

// The instrument falls silent in the autoreference round or in a tick, and STOP, the close box or
// SIGTERM (0, 1, 2) comes at a yield of a wait for it (port held, nothing written since the last
// yield). It acts there: no wait goes on and the interrupted command is not sent again; the rest
// frames go out (no echo comes: the camera select goes out thrice).
class SilentStopTest : public RunStartTest, public ::testing::WithParamInterface<std::tuple<bool, int>> {};

TEST_P(SilentStopTest, AStopDuringASilentWaitActsThereAndLeavesTheInstrumentAtRest)
{
    const auto [inRound, stop] = GetParam();
    std::optional<test::QuickTimeouts> quick;  // from the silence on
    test::WriteRecorder recorder;
    window->unloaded = false;
    app::CloseOnTerminationSignals(window.get());
    size_t silentFrom = 0, writesAtSilence = 0, writesAtYield = 0;
    int waitsAfter = -1;
    auto silence = [&] {
        quick.emplace();
        sim->settle();
        silentFrom = sim->frames().size();
        writesAtSilence = writesAtYield = recorder.writes.size();
        sim->setSilent(true);
    };
    platform::setEventPump([&] {
        const size_t writes = std::exchange(writesAtYield, recorder.writes.size());
        if (waitsAfter >= 0) {
            waitsAfter += link::PortBusy();
        } else if (!quick && inRound && window->containers.frm_calibrate->isVisibleTo(window.get())) {
            silence();
        } else if (quick && link::PortBusy() && writes > writesAtSilence && writes == writesAtYield) {
            waitsAfter = 0;
            if (stop == 0) pressPlay();
            if (stop == 1) window->close();
            if (stop == 2) ::raise(SIGTERM);
            for (int i = 0; stop == 2 && i < 100 && !window->unloaded; ++i) QCoreApplication::processEvents();
        }
    });
    pressPlay();
    run().cmd_playacq->Click();
    if (!inRound) {
        tick();
        silence();
        tick();
    }
    platform::setEventPump({});
    std::signal(SIGTERM, SIG_DFL);
    EXPECT_EQ(waitsAfter, 0) << "the window took the stop during a wait, and no wait went on after it";
    EXPECT_EQ(session.run_state, 0);
    EXPECT_EQ(link::CommIsOpen(kPort), stop == 0) << "the shutdown closed the link";
    EXPECT_EQ(run().cmdPlay->Caption() == "Play", stop == 0);
    sim->settle();
    const std::vector<std::string> all = frameList();
    ASSERT_GT(all.size(), silentFrom);
    EXPECT_EQ(std::vector<std::string>(all.begin() + long(silentFrom) + 1, all.end()),
              (std::vector<std::string>{"T,1,0", stop ? "T,2,0" : "T,2,128", "T,15,0", "C,6,0", "C,6,0", "C,6,0"}))
        << "after the interrupted " << all[silentFrom];
}

INSTANTIATE_TEST_SUITE_P(RoundOrTick, SilentStopTest, ::testing::Combine(::testing::Bool(), ::testing::Values(0, 1, 2)));

// The port hangs up mid-run: the run stops as after any failed frames, the link counts as closed,
// and Play then refuses without making an acquisition.
TEST_F(RunStartTest, AHungUpPortClosesTheLinkAndPlayThenRefuses)
{
    pressPlay();
    run().cmd_playacq->Click();
    tick();
    sim.reset();  // the instrument unplugged
    boxes.expectMessage("Communication Error CAM0 ");
    for (int i = 0; i < 30 && session.run_state == 1; ++i) tick();
    EXPECT_FALSE(session.port_open);
    const auto made = Entries(platform::ProgramPath("reports/default_project"));
    boxes.expectMessage(kPortNotFound);
    pressPlay();
    boxes.verifyAllShown();
    EXPECT_FALSE(nameFrameOpen());
    EXPECT_EQ(Entries(platform::ProgramPath("reports/default_project")), made);
}

// Unplugged in the autoreference round, at its first yield or from the n-th on: told once, the run stops.
class LinkGoneInRoundTest : public RunStartTest, public ::testing::WithParamInterface<int> {};

TEST_P(LinkGoneInRoundTest, IsToldOnceAndStopsTheRun)
{
    test::WriteRecorder recorder;
    int yields = 0;
    platform::setEventPump([&] {
        size_t written = 0;  // unplugged between two frames: the instrument saw none broken
        for (const auto& w : recorder.writes) written += w.data.size();
        if (sim && window->containers.frm_calibrate->isVisibleTo(window.get()) && ++yields >= GetParam() &&
            written % 5 == 0)
            sim.reset();
    });
    pressPlay();
    boxes.expectMessage(link::kNotConnected);
    run().cmd_playacq->Click();
    platform::setEventPump({});
    EXPECT_EQ(boxes.shown(), std::vector<std::string>{link::kNotConnected});
    EXPECT_GE(yields, GetParam());
    EXPECT_EQ(std::pair(session.port_open, session.run_state), std::pair(false, 0));
    EXPECT_EQ(run().cmdPlay->Caption(), "Play");
    EXPECT_FALSE(run().Timer2.Enabled());
    EXPECT_FALSE(window->containers.frm_calibrate->isVisibleTo(window.get()));
    EXPECT_TRUE(window->containers.frame_group->isVisibleTo(window.get()));
}

INSTANTIATE_TEST_SUITE_P(EarlyOrLate, LinkGoneInRoundTest, ::testing::Values(1, 400));

}  // namespace
}  // namespace tirmo::acquisition
