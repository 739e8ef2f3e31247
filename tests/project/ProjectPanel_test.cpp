#include <gtest/gtest.h>

#include <QListWidget>

#include <ctime>

#include "link/Session.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "project/ProjectControls.h"
#include "support/AppFixture.h"
#include "support/ProgramFiles.h"
#include "thermal/ThermalControls.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "support/FakeClock.h"

namespace tirmo::project {
namespace {

using ui::MsgResult;

// The main window offline in a fresh program folder, on 20 July 2025.
class ProjectPanelTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        useFakeClock();
        fakeClock->setWall(test::LocalTime(2025, 7, 20, 10, 0, 0));
        for (const char* p : {"default_project", "p20250720_my_test_1", "p20250720_taken"}) makeProject(p, "30", "w6", "20");
    }
    void makeProject(const std::string& name, const std::string& time, const std::string& format, const std::string& temp)
    {
        test::WriteProgramFile("reports/" + name + "/pjsetup.dat",
                               "acq_time=" + time + "\r\nplate_format=" + format + "\r\ntemperature=" + temp + "\r\n");
    }
    bool exists(const std::string& relative) const { return platform::FolderExists(platform::ProgramPath(relative)); }
    ProjectControls& pj() { return *window->project; }
    std::vector<std::string> listed()
    {
        std::vector<std::string> names;
        for (int i = 0; i < pj().cmb_project->ListCount(); ++i) names.push_back(pj().cmb_project->List(i));
        return names;
    }
};

TEST_F(ProjectPanelTest, NewProjectIsDatedAndTakesTheWindowsValues)
{
    window->txtlapse->SetText("45");
    window->thermal->txttemp->SetText("25");
    boxes.expectInput("Enter a name for your project", "My Test 2");
    pj().cmd_loadpj->Click();

    EXPECT_EQ(pj().current_project, "p20250720_my_test_2");
    EXPECT_EQ(pj().cmb_project->Text(), "p20250720_my_test_2");
    EXPECT_EQ(readFile("reports/p20250720_my_test_2/pjsetup.dat"), "acq_time=45\r\nplate_format=w6\r\ntemperature=25\r\n");
    EXPECT_FALSE(readFile("reports/p20250720_my_test_2/chgroup.dat").empty());
    EXPECT_EQ(listed(), (std::vector<std::string>{"default_project", "p20250720_my_test_1", "p20250720_my_test_2",
                                                  "p20250720_taken"}));
}

TEST_F(ProjectPanelTest, NewWithANameOfTheSameDayReusesThatProject)
{
    test::WriteProgramFile("reports/p20250720_my_test_1/20250720_090000run/subpj.dat", "run\r\n");
    window->txtlapse->SetText("75");
    boxes.expectInput("Enter a name for your project", "my TEST 1");
    pj().cmd_loadpj_Click();
    EXPECT_EQ(pj().current_project, "p20250720_my_test_1");
    EXPECT_EQ(readFile("reports/p20250720_my_test_1/pjsetup.dat"), "acq_time=75\r\nplate_format=w6\r\ntemperature=20\r\n");
    EXPECT_EQ(readFile("reports/p20250720_my_test_1/20250720_090000run/subpj.dat"), "run\r\n") << "its runs stay";
}

