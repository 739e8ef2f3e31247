// The main window's menus: the tree as the user sees it, the help, version and About entries, the
// serial monitor switch and the administrator password in front of the factory entries.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>

#include <cstdio>
#include <fstream>
#include <thread>

#include "app/Frm_advance.h"
#include "app/ProductInfo.h"
#include "platform/Launcher.h"
#include "platform/ProgramFolder.h"
#include "plate/PlateControls.h"
#include "acquisition/RunControls.h"
#include "support/AppFixture.h"
#include "camera/MainCameraControls.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"

namespace tirmo::app {
namespace {

using MenusTest = test::AppFixture;

// The captions of a menu's entries in order; separators as "-", hidden entries in brackets.
std::vector<std::string> captions(const QMenu* menu)
{
    std::vector<std::string> out;
    for (const QAction* a : menu->actions()) {
        std::string c = a->isSeparator() ? "-" : a->text().toStdString();
        out.push_back(a->isVisible() ? c : "[" + c + "]");
    }
    return out;
}

TEST_F(MenusTest, TheBarHoldsToolsAndHelpWithEveryEntryInItsPlace)
{
    std::vector<std::string> bar;
    for (const QAction* a : window->menuBar()->actions()) bar.push_back(a->text().toStdString());
    EXPECT_EQ(bar, (std::vector<std::string>{"Tools", "Help"}));
    EXPECT_EQ(captions(window->mntools),
              (std::vector<std::string>{"Advanced", "Enable Blue Lighting", "Enable Temperature cycle", "SaveRawData"}));
    EXPECT_EQ(captions(window->mnadvan), (std::vector<std::string>{"Well Format Calibration", "Lighting Calibration",
                                                                   "Temperature Calibration", "Factory Tools"}));
    EXPECT_EQ(captions(window->mnwellcal), (std::vector<std::string>{"Calibrate position"}));
    EXPECT_EQ(captions(window->mnlightcal),
              (std::vector<std::string>{"Background light", "[Well illumination]", "[Fast led calibration]"}));
    EXPECT_EQ(captions(window->mntempcal), (std::vector<std::string>{"Calibrate"}));
    const std::vector<std::string> factory = captions(window->mn_fac);
    const std::vector<std::string> expectedHead{"Enable Internal Reference ", "Factory Tools(Require password)",
                                                "Factory Parameters(Require Password)", "Show Communication values"};
    ASSERT_GE(factory.size(), expectedHead.size() + 6);
    EXPECT_EQ(std::vector<std::string>(factory.begin(), factory.begin() + 4), expectedHead);
    EXPECT_EQ(factory.back(), "DISABLE CAM5 (B3)");
    EXPECT_EQ(captions(window->mnhelp), (std::vector<std::string>{"Help Index", "SoftVersion", "-", "About"}));
    // The entries whose routines are not built yet cannot be chosen; the working ones can.
    for (QAction* placeholder : {window->mnjointrep})
        EXPECT_FALSE(placeholder->isEnabled()) << placeholder->text().toStdString();
    for (QAction* working : {window->mncalibralightback, window->mncalibratewell, window->mndelblank, window->mn_internalref, window->chk_saveraw, window->mnadvanced, window->mnfactory_param, window->mn_showcomm, window->mnhelpindex,
                             window->mnversion, window->mnabout})
        EXPECT_TRUE(working->isEnabled()) << working->text().toStdString();
}

TEST_F(MenusTest, VersionAndAboutShowTheProductAndVersion)
{
    boxes.expectMessage("Quelvanoscope TIRMO V2.6 Rev2025-07-20");
    window->mnversion->trigger();
    boxes.expectMessage("Quelvanoscope TIRMO\rV2.6 Rev2025-07-20\r");
    window->mnabout->trigger();
    const std::string about = AboutText();
    EXPECT_EQ(std::count(about.begin(), about.end(), '\r'), 5) << "six lines";
    EXPECT_NE(about.find("\r\r"), std::string::npos) << "the empty line before the contact";
}

TEST_F(MenusTest, SerialMonitorChosenTwiceLooksAsAtStartUp)
{
    window->mn_showcomm->trigger();
    EXPECT_TRUE(window->mn_showcomm->isChecked());
    EXPECT_FALSE(window->txt_in->isHidden());
    EXPECT_FALSE(window->lbl_lenrx->isHidden());
    window->mn_showcomm->trigger();
    EXPECT_FALSE(window->mn_showcomm->isChecked());
    EXPECT_TRUE(window->txt_in->isHidden());
    EXPECT_TRUE(window->lbl_lenrx->isHidden());
}

struct LaunchRecorder {
    LaunchRecorder()
    {
        platform::setLauncher([this](const std::vector<std::string>& argv, platform::ExitHandler onExit) {
            launched.push_back(argv);
            std::thread(std::move(onExit), exitStatus).join();  // the opener ends on a thread of its own
            return true;
        });
    }
    ~LaunchRecorder() { platform::setLauncher({}); }
    std::vector<std::vector<std::string>> launched;
    int exitStatus = 0;
};

// Help Index of both windows: the help file as one argument; what kept it from showing goes to
// the window's status line, also when the opener tells it as it ends.
TEST_F(MenusTest, HelpIndexOpensTheHelpFileAsOneArgumentOrSaysWhyNot)
{
    LaunchRecorder launcher;
    boxes.expectInput("Enter password", "Tovel7391");
    window->mnadvanced->trigger();
    ASSERT_TRUE(window->factory);
    QAction* factoryHelp = window->factory->findChild<QAction*>("mnhelpindex");
    ASSERT_TRUE(factoryHelp);

    // A program folder with a blank and a quote in its name stays one argument.
    const std::string odd = folder.path() + "/my \"docs\" dir";
    ASSERT_TRUE(platform::MakeFolder(odd));
    platform::SetProgramFolder(odd);
    const std::string help = odd + "/help_tirmo.pdf";
    for (auto [entry, status] :
         {std::pair{window->mnhelpindex, window->txt_status}, {factoryHelp, window->factory->txt_status}}) {
        for (const auto& [installed, exitStatus, said] :
             {std::tuple{false, 0, kHelpNotInstalled + help}, {true, 0, ""}, {true, 4, kHelpNotOpened + help}}) {
            installed ? void(std::ofstream(help) << "%PDF") : void(std::remove(help.c_str()));
            launcher.exitStatus = exitStatus;
            launcher.launched.clear();
            status->SetText("");
            entry->trigger();
            QCoreApplication::processEvents();
            EXPECT_EQ(status->Text(), said);
            EXPECT_EQ(launcher.launched.size(), installed ? 1u : 0u);
        }
    }
    EXPECT_EQ(launcher.launched[0], (std::vector<std::string>{"xdg-open", help}));
    platform::SetProgramFolder(folder.path());
}

// Each answer that is not the password exactly: another case, a blank before or after, empty
// (also what Cancel answers), one character short.
const char* const kWrongAnswers[] = {"tovel7391", " Tovel7391", "Tovel7391 ", "", "Tovel739", "TOVEL7391"};

TEST_F(MenusTest, AWrongPasswordShowsWrongPasswordAndNothingElse)
{
    for (const char* answer : kWrongAnswers) {
        SCOPED_TRACE(answer);
        boxes.expectInput("Enter password", answer);
        boxes.expectMessage("Wrong password");
        window->mnadvanced->trigger();
        EXPECT_FALSE(window->factory) << "no factory window made";
        boxes.expectInput("Enter password", answer);
        boxes.expectMessage("Wrong password");
        window->mnfactory_param->trigger();
        EXPECT_TRUE(window->containers.frame_flash->isHidden());
        boxes.verifyAllShown();
    }
    EXPECT_EQ(boxes.shown().size(), 4 * std::size(kWrongAnswers)) << "no other box";
}

TEST_F(MenusTest, TheRightPasswordOpensTheFactoryWindowAndIsAskedAgainEveryTime)
{
    boxes.expectInput("Enter password", "Tovel7391");
    window->mnadvanced->trigger();
    ASSERT_TRUE(window->factory);
    EXPECT_TRUE(window->factory->isVisible());
    EXPECT_FALSE(window->factory->isModal());
    Frm_advance* first = window->factory.get();
    // Closed and asked for again: the password again, the same window shown again.
    window->factory->close();
    boxes.expectInput("Enter password", "Tovel7391");
    window->mnadvanced->trigger();
    EXPECT_EQ(window->factory.get(), first);
    EXPECT_TRUE(first->isVisible());
    // A wrong answer now leaves the open window as it is.
    boxes.expectInput("Enter password", "x");
    boxes.expectMessage("Wrong password");
    window->mnadvanced->trigger();
    EXPECT_TRUE(first->isVisible());

    boxes.expectInput("Enter password", "Tovel7391");
    window->mnfactory_param->trigger();
    EXPECT_FALSE(window->containers.frame_flash->isHidden());
}

}  // namespace
}  // namespace tirmo::app

