// The report panels of the main and the saved-data window, and the saved-data window's list of
// recordings, driven as a user does.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGroupBox>
#include <QListWidget>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "app/Frrm_offline.h"
#include "chemotaxis/Frm_bmpexport.h"
#include "link/Session.h"
#include "platform/Clock.h"
#include "platform/Launcher.h"
#include "platform/Locale.h"
#include "platform/ProgramFolder.h"
#include "reports/ReportControls.h"
#include "reports/ReportWriter.h"
#include "reports/RunFileLoader.h"
#include "support/AppFixture.h"
#include "support/ProcessLocale.h"
#include "support/W6Recording.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/FixedWidthFont.h"
#include "support/FileSizeLimit.h"

namespace tirmo::reports {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> Items(const ui::ComboBox* box)
{
    std::vector<std::string> items;
    for (int i = 0; i < box->ListCount(); ++i) items.push_back(box->List(i));
    return items;
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

const std::vector<std::string> kBins = {"ScanTime", "15", "30", "60", "120", "240", "480", "1440"};

// The window offline, with one recorded w6 acquisition in the project "proj", an empty project
// "empty", and every program it would start caught.
class ReportPanelTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        useFakeClock();
        report = window->report.get();
        recording = platform::ProgramPath("reports/proj/20250131_140000_mix1");
        platform::MakeFolder(recording);
        test::WriteW6Recording(recording);
        platform::MakeFolder(platform::ProgramPath("reports/empty"));
        platform::setLauncher([this](const std::vector<std::string>& argv, platform::ExitHandler onExit) {
            launched.push_back(argv);
            if (starts && onExit) std::thread(std::move(onExit), exitStatus).join();  // it ends on a thread of its own
            return starts;
        });
        report->FillReportLists();
    }
    void TearDown() override
    {
        platform::setLauncher({});
        AppFixture::TearDown();
    }
    // The saved-data window opened from the main window; its panel is the one driven from then on.
    void openSaved()
    {
        window->cmd_load_recording->Click();
        saved = window->offline.get();
        report = saved->report.get();
    }
    RecordingBrowser& browser() const { return *saved->browser; }
    // A row's text as listed, its tab included.
    std::string row(int i) const
    {
        return browser().Listpj->item(i)->data(RecordingBrowser::kRowRole).toString().toStdString();
    }
    int rowOf(const std::string& text) const
    {
        for (int i = 0; i < browser().Listpj->count(); ++i)
            if (row(i) == text) return i;
        return -1;
    }
    void doubleClick(int row)
    {
        browser().Listpj->setCurrentRow(row);
        browser().Listpj_DblClick();
    }
    // The recording loaded in the saved-data window: its project opened, its row double-clicked.
    void openRecording()
    {
        openSaved();
        doubleClick(rowOf("+ 2025.0131\tproj"));
        doubleClick(rowOf("  > 2025.0131\t ACQ14:00 \"mix 1\""));
        saved->cmd_report->Click();
    }
    bool panelShown() const { return !report->Frm_report->isHidden(); }
    std::string statusLine() const { return (saved ? static_cast<app::TextBoxConsole*>(saved) : window.get())->txt_status->Text(); }

    app::Frrm_offline* saved = nullptr;
    ReportControls* report = nullptr;
    std::string recording;
    std::vector<std::vector<std::string>> launched;
    bool starts = true;  // how the next program started fares
    int exitStatus = 0;
};