TEST_F(ProjectPanelTest, TypedNamesAreMeasuredAndNeverLeaveReports)
{
    const struct { std::string typed, message, folder; } cases[] = {
        {"", "", ""},
        {"a", "minimum len=2char", ""},
        {"ab", "", "p20250720_ab"},
        {std::string(100, 'n'), "", "p20250720_" + std::string(100, 'n')},
        {std::string(101, 'n'), "maximum len=100char", ""},
        {"../../x", "", "p20250720_______x"},
        {"/etc", "", "p20250720__etc"},
        {"\xC9t\xE9", "", "p20250720__t_"},
        {"\xC9\xE9", "is saved as \"__\"", "p20250720___"},  // letters no folder name keeps: told
    };
    for (const auto& c : cases) {
        const auto before = listed();
        const std::string projectBefore = pj().current_project;
        boxes.expectInput("Enter a name for your project", c.typed);
        if (!c.message.empty()) boxes.expectMessage(c.message);
        pj().cmd_loadpj_Click();
        if (c.folder.empty()) {
            EXPECT_EQ(listed(), before) << c.typed;
            EXPECT_EQ(pj().current_project, projectBefore) << c.typed;
        } else {
            EXPECT_TRUE(exists("reports/" + c.folder)) << c.typed;
            EXPECT_EQ(pj().current_project, c.folder) << c.typed;
        }
    }
    EXPECT_FALSE(exists("x"));
    EXPECT_FALSE(exists("etc"));
    EXPECT_EQ(boxes.pending(), 0u);
}

TEST_F(ProjectPanelTest, RenameKeepsThePrefixAndMovesTheContents)
{
    test::WriteProgramFile("reports/p20250720_my_test_1/20250720_100000run/subpj.dat", "run\r\n");
    pj().FillProjectCombo("p20250720_my_test_1");
    boxes.expectInput("Project Name:", "Better Name");
    pj().cmd_renpj->Click();

    EXPECT_FALSE(exists("reports/p20250720_my_test_1"));
    EXPECT_EQ(readFile("reports/p20250720_better_name/20250720_100000run/subpj.dat"), "run\r\n");
    EXPECT_EQ(pj().current_project, "p20250720_better_name");
    EXPECT_EQ(pj().cmb_project->Text(), "p20250720_better_name");
}

TEST_F(ProjectPanelTest, RenameOntoAnExistingProjectIsRefusedAndBothStay)
{
    pj().FillProjectCombo("p20250720_my_test_1");
    boxes.expectInput("Project Name:", "Taken");
    boxes.expectMessage("p20250720_taken already exists");
    pj().cmd_renpj_Click();
    EXPECT_TRUE(exists("reports/p20250720_my_test_1"));
    EXPECT_TRUE(exists("reports/p20250720_taken"));
    EXPECT_EQ(pj().current_project, "p20250720_my_test_1");

    // The offered name unchanged is the project itself: nothing moves, nothing is said.
    boxes.expectInput("Project Name:", "my test 1");
    pj().cmd_renpj_Click();
    EXPECT_TRUE(exists("reports/p20250720_my_test_1"));
    // An empty answer is a cancel.
    boxes.expectInput("Project Name:", "");
    pj().cmd_renpj_Click();
    EXPECT_EQ(pj().current_project, "p20250720_my_test_1");
}

TEST_F(ProjectPanelTest, ProjectsNotMadeByNewAreNotRenamedAndNothingIsAsked)
{
    makeProject("_internal_referenceSN12", "30", "w6", "20");
    for (const char* project : {"default_project", "_internal_referenceSN12"}) {
        pj().FillProjectCombo(project);
        pj().cmd_renpj_Click();  // a box would fail the test
        EXPECT_TRUE(exists(std::string("reports/") + project));
        EXPECT_EQ(pj().current_project, project);
    }
}

