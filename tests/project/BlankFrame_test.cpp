#include <gtest/gtest.h>

#include <filesystem>

#include <QListWidget>
#include <QMenu>

#include "lighting/LedMap.h"
#include "link/Session.h"
#include "plate/BandFiles.h"
#include "plate/PlateSpecFile.h"
#include "platform/ProgramFolder.h"
#include "project/ProjectControls.h"
#include "support/AppFixture.h"
#include "support/ProgramFiles.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"

namespace tirmo::project {
namespace {

using ui::MsgResult;

// The main window offline in dummy mode (a blank run needs no link then), with blank runs of
// two formats in the blank store.
class BlankFrameTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        useFakeClock();
        window->session().dummy_mode = 1;
        // A w6 plate's files, as the start-up leaves them, so that a blank run can start.
        platform::MakeFolder(platform::ProgramPath("config"));
        ASSERT_TRUE(plate::WriteW6ColumnFile("\\config"));
        ASSERT_TRUE(plate::WriteW6RowFile("\\config"));
        ASSERT_TRUE(plate::WriteW6SpecFile("\\config"));
        ASSERT_TRUE(lighting::WriteLedSetup2File("\\config"));
        blankRun("20250131_140512_blank_b", "w6", "60", 60.0);
        blankRun("20250101_090000_blank_a", "w6", "30", 30.0);
        blankRun("20250102_090000_blank_plate24", "w24", "30", 30.0);
        test::WriteProgramFile("reports/_internal_blank_measurement/20250103_090000_blank_file", "not a run\r\n");
    }
    // A blank run folder of the store: subpj.dat and an activity file reaching `minutes`.
    void blankRun(const std::string& name, const std::string& format, const std::string& time, double minutes)
    {
        const std::string folder = "reports/_internal_blank_measurement/" + name;
        test::WriteProgramFile(folder + "/subpj.dat",
                               name.substr(15) + "\r\nacq_time=" + time + "\r\nplate_format=" + format + "\r\n");
        test::WriteProgramFile(folder + "/current_activity.txt", "\"2025/01/31_14:05:12\"\r\n\"header\"\r\n1.0 \"A1\" 3\r\n" +
                                                                     std::to_string(minutes) + " \"B1\" 9\r\n");
    }
    ProjectControls& pj() { return *window->project; }
    std::vector<std::string> entries() const
    {
        std::vector<std::string> out;
        for (int i = 0; i < window->project->lst_blank->count(); ++i)
            out.push_back(window->project->lst_blank->item(i)->text().toStdString());
        return out;
    }
    void choose(const std::string& entry)
    {
        const auto found = pj().lst_blank->findItems(QString::fromStdString(entry), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << entry;
        pj().lst_blank->setCurrentItem(found.front());
    }
};

TEST_F(BlankFrameTest, ReadBlankOpensTheNewBlankModeOnlyWhenIdleWithALinkOrDummyMode)
{
    window->session().run_state = 1;
    pj().cmd_blank->Click();
    EXPECT_TRUE(pj().frameblank->isHidden()) << "during a run it only clears the stop request";

    window->session().run_state = 0;
    window->session().dummy_mode = 0;
    boxes.expectMessage("COMPORT not found. Plug the equipment and restart the software");
    pj().cmd_blank_Click();
    EXPECT_TRUE(pj().frameblank->isHidden());

    window->session().dummy_mode = 1;
    pj().cmd_blank_Click();
    EXPECT_FALSE(pj().frameblank->isHidden());
    EXPECT_TRUE(pj().NewBlankMode());
    EXPECT_TRUE(pj().lst_blank->isHidden());
    EXPECT_EQ(pj().txt_blankname->Text(), "myblank");
    EXPECT_EQ(pj().txt_blanklapse->Text(), "60");
    pj().cmd_cancelblank->Click();
    EXPECT_TRUE(pj().frameblank->isHidden());
    EXPECT_FALSE(window->session().run_settings.BlankRun());
}

TEST_F(BlankFrameTest, LapseBoundsAndRoundingBeforeTheRunStarts)
{
    const struct { const char* lapse; const char* time; } cases[] = {
        {"29.9", nullptr}, {"30", "30"}, {"1440", "1440"}, {"1440.5", nullptr},
        {"45.5", "46"},    {"44.5", "44"}, {"", nullptr},
    };
    for (const auto& c : cases) {
        window->session().run_settings.SetBlankRun(false);
        window->txtlapse->setReadOnly(false);
        window->cmb_well->setEnabled(true);
        window->txtlapse->SetText("15");
        pj().cmd_blank_Click();
        pj().txt_blanklapse->SetText(c.lapse);
        if (!c.time) boxes.expectMessage("invalid acqtime [30-1440m]");
        pj().cmd_okblank->Click();
        if (!c.time) {
            EXPECT_EQ(pj().txt_blanklapse->Text(), "60") << c.lapse;
            EXPECT_EQ(window->txtlapse->Text(), "15") << c.lapse;
            EXPECT_FALSE(window->session().run_settings.BlankRun()) << c.lapse;
            EXPECT_FALSE(pj().frameblank->isHidden()) << c.lapse;
            EXPECT_FALSE(window->txtlapse->isReadOnly()) << c.lapse;
        } else {
            EXPECT_EQ(window->txtlapse->Text(), c.time) << c.lapse;
            EXPECT_TRUE(window->session().run_settings.BlankRun()) << c.lapse;
            EXPECT_TRUE(pj().frameblank->isHidden()) << c.lapse;
            EXPECT_TRUE(window->txtlapse->isReadOnly()) << c.lapse;
            EXPECT_FALSE(window->cmb_well->isEnabled()) << c.lapse;
            EXPECT_EQ(window->session().run_state, 1) << c.lapse << ": the blank run started";
            window->run->StopPlayRun();
        }
    }
}

TEST_F(BlankFrameTest, AnUnsupportedPlateOrAnEmptyNameStartsNothing)
{
    window->txtlapse->SetText("15");
    pj().cmd_blank_Click();
    window->cmb_well->SetText("w96u");
    boxes.expectMessage("Microplate format error");
    pj().cmd_okblank_Click();
    EXPECT_FALSE(window->session().run_settings.BlankRun());
    EXPECT_EQ(window->txtlapse->Text(), "15") << "a refused plate changes nothing";
    EXPECT_FALSE(window->txtlapse->isReadOnly());

    window->cmb_well->SetText("w6");
    pj().txt_blankname->SetText("");
    boxes.expectMessage("Enter a valid Blank acquisition name");
    pj().cmd_okblank_Click();
    EXPECT_FALSE(window->session().run_settings.BlankRun());
    EXPECT_FALSE(pj().frameblank->isHidden());
}

// The run start comes through the needs: the names it is given and that it is started.
TEST_F(BlankFrameTest, TheBlankRunIsStartedWithTheStoreAsProjectAndASafeName)
{
    std::vector<std::string> calls;
    ProjectNeeds needs;
    needs.set_run_names = [&](const std::string& acq, const std::string& pj) { calls.push_back(acq + "|" + pj); };
    needs.lock_run_boxes = [&](bool locked) { calls.push_back(locked ? "lock" : "unlock"); };
    needs.clear_stop_request = [&] { calls.push_back("clear"); };
    needs.start_run = [&] { calls.push_back("start"); };
    QWidget client;
    ProjectState state;
    ProjectControls blank(*window, state, window->instrument.plate_state, &client, needs);
    window->session().serial_number = 12;
    const struct { const char* typed; const char* acquisition; bool told = false; } cases[] = {
        {"My Blank", "_blank_my_blank"}, {"!!", "_blank___", true}, {"../x", "_blank____x"}, {"__", "_blank___"},
    };
    for (const auto& c : cases) {
        calls.clear();
        if (c.told) boxes.expectMessage("is saved as \"__\"");
        blank.cmd_blank_Click();
        blank.txt_blankname->SetText(c.typed);
        blank.cmd_okblank_Click();
        EXPECT_EQ(calls, (std::vector<std::string>{"clear", std::string(c.acquisition) + "|_internal_blank_measurementSN12",
                                                   "lock", "start"}))
            << c.typed;
        EXPECT_TRUE(window->session().run_settings.BlankRun());
    }
}

TEST_F(BlankFrameTest, TheListShowsTheRunsOfTheShownFormatSortedAndAllAfterADeletion)
{
    window->cmb_well->SetText("w6");
    pj().lbl_blanktime_DblClick();
    EXPECT_FALSE(pj().NewBlankMode());
    EXPECT_FALSE(pj().frameblank->isHidden());
    EXPECT_EQ(entries(), (std::vector<std::string>{"none", "Factory_Default", "20250101_090000_blank_a",
                                                   "20250131_140512_blank_b"}));
    choose("20250131_140512_blank_b");
    pj().lst_blank_Click();
    EXPECT_EQ(pj().lbl_blankdescription->Caption(), "[60m] _blank_b");
    choose("Factory_Default");
    pj().lst_blank_Click();
    EXPECT_EQ(pj().lbl_blankdescription->Caption(), "[60m] _blank_b") << "fixed entries leave it";

    // Nothing deletes the fixed entries, and No deletes nothing.
    pj().mndelblank_Click();
    choose("20250101_090000_blank_a");
    boxes.expectMessage("Delete 20250101_090000_blank_a?", MsgResult::No);
    pj().mndelblank_Click();
    EXPECT_TRUE(platform::FolderExists(platform::ProgramPath("reports/_internal_blank_measurement/20250101_090000_blank_a")));

    boxes.expectMessage("Delete 20250101_090000_blank_a?", MsgResult::Yes);
    window->mndelblank->trigger();
    EXPECT_FALSE(platform::FolderExists(platform::ProgramPath("reports/_internal_blank_measurement/20250101_090000_blank_a")));
    EXPECT_EQ(entries(), (std::vector<std::string>{"none", "Factory_Default", "20250102_090000_blank_plate24",
                                                   "20250131_140512_blank_b"}));
    EXPECT_EQ(pj().lst_blank->currentRow(), 1);

    window->session().run_state = 1;
    pj().frameblank->hide();
    pj().lbl_blanktime_DblClick();
    EXPECT_TRUE(pj().frameblank->isHidden()) << "not during a run";
}

// A run folder holding a sub-folder, or one that became a file after the list was shown, is not
// deleted: the message says so, the list stays and what could not be deleted is still there.
TEST_F(BlankFrameTest, ADeletionThatFailsIsReportedAndTheListStays)
{
    const std::string run = "reports/_internal_blank_measurement/20250101_090000_blank_a";
    window->cmb_well->SetText("w6");
    for (const bool becameFile : {false, true}) {
        SCOPED_TRACE(becameFile);
        std::filesystem::remove_all(platform::ProgramPath(run));
        blankRun("20250101_090000_blank_a", "w6", "30", 30.0);
        pj().lbl_blanktime_DblClick();
        const auto before = entries();
        choose("20250101_090000_blank_a");
        if (becameFile) std::filesystem::remove_all(platform::ProgramPath(run));
        test::WriteProgramFile(becameFile ? run : run + "/sub/keep.txt", "x");
        boxes.expectMessage("Delete 20250101_090000_blank_a?", MsgResult::Yes);
        boxes.expectMessage("I/O File error. please delete manually");
        pj().mndelblank_Click();
        boxes.verifyAllShown();
        EXPECT_EQ(entries(), before);
        EXPECT_EQ(readFile(becameFile ? run : run + "/sub/keep.txt"), "x");
        EXPECT_TRUE(becameFile || readFile(run + "/subpj.dat").empty()) << "what was deleted stays deleted";
    }
}

TEST_F(BlankFrameTest, NoneAndFactoryDefaultLoads)
{
    window->cmb_well->SetText("w6");
    pj().lbl_blanktime_DblClick();
    choose("none");
    pj().lst_blank_DblClick();  // no question
    const std::string none = readFile("reports/_internal_blank_measurement/blank_w6.dat");
    EXPECT_EQ(none.rfind("none\r\nacqlapse=30\r\n\"#well\",\"Value\"\r\n0,0\r\n", 0), 0u) << none.substr(0, 50);
    EXPECT_EQ(pj().lbl_blanktime->Caption(), "none");
    EXPECT_EQ(pj().lbl_blankname->Caption(), "");
    EXPECT_EQ(pj().blank_lapse, 30);
    EXPECT_TRUE(pj().frameblank->isHidden());

    pj().lbl_blanktime_DblClick();
    choose("Factory_Default");
    boxes.expectMessage("Load Factory_Default Blank for w6?", MsgResult::No);
    pj().lst_blank_DblClick();
    EXPECT_FALSE(pj().frameblank->isHidden()) << "No ends there";

    boxes.expectMessage("Load Factory_Default Blank for w6?", MsgResult::Yes);
    boxes.expectMessage("Default File not found");
    pj().lst_blank_DblClick();
    EXPECT_TRUE(pj().frameblank->isHidden());
    EXPECT_EQ(readFile("reports/_internal_blank_measurement/blank_w6.dat"), none) << "the current blank stays";

    test::WriteProgramFile("config/blank_w6.dat", "\"FACTORY 2024\"\r\nacqlapse=0060\r\n\"#well\",\"Value\"\r\n0,4\r\n");
    pj().lbl_blanktime_DblClick();
    choose("Factory_Default");
    boxes.expectMessage("Load Factory_Default Blank for w6?", MsgResult::Yes);
    boxes.expectMessage("Blank OK");
    pj().lst_blank_DblClick();
    EXPECT_EQ(readFile("reports/_internal_blank_measurement/blank_w6.dat"),
              "\"FACTORY 2024\"\r\nacqlapse=0060\r\n\"#well\",\"Value\"\r\n0,4\r\n");
    EXPECT_EQ(pj().lbl_blanktime->Caption(), "\"FACTORY 2024\"") << "the stamp as it stands";
    EXPECT_EQ(pj().lbl_blankname->Caption(), "");
}

TEST_F(BlankFrameTest, ABlankRunIsRecomputedInItsOwnFormat)
{
    window->cmb_well->SetText("w6");
    pj().lbl_blanktime_DblClick();
    test::WriteProgramFile("reports/_internal_blank_measurement/20250101_090000_blank_a/subpj.dat", "a\r\n");
    choose("20250101_090000_blank_a");
    boxes.expectMessage("Load 20250101_090000_blank_a?", MsgResult::Yes);
    boxes.expectMessage("subpj File error. Unable to read well format");
    pj().lst_blank_DblClick();
    test::WriteProgramFile("reports/_internal_blank_measurement/20250101_090000_blank_a/subpj.dat",
                           "a\r\nnone\r\nplate_format=w6\r\n");
    boxes.expectMessage("Load 20250101_090000_blank_a?", MsgResult::Yes);
    boxes.expectMessage("subpj File error. Unable to read time");
    pj().lst_blank_DblClick();
    EXPECT_FALSE(pj().frameblank->isHidden()) << "the frame stays open after these messages";

    // After a deletion the list holds every format; the w24 run makes the w24 blank.
    choose("20250101_090000_blank_a");
    boxes.expectMessage("Delete", MsgResult::Yes);
    pj().mndelblank_Click();
    choose("20250102_090000_blank_plate24");
    boxes.expectMessage("Load 20250102_090000_blank_plate24?", MsgResult::Yes);
    boxes.expectMessage("Blank OK");
    pj().lst_blank_DblClick();
    const std::string blank = readFile("reports/_internal_blank_measurement/blank_w24.dat");
    EXPECT_EQ(blank.rfind("20250102_090000_blank_plate24\r\nacqlapse=0030\r\n\"#well", 0), 0u) << blank.substr(0, 50);
    EXPECT_NE(blank.find("\r\n1,9\r\n"), std::string::npos) << "B1 is index 1 on w24";
    EXPECT_TRUE(readFile("reports/_internal_blank_measurement/blank_w6.dat").empty());
    EXPECT_TRUE(pj().frameblank->isHidden());
}

// A blank run too short for its length saves nothing, and the labels keep the blank in use,
// also when the run was measured on another plate format than the one shown.
TEST_F(BlankFrameTest, ABlankThatIsNotSavedLeavesTheLabels)
{
    window->cmb_well->SetText("w6");
    pj().ShowBlankOf("w6");
    const std::string caption = pj().label_blank->Caption(), time = pj().lbl_blanktime->Caption();
    test::WriteProgramFile("reports/_internal_blank_measurement/blank_w24.dat",
                           "20241201_080000_blank_old\r\nacqlapse=0030\r\n\"#well\",\"Value\"\r\n0,1\r\n");
    test::WriteProgramFile("reports/_internal_blank_measurement/20250102_090000_blank_plate24/subpj.dat",
                           "_blank_plate24\r\nacq_time=60\r\nplate_format=w24\r\n");
    // After a deletion the list holds the runs of every format.
    pj().lbl_blanktime_DblClick();
    choose("20250101_090000_blank_a");
    boxes.expectMessage("Delete", MsgResult::Yes);
    pj().mndelblank_Click();
    choose("20250102_090000_blank_plate24");
    boxes.expectMessage("Load 20250102_090000_blank_plate24?", MsgResult::Yes);
    boxes.expectMessage("ERROR! Expected acqusition=60. Found=30");
    pj().lst_blank_DblClick();
    EXPECT_EQ(boxes.pending(), 0u);
    EXPECT_EQ(pj().label_blank->Caption(), caption);
    EXPECT_EQ(pj().lbl_blanktime->Caption(), time);
    EXPECT_EQ(readFile("reports/_internal_blank_measurement/blank_w24.dat").rfind("20241201_080000_blank_old\r\n", 0), 0u);
}

TEST_F(BlankFrameTest, OnlyTheRightButtonOpensTheDeleteMenu)
{
    pj().lst_blank_MouseUp(1, 0, 5, 5);
    EXPECT_FALSE(window->mndelblank_top->isVisible());
    pj().lst_blank_MouseUp(2, 0, 5, 5);
    EXPECT_TRUE(window->mndelblank_top->isVisible());
    window->mndelblank_top->close();
    EXPECT_TRUE(window->mndelblank->isEnabled());
}

}  // namespace
}  // namespace tirmo::project