TEST_F(ReportPanelTest, TheStartUpFillsTheListsAndTheDividerFollowsTheLocale)
{
    struct Case {
        const char* locale;
        const char* divider;
    };
    for (const Case c : {Case{"C", ","}, Case{test::kCommaLocale, ";"}}) {
        test::ScopedProcessLocale locale(c.locale);
        ASSERT_TRUE(locale.active()) << c.locale;
        restartProgram();
        window->unloaded = false;
        boxes.expectInput("PORT ERROR", "");
        window->Form_Load();
        const ReportControls& r = *window->report;
        EXPECT_EQ(Items(r.Combo_reportbin), kBins);
        EXPECT_EQ(r.Combo_reportbin->Text(), "ScanTime");
        EXPECT_EQ(Items(r.combo_intref), (std::vector<std::string>{"No", "Apply", "Update"}));
        EXPECT_EQ(r.combo_intref->ListIndex(), 1);
        EXPECT_EQ(Items(r.Combo_reportfile), (std::vector<std::string>{".csv", ".txt"}));
        EXPECT_EQ(r.Combo_reportfile->ListIndex(), 0);
        EXPECT_EQ(Items(r.Combo_reportdivider), (std::vector<std::string>{",", ";"}));
        EXPECT_EQ(r.Combo_reportdivider->Text(), c.divider) << c.locale;
        EXPECT_EQ(r.label_binsize->Caption(), "BinSize");
        EXPECT_TRUE(r.Frm_report->isHidden());
        window->unloaded = true;
    }
}

TEST_F(ReportPanelTest, OpeningThePanelAfterAJointReportMakesItAnOrdinaryReportOfThePlateInUse)
{
    // What a joint report leaves behind.
    report->joint_mode = true;
    for (int i = 1; i < 4; ++i) report->Option_output[size_t(i)]->setEnabled(false);
    report->combo_intref->setEnabled(false);
    report->combo_intref->SetListIndex(0);
    report->chk_blank->setEnabled(false);
    report->Combo_reportbin->Clear();
    report->Combo_reportbin->AddItem("ScanTime");
    report->label_binsize->SetCaption("Joining time:");
    report->cmd_generatereport->SetCaption("Generate Joint Report");
    boxes.expectMessage("Change Plate to w24?", ui::MsgResult::Yes);
    window->cmb_well->SetText("w24");
    window->plate->groups.well_group[4] = 2;
    window->plate->groups.group_names[2] = "Treated";

    report->cmdreport_Click();
    EXPECT_FALSE(report->joint_mode);
    EXPECT_EQ(report->txt_welltype->Text(), "w24");
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(report->Option_output[size_t(i)]->isEnabled()) << i;
    EXPECT_TRUE(report->combo_intref->isEnabled());
    EXPECT_TRUE(report->chk_blank->isEnabled());
    EXPECT_EQ(Items(report->Combo_reportbin), kBins);
    EXPECT_EQ(report->Combo_reportbin->Text(), "ScanTime");
    EXPECT_EQ(report->combo_intref->Text(), "Apply");
    EXPECT_EQ(report->label_binsize->Caption(), "Binsize");
    EXPECT_EQ(report->cmd_generatereport->Caption(), "Generate");
    EXPECT_EQ(window->plate->report_groups.well_group[4], 2);
    EXPECT_EQ(window->plate->report_groups.group_names[2], "Treated");
    EXPECT_TRUE(report->Frm_report->isVisibleTo(window.get()));

    report->Cmd_closereport->Click();
    EXPECT_FALSE(report->Frm_report->isVisibleTo(window.get()));
}

