#include <gtest/gtest.h>

#include <QPalette>

#include "app/Frm_advance.h"
#include "link/Session.h"
#include "platform/Clock.h"
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
        window = std::make_unique<Frm_advance>(instrument);
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
    window->lighting->txt_blue->SetText("12");
    window->lighting->Cmd_bluelight->Click();
    EXPECT_EQ(window->lighting->txt_blue->Text(), "7");
    EXPECT_EQ(backColour(window->lighting->Cmd_bluelight), ui::colour::Green);
    window->lighting->txt_blue->SetText("0");
    window->lighting->Cmd_bluelight->Click();
    EXPECT_EQ(backColour(window->lighting->Cmd_bluelight), ui::colour::White);
    EXPECT_EQ(frameList(), (Frames{"T,15,7", "T,15,0"}));
    EXPECT_EQ(window->txt_in->Text().substr(0, 2), "T;");
}

TEST_F(FactoryLightingTest, FrequencyGoesOutAsTheTypedByte)
{
    window->lighting->txt_frqled->SetText("40");
    window->lighting->cmd_frqled->Click();
    EXPECT_EQ(frameList(), (Frames{"s,40,0"}));
    EXPECT_EQ(window->txt_in->Text(), "s;40;0");
    window->lighting->txt_frqled->SetText("300");
    boxes.expectMessage("error");
    window->lighting->cmd_frqled->Click();
    EXPECT_EQ(sim->frames().size(), 1u);
}

TEST_F(FactoryLightingTest, SingleLedButtonWalksThroughTheLedsAcrossTheBanks)
{
    sim->with([](sim::SimState& s) { return s.serialNumber = 12; });
    session.hardware_generation = 1;
    window->lighting->txt_valueled->SetText("207");
    window->lighting->txt_value->SetText("5");
    window->lighting->cmd_led0->Click();
    EXPECT_EQ(window->lighting->txt_valueled->Text(), "208");
    window->lighting->cmd_led0->Click();
    EXPECT_EQ(window->lighting->txt_valueled->Text(), "209");
    EXPECT_EQ(frameList(), (Frames{"L,207,5", "l,0,5"}));
    EXPECT_EQ(window->txt_in->Text(), "l;0;5");
}

TEST_F(FactoryLightingTest, ApplyBoundsTheBoxOnBothSidesAndSendsBothBanksByteByByte)
{
    test::FakeClock clock;
    struct Case {
        const char* typed;
        const char* box;
    };
    for (const Case c : {Case{"15", "15"}, Case{"16", "15"}, Case{"0", "0"}, Case{"-1", "0"}}) {
        sim->clearLog();
        window->lighting->txt_led->SetText(c.typed);
        window->lighting->cmd_ledpower->Click();
        EXPECT_EQ(window->lighting->txt_led->Text(), c.box);
        const std::string p = c.box;
        const auto frames = frameList();
        ASSERT_EQ(frames.size(), 416u) << c.typed;
        EXPECT_EQ(frames[0], "L,0," + p);
        EXPECT_EQ(frames[207], "L,207," + p);
        EXPECT_EQ(frames[208], "l,0," + p);
        EXPECT_EQ(frames[415], "l,207," + p);
        EXPECT_EQ(window->txt_in->Text(), "l;207;" + p);
    }
}

TEST_F(FactoryLightingTest, AllAndSingleLedSendAnyBytePowerAndShowErrorBeyondIt)
{
    // Neither button bounds the power to 15; a power that fits no byte sends nothing.
    struct Case {
        const char* typed;
        bool sent;
    };
    for (const Case c : {Case{"15", true}, Case{"16", true}, Case{"255", true}, Case{"0", true},
                         Case{"256", false}, Case{"-1", false}}) {
        sim->clearLog();
        window->lighting->txt_led->SetText(c.typed);
        window->lighting->txt_value->SetText(c.typed);
        window->lighting->txt_valueled->SetText("3");
        if (!c.sent) {
            boxes.expectMessage("error");
            boxes.expectMessage("error");
        }
        window->lighting->cmd_ledpowerall->Click();
        window->lighting->cmd_led0->Click();
        const std::string p = c.typed;
        EXPECT_EQ(frameList(), c.sent ? (Frames{"L,255," + p, "L,3," + p}) : Frames{}) << c.typed;
        EXPECT_EQ(window->lighting->txt_led->Text(), c.typed) << "All leaves the box as typed";
        EXPECT_EQ(window->lighting->txt_valueled->Text(), c.sent ? "4" : "3") << "a refused LED does not step on";
    }
}