TEST_F(ProjectPanelTest, SetUpFileLinesApplyInOrderUntilOneFails)
{
    const struct {
        const char* what;
        std::string file;
        std::string time, format, temperature;
        bool error;
    } cases[] = {
        {"three lines", "acq_time=45\r\nplate_format=w24\r\ntemperature=25\r\n", "45", "w24", "25", false},
        {"two lines", "acq_time=45\r\nplate_format=w24\r\n", "45", "w24", "20", true},
        {"one line", "acq_time=45\r\n", "45", "w6", "20", true},
        {"empty file", "", "30", "w6", "20", true},
        {"temperature not listed", "acq_time=45\r\nplate_format=w24\r\ntemperature=45\r\n", "45", "w24", "20", true},
        {"last listed temperature", "acq_time=45\r\nplate_format=w24\r\ntemperature=37\r\n", "45", "w24", "37", false},
        {"format first", "plate_format=w24\r\nplate_format=w96f\r\ntemperature=21\r\n", "30", "w96f", "21", false},
    };
    for (const auto& c : cases) {
        window->txtlapse->SetText("30");
        window->cmb_well->SetText("w6");
        window->plate->current_format = "w6";
        window->thermal->txttemp->SetText("20");
        test::WriteProgramFile("reports/setup_case/pjsetup.dat", c.file);
        if (c.error) boxes.expectMessage("error reading project setup file");
        pj().ReadProjectSetup("setup_case");  // a "Change Plate" question would fail the test
        EXPECT_EQ(window->txtlapse->Text(), c.time) << c.what;
        EXPECT_EQ(window->cmb_well->Text(), c.format) << c.what;
        EXPECT_EQ(window->thermal->txttemp->Text(), c.temperature) << c.what;
        EXPECT_EQ(boxes.pending(), 0u) << c.what;
    }
}

TEST_F(ProjectPanelTest, MissingSetUpGetsTheDefaultFileAndPendingBlankRunSkipsIt)
{
    platform::MakeFolder(platform::ProgramPath("reports/bare"));
    window->txtlapse->SetText("50");
    pj().ReadProjectSetup("bare");
    EXPECT_EQ(readFile("reports/bare/pjsetup.dat"), "acq_time=30\r\nplate_format=w96f\r\ntemperature=20\r\n");
    EXPECT_EQ(window->txtlapse->Text(), "50") << "the window keeps its values";

    // A pending blank run: the project is still applied (groups, plate, blank), its set-up file
    // is neither read nor made.
    platform::MakeFolder(platform::ProgramPath("reports/bare2"));
    makeProject("w24proj", "90", "w24", "30");
    window->session().run_settings.SetBlankRun(true);
    pj().FillProjectCombo("w24proj");
    EXPECT_EQ(window->txtlapse->Text(), "50");
    EXPECT_EQ(window->cmb_well->Text(), "w6");
    EXPECT_EQ(pj().current_project, "w24proj");
    EXPECT_EQ(pj().label_blank->Caption(), "Using blank [w6]:");
    pj().ReadProjectSetup("bare2");
    EXPECT_TRUE(readFile("reports/bare2/pjsetup.dat").empty());
}

TEST_F(ProjectPanelTest, SelectingAProjectAppliesItsFormatGroupsAndBlank)
{
    makeProject("w24proj", "90", "w24", "30");
    test::WriteProgramFile("reports/_internal_blank_measurement/blank_w24.dat",
                           "20250131_140512_blank_mix1\r\nacqlapse=0060\r\n");
    pj().FillProjectCombo("w24proj");
    EXPECT_EQ(pj().current_project, "w24proj");
    EXPECT_EQ(window->plate->current_format, "w24");
    EXPECT_EQ(window->plate->plate_columns, 6);
    EXPECT_EQ(window->plate->cmb_formatplate->Text(), "w24");
    EXPECT_EQ(window->txtlapse->Text(), "90");
    EXPECT_EQ(pj().label_blank->Caption(), "Using blank [w24]:");
    EXPECT_EQ(pj().lbl_blanktime->Caption(), "2025.01.31 14:05h");
    EXPECT_FALSE(readFile("reports/w24proj/chgroup.dat").empty()) << "its groups were loaded (and made)";
}

TEST_F(ProjectPanelTest, ListHoldsFoldersOnlySortedAndRefusesAnUnlistedName)
{
    makeProject("Zproj", "30", "w6", "20");
    makeProject("aproj", "30", "w6", "20");
    test::WriteProgramFile("reports/pj_sn0.dat", "default_project\r\n");
    test::WriteProgramFile("reports/nodotfile", "x\r\n");
    makeProject("with.dot", "30", "w6", "20");
    makeProject("ab", "30", "w6", "20");
    pj().FillProjectCombo("aproj");
    EXPECT_EQ(listed(), (std::vector<std::string>{"Zproj", "aproj", "default_project", "p20250720_my_test_1",
                                                  "p20250720_taken"}));
    for (const char* unlisted : {"gone", "nodotfile", "with.dot", "ab"}) {
        boxes.expectMessage("last project folder not found!");
        pj().FillProjectCombo(unlisted);
        EXPECT_EQ(pj().current_project, "aproj") << unlisted;
    }
}