TEST_F(ReportPanelTest, TheSavedDataWindowListsProjectsWithRecordingsAndOpensAndClosesThem)
{
    window->show();
    openSaved();
    EXPECT_TRUE(window->isHidden()) << "the main window steps aside";
    EXPECT_FALSE(saved->isHidden());
    EXPECT_TRUE(window->containers.frame_offline->isHidden()) << "its own list stays where it was";
    ASSERT_EQ(browser().Listpj->count(), 1) << "a project without recordings is not listed";
    EXPECT_EQ(row(0), "+ 2025.0131\tproj");
    EXPECT_EQ(browser().Listpj->item(0)->text().toStdString(), "+ 2025.0131  proj") << "shown with blanks for the tab";
    EXPECT_TRUE(saved->cmd_report->isHidden());

    doubleClick(0);
    ASSERT_EQ(browser().Listpj->count(), 2);
    EXPECT_EQ(row(1), "  > 2025.0131\t ACQ14:00 \"mix 1\"");
    doubleClick(1);
    EXPECT_EQ(saved->cmd_report->Caption(), "Report [20250131_1400]");
    EXPECT_FALSE(saved->barplot->cmd_plotbar->isHidden());
    EXPECT_FALSE(panelShown()) << "the panel waits for its button";
    saved->cmd_report->Click();
    EXPECT_TRUE(panelShown());
    doubleClick(0);
    EXPECT_EQ(browser().Listpj->count(), 1);
    EXPECT_TRUE(saved->cmd_report->isHidden()) << "closing a project hides what shows a recording";
    doubleClick(0);
    browser().txt_search->setText("zzz");  // filters nothing; Back empties it
    browser().lblback->Click();
    EXPECT_EQ(browser().Listpj->count(), 1);
    EXPECT_EQ(browser().txt_search->Text() + std::to_string(browser().Listpj->currentRow()), "0");
    EXPECT_TRUE(ui::EqualAdvances(browser().Listpj->font())) << "the rows' columns line up";

    // Its activity file gone after the listing: nothing of the acquisition shown before is offered.
    doubleClick(0), doubleClick(1), saved->cmd_report->Click();
    fs::remove(recording + "/current_activity.txt");
    doubleClick(1);
    EXPECT_EQ(statusLine() + " groups " + std::to_string(saved->barplot->combogrup->count()), "No current_activity.txt in " + recording + " groups 0");
    for (QWidget* w : std::initializer_list<QWidget*>{saved->cmd_report, report->Frm_report, saved->barplot->cmd_plotbar, saved->cmd_plotheat})
        EXPECT_TRUE(w->isHidden()) << w->objectName().toStdString();
    saved->cmd_closeoffline->Click();
    EXPECT_FALSE(window->isHidden());
    EXPECT_TRUE(launched.empty());
}

TEST_F(ReportPanelTest, AnOpenedRecordingGivesTheEnginesReportOfItsFolderAndOpensItAsOneArgument)
{
    boxes.expectMessage("Change Plate to w24?", ui::MsgResult::Yes);
    window->cmb_well->SetText("w24");  // the recording's own format counts, not the one in use
    openRecording();
    EXPECT_EQ(statusLine(), "Loaded " + recording) << "a path as the system writes it";
    EXPECT_EQ(saved->txt_status->toolTip().toStdString(), statusLine()) << "the whole message, however long";
    EXPECT_EQ(window->session().acquisition_folder, recording);
    EXPECT_EQ(report->txt_welltype->Text(), "w6");
    EXPECT_EQ(browser().recording.data.groups.well_group[0], 1);
    EXPECT_EQ(browser().recording.data.groups.group_names[2], "Treated");
    EXPECT_EQ(browser().recording.last_record(), 4);

    report->chk_noise->SetValue(1);
    report->cmd_generatereport->Click();
    ASSERT_EQ(launched.size(), 1u);
    ASSERT_EQ(launched[0].size(), 2u) << "the program and the path, nothing else";
    const std::string written = launched[0][1];
    EXPECT_EQ(launched[0][0], "xdg-open");
    EXPECT_EQ(fs::path(written).parent_path(), fs::path(recording));
    EXPECT_FALSE(panelShown());
    QCoreApplication::processEvents();  // the opener's end: it found a program
    EXPECT_EQ(statusLine(), kReportWritten + written);

    ReportOptions same;
    same.noise = true;
    same.decimal = platform::DecimalSeparator();
    same.charset = platform::UserCharset();
    same.divider = report->Combo_reportdivider->Text();
    ReportEnvironment env;
    env.now = platform::WallNow();
    const ReportOutcome engine = GenerateReport(LoadAcquisition(recording).data, recording, same, env);
    ASSERT_EQ(engine.result, ReportOutcome::Result::Written);
    EXPECT_NE(engine.path, written) << "a report of the same second keeps the first";
    EXPECT_EQ(Slurp(written), Slurp(engine.path));

    // Without a program to open it, whether the opener could not start or ended finding none
    // for the file type, the status line says so and where the report is, and what the report took stays beside it.
    std::ofstream(recording + "/factor_correction.txt", std::ios::binary)
        << "\"s\"\r\nwell A1 B1\r\nmult_factor 1.00 3.00\r\n\r\n";
    const std::string note = " (" + recording + "/factor_correction.txt, line 3: factors above 2.55 are taken as 2.55: B1 3.00)";
    for (const auto& [started, status] : {std::pair{false, 0}, {true, 3}}) {
        starts = started;
        exitStatus = status;
        saved->cmd_report->Click();
        report->cmd_generatereport->Click();
        QCoreApplication::processEvents();
        EXPECT_EQ(statusLine(), kReportNotOpened + launched.back()[1] + note);
        browser().mnexplore_folder->trigger(), QCoreApplication::processEvents();  // the folder view fares no better
        EXPECT_EQ(statusLine(), "No program could open " + recording);
    }
}

