#include <gtest/gtest.h>

#include <QLineEdit>

#include <filesystem>

#include "app/Frm_advance.h"
#include "app/LightCalibrationWindows.h"
#include "devicememory/FlashPanel.h"
#include "devicememory/PixelMapControls.h"
#include "link/Exchange.h"
#include "platform/ProgramFolder.h"
#include "link/CommPort.h"
#include "sim/InstrumentSimulator.h"
#include "sim/SimLitPlate.h"
#include "support/AppFixture.h"
#include "support/ProgramFiles.h"
#include "support/RunFiles.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/PictureBox.h"

namespace tirmo::devicememory {
namespace {

// The main window started against instrument 57, whose memory is erased.
class FlashPanelTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        useFakeClock();
        attachSimulator(4, 57);
        window->Form_Load();
        sim->clearLog();
    }
    void openPanel()
    {
        boxes.expectInput("Enter password", "Tovel7391");
        window->mnfactory_param->trigger();
    }
};

TEST_F(FlashPanelTest, ThePanelSendsTheCheckedSetsAndCloses)
{
    openPanel();
    FlashPanel& panel = *window->flash;
    ASSERT_TRUE(panel.frame_flash->isVisible());
    EXPECT_EQ(panel.Check_flash[2]->Caption(), "Temperature Calibration");
    panel.Check_flash[2]->SetValue(1);
    panel.cmd_sendflash->Click();
    EXPECT_EQ(boxes.shown().size(), 1u) << "the password only";
    const std::string record = sim->with([](sim::SimState& s) { return s.flash.block(1, 4); });
    EXPECT_EQ(record.substr(0, 19), "Tempfactor:1L_2x1i/");
    EXPECT_EQ(record.substr(24, 4), std::string("\x86\x62\x00\xAD", 4)) << "no tempfactor.dat: the defaults";
    EXPECT_FALSE(panel.transferring);
    panel.cmd_closeflashmenu->Click();
    EXPECT_TRUE(panel.frame_flash->isHidden());
}

// Background light (each block's tenth LED lights nothing: no band), SEND, a fresh first start, RECEIVE: one ledxy.dat.
TEST_F(FlashPanelTest, TheLightCalibrationComesBackAsItWasSaved)
{
    sim->with([](sim::SimState& s) { sim::InstallEmptyStage(s, sim::StageLedGrid(), 20); });
    boxes.expectMessage("Remove Microplate and press OK");
    boxes.expectMessage("Calibration Finished");
    window->lightcal->mncalibralightback_Click();
    EXPECT_EQ(window->txt_status->Text(), "CAM[5]: OK; no band in ledxy.dat for LEDs 63, 127, 191, 255, 319, 383");
    const std::string saved = readFile("config_SN57/ledxy.dat");
    openPanel();
    for (ui::CheckBox* box : window->flash->Check_flash) box->SetValue(1);
    window->flash->cmd_sendflash->Click();
    link::CommCloseAll();
    window->unloaded = true;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) std::filesystem::remove_all(entry);
    restartProgram();
    window->Form_Load();
    EXPECT_EQ(readFile("config_SN57/ledxy.dat"), saved) << "the first start";
    test::WriteProgramFile("config_SN57/ledxy.dat", "older");
    openPanel();
    window->flash->Check_flash[1]->SetValue(1);
    window->flash->cmd_receiveflash->Click();
    EXPECT_EQ(readFile("config_SN57/ledxy.dat"), saved) << "RECEIVE";
}

// An erased memory: the list of the sets not restored is broken into lines inside the picture.
TEST_F(FlashPanelTest, TheSetsNotRestoredAreListedWithinThePicture)
{
    openPanel();
    for (ui::CheckBox* box : window->flash->Check_flash) box->SetValue(1);
    window->flash->cmd_receiveflash->Click();
    ui::PictureBox& p = *window->flash->Picture_progress;
    ASSERT_GT(p.TextWidth("Not restored: Well Format, Led XY, Temp Factor, Internal Ref, Blank"), p.ScaleWidth());
    int lowestInk = -1, rightmostInk = -1;
    for (int y = 0; y < p.PixelHeight(); ++y)
        for (int x = 0; x < p.PixelWidth(); ++x)
            if (p.PixelAt(x, y) != p.BackColor()) lowestInk = y, rightmostInk = std::max(rightmostInk, x);
    EXPECT_LT(rightmostInk, p.PixelWidth() - 2) << "no word runs out of the picture";
    EXPECT_GT(lowestInk, p.toPixels(0, p.TextHeight("N")).y()) << "the list goes on below its first line";
    for (ui::CheckBox* box : window->flash->Check_flash) box->SetValue(box == window->flash->Check_flash[2]);
    window->flash->cmd_sendflash->Click();
    EXPECT_EQ(window->txt_status->Text(), "") << "a SEND that wrote everything keeps no set of the RECEIVE not found";
}