TEST_F(ProjectPanelTest, SetUpThatCannotBeWrittenIsReported)
{
    boxes.expectMessage("Error creating project folder/setup");
    EXPECT_FALSE(pj().WriteProjectSetup("no_such_project"));
    EXPECT_FALSE(exists("reports/no_such_project"));
}

TEST_F(ProjectPanelTest, ControlsLieInTheContainersTheLayoutPlacesThemIn)
{
    const struct { QWidget* control; QWidget* container; } cases[] = {
        {pj().cmb_project, window->containers.Frame_project},
        {pj().cmd_loadpj, window->containers.Frame_project},
        {pj().cmd_renpj, window->containers.Frame_project},
        {pj().Label_pj, window->containers.Frame_project},
        {pj().cmd_blank, window->containers.Frame_menu},
        {pj().frameblank, window->containers.frameblank},
        {pj().lst_blank, window->containers.frameblank},
        {pj().cmd_okblank, window->containers.frameblank},
    };
    for (const auto& c : cases) {
        ASSERT_NE(c.control, nullptr);
        if (c.control == c.container) continue;
        EXPECT_EQ(c.control->parentWidget(), c.container) << c.control->objectName().toStdString();
    }
    EXPECT_TRUE(pj().frameblank->isHidden());
    EXPECT_EQ(pj().cmd_loadpj->Caption(), "New");
    EXPECT_EQ(pj().cmd_renpj->Caption(), "Rename");
    EXPECT_EQ(pj().cmd_blank->Caption(), "Read Blank");
}

// The real start-up, offline: which project it opens.
TEST_F(ProjectPanelTest, StartUpOpensTheLastProjectOrFallsBackToTheDefault)
{
    makeProject("w24proj", "90", "w24", "30");
    const struct {
        const char* what;
        std::optional<std::string> lastFile;  // nullopt: no pj_sn0.dat
        std::string project;
        bool fallback;
    } cases[] = {
        {"no last-project file", std::nullopt, "default_project", false},
        {"last project present", "w24proj\r\n", "w24proj", false},
        {"in another letter case", "W24PROJ\r\n", "w24proj", false},
        {"last project gone", "gone\r\n", "default_project", true},
        {"empty line", "\r\n", "default_project", false},
        {"reports itself", "..\r\n", "default_project", false},
        {"a path", "../../etc\r\n", "default_project", false},
        {"a file of reports", "pj_sn0.dat\r\n", "default_project", true},
    };
    for (const auto& c : cases) {
        std::remove(platform::ProgramPath("reports/pj_sn0.dat").c_str());
        if (c.lastFile) test::WriteProgramFile("reports/pj_sn0.dat", *c.lastFile);
        window->unloaded = true;
        restartProgram();
        boxes.expectInput("PORT ERROR", "");
        if (c.fallback) boxes.expectMessage("Last project folder Not found!. setting default...");
        window->Form_Load();
        EXPECT_EQ(pj().current_project, c.project) << c.what;
        EXPECT_EQ(pj().cmb_project->Text(), c.project) << c.what;
        EXPECT_EQ(boxes.pending(), 0u) << c.what;
        EXPECT_TRUE(readFile("reports/chgroup.dat").empty()) << c.what << ": reports is no project";
        EXPECT_TRUE(readFile("chgroup.dat").empty()) << c.what;
    }
    EXPECT_EQ(readFile("reports/default_project/pjsetup.dat"), "acq_time=30\r\nplate_format=w6\r\ntemperature=20\r\n");
}

}  // namespace
}  // namespace tirmo::project
