// The main window's report panel and its list of saved acquisitions, driven as a user does.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGroupBox>
#include <QListWidget>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

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
            if (starts) std::thread(std::move(onExit), exitStatus).join();  // it ends on a thread of its own
            return starts;
        });
        report->FillReportLists();
    }
    void TearDown() override
    {
        platform::setLauncher({});
        AppFixture::TearDown();
    }
    // A row's text as listed, its tab included.
    std::string row(int i) const
    {
        return report->Listpj->item(i)->data(ReportControls::kRowRole).toString().toStdString();
    }
    int rowOf(const std::string& text) const
    {
        for (int i = 0; i < report->Listpj->count(); ++i)
            if (row(i) == text) return i;
        return -1;
    }
    void doubleClick(int row)
    {
        report->Listpj->setCurrentRow(row);
        report->Listpj_DblClick();
    }
    // The recording opened from the list: the list shown, its project opened, its row double-clicked.
    void openRecording()
    {
        report->cmd_load_recording->Click();
        doubleClick(rowOf("+ 2025.0131\tproj"));
        doubleClick(rowOf("  > 2025.0131\t ACQ14:00 \"mix 1\""));
    }

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
        window = std::make_unique<app::Frm_acquire>();
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

TEST_F(ReportPanelTest, TheListShowsProjectsWithAndWithoutAcquisitionsAndOpensAndClosesThem)
{
    QWidget* frame = window->containers.frame_offline;
    EXPECT_EQ(report->Listpj->parentWidget(), frame);
    EXPECT_EQ(report->cmd_load_recording->parentWidget(), window->containers.frame_group);
    EXPECT_FALSE(frame->isVisibleTo(window.get()));
    report->cmd_load_recording->Click();
    EXPECT_TRUE(frame->isVisibleTo(window.get()));
    ASSERT_EQ(report->Listpj->count(), 2);
    EXPECT_EQ(row(0), "+         \tempty");
    EXPECT_EQ(report->Listpj->item(0)->text().toStdString(), "+           empty") << "shown with blanks for the tab";
    EXPECT_EQ(row(1), "+ 2025.0131\tproj");

    doubleClick(1);
    ASSERT_EQ(report->Listpj->count(), 3);
    EXPECT_EQ(row(2), "  > 2025.0131\t ACQ14:00 \"mix 1\"");
    EXPECT_EQ(report->Listpj->currentRow(), 1);
    doubleClick(0);
    EXPECT_EQ(report->Listpj->count(), 3) << "a project without acquisitions opens to nothing";
    // An acquisition opens its report panel in the list's place; closing the panel brings the
    // list back.
    doubleClick(2);
    EXPECT_TRUE(report->Frm_report->isVisibleTo(window.get()));
    EXPECT_FALSE(frame->isVisibleTo(window.get()));
    report->Cmd_closereport->Click();
    EXPECT_TRUE(frame->isVisibleTo(window.get()));
    doubleClick(1);
    EXPECT_EQ(report->Listpj->count(), 2);

    report->cmd_load_recording->Click();
    EXPECT_FALSE(frame->isVisibleTo(window.get()));
    report->cmd_load_recording->Click();
    report->cmd_closeoffline->Click();
    EXPECT_FALSE(frame->isVisibleTo(window.get()));
    EXPECT_TRUE(launched.empty());
}