TEST_F(FlashPanelTest, AClickWhileATransferRunsIsRefused)
{
    openPanel();
    boxes.expectInput("Enter password", "Tovel7391");
    window->mnadvanced->trigger();
    ASSERT_TRUE(window->factory);
    window->flash->Check_flash[0]->SetValue(1);
    struct Case {
        const char* what;
        bool& running;
        ui::CommandButton* button;
        ui::TextBox* status;
    };
    const Case cases[] = {
        {"SEND", window->flash->transferring, window->flash->cmd_sendflash, window->txt_status},
        {"RECEIVE", window->flash->transferring, window->flash->cmd_receiveflash, window->txt_status},
        {"ReCalc", window->flash->transferring, window->flash->cmd_recalc_internal, window->txt_status},
        {"Apply to all", window->pixelmap->uploading, window->pixelmap->cmd_applyset, window->txt_status},
        {"the factory window's Apply to all", window->factory->pixelmap->uploading, window->factory->pixelmap->cmd_applyset,
         window->factory->txt_status},
    };
    for (const Case& c : cases) {
        c.running = true;
        c.button->Click();
        c.running = false;
        EXPECT_EQ(c.status->text().toStdString(), link::kBusy) << c.what;
        EXPECT_TRUE(sim->frames().empty()) << c.what;
        EXPECT_EQ(boxes.shown().size(), 2u) << c.what << ": the passwords only";
    }
}

TEST_F(FlashPanelTest, ReCalcRenewsTheThreeFactorFilesAfterAYesOnly)
{
    test::WriteProgramFile("reports/_internal_referencesn57/20261201_100000w6_reference/current_activity.txt",  // accepted
                           test::ActivityFileText({{11, "A1", 8}, {11, "B1", 12}, {11, "A2", 8}, {11, "B2", 12}, {11, "A3", 8}, {11, "B3", 12}}));
    const std::string file = platform::ProgramPath("config_SN57/intfactor_"), from = "Internal Reference loaded from:";
    struct Case { ui::MsgResult answer; int intref; bool p35_blocked; std::vector<std::string> then_shown; };
    const Case cases[] = {{ui::MsgResult::No, 1, false, {}}, {ui::MsgResult::Cancel, 1, false, {}},
                          {ui::MsgResult::Yes, 1, false, {from, "done"}}, {ui::MsgResult::Yes, 0, false, {"done"}},
                          {ui::MsgResult::Yes, 1, true, {from, "intfactor_p35.dat could not be written"}}};
    openPanel();
    for (const Case& c : cases) {
        for (const char* format : {"w6", "p35", "w24"}) std::filesystem::remove_all(file + format + ".dat");
        if (c.p35_blocked) std::filesystem::create_directories(file + "p35.dat");
        window->report->combo_intref->SetListIndex(c.intref);
        boxes.expectMessage("Recalculate and replace internal factor files?", c.answer);
        for (const std::string& text : c.then_shown) boxes.expectMessage(text);
        window->flash->cmd_recalc_internal->Click();
        boxes.verifyAllShown();
        const std::string w6 = test::ReadProgramFile("config_SN57/intfactor_w6.dat");
        ASSERT_EQ(!w6.empty() + !test::ReadProgramFile("config_SN57/intfactor_w24.dat").empty(), c.answer == ui::MsgResult::Yes ? 2 : 0);
        EXPECT_EQ(w6.find("mult_factor 1.25 0.83 1.25 0.83 1.25 0.83") == std::string::npos, w6.empty()) << "the run's";
    }
}

TEST_F(FlashPanelTest, TheFactoryWindowUploadsIntoItsOwnTable)
{
    test::WriteProgramFile("w96f_c0__A1.dat", "\"line\",\"pixel\",\"enabled\"\r\n5,5,1\r\n");
    boxes.expectInput("Enter password", "Tovel7391");
    window->mnadvanced->trigger();
    boxes.expectMessage("are you sure to Apply configuration?", ui::MsgResult::Yes);
    boxes.expectMessage("1 files integrated. Send to Flash?", ui::MsgResult::Yes);
    boxes.expectMessage("Number of activated channels=1");
    boxes.expectMessage("quantity activated=1");
    window->factory->pixelmap->cmd_applyset->Click();
    boxes.verifyAllShown();
    EXPECT_EQ(window->factory->pixelmap->pixel_enable_map.at(0, 5, 5), kEnabled);
    EXPECT_EQ(window->pixelmap->pixel_enable_map.at(0, 5, 5), 0) << "the main window's table is its own";
    EXPECT_EQ(window->factory->txt_status->text().toStdString(), "Sent to flash: all 36 blocks of camera 0");
    EXPECT_EQ(window->factory->lbl_lenrx->Caption(), "Len(Rx) = 1");
    EXPECT_EQ(sim->with([](sim::SimState& s) { return s.flash.mapHeads; }), 36);
}

}  // namespace
}  // namespace tirmo::devicememory
