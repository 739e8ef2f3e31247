// A run that ends by itself opens the report panel for what it has just recorded.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QListWidget>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "acquisition/AcquisitionTick.h"
#include "app/Frrm_offline.h"
#include "link/Session.h"
#include "platform/Launcher.h"
#include "reports/ReportControls.h"
#include "support/FakeClock.h"
#include "support/ProcessLocale.h"
#include "support/W6WindowFixture.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"

namespace tirmo::reports {
namespace {

class RunReportTest : public test::W6WindowFixture {
protected:
    void SetUp() override
    {
        W6WindowFixture::SetUp();
        if (HasFatalFailure()) return;
        runFolder = folder.path() + "/reports/default_project/20260314_150926_run1";
        std::filesystem::create_directories(runFolder);
        platform::setLauncher([this](const std::vector<std::string>& argv, const platform::ExitHandler&) {
            launched.push_back(argv);
            return true;
        });
    }
    void TearDown() override
    {
        platform::setLauncher({});
        W6WindowFixture::TearDown();
    }

    test::FakeClock clock;
    std::string runFolder;
    std::vector<std::vector<std::string>> launched;
};

TEST_F(RunReportTest, TheEndOfADummyRunOpensThePanelForTheReportItsFilesGiveReopened)
{
    test::ScopedDecimalSeparator dot(".");
    ReportControls& report = *window->report;
    report.FillReportLists();
    report.combo_intref->SetListIndex(0);  // whatever the panel showed before the run
    report.Combo_reportbin->SetText("60");
    session.dummy_mode = 1;
    window->txtlapse->SetText("5");
    ASSERT_EQ(window->run->ArmRun(runFolder, "run1"), 1);
    for (int n = 0; session.run_state == 1 && n < 5000; ++n) {
        clock.advanceMs(acquisition::kTickIntervalMs);
        window->run->Timer2_Timer();
        if (session.run_state == 1) {
            EXPECT_FALSE(report.Frm_report->isVisibleTo(window.get())) << "not before the run is over";
        }
    }
    ASSERT_EQ(session.run_state, 0);
    ASSERT_GT(window->run->scan_counter, 10);
    EXPECT_TRUE(report.Frm_report->isVisibleTo(window.get()));
    EXPECT_EQ(report.txt_welltype->Text(), "w6");
    EXPECT_EQ(report.Combo_reportbin->Text(), "ScanTime");
    EXPECT_EQ(report.combo_intref->Text(), "Apply");

    report.combo_intref->SetListIndex(0);  // the run folder has no factors to apply
    report.cmd_generatereport->Click();
    // Loaded in the saved-data window (its project, then the run): the same report.
    window->cmd_load_recording->Click();
    RecordingBrowser& browser = *window->offline->browser;
    for (const std::string name : {"default_project", "20260314_150926_run1"}) {
        const auto row = std::find_if(browser.rows.begin(), browser.rows.end(),
                                      [&](const BrowserRow& r) { return (r.project ? r.project_name : r.acquisition) == name; });
        ASSERT_NE(row, browser.rows.end()) << name;
        browser.Listpj->setCurrentRow(int(row - browser.rows.begin()));
        browser.Listpj_DblClick();
    }
    window->offline->report->combo_intref->SetListIndex(0);
    window->offline->report->cmd_generatereport->Click();
    ASSERT_EQ(launched.size(), 2u);
    EXPECT_EQ(std::filesystem::path(launched[0][1]).parent_path(), std::filesystem::path(runFolder));
    auto text = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    EXPECT_EQ(text(launched[1][1]), text(launched[0][1]));
}

}  // namespace
}  // namespace tirmo::reports