namespace tirmo::app {
namespace {

TEST_F(MenusTest, CloseLeavesTheCalibrationViewForThePlateMap)
{
    window->plate->current_format = "w24";
    window->camera->plate_view_shown = false;
    window->containers.Frame_menu->hide();
    window->camera->Frame_calibration->show();
    window->plate->cmb_formatplate->setEnabled(false);
    window->containers.cmd_menu->show();
    window->containers.cmd_menu->Click();
    EXPECT_TRUE(window->camera->plate_view_shown);
    EXPECT_FALSE(window->containers.Frame_menu->isHidden());
    EXPECT_TRUE(window->camera->Frame_calibration->isHidden());
    EXPECT_TRUE(window->plate->cmb_formatplate->isEnabled());
    EXPECT_TRUE(window->containers.cmd_menu->isHidden());
    EXPECT_EQ(window->plate->plate_rows, 4) << "the w24 plate drawn";
    EXPECT_EQ(window->plate->plate_columns, 6);
    EXPECT_TRUE(window->plate->plate_map->Shown());
}

}  // namespace
}  // namespace tirmo::app

namespace tirmo::app {
namespace {

TEST_F(MenusTest, ClosingTheMainWindowClosesTheFactoryWindowForGood)
{
    window->show();
    boxes.expectInput("Enter password", "Tovel7391");
    window->mnadvanced->trigger();
    ASSERT_TRUE(window->factory && window->factory->isVisible());
    window->close();
    EXPECT_FALSE(window->factory->isVisible());
    EXPECT_FALSE(window->isVisible()) << "not brought back by the factory window's closing";
    EXPECT_TRUE(window->unloaded);
}

}  // namespace
}  // namespace tirmo::app

