// Every panel the menus and buttons open, at the size the main window opens with on a
// 1366 x 768 desktop, read as a person reads it: each shown control's caption, text and list
// entries whole in their room, boxes captioned, none over another or cut at the edge of its holder.
// The pictures are kept in the build folder (panel-shots/) for a person to look at.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QListWidget>
#include <QScreen>

#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "acquisition/RunNames.h"
#include "app/Frm_advance.h"
#include "app/Frrm_offline.h"
#include "reports/PixelActivityFile.h"
#include "chemotaxis/Frm_bmpexport.h"
#include "platform/ProgramFolder.h"
#include "support/AppFixture.h"
#include "support/LayoutChecks.h"
#include "support/ProgramFiles.h"
#include "support/W6Recording.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"

namespace tirmo::app {
namespace {

// Controls meant to lie over another, "upper covers lower", each for its reason.
const std::set<std::string> kMeantToCover = {
    // The place the grid gives the monitor's length label lies in the temperature-cycle panel's
    // last rows; the label, shown last, lies on top with its own background.
    "lbl_lenrx covers Frame_tcycle",
    // The grid puts the monitor's text box at 18.5 rows, one pixel into the temperature-cycle
    // panel's lower border.
    "txt_in covers Frame_tcycle",
};

class ReadablePanelsTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        useFakeClock();
        // A project of the program's own naming, with one recording.
        const std::string recording = platform::ProgramPath("reports/p20261207_zebrafish/20261207_101500_larvae");
        platform::MakeFolder(recording);
        test::WriteW6Recording(recording);
        std::ofstream(recording + "/" + reports::PixelActivityFileName(0, 0)) << "scan,0\r\ntime[m],\"0.5\"\r\nA1,5,0,2,0,3\r\n\r\n";
        // The instrument's light calibration, which a run needs before its name is asked.
        test::WriteProgramFile(acquisition::LedPositionFile(57), "\"Led control\"\r\n");
        attachSimulator(4, 57);
        window->Form_Load();
        window->show();
        window->project->cmb_project->SetText("p20261207_zebrafish");
    }
};

struct Panel {
    const char* name;  // also the picture's file name
    // Opens the panel as the user does; answers the window (main or factory) to read.
    std::function<QMainWindow*()> open;
};