namespace tirmo::project {
namespace {

// A blank run from the frame to its end: the store's blank of the format is the run's, named
// after the run's folder.
TEST_F(BlankFrameTest, AThirtyMinuteBlankRunBecomesTheStoreBlankOfItsFormat)
{
    fakeClock->setWall(test::LocalTime(2025, 3, 4, 9, 5, 7));
    // An empty plate: every frame alike, so the blank holds no counts.
    window->run->dummy_frames = [](int, int, int pixels) { return std::string(size_t(pixels), char(40)); };
    pj().cmd_blank_Click();
    pj().txt_blankname->SetText("Night 1");
    pj().txt_blanklapse->SetText("30");
    pj().cmd_okblank->Click();
    ASSERT_EQ(window->session().run_state, 1);
    const std::string run = "20250304_090507_blank_night_1";
    EXPECT_EQ(window->session().acquisition_folder, platform::ProgramPath("reports/_internal_blank_measurement/" + run));

    boxes.expectMessage("Blank OK");
    // The acquisition tick's own cadence, so that the run ends within a scan of its time.
    for (int ticks = 0; window->session().run_state == 1 && ticks < 20000; ++ticks) {
        fakeClock->advanceMs(200);
        window->run->Timer2_Timer();
    }
    ASSERT_EQ(window->session().run_state, 0);
    const std::string blank = test::ReadProgramFile("reports/_internal_blank_measurement/blank_w6.dat");
    EXPECT_EQ(blank.substr(0, blank.find("\r\n\"#")), run + "\r\nacqlapse=0030");
    EXPECT_FALSE(window->session().run_settings.BlankRun());
    EXPECT_TRUE(window->containers.Frm_report->isHidden()) << "a blank run opens no report";
    EXPECT_FALSE(window->txtlapse->isReadOnly());
}

}  // namespace
}  // namespace tirmo::project