TEST_F(ReportPanelTest, AnOpenedRecordingGivesTheEnginesReportOfItsFolderAndOpensItAsOneArgument)
{
    boxes.expectMessage("Change Plate to w24?", ui::MsgResult::Yes);
    window->cmb_well->SetText("w24");  // the recording's own format counts, not the one in use
    openRecording();
    EXPECT_EQ(window->session().acquisition_folder, recording);
    EXPECT_EQ(report->txt_welltype->Text(), "w6");
    EXPECT_TRUE(report->Frm_report->isVisibleTo(window.get()));
    EXPECT_EQ(window->plate->report_groups.well_group[0], 1);
    EXPECT_EQ(window->plate->report_groups.group_names[2], "Treated");
    ASSERT_TRUE(report->loaded.has_value());
    EXPECT_EQ(report->loaded->data.scan_counter, 4);

    report->chk_noise->SetValue(1);
    report->cmd_generatereport->Click();
    ASSERT_EQ(launched.size(), 1u);
    ASSERT_EQ(launched[0].size(), 2u) << "the program and the path, nothing else";
    const std::string written = launched[0][1];
    EXPECT_EQ(launched[0][0], "xdg-open");
    EXPECT_EQ(fs::path(written).parent_path(), fs::path(recording));
    EXPECT_FALSE(report->Frm_report->isVisibleTo(window.get()));
    QCoreApplication::processEvents();  // the opener's end: it found a program
    EXPECT_EQ(window->txt_status->Text(), kReportWritten + written);

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
    // for the file type, the status line says so and where the report is.
    for (const auto& [started, status] : {std::pair{false, 0}, {true, 3}}) {
        starts = started;
        exitStatus = status;
        report->cmdreport_Click();
        report->cmd_generatereport->Click();
        QCoreApplication::processEvents();
        EXPECT_EQ(window->txt_status->Text(), kReportNotOpened + launched.back()[1]);
    }
}

// The degree sign and typed names in the locale's character set; the line ends as they were.
TEST_F(ReportPanelTest, TheReportIsWrittenInTheCharacterSetOfTheLocale)
{
    openRecording();
    for (const auto& [charset, degree, eAcute] :
         {std::tuple{platform::Charset::Latin1, "\xB0", "\xE9"}, {platform::Charset::Utf8, "\xC2\xB0", "\xC3\xA9"}}) {
        platform::SetUserCharset(charset);
        report->cmdreport_Click();
        window->plate->report_groups.well_group[3] = 2;  // B2, in a group named as typed
        window->plate->report_groups.group_names[2] = "Trait\xE9";
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
    EXPECT_TRUE(report->Frm_report->isVisibleTo(window.get()));
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
        EXPECT_EQ(report->Frm_report->isVisibleTo(window.get()), c.message != nullptr) << c.format;
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

// One line of a recording's file damaged: the recording does not open (the factors are read
// only for a report) and the report of it as the run just recorded is refused before anything
// is sized, both naming the file and line, with nothing written. Each bound's other side reports.
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
        {"current_activity.txt", 6, "0.4 \"B2\" 10000000000001", true, "6: \"10000000000001\""},
        {"current_activity.txt", 6, "0.4 \"B2\" 10000000000000", false, written},
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
        const bool onOpen = c.refused && std::string(c.file) != "factor_correction.txt";
        report->Cmd_closereport_Click();
        report->cmd_closeoffline->Click();
        report->expanded.clear();
        if (onOpen) boxes.expectMessage(message);
        openRecording();
        EXPECT_EQ(report->Frm_report->isVisibleTo(window.get()), !onOpen);

        report->loaded.reset();  // as at the end of the run that made it
        window->session().acquisition_folder = recording;
        report->cmdreport_Click();
        report->Combo_reportbin->SetText("15");
        boxes.expectMessage(c.refused ? message : std::string("Warning Message"));
        report->cmd_generatereport->Click();
        boxes.verifyAllShown();
        if (c.refused) {
            EXPECT_EQ(FilesIn(recording), before);
        } else {
            EXPECT_NE(window->txt_status->Text().find(c.says), std::string::npos);
        }
        EXPECT_EQ(report->Frm_report->isVisibleTo(window.get()), c.refused);
    }
}

TEST_F(ReportPanelTest, NoRecordingOpensWhileARunRecords)
{
    report->cmd_load_recording->Click();
    doubleClick(rowOf("+ 2025.0131\tproj"));
    const std::string runFolder = window->session().acquisition_folder;
    window->session().run_state = 1;
    boxes.expectMessage(kRunRecording);
    doubleClick(rowOf("  > 2025.0131\t ACQ14:00 \"mix 1\""));
    window->session().run_state = 0;
    EXPECT_EQ(window->session().acquisition_folder, runFolder);
    EXPECT_FALSE(report->loaded.has_value());
    EXPECT_FALSE(report->Frm_report->isVisibleTo(window.get()));
}

}  // namespace
}  // namespace tirmo::reports