namespace tirmo::app {
namespace {

TEST_F(MenusTest, EnablingTheInternalReferenceOffersEveryFormatWithALayoutFile)
{
    platform::MakeFolder(platform::ProgramPath("config"));
    for (const char* file : {"config/w6_spc.dat", "config/w48_spc.dat", "config/p35_spc.dat", "config/_spc.dat",
                             "config/w24_layout.dat"})
        std::ofstream(platform::ProgramPath(file)) << "x\r\n";
    window->cmb_well->SetText("w6");
    const int offered = window->cmb_well->ListCount();
    for (ui::MsgResult refusal : {ui::MsgResult::No, ui::MsgResult::Cancel}) {
        boxes.expectMessage("Do you like to enable internal reference Measurements?", refusal);
        window->mn_internalref->trigger();
        EXPECT_TRUE(window->run->chk_internalref->isHidden());
        EXPECT_FALSE(window->mn_internalref->isChecked());
        EXPECT_EQ(window->cmb_well->ListCount(), offered) << "a refusal leaves the lists alone";
    }
    boxes.expectMessage("Do you like to enable internal reference Measurements?", ui::MsgResult::Yes);
    boxes.expectMessage("OK");
    window->mn_internalref->trigger();
    EXPECT_FALSE(window->run->chk_internalref->isHidden());
    EXPECT_TRUE(window->mn_internalref->isChecked());
    for (ui::ComboBox* box : {window->cmb_well, window->plate->cmb_formatplate}) {
        std::vector<std::string> items;
        for (int i = 0; i < box->ListCount(); ++i) items.push_back(box->List(i));
        EXPECT_EQ(items, (std::vector<std::string>{"p35", "w48", "w6"}));
    }
    EXPECT_EQ(window->cmb_well->Text(), "w6");
}

}  // namespace
}  // namespace tirmo::app