TEST_F(ReadablePanelsTest, EveryPanelReadsAtTheOpeningSizeOn1366x768)
{
    // Real type: the fonts the desktop has, measured as the platform draws them.
    ASSERT_FALSE(QFontDatabase::families().isEmpty()) << "no fonts installed (fonts-dejavu-core)";
    ASSERT_TRUE(QFontDatabase::isSmoothlyScalable(QFontInfo(window->font()).family()));
    ASSERT_EQ(QGuiApplication::primaryScreen()->size(), QSize(1366, 768));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();

    // Each panel as the user opens it; the factory window is a window of its own.
    auto* mw = window.get();
    const Panel panels[] = {
        {"start", [] { return nullptr; }},
        {"calibration", [&] { return mw->autoref->mncalibratewell->trigger(), nullptr; }},
        {"serial_monitor_and_temperature_cycle", [&] {
             mw->mn_showcomm->trigger();
             mw->thermal->mn_tcycle->trigger();
             return mw->lbl_lenrx->SetCaption("LEN(Rx) = 38405"), nullptr;
         }},
        {"blue_light", [&] {
             boxes.expectMessage("avoid using Power > 5");
             mw->lighting->mn_bluelight->trigger();
             mw->lighting->txt_pulseon->SetText("1440");
             return mw->lighting->txt_pulseoff->SetText("1440"), nullptr;
         }},
        {"autocalibration", [&] {
             mw->autoreference->BeginRound();
             mw->autoreference->Label("CAM5: Setting led15");
             return mw->autoreference->Progress(60), nullptr;
         }},
        {"temperature_calibration", [&] { return mw->thermal->mncalibratetemp->trigger(), nullptr; }},
        {"blank", [&] { return mw->project->cmd_blank_Click(), nullptr; }},
        {"factory_parameters", [&] { return boxes.expectInput("", "Tovel7391"), mw->mnfactory_param->trigger(), nullptr; }},
        {"name_confirmation", [&] {
             mw->project->cmb_project->SetText("default_project");  // a w6 plate
             return mw->run->cmdPlay->Click(), nullptr;
         }},
        {"recordings", [&] { return mw->cmd_load_recording->Click(), mw->offline.get(); }},
        {"report", [&] {
             mw->cmd_load_recording->Click();
             reports::RecordingBrowser& b = *mw->offline->browser;
             for (const char* row : {"p20261207_zebrafish", " ACQ"}) {  // the project, then its acquisition
                 b.Listpj->setCurrentItem(b.Listpj->findItems(QLatin1String(row), Qt::MatchContains).value(0));
                 b.Listpj_DblClick();
             }
             return mw->offline->cmd_report->Click(), mw->offline.get();
         }},
        {"heat_maps", [&] {
             QMainWindow* report = panels[10].open();  // the recording loaded
             mw->offline->heatmap->cmd_plotheat->Click();
             for (QWidget* view : {mw->offline->cmd_plotheatsum, mw->offline->cmd_plotheatkin})  // no caption shrunk
                 EXPECT_EQ(QFontInfo(view->font()).pointSize(), QFontInfo(report->font()).pointSize()) << test::Describe(view);
             return report;
         }},
        {"chemotaxis", [&]() -> QMainWindow* {
             mw->cmd_load_recording->Click();
             reports::RecordingBrowser& b = *mw->offline->browser;
             for (const char* row : {"p20261207_zebrafish", " ACQ"}) {
                 b.Listpj->setCurrentItem(b.Listpj->findItems(QLatin1String(row), Qt::MatchContains).value(0));
                 b.Listpj_DblClick();
             }
             mw->offline->cmd_report->Click();
             mw->offline->report->Option_output[2]->SetValue(true);
             mw->offline->report->cmd_generatereport->Click();
             return chemotaxis::ChemotaxisWindow();
         }},
        {"factory", [&]() -> QMainWindow* {
             boxes.expectInput("Enter password", "Tovel7391");
             return mw->mnadvanced->trigger(), mw->factory->link->cmdopen->Click(), mw->factory.get();  // DisConnected
         }},
    };
    QDir().mkpath(QStringLiteral(TIRMO_SHOTS_DIR));
    for (const Panel& panel : panels) {
        SCOPED_TRACE(panel.name);
        // Each panel from the window as it opened, in a start of its own.
        if (&panel != &panels[0]) {
            TearDown();
            SetUp();
            mw = window.get();
        }
        QMainWindow* shown = panel.open();
        if (!shown) shown = window.get();
        QCoreApplication::processEvents();  // what the window does before the user sees it
        EXPECT_TRUE(screen.contains(shown->frameGeometry())) << "the window is on the screen";
        QWidget* root = shown->centralWidget();
        const std::vector<QWidget*> controls = test::ShownControls(root);
        for (QWidget* w : controls) {
            if (const std::string fault = test::Unreadable(w); !fault.empty()) ADD_FAILURE() << test::Describe(w) << ": " << fault;
            if (test::OutOfView(root, w)) ADD_FAILURE() << test::Describe(w) << " is cut at the edge of what holds it";
        }
        for (const std::string& box : test::Uncaptioned(root, controls)) ADD_FAILURE() << box;
        for (const std::string& covered : test::CoveredControls(root, controls))
            if (!kMeantToCover.count(covered)) ADD_FAILURE() << covered;
        EXPECT_TRUE(shown->grab().save(QStringLiteral(TIRMO_SHOTS_DIR "/") + panel.name + ".png"));
    }
}

}  // namespace
}  // namespace tirmo::app
