#include <gtest/gtest.h>

#include <QPalette>

#include "app/Frm_advance.h"
#include "app/ModuleState.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "support/FakeClock.h"
#include "support/LinkFixture.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "ui/ComboBox.h"
#include "ui/Colour.h"
#include "ui/Controls.h"

namespace tirmo::app {
namespace {

using Frames = std::vector<std::string>;

class FactoryLightingTest : public test::LinkFixture {
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        platform::SetProgramFolder(folder.path());
        window = std::make_unique<Frm_advance>();
    }
    void TearDown() override
    {
        window.reset();
        LinkFixture::TearDown();
    }
    uint32_t backColour(QWidget* w) const { return ui::fromQColor(w->palette().color(QPalette::Button)); }

    test::TempFolder folder;
    test::ScriptedDialogs boxes;
    test::ScopedDialogs installed{boxes};
    std::unique_ptr<Frm_advance> window;
};

TEST_F(FactoryLightingTest, BlueLightSendsTheTypedLevelUpToSeven)
{
    window->txt_blue->SetText("12");
    window->Cmd_bluelight->Click();
    EXPECT_EQ(window->txt_blue->Text(), "7");
    EXPECT_EQ(backColour(window->Cmd_bluelight), ui::colour::Green);
    window->txt_blue->SetText("0");
    window->Cmd_bluelight->Click();
    EXPECT_EQ(backColour(window->Cmd_bluelight), ui::colour::White);
    EXPECT_EQ(frameList(), (Frames{"T,15,7", "T,15,0"}));
    EXPECT_EQ(window->txt_in->Text().substr(0, 2), "T;");
}

TEST_F(FactoryLightingTest, FrequencyGoesOutAsTheTypedByte)
{
    window->txt_frqled->SetText("40");
    window->cmd_frqled->Click();
    EXPECT_EQ(frameList(), (Frames{"s,40,0"}));
    EXPECT_EQ(window->txt_in->Text(), "s;40;0");
    window->txt_frqled->SetText("300");
    boxes.expectMessage("error");
    window->cmd_frqled->Click();
    EXPECT_EQ(sim->frames().size(), 1u);
}

TEST_F(FactoryLightingTest, SingleLedButtonWalksThroughTheLedsAcrossTheBanks)
{
    sim->with([](sim::SimState& s) { return s.serialNumber = 12; });
    mod::hardware_generation = 1;
    window->txt_valueled->SetText("207");
    window->txt_value->SetText("5");
    window->cmd_led0->Click();
    EXPECT_EQ(window->txt_valueled->Text(), "208");
    window->cmd_led0->Click();
    EXPECT_EQ(window->txt_valueled->Text(), "209");
    EXPECT_EQ(frameList(), (Frames{"L,207,5", "l,0,5"}));
    EXPECT_EQ(window->txt_in->Text(), "l;0;5");
}

TEST_F(FactoryLightingTest, ApplySendsBothBanksByteByByteAtTheBoundedPower)
{
    test::FakeClock clock;
    window->txt_led->SetText("20");
    window->cmd_ledpower->Click();
    EXPECT_EQ(window->txt_led->Text(), "15");
    const auto frames = frameList();
    ASSERT_EQ(frames.size(), 416u);
    EXPECT_EQ(frames[0], "L,0,15");
    EXPECT_EQ(frames[207], "L,207,15");
    EXPECT_EQ(frames[208], "l,0,15");
    EXPECT_EQ(frames[415], "l,207,15");
    EXPECT_EQ(window->txt_in->Text(), "l;207;15");
}

TEST_F(FactoryLightingTest, AllSendsOneFrameForEveryLed)
{
    window->txt_led->SetText("9");
    window->cmd_ledpowerall->Click();
    window->txt_led->SetText("40");
    window->cmd_ledpowerall->Click();
    EXPECT_EQ(frameList(), (Frames{"L,255,9", "L,255,15"}));
    EXPECT_EQ(window->txt_led->Text(), "40") << "All leaves the box as typed";
}

TEST_F(FactoryLightingTest, TypedValuesThatAreNotNumbersSendNothing)
{
    window->txt_valueled->SetText("x");
    boxes.expectMessage("The LED number must be a number");
    window->cmd_led0->Click();
    EXPECT_EQ(window->txt_valueled->Text(), "x");
    window->txt_led->SetText("abc");
    boxes.expectMessage("The LED power must be a number");
    window->cmd_ledpowerall->Click();
    boxes.expectMessage("The LED power must be a number");
    window->cmd_ledpower->Click();
    window->txt_blue->SetText("?");
    boxes.expectMessage("The blue light level must be a number");
    window->Cmd_bluelight->Click();
    EXPECT_TRUE(sim->frames().empty());
}

TEST_F(FactoryLightingTest, ClosedLinkIsReportedAsEachButtonDoes)
{
    mod::port_open = false;
    boxes.expectMessage("COMPORT not opened. Click Connect");
    window->Cmd_bluelight->Click();
    window->cmd_ledpowerall->Click();
    EXPECT_EQ(window->txt_status->Text(), "COMPORT not opened. Click Connect");
    EXPECT_TRUE(sim->rawReceived().empty());
}

TEST_F(FactoryLightingTest, CalibrationSenderBoundsThePowerBoxAndTheFrame)
{
    window->txt_led->SetText("22");
    window->SendLedPower(3, 30);
    EXPECT_EQ(window->txt_led->Text(), "15");
    EXPECT_EQ(frameList(), (Frames{"L,3,15"}));
    EXPECT_EQ(window->txt_in->Text(), "L;3;15");
}

TEST_F(FactoryLightingTest, FactoryPositionsGoToConfigWhateverTheInstrument)
{
    mod::serial_number = 57;
    platform::MakeFolder(platform::ProgramPath("config"));
    platform::WriteLines(platform::ProgramPath("config/ledsetup.dat"), {"t", "h", "3,10,2,4", "1,416,1,1", "2,-5,1,1"});
    window->led_map.x1[3] = 11;
    window->led_map.power[3] = 4;
    window->WriteLedPositions();
    window->WriteLedPower();
    EXPECT_TRUE(platform::FileExists(platform::ProgramPath("config/ledxy.dat")));
    EXPECT_FALSE(platform::FileExists(platform::ProgramPath("config_SN57/ledxy.dat")));
    window->LoadLedTables();
    EXPECT_EQ(window->led_map.x1[3], 0) << "the load reads the instrument's folder";
    EXPECT_EQ(window->led_map.power[3], 4);
    EXPECT_EQ(window->led_map.camera[10], 3) << "the factory layout comes from ledsetup.dat";
    EXPECT_NE(window->txt_status->Text().find("LED 416 outside 0-415"), std::string::npos)
        << "layout rows outside the array are reported, not stored";
}

}  // namespace
}  // namespace tirmo::app
