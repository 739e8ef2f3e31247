// A run that ends by itself opens the report panel for what it has just recorded.
#include <gtest/gtest.h>

#include <QGroupBox>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "acquisition/AcquisitionTick.h"
#include "link/Session.h"
#include "platform/Launcher.h"
#include "platform/Convert.h"
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

TEST_F(RunReportTest, TheEndOfADummyRunOpensThePanelAndItsReportHoldsTheRunsScans)
{
    test::ScopedDecimalSeparator dot(".");
    ReportControls& report = *window->report;
    report.FillReportLists();
    report.combo_intref->SetListIndex(0);  // whatever the panel showed before the run
    report.Combo_reportbin->SetText("60");
    session.dummy_mode = 1;
    window->txtlapse->SetText("0");  // over once every camera has been read
    ASSERT_EQ(window->run->ArmRun(runFolder, "run1"), 1);
    for (int n = 0; session.run_state == 1 && n < 5000; ++n) {
        clock.advanceMs(acquisition::kTickIntervalMs);
        window->run->Timer2_Timer();
        if (session.run_state == 1) {
            EXPECT_FALSE(report.Frm_report->isVisibleTo(window.get())) << "not before the run is over";
        }
    }
    ASSERT_EQ(session.run_state, 0);
    EXPECT_TRUE(report.Frm_report->isVisibleTo(window.get()));
    EXPECT_EQ(report.txt_welltype->Text(), "w6");
    EXPECT_EQ(report.Combo_reportbin->Text(), "ScanTime");
    EXPECT_EQ(report.combo_intref->Text(), "Apply");

    report.combo_intref->SetListIndex(0);  // the run folder has no factors to apply
    report.cmd_generatereport->Click();
    ASSERT_EQ(launched.size(), 1u);
    ASSERT_EQ(launched[0].size(), 2u);
    EXPECT_EQ(std::filesystem::path(launched[0][1]).parent_path(), std::filesystem::path(runFolder));
    std::ifstream in(launched[0][1], std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const long scans = window->run->scan_counter + 1;
    ASSERT_EQ(scans, 1);
    const std::string a1 = "\r\"A1\",\"-\"," + platform::Format(window->run->tables.well_scan_activity(0, 0), "0") + "\r";
    EXPECT_NE(text.find(a1), std::string::npos) << text;
    EXPECT_NE(text.find("\"Well\",\"Group/Time[m]\",0.0\r"), std::string::npos);
}

}  // namespace
}  // namespace tirmo::reports
