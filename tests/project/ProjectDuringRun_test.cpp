#include <gtest/gtest.h>

#include "acquisition/RunControls.h"
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
#include "project/ProjectNames.h"

namespace tirmo::project {
namespace {

// A five-minute w6 run in dummy mode, started from the Play button in the dated project
// p20250720_mine.
class ProjectDuringRun : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        useFakeClock();
        fakeClock->setWall(test::LocalTime(2025, 7, 20, 10, 0, 0));
        link::Session& s = window->session();
        s.dummy_mode = 1;
        platform::MakeFolder(platform::ProgramPath("config"));
        ASSERT_TRUE(plate::WriteW6ColumnFile("\\config"));
        ASSERT_TRUE(plate::WriteW6RowFile("\\config"));
        ASSERT_TRUE(plate::WriteW6SpecFile("\\config"));
        ASSERT_TRUE(lighting::WriteLedSetup2File("\\config"));
        test::WriteProgramFile("config/ledxy.dat", "\"Led control\"\r\n");
        test::WriteProgramFile("reports/p20250720_mine/pjsetup.dat", "acq_time=5\r\nplate_format=w6\r\ntemperature=20\r\n");
        pj().FillProjectCombo("p20250720_mine");
        window->run->cmdPlay->Click();
        window->run->txt_acqname->SetText("run");
        window->run->cmd_playacq->Click();
        ASSERT_EQ(window->session().run_state, 1);
    }
    ProjectControls& pj() { return *window->project; }
    void tickToTheEnd()
    {
        for (int ticks = 0; window->session().run_state == 1 && ticks < 20000; ++ticks) {
            fakeClock->advanceMs(200);
            window->run->Timer2_Timer();
        }
    }
};

// Renaming the project of a running acquisition is refused: the run keeps its folder and
// writes into it to its end; once the run is over the rename goes ahead.
TEST_F(ProjectDuringRun, TheProjectOfARunningAcquisitionIsNotRenamed)
{
    const std::string run = window->session().acquisition_folder;
    for (int i = 0; i < 50; ++i) {
        fakeClock->advanceMs(200);
        window->run->Timer2_Timer();
    }
    boxes.expectMessage(kRenameDuringRun);
    pj().cmd_renpj_Click();
    EXPECT_EQ(boxes.pending(), 0u);
    EXPECT_TRUE(platform::FolderExists(platform::ProgramPath("reports/p20250720_mine")));
    EXPECT_FALSE(platform::FolderExists(platform::ProgramPath("reports/p20250720_moved")));
    EXPECT_EQ(pj().current_project, "p20250720_mine");

    tickToTheEnd();
    ASSERT_EQ(window->session().run_state, 0);
    const std::string activity = test::ReadProgramFile("reports/p20250720_mine/20250720_100000run/current_activity.txt");
    EXPECT_NE(activity.find("\"B3\""), std::string::npos) << "the run wrote its wells to the end";

    boxes.expectInput("Project Name:", "moved");
    pj().cmd_renpj_Click();
    EXPECT_TRUE(platform::FolderExists(platform::ProgramPath("reports/p20250720_moved/20250720_100000run")));
    EXPECT_EQ(run, platform::ProgramPath("reports/p20250720_mine/20250720_100000run"));
}

// Another project cannot be chosen while a run records: the run's format and groups stay, and
// the list shows the run's project again.
TEST_F(ProjectDuringRun, AnotherProjectIsNotChosenWhileARunRecords)
{
    test::WriteProgramFile("reports/p20250720_other/pjsetup.dat", "acq_time=9\r\nplate_format=w24\r\ntemperature=30\r\n");
    pj().FillProjectCombo("p20250720_mine", false);
    boxes.expectMessage(kChooseDuringRun);
    pj().cmb_project->SetText("p20250720_other");
    EXPECT_EQ(boxes.pending(), 0u);
    EXPECT_EQ(pj().current_project, "p20250720_mine");
    EXPECT_EQ(pj().cmb_project->Text(), "p20250720_mine");
    EXPECT_EQ(window->cmb_well->Text(), "w6");
    EXPECT_EQ(window->txtlapse->Text(), "5");

    tickToTheEnd();
    pj().cmb_project->SetText("p20250720_other");
    EXPECT_EQ(pj().current_project, "p20250720_other") << "chosen once the run has ended";
    EXPECT_EQ(window->txtlapse->Text(), "9");
}

}  // namespace
}  // namespace tirmo::project