TEST_F(FactoryLightingTest, APowerTypedDuringApplyThatFitsNoByteEndsTheWalkWithError)
{
    test::FakeClock clock;
    window->lighting->txt_led->SetText("5");
    int pumped = 0;
    platform::setEventPump([&] {
        if (++pumped == 5 * 3) window->lighting->txt_led->SetText("16");  // during the third LED
        if (pumped == 5 * 6) window->lighting->txt_led->SetText("256");   // during the sixth
    });
    boxes.expectMessage("error");
    window->lighting->cmd_ledpower->Click();
    platform::setEventPump({});
    EXPECT_EQ(frameList(), (Frames{"L,0,5", "L,1,5", "L,2,5", "L,3,16", "L,4,16", "L,5,16"}));
}

TEST_F(FactoryLightingTest, TypedValuesThatAreNotNumbersSendNothing)
{
    window->lighting->txt_valueled->SetText("x");
    boxes.expectMessage("The LED number must be a number");
    window->lighting->cmd_led0->Click();
    EXPECT_EQ(window->lighting->txt_valueled->Text(), "x");
    window->lighting->txt_led->SetText("abc");
    boxes.expectMessage("The LED power must be a number");
    window->lighting->cmd_ledpowerall->Click();
    boxes.expectMessage("The LED power must be a number");
    window->lighting->cmd_ledpower->Click();
    window->lighting->txt_blue->SetText("?");
    boxes.expectMessage("The blue light level must be a number");
    window->lighting->Cmd_bluelight->Click();
    EXPECT_TRUE(sim->frames().empty());
}

TEST_F(FactoryLightingTest, ClosedLinkIsReportedAsEachButtonDoes)
{
    session.port_open = false;
    boxes.expectMessage("COMPORT not opened. Click Connect");
    window->lighting->Cmd_bluelight->Click();
    window->lighting->cmd_ledpowerall->Click();
    EXPECT_EQ(window->txt_status->Text(), "COMPORT not opened. Click Connect");
    EXPECT_TRUE(sim->rawReceived().empty());
}

TEST_F(FactoryLightingTest, CalibrationSenderBoundsThePowerBoxButSendsItsArgument)
{
    struct Case {
        const char* box;
        const char* bounded;
        int power;
        bool sent;
    };
    for (const Case c : {Case{"15", "15", 30, true}, Case{"16", "15", 255, true}, Case{"0", "0", 0, true},
                         Case{"-1", "0", 256, false}, Case{"22", "15", -1, false}}) {
        sim->clearLog();
        window->txt_in->SetText("");
        window->lighting->txt_led->SetText(c.box);
        window->lighting->SendLedPower(3, c.power);
        EXPECT_EQ(window->lighting->txt_led->Text(), c.bounded) << c.box;
        const std::string p = std::to_string(c.power);
        EXPECT_EQ(frameList(), c.sent ? Frames{"L,3," + p} : Frames{}) << c.power;
        EXPECT_EQ(window->txt_in->Text(), c.sent ? "L;3;" + p : "") << "nothing shown for a power that fits no byte";
    }
    EXPECT_TRUE(boxes.shown().empty()) << "the calibration sender fails silently";
}

TEST_F(FactoryLightingTest, FactoryPositionsGoToConfigWhateverTheInstrument)
{
    session.serial_number = 57;
    platform::MakeFolder(platform::ProgramPath("config"));
    platform::WriteLines(platform::ProgramPath("config/ledsetup.dat"), {"t", "h", "3,10,2,4", "1,416,1,1", "2,-5,1,1"});
    window->lighting->led_map.x1[3] = 11;
    window->lighting->led_map.power[3] = 4;
    window->lighting->WriteLedPositions();
    window->lighting->WriteLedPower();
    EXPECT_TRUE(platform::FileExists(platform::ProgramPath("config/ledxy.dat")));
    EXPECT_FALSE(platform::FileExists(platform::ProgramPath("config_SN57/ledxy.dat")));
    window->lighting->LoadLedTables();
    EXPECT_EQ(window->lighting->led_map.x1[3], 0) << "the load reads the instrument's folder";
    EXPECT_EQ(window->lighting->led_map.power[3], 4);
    EXPECT_EQ(window->lighting->led_map.camera[10], 3) << "the factory layout comes from ledsetup.dat";
    EXPECT_NE(window->txt_status->Text().find("LED 416 outside 0-415"), std::string::npos)
        << "layout rows outside the array are reported, not stored";
}

}  // namespace
}  // namespace tirmo::app
