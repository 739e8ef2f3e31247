// The factory window's light calibration entries and the entries it shares with the main
// window, beside the main window on the simulator (SN 58, a "w6" plate lit by its LEDs).
#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>
#include <QListWidget>

#include <filesystem>
#include <functional>
#include <tuple>

#include "acquisition/RunPreparation.h"
#include "app/Frm_advance.h"
#include "devicememory/FlashPanel.h"
#include "lighting/LedMap.h"
#include "plate/BandFiles.h"
#include "project/CorrectionFolders.h"
#include "support/FakeClock.h"
#include "support/LitW6Plate.h"
#include "support/ProgramFiles.h"
#include "support/W6WindowFixture.h"
#include "ui/Controls.h"

namespace tirmo::app {
namespace {

class FactoryEntriesTest : public test::W6WindowFixture {
protected:
    void SetUp() override
    {
        W6WindowFixture::SetUp();
        test::InstallLitW6Plate(*sim, "config_SN58", 3);
        test::WriteProgramFile(std::string("config/") + lighting::kFactoryLayoutName, test::ReadProgramFile("config/ldsetup2.dat"));
        factory = std::make_unique<Frm_advance>(instrument, window->plate->groups);
        factory->main_window = window.get();
    }
    void TearDown() override { factory.reset(), W6WindowFixture::TearDown(); }
    void trigger(const char* entry) { factory->findChild<QAction*>(entry)->trigger(); }
    std::vector<int> values(char letter, std::vector<int> out = {})  // 16-bit settings received
    {
        for (const auto& f : sim->framesOf(letter)) out.push_back(f.a * 256 + f.b);
        return out;
    }
    test::FakeClock clock;
    std::unique_ptr<Frm_advance> factory;
};

TEST_F(FactoryEntriesTest, InPlateCalibrationRunsAtTheDefaultGainAndGivesTheBoxesBack)
{
    camera::FactoryCameraTools& cam = *factory->camera;
    for (ui::MsgResult answer : {ui::MsgResult::Cancel, ui::MsgResult::Ok}) {
        sim->clearLog();
        cam.txt_gain->SetText("33"), cam.txt_exposure->SetText("77");
        boxes.expectMessage("please INSERT micropate for this test using culture condition", answer);
        if (answer == ui::MsgResult::Ok) boxes.expectMessage("Apply 2nd round of adjustment?", ui::MsgResult::No);
        factory->lighting->Cmd_ledinplate->Click();
        boxes.verifyAllShown();
        EXPECT_EQ(cam.txt_gain->Text() + cam.txt_exposure->Text() + std::to_string(factory->plate->run_state), "33770");
        EXPECT_EQ(sim->frames().empty(), answer == ui::MsgResult::Cancel);
        if (answer == ui::MsgResult::Cancel) continue;
        EXPECT_EQ(values('G'), (std::vector<int>{session.default_gain, 33}));
        EXPECT_EQ(values('E'), (std::vector<int>{240, 77}));
        EXPECT_EQ(factory->txt_status->Text(), "1er ajuste");
        ASSERT_EQ(factory->lightcal->last_autocalibration.end, lighting::LedCalibrationOutcome::End::Done);
    }
}

// The band files of config whatever the instrument; W = 95 is speed 3 of generation 1, not 4.
TEST_F(FactoryEntriesTest, FastLedPreparesFromTheConfigBandsAtFirstGenerationSpeeds)
{
    for (auto [configBands, result, speed] : {std::tuple{false, -1, 0}, std::tuple{true, 1, 3}}) {
        if (configBands) {
            ASSERT_TRUE(plate::WriteW6ColumnFile("\\config") && plate::WriteW6RowFile("\\config"));
            std::string rows = test::ReadProgramFile("config/w6_row.dat");
            for (size_t at; (at = rows.find(",165")) != std::string::npos;) rows.replace(at, 4, ",105");
            test::WriteProgramFile("config/w6_row.dat", rows);
        } else {
            boxes.expectMessage(acquisition::kConfigurationError);
        }
        factory->plate->run_state = -1;
        trigger("mn_fastled");
        EXPECT_EQ(factory->plate->row_bands.first[0], -1) << "refused while a calibration runs";
        factory->plate->run_state = 0;
        EXPECT_EQ(factory->lightcal->mn_fastled_Click(), result);
        boxes.verifyAllShown();
        const acquisition::RunTables& t = factory->lightcal->run_tables;
        EXPECT_EQ(std::pair(factory->plate->run_state, t.run_speed), std::pair(0, speed));
        if (configBands) { EXPECT_EQ(t.run_exposure * 100 + t.scans, session.default_exposure * 500 + 300); }
    }
}

TEST_F(FactoryEntriesTest, WellIlluminationDrawsTheRunsFormatUnlessACalibrationRuns)
{
    for (auto [format, runState, rows, columns] : {std::tuple{"w24", -1, 0, 0}, std::tuple{"w24", 0, 4, 6}, std::tuple{"w6", 0, 2, 3}}) {
        session.run_settings.SetPlateFormat(format);
        factory->plate->run_state = runState;
        trigger("mncalibralight");
        EXPECT_EQ(std::pair(factory->plate->plate_rows, factory->plate->plate_columns), std::pair(rows, columns)) << format;
    }
}

TEST_F(FactoryEntriesTest, EntriesOfTheMainWindowsPanelsActThere)
{
    for (ui::MsgResult answer : {ui::MsgResult::Yes, ui::MsgResult::Yes, ui::MsgResult::No}) {
        boxes.expectMessage("Do you like to enable internal reference Measurements?", answer);
        if (answer == ui::MsgResult::Yes) boxes.expectMessage("OK");
        trigger("mn_internalref");
        EXPECT_EQ(window->run->chk_internalref->isHidden(), answer != ui::MsgResult::Yes);
        EXPECT_EQ(factory->mn_internalref->isChecked(), answer == ui::MsgResult::Yes);
    }
    const std::string run = "20250131_140512_blank_myblank";
    std::filesystem::create_directories(project::BlankStoreFolder(58) + "/" + run);
    window->project->lst_blank->addItem(QString::fromStdString(run));
    window->project->lst_blank->setCurrentRow(window->project->lst_blank->count() - 1);
    boxes.expectMessage("Delete " + run + "?", ui::MsgResult::Yes);
    trigger("mndelblank");
    EXPECT_FALSE(std::filesystem::exists(project::BlankStoreFolder(58) + "/" + run));
    session.port_open = false, session.dummy_mode = 1;
    window->hide();
    trigger("mncalibratewell");
    EXPECT_TRUE(window->isVisible() && !window->camera->Frame_calibration->isHidden());
    session.port_open = true;
    boxes.verifyAllShown();
}

// A run leaves camera 0 with the window of its wells; a full frame gives the camera the window
// of its boxes first and reads exactly the simulator's picture over it.
TEST_F(FactoryEntriesTest, AFullFrameAfterARunReadsTheWindowOfItsBoxes)
{
    const std::string runFolder = folder.path() + "/reports/default_project/run1";
    std::filesystem::create_directories(runFolder);
    window->txtlapse->SetText("30");
    ASSERT_EQ(window->run->ArmRun(runFolder, "run1"), 1);
    window->run->Timer2_Timer();
    window->run->StopPlayRun();
    ASSERT_NE(sim->with([](sim::SimState& s) { return s.cameras.windows[0].pix(); }), 183) << "the run's own window";
    camera::FactoryCameraTools& cam = *factory->camera;
    for (const sim::SimWindow w : {sim::SimWindow{0, 142, 1, 183}, sim::SimWindow{10, 60, 20, 100}}) {
        for (auto [box, value] : {std::pair{cam.txt_xini, w.y0}, {cam.txt_xfin, w.y1}, {cam.txt_yini, w.x0}, {cam.txt_yfin, w.x1}})
            box->SetText(std::to_string(value));
        const std::string block = sim->with([&](sim::SimState& s) {
            sim::CameraSimState asked = s.cameras;
            asked.windows[0] = w;
            return sim::CameraBlock(asked, 0, '+', s.cameras.framesServed[0]);
        });
        factory->Command_fullframe->Click();
        EXPECT_EQ(factory->lbl_lenrx->ForeColor(), ui::colour::Black) << factory->lbl_lenrx->Caption();
        const int lines = w.lines(), pix = w.pix();
        ASSERT_EQ(block.size(), size_t(lines * pix + 1));
        for (int y = 0; y < lines; ++y)
            for (int column = 1; column <= pix; ++column)
                ASSERT_EQ(cam.frame_store.Value(0, y + 1, pix - column), static_cast<unsigned char>(block[size_t(pix * y + column - 1)]))
                    << "line " << y << ", pixel " << column << " of " << pix;
    }
}

// Enter, or a click on the default, must not overwrite the instrument's memory or its
// calibration: those questions default to No, in either window; a question that changes
// nothing stored keeps Yes.
TEST_F(FactoryEntriesTest, QuestionsWhoseYesOverwritesTheInstrumentOrItsCalibrationDefaultToNo)
{
    using ui::MsgResult;
    const std::string run = "20250131_140512_blank_myblank";
    std::filesystem::create_directories(project::BlankStoreFolder(58) + "/" + run);
    auto pick = [&](const std::string& entry) {
        window->project->lst_blank->addItem(QString::fromStdString(entry));
        window->project->lst_blank->setCurrentRow(window->project->lst_blank->count() - 1);
    };
    struct Case {
        std::string before, question;  // before: a question answered Yes or Ok on the way
        MsgResult enter;
        std::function<void()> ask;
    };
    const Case cases[] = {
        {"", "are you sure to Apply configuration?", MsgResult::No, [&] { window->pixelmap->cmd_applyset->Click(); }},
        {"are you sure to Apply configuration?", "0 files integrated. Send to Flash?", MsgResult::No,
         [&] { factory->pixelmap->cmd_applyset->Click(); }},
        {"", "are you sure to Reinicialize?", MsgResult::No, [&] { factory->masks->cmd_reset_set->Click(); }},
        {"", "Recalculate and replace internal factor files?", MsgResult::No, [&] { window->flash->cmd_recalc_internal->Click(); }},
        {"please INSERT micropate", "Apply 2nd round of adjustment?", MsgResult::No, [&] { factory->lighting->Cmd_ledinplate->Click(); }},
        {"", "Load Factory_Default Blank for w6?", MsgResult::No, [&] { pick("Factory_Default"), window->project->lst_blank_DblClick(); }},
        {"", "Load " + run + "?", MsgResult::No, [&] { pick(run), window->project->lst_blank_DblClick(); }},
        {"", "Delete " + run + "?", MsgResult::No, [&] { pick(run), trigger("mndelblank"); }},
        {"", "Do you like to enable internal reference Measurements?", MsgResult::Yes, [&] { trigger("mn_internalref"); }},
    };
    for (const Case& c : cases) {
        if (!c.before.empty()) boxes.expectMessage(c.before, c.before == "please INSERT micropate" ? MsgResult::Ok : MsgResult::Yes);
        boxes.expectMessage(c.question, MsgResult::No);
        c.ask();
        boxes.verifyAllShown();
        EXPECT_EQ(boxes.defaultButtonOf(c.question), c.enter) << c.question;
    }
    EXPECT_TRUE(std::filesystem::exists(project::BlankStoreFolder(58) + "/" + run));
}

}  // namespace
}  // namespace tirmo::app