// The degree sign and typed names in the locale's character set; the line ends as they were.
TEST_F(ReportPanelTest, TheReportIsWrittenInTheCharacterSetOfTheLocale)
{
    openRecording();
    for (const auto& [charset, degree, eAcute] :
         {std::tuple{platform::Charset::Latin1, "\xB0", "\xE9"}, {platform::Charset::Utf8, "\xC2\xB0", "\xC3\xA9"}}) {
        platform::SetUserCharset(charset);
        browser().recording.data.groups.well_group[3] = 2;  // B2, in a group named as typed
        browser().recording.data.groups.group_names[2] = "Trait\xE9";
        report->cmd_generatereport->Click();
        const std::string text = Slurp(launched.back()[1]), div = report->Combo_reportdivider->Text();
        EXPECT_NE(text.find("\r\nTemperature[" + (degree + ("C]" + div))), std::string::npos) << degree;
        EXPECT_NE(text.find("\r\"B2\"" + div + "\"002_Trait" + eAcute + "\""), std::string::npos) << eAcute;
    }
    platform::SetUserCharset(std::nullopt);
}

TEST_F(ReportPanelTest, AWriteThatFailsShowsReportErrorLeavesNoFileAndKeepsThePanel)
{
    openRecording();
    const std::vector<std::string> before = FilesIn(recording);
    boxes.expectMessage(kReportError);
    {
        test::ScopedFileSizeLimit full(300);
        ASSERT_TRUE(full.ok());
        report->cmd_generatereport->Click();
    }

    EXPECT_EQ(FilesIn(recording), before);
    EXPECT_TRUE(launched.empty());
    EXPECT_TRUE(panelShown());
}

TEST_F(ReportPanelTest, MapPlotHandsTheRecordingToTheChemotaxisWindowOrSaysWhyNot)
{
    struct Case {
        const char* format;
        const char* message;  // nullptr: handed over
        const char* bin_after;
    };
    openRecording();
    const std::vector<std::string> before = FilesIn(recording);
    for (const Case c : {Case{"w96f", kMapPlotFormats, "60"}, Case{"w6", nullptr, "ScanTime"}}) {
        report->txt_welltype->SetText(c.format);
        report->Option_output[2]->SetValue(true);
        report->Combo_reportbin->SetText("60");
        if (c.message) boxes.expectMessage(c.message);
        report->cmd_generatereport->Click();
        boxes.verifyAllShown();
        EXPECT_EQ(FilesIn(recording), before) << c.format;
        EXPECT_EQ(panelShown(), c.message != nullptr) << c.format;
        EXPECT_EQ(report->Combo_reportbin->Text(), c.bin_after) << c.format;
        const chemotaxis::Frm_bmpexport* chemo = chemotaxis::ChemotaxisWindow();
        EXPECT_EQ(chemo != nullptr && chemo->isVisible(), c.message == nullptr) << c.format;
        if (chemo) {
            EXPECT_EQ(chemo->txt_formatowell->Text(), c.format);
        }
    }
    EXPECT_TRUE(launched.empty());
}

