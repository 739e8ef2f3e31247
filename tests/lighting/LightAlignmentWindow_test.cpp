// The main window's "Background light" against the simulator's empty stage: the rectangles it
// saves are the ones the simulated LEDs light.
#include <gtest/gtest.h>

#include <QAction>

#include <algorithm>

#include "app/Frm_acquire.h"
#include "app/Frm_advance.h"
#include "app/LightCalibrationWindows.h"
#include "lighting/LedMap.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "sim/SimLitPlate.h"
#include "support/FakeClock.h"
#include "support/ProgramFiles.h"
#include "support/W6WindowFixture.h"
#include "ui/Controls.h"

namespace tirmo::app {
namespace {

constexpr double kGreyPerPower = 20;

class LightAlignmentWindowTest : public test::W6WindowFixture {
protected:
    void SetUp() override
    {
        W6WindowFixture::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(lighting::WriteLedSetup2File("\\config"));
        stage = sim->with([](sim::SimState& s) { return sim::InstallEmptyStage(s, sim::StageLedGrid(), kGreyPerPower); });
        sim->clearLog();
    }
    void TearDown() override
    {
        platform::setEventPump({});
        W6WindowFixture::TearDown();
    }
    test::FakeClock clock;
    std::shared_ptr<sim::LitPlate> stage;
};

// Every LED of every camera, the first column's band starting at x = 0 among them.
// The factory window, camera by camera through both entries into config, ends with the same file.
TEST_F(LightAlignmentWindowTest, SavesTheRectanglesTheSimulatedLedsLight)
{
    test::WriteProgramFile("config/ledsetup.dat", test::ReadProgramFile("config/ldsetup2.dat"));
    Frm_advance factory(instrument, window->plate->groups);
    for (int c = 0; c < 6; ++c) {
        factory.camera->txt_cam->SetText(std::to_string(c));
        boxes.expectMessage("please Remove micropate for this test");
        c % 2 ? factory.lightcal->Cmd_ledfactory_Click() : factory.findChild<QAction*>("mncalibralightback")->trigger();
    }
    boxes.expectMessage("Remove Microplate and press OK");
    boxes.expectMessage("Calibration Finished");
    window->lightcal->mncalibralightback_Click();
    boxes.verifyAllShown();
    lighting::LedMap saved;
    lighting::LoadLedTables(saved, platform::ProgramPath("config/ldsetup2.dat"), "config_SN58");
    const std::vector<sim::SimLed> leds = sim::StageLedGrid();
    ASSERT_TRUE(std::any_of(leds.begin(), leds.end(), [](const sim::SimLed& l) { return l.x1 == 0; }));
    for (const sim::SimLed& l : leds) {
        SCOPED_TRACE(testing::Message() << "LED " << l.led << " camera " << l.camera);
        const size_t i = size_t(l.led);
        EXPECT_NEAR(saved.x1[i], l.x1, 2);
        EXPECT_NEAR(saved.x2[i], l.x2, 2);
        EXPECT_NEAR(saved.y1[i], l.y1, 2);
        EXPECT_NEAR(saved.y2[i], l.y2, 2);
    }
    EXPECT_EQ(window->run->cmdPlay->Caption(), "Play");
    EXPECT_EQ(session.run_state, 0);
    EXPECT_EQ(test::ReadProgramFile("config/ledxy.dat"), test::ReadProgramFile("config_SN58/ledxy.dat"));
}

// A Cancel at the question sends nothing; the Play button, reading "STOP Setup" while the
// calibration has the cameras, stops it. Neither says "Calibration Finished" nor saves.
TEST_F(LightAlignmentWindowTest, CancelAndStopSetupEndItUnfinishedAndUnsaved)
{
    const struct {
        const char* name;
        ui::MsgResult answer;
        const char* endMessage;  // nullptr: none
        const char* status;      // nullptr: not checked
    } cases[] = {
        {"Cancel", ui::MsgResult::Cancel, nullptr, "Light alignment calibration cancelled"},
        {"STOP Setup", ui::MsgResult::Ok, "Calibration not finished", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim->clearLog();
        std::string captionSeen;
        const bool stopping = c.answer == ui::MsgResult::Ok;
        platform::setEventPump([&] {
            if (!stopping || !captionSeen.empty()) return;
            captionSeen = window->run->cmdPlay->Caption();
            window->run->cmdPlay->Click();
        });
        boxes.expectMessage("Remove Microplate and press OK", c.answer);
        if (c.endMessage) boxes.expectMessage(c.endMessage);
        window->camera->plate_view_shown = true;  // as an earlier STOP Setup leaves the selection
        window->lightcal->mncalibralightback_Click();
        platform::setEventPump({});
        boxes.verifyAllShown();
        for (const std::string& shown : boxes.shown()) EXPECT_EQ(shown.find("Calibration Finished"), std::string::npos);
        if (stopping) {
            EXPECT_EQ(captionSeen, "STOP Setup");
        } else {
            EXPECT_TRUE(sim->frames().empty());
            EXPECT_FALSE(window->camera->plate_view_shown) << "camera selections grab again, also after a Cancel";
        }
        if (c.status) {
            EXPECT_EQ(window->txt_status->Text(), c.status);
        }
        EXPECT_FALSE(platform::FileExists(platform::ProgramPath("config_SN58/ledxy.dat")));
        EXPECT_EQ(window->run->cmdPlay->Caption(), "Play");
        EXPECT_EQ(session.run_state, 0);
    }
}

}  // namespace
}  // namespace tirmo::app
