// The factory window's light calibration entries and the entries it shares with the main
// window, beside the main window on the simulator (SN 58, a "w6" plate lit by its LEDs).
#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>
#include <QListWidget>

#include <filesystem>
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
#include "ui/Colour.h"
#include "ui/PictureBox.h"
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

// Camera 0's LEDs 24, 31, 25, 32 light its well's quarters unequally (178 or 179 at level 2 or 4). Last run: every
// rectangle lost, nothing measured whatever the second round, ledpower.dat keeps a repeated row a rewrite would drop.
TEST_F(FactoryEntriesTest, InPlateCalibrationRunsAtTheDefaultGainAndGivesTheBoxesBack)
{
    camera::FactoryCameraTools& cam = *factory->camera;
    const auto lit = test::InstallLitW6Plate(*sim, "config_SN58", 3);
    sim->with([&](sim::SimState&) { return lit->setSkew(0, {3.56, 3.58, 1, 0.5}), 0; });
    lighting::LedMap& m = factory->lighting->led_map;
    for (ui::MsgResult answer : {ui::MsgResult::Cancel, ui::MsgResult::Ok, ui::MsgResult::Yes}) {
        const bool lost = answer == ui::MsgResult::Yes;
        if (lost) m.x1.fill(-1), m.x2.fill(-1), lighting::WriteLedPositions(m, "config_SN58"), answer = ui::MsgResult::Ok;
        const std::string before = test::ReadProgramFile("config_SN58/ledpower.dat") + "200,3\r\n";
        test::WriteProgramFile("config_SN58/ledpower.dat", before);
        sim->clearLog();
        cam.txt_gain->SetText("33"), cam.txt_exposure->SetText("77");
        boxes.expectMessage("please INSERT micropate for this test using culture condition", answer);
        if (answer == ui::MsgResult::Ok) boxes.expectMessage("Apply 2nd round of adjustment?", lost ? ui::MsgResult::Yes : ui::MsgResult::No);
        factory->lighting->Cmd_ledinplate->Click();
        boxes.verifyAllShown();
        EXPECT_EQ(cam.txt_gain->Text() + cam.txt_exposure->Text() + std::to_string(factory->plate->run_state), "33770");
        EXPECT_EQ(sim->frames().empty(), answer == ui::MsgResult::Cancel);
        EXPECT_EQ(test::ReadProgramFile("config_SN58/ledpower.dat") == before, answer == ui::MsgResult::Cancel || lost);
        if (answer == ui::MsgResult::Cancel) continue;
        EXPECT_EQ(values('G'), (std::vector<int>{session.default_gain, 33}));
        EXPECT_EQ(values('E'), (std::vector<int>{240, 77}));
        // The picture shows the last frame grabbed, camera 0's, cell by cell (x from 1, the scale one cell short).
        int lit = 0;
        for (int y = 0; y + 1 < std::stoi(cam.txt_pix->Text()); y += 3)
            for (int x = 1; x + 1 < std::stoi(cam.txt_lines->Text()); x += 3) {
                const int v = std::max(0, cam.frame_store.Value(0, x, y));
                lit += v > 0;
                ASSERT_EQ(factory->Picact->Point(x + 0.5, y + 0.5), ui::RGB(v, v, v)) << x << "," << y;
            }
        EXPECT_GT(lit, 0);
        factory->lighting->LoadLedTables();
        EXPECT_EQ(std::vector({m.power[24], m.power[31], m.power[25], m.power[32]}), (std::vector{2, 1, 4, 3}));
        EXPECT_EQ(factory->txt_status->Text().substr(0, 30), lost ? "CAM[0]: 96 LEDs light no count" : "1er ajuste; CAM[0]: 33 LEDs li");
        ASSERT_EQ(factory->lightcal->last_autocalibration.end, lost ? lighting::LedCalibrationOutcome::End::NothingMeasured
                                                                   : lighting::LedCalibrationOutcome::End::Done);
    }
}

// The band files of config whatever the instrument; W = 95 is speed 3 of generation 1, not 4.
TEST_F(FactoryEntriesTest, FastLedPreparesFromTheConfigBandsAtFirstGenerationSpeeds)
{
    for (auto [configBands, result, speed, status] : {std::tuple{false, -1, 0, "Run tables not prepared: Configuration error: camera 0 has no column bands"},
                                                      std::tuple{true, 1, 3, "Run tables prepared for w6"}}) {
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
        EXPECT_EQ(factory->txt_status->Text(), status);
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

// After a run (camera 0 on its wells' window) a full frame reads the simulator's picture over the boxes' window.
TEST_F(FactoryEntriesTest, AFullFrameAfterARunReadsTheWindowOfItsBoxes)
{
    ASSERT_TRUE(std::filesystem::create_directories(folder.path() + "/p/r") && window->run->ArmRun(folder.path() + "/p/r", "r") == 1);
    window->run->Timer2_Timer();
    window->run->StopPlayRun();
    ASSERT_NE(sim->with([](sim::SimState& s) { return s.cameras.windows[0].pix(); }), 183) << "the run's own window";
    const std::string block = sim->with([](sim::SimState& s) {  // the simulator's picture over the boxes' window
        return sim::CameraBlock([&] { auto c = s.cameras; c.windows[0] = {}; return c; }(), 0, '+', s.cameras.framesServed[0]);
    });
    factory->Command_fullframe->Click();
    EXPECT_EQ(factory->lbl_lenrx->ForeColor(), ui::colour::Black) << factory->lbl_lenrx->Caption();
    for (int y = 0; y < 143; ++y)
        for (int p = 0; p < 183; ++p) ASSERT_EQ(factory->camera->frame_store.Value(0, y + 1, 182 - p), uint8_t(block[size_t(183 * y + p)]));
}

// Enter must not overwrite the instrument's memory or its calibration, in either window: those questions default to No.
TEST_F(FactoryEntriesTest, QuestionsWhoseYesOverwritesTheInstrumentOrItsCalibrationDefaultToNo)
{
    using ui::MsgResult;
    window->project->lbl_blanktime_DblClick(), window->project->lst_blank->setCurrentRow(1);  // "Factory_Default"
    const std::tuple<const char*, std::string, MsgResult, std::function<void()>> cases[] = {  // a question answered on the way
        {"", "are you sure to Apply configuration?", MsgResult::No, [&] { window->pixelmap->cmd_applyset->Click(); }},
        {"are you sure to Apply", "0 files integrated. Send to Flash?", MsgResult::No, [&] { factory->pixelmap->cmd_applyset->Click(); }},
        {"", "are you sure to Reinicialize?", MsgResult::No, [&] { factory->masks->cmd_reset_set->Click(); }},
        {"", "Recalculate and replace internal factor files?", MsgResult::No, [&] { window->flash->cmd_recalc_internal->Click(); }},
        {"please INSERT micropate", "Apply 2nd round of adjustment?", MsgResult::No, [&] { factory->lighting->Cmd_ledinplate->Click(); }},
        {"", "Load Factory_Default Blank for w6?", MsgResult::No, [&] { window->project->lst_blank_DblClick(); }},
        {"", "Do you like to enable internal reference Measurements?", MsgResult::Yes, [&] { trigger("mn_internalref"); }},
    };
    for (const auto& [before, question, enter, ask] : cases) {
        if (*before) boxes.expectMessage(before, before[0] == 'p' ? MsgResult::Ok : MsgResult::Yes);
        boxes.expectMessage(question, MsgResult::No);
        ask();
        boxes.verifyAllShown();
        EXPECT_EQ(boxes.lastDefaultButton(), enter) << question;
    }
}

}  // namespace
}  // namespace tirmo::app