TEST_F(ReportPanelTest, ApplyBlankSaysWhetherTheRecordingHasItsOwnBlank)
{
    struct Case {
        bool copy;
        std::string message;
        int value_after;
    };
    const Case cases[] = {
        {true, "Using blank file available on 2025/01/31_14:05:12", 1},
        {false, "Not blank for this experiment dated 2025/01/31_14:05:12", 0},
    };
    openRecording();
    for (const Case& c : cases) {
        if (!c.copy) fs::remove(fs::path(recording) / "blank_w6.dat");
        const size_t shown = boxes.shown().size();
        boxes.expectMessage(c.message);
        report->chk_blank->SetValue(1);
        ASSERT_EQ(boxes.shown().size(), shown + 1) << "one box, and unticking asks nothing";
        EXPECT_EQ(boxes.shown().back(), c.message);
        EXPECT_EQ(report->chk_blank->Value(), c.value_after);
        report->chk_blank->SetValue(0);
        EXPECT_EQ(boxes.shown().size(), shown + 1);
    }
}

// One line of a run's file damaged: the report of the run just recorded is refused before
// anything is sized, naming the file and line, with nothing written. Each bound's other side
// reports.
TEST_F(ReportPanelTest, ADamagedRunFileIsRefusedByItsLineAndNothingIsWritten)
{
    struct Case {
        const char* file;
        int line;  // the line replaced; 0: the whole file
        const char* text;
        bool refused;
        std::string says;  // refused: the message after "<file>, line "; else in the status
    };
    const std::string written = kReportWritten;
    const Case cases[] = {
        {"current_activity.txt", 6, "99999999999 \"B2\" 30", true, "6: \"99999999999\" is not a time of a run"},
        {"current_activity.txt", 6, "100000000.0 \"B2\" 30", true, "6: \"100000000.0\""},
        {"current_activity.txt", 6, "33440.1 \"B2\" 30", true, "6: \"33440.1\""},
        {"current_activity.txt", 6, "33440 \"B2\" 30", false, written},
        {"current_activity.txt", 6, "-0.1 \"B2\" 30", true, "6: \"-0.1\""},
        {"current_activity.txt", 3, "0 \"A1\" 0", false, written},
        {"current_activity.txt", 6, "1e308 \"B2\" 1e308", true, "6: \"1e308\""},
        {"current_activity.txt", 6, "nan \"B2\" nan", true, "6: \"nan\""},
        {"current_activity.txt", 6, "0.4 \"B2\" -1", true, "6: \"-1\" is not an accumulated count"},
        {"current_activity.txt", 6, "0.4 \"B2\" 12.5", true, "6: \"12.5\""},
        {"current_activity.txt", 6, "0.4 \"B2\"", true, "6: \"\""},
        {"current_activity.txt", 30, "20.4 \"B2\" 14000000000001", true, "30: \"14000000000001\""},
        {"current_activity.txt", 30, "20.4 \"B2\" 14000000000000", false, written},
        // B2 counts 30 in scan 0 and 58 in scan 1: an accumulated count never falls.
        {"current_activity.txt", 6, "0.4 \"B2\" 99999999999", true, "12: \"58\" is below the count of B2 before it"},
        {"current_activity.txt", 6, "0.4 \"B2\" 59", true, "12: \"58\" is below"},
        {"current_activity.txt", 6, "0.4 \"B2\" 58", false, written},
        {"current_activity.txt", 0, "", true, "1: the file ends before its column header"},
        {"current_activity.txt", 0, "\x93\x01q\r\nZ\xff 7 nan\r\n", true, "2: this is not the column header"},
        {"current_temperature.txt", 9, "5.1 -1", true, "9: \"-1\" is not a stage temperature"},
        {"current_temperature.txt", 9, "5.1 99999999999", true, "9: \"99999999999\""},
        {"current_temperature.txt", 9, "5.1 250.1", true, "9: \"250.1\""},
        {"current_temperature.txt", 9, "5.1 250", false, written},
        {"chgroup.dat", 5, "abc,2,\"x\"", true, "5: "},
        {"chgroup.dat", 5, "3,-7,\"x\"", true, "5: "},
        {"chgroup.dat", 0, "", true, "1: "},
        {"chgroup.dat", 5, "3,384,\"x\"", false, written},
        {"factor_correction.txt", 3, "mult_factor 1.00 abc", true, "3: \"abc\" is not a factor"},
        {"factor_correction.txt", 3, "factors 1.00", false, "no \"mult_factor\" on line 3, every factor is 1.0"},
        // Below 0 or beyond what reference runs give is refused; above 2.55 is said.
        {"factor_correction.txt", 3, "mult_factor 1.00 -0.01", true, "3: \"-0.01\" is not a factor reference runs give"},
        {"factor_correction.txt", 3, "mult_factor 1.00 0", false, written},
        {"factor_correction.txt", 3, "mult_factor 1e308 1.00", true, "3: \"1e308\""},
        {"factor_correction.txt", 3, "mult_factor 1.00 212600881054", true, "3: \"212600881054\""},
        {"factor_correction.txt", 3, "mult_factor 2.55 212600881053 2.56 99999999999",
         false, "3: factors above 2.55 are taken as 2.55: B1 212600881053, A2 2.56, B2 99999999999)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + ": " + c.text);
        test::WriteW6Recording(recording);
        std::string text = c.text;
        if (c.line > 0) {
            text = Slurp(recording + "/" + c.file);
            size_t at = 0;
            for (int i = 1; i < c.line; ++i) at = text.find("\r\n", at) + 2;
            text.replace(at, text.find("\r\n", at) - at, c.text);
        }
        std::ofstream(recording + "/" + c.file, std::ios::binary) << text;
        const std::vector<std::string> before = FilesIn(recording);
        const std::string message = recording + "/" + c.file + ", line " + c.says;
        report->Cmd_closereport_Click();
        window->session().acquisition_folder = recording;  // as at the end of the run that made it
        report->cmdreport_Click();
        report->Combo_reportbin->SetText("15");
        boxes.expectMessage(c.refused ? message : std::string("Warning Message"));
        report->cmd_generatereport->Click();
        boxes.verifyAllShown();
        if (c.refused) {
            EXPECT_EQ(FilesIn(recording), before);
            EXPECT_EQ(statusLine().find(written), std::string::npos) << "the report before is no outcome of this one";
        } else {
            EXPECT_NE(statusLine().find(c.says), std::string::npos);
        }
        EXPECT_EQ(panelShown(), c.refused);
    }
}

TEST_F(ReportPanelTest, NoRecordingOpensWhileARunRecords)
{
    openSaved();
    doubleClick(rowOf("+ 2025.0131\tproj"));
    const std::string runFolder = window->session().acquisition_folder;
    window->session().run_state = 1;
    boxes.expectMessage(kRunRecording);
    doubleClick(rowOf("  > 2025.0131\t ACQ14:00 \"mix 1\""));
    window->session().run_state = 0;
    EXPECT_EQ(window->session().acquisition_folder, runFolder);
    EXPECT_FALSE(browser().loaded);
    EXPECT_TRUE(saved->cmd_report->isHidden());
}

// Chosen rows of the saved-data window become a joint report, re-exported by the panel into the last project's
// folder until the next choice in the list or the loaded acquisition's button, which opens its own report.
TEST_F(ReportPanelTest, AJointReportOfChosenRecordingsIsReexportedByThePanel)
{
    // A file a report refuses: the joint report tells why and joins nothing.
    const std::string adjusted = recording + "/adjusted_activity.txt";
    std::ofstream(adjusted, std::ios::binary) << "\"s\"\r\n\"Time[m]\" \"Well\" \"n\"\r\n0.1 \"A1\" nan\r\n";
    openRecording();
    report->Cmd_closereport->Click();
    browser().Listpj->item(0)->setSelected(true);  // a project row takes no part
    browser().Listpj->item(1)->setSelected(true);
    boxes.expectMessage("Do you like to remove outliers?", ui::MsgResult::No);
    boxes.expectMessage(adjusted + ", line 3: \"nan\" is not an accumulated count");
    browser().mnjointrep->trigger();
    boxes.verifyAllShown();
    EXPECT_FALSE(report->joint_mode);

    fs::copy_file(recording + "/current_activity.txt", adjusted, fs::copy_options::overwrite_existing);
    boxes.expectMessage("Do you like to remove outliers?", ui::MsgResult::No);
    browser().mnjointrep->trigger();
    EXPECT_TRUE(report->joint_mode);
    EXPECT_EQ(statusLine().rfind("Joint report " + platform::ProgramPath("reports/default_project/joint"), 0), 0u) << statusLine();
    EXPECT_TRUE(panelShown());
    EXPECT_EQ(report->cmd_generatereport->Caption(), "Generate Joint Report");
    EXPECT_EQ(report->label_binsize->Caption(), "Joining time:");
    EXPECT_EQ(saved->lbl_reportexport->Caption(), "Joint Report");
    EXPECT_EQ(Items(report->Combo_reportbin), std::vector<std::string>{"ScanTime"});
    for (int i = 1; i < 4; ++i) EXPECT_FALSE(report->Option_output[size_t(i)]->isEnabled()) << i;
    EXPECT_FALSE(report->combo_intref->isEnabled());
    EXPECT_FALSE(report->chk_blank->isEnabled());
    const std::string projectFolder = platform::ProgramPath("reports/proj");
    EXPECT_EQ(window->session().acquisition_folder, projectFolder);

    report->Combo_reportbin->SetText("10");
    report->Combo_reportdivider->SetText(",");
    report->cmd_generatereport->Click();
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(fs::path(launched[0][1]).parent_path(), fs::path(projectFolder));
    EXPECT_EQ(Slurp(launched[0][1]).rfind("\\proj\r\n\\20250131_140000_mix1,[w6]\r\nTime,A1,B1,A2,B2,A3,B3\r\n10,", 0), 0u);

    saved->cmd_report->Click();
    EXPECT_EQ(saved->lbl_reportexport->Caption() + report->cmd_generatereport->Caption(), "Report [20250131_1400]Generate");
    EXPECT_EQ(Items(report->Combo_reportbin), kBins);
    for (QWidget* w : std::initializer_list<QWidget*>{report->Option_output[2], report->combo_intref, report->chk_blank}) EXPECT_TRUE(w->isEnabled());
    report->cmd_generatereport->Click();
    ASSERT_EQ(launched.size(), 2u);
    EXPECT_EQ(fs::path(launched[1][1]).parent_path(), fs::path(recording)) << "the acquisition's report, in its folder";

    doubleClick(rowOf("+ 2025.0131\tproj"));
    EXPECT_FALSE(report->joint_mode);
    EXPECT_EQ(report->cmd_generatereport->Caption(), "Generate");
}

TEST_F(ReportPanelTest, ARecordingWithoutScansIsReportedAsSuchAndGetsNoReport)
{
    std::ofstream(recording + "/current_activity.txt", std::ios::binary)
        << "\"2025/01/31_14:05:12\"\r\n\"Time[m]\" \"Well\" \"Accumulated_activity\"\r\n0.1 \"B1\" 4\r\n";
    openRecording();
    EXPECT_EQ(statusLine(), "No scan recorded in " + recording);
    const std::vector<std::string> before = FilesIn(recording);
    boxes.expectMessage(kNoScans);
    report->cmd_generatereport->Click();
    EXPECT_EQ(FilesIn(recording), before);
    EXPECT_TRUE(launched.empty());
}

}  // namespace
}  // namespace tirmo::reports
