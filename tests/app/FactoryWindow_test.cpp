// The factory window's shell and link console against the simulator: the connect toggle at the
// service rate, the serial-number query that only displays, the reset, simulation and the way
// back to the main window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>

#include "app/Frm_advance.h"
#include "link/CommPort.h"
#include "platform/ProgramFolder.h"
#include "support/AppFixture.h"
#include "camera/CameraControls.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Timer.h"

namespace tirmo::app {
namespace {

class FactoryWindowTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        factory = std::make_unique<Frm_advance>(window->instrument, window->plate->groups);
        factory->main_window = window.get();
    }
    void TearDown() override
    {
        factory.reset();
        AppFixture::TearDown();
    }
    // The factory window connected to a generation-2 simulator whose stage reads 30 degrees.
    thermal::FactoryThermalConsole& connectedConsole()
    {
        attachSimulator(5);
        useFakeClock();
        window->session().hardware_generation = 2;
        sim->with([](sim::SimState& s) { return s.thermal.temperatureC = 30.0; });
        factory->link->txtcom->SetText("5");
        factory->link->cmdopen->Click();
        EXPECT_TRUE(window->session().port_open);
        sim->clearLog();
        return *factory->thermal;
    }
    std::unique_ptr<Frm_advance> factory;
};

TEST_F(FactoryWindowTest, OpensWithItsStartCaptionsAndTheSimulationOfTheSession)
{
    EXPECT_EQ(factory->windowTitle().toStdString(), "Acquisition Page");
    EXPECT_FALSE(factory->frame_advanced->isHidden());
    EXPECT_EQ(factory->link->chkdummy->Value(), 0);
    const thermal::FactoryThermalConsole& t = *factory->thermal;
    for (const auto& [button, caption] : {std::pair{t.Cmd_coolheat, "COOL/HEAT"}, {t.Cmd_peltier, "PELTIER ON/OFF"},
                                          {t.Cmd_fan, "FAN ON/OFF"}, {t.cmd_measuretemp, "Measure T1"},
                                          {t.cmd_measuretemp2, "Measure T2"}, {factory->lighting->Cmd_ledinplate, "3.LED InPlate Calib."}})
        EXPECT_EQ(button->Caption(), caption);
    // The link box whenever the window is shown: offline; open on COM4 whatever it held; closed elsewhere.
    const FactoryLinkConsole& link = *factory->link;
    EXPECT_EQ(link.txtcom->Text() + " " + link.cmdopen->Caption(), "3 DisConnected");
    attachSimulator(4);
    useFakeClock();
    window->Form_Load();
    for (const auto& [typed, shown] : {std::pair{"3", "4 Connected"}, {"7", "7 DisConnected"}}) {
        factory->hide();
        link.txtcom->SetText(typed);
        window->session().port_open = shown[0] == '4';
        factory->show();
        EXPECT_EQ(link.txtcom->Text() + " " + link.cmdopen->Caption(), shown);
    }
}

TEST_F(FactoryWindowTest, ConnectToggleOpensAt1MbaudAndClosesTheLinksOwnSlot)
{
    attachSimulator(5);
    factory->link->txtcom->SetText("5");
    factory->link->cmdopen->Click();
    EXPECT_TRUE(window->session().port_open);
    EXPECT_EQ(window->session().port_slot, 5);
    EXPECT_EQ(factory->link->cmdopen->Caption(), "Connected");
    EXPECT_EQ(sim->lineSpeed(), 1000000);
    EXPECT_EQ(window->session().serial_number, 0) << "the toggle asks no serial number";
    EXPECT_TRUE(sim->frames().empty());

    // The box edited since: the link's own port is closed, not the one the box names.
    factory->link->txtcom->SetText("3");
    factory->link->cmdopen->Click();
    EXPECT_FALSE(window->session().port_open);
    EXPECT_FALSE(link::CommIsOpen(5));
    EXPECT_EQ(factory->link->cmdopen->Caption(), "DisConnected");

    // Open again: the box's port now.
    factory->link->txtcom->SetText("5");
    factory->link->cmdopen->Click();
    EXPECT_TRUE(window->session().port_open);
    EXPECT_EQ(factory->link->cmdopen->Caption(), "Connected");
}

TEST_F(FactoryWindowTest, AnOpenThatFailsChangesNeitherCaptionNorLink)
{
    // Port box cases: no number (port 0, refused), a port nobody answers, a half that rounds to
    // an even port that is missing, a number beyond 16 bits.
    for (const char* box : {"", "abc", "9", "8.5", "40000"}) {
        SCOPED_TRACE(box);
        factory->link->cmdopen->SetCaption("DisConnected");
        factory->link->txtcom->SetText(box);
        factory->link->cmdopen->Click();
        EXPECT_FALSE(window->session().port_open);
        EXPECT_EQ(factory->link->cmdopen->Caption(), "DisConnected");
    }
    EXPECT_TRUE(boxes.shown().empty()) << "no message";
}

TEST_F(FactoryWindowTest, APortBoxHalfGoesToTheEvenNeighbour)
{
    attachSimulator(6);
    factory->link->txtcom->SetText("5.5");
    factory->link->cmdopen->Click();
    EXPECT_TRUE(window->session().port_open);
    EXPECT_EQ(window->session().port_slot, 6);
}

TEST_F(FactoryWindowTest, ResetSendsZ132TimesAndNothingElse)
{
    attachSimulator(5);
    useFakeClock();
    factory->link->txtcom->SetText("5");
    factory->link->cmdopen->Click();
    ASSERT_TRUE(window->session().port_open);
    sim->allowUnframedBytes(true);
    factory->link->cmd_reset->Click();
    sim->settle();
    EXPECT_EQ(sim->rawReceived(), std::string(132, 'Z'));
    EXPECT_TRUE(window->session().port_open);
    EXPECT_EQ(factory->txt_status->Text(), "");
}

TEST_F(FactoryWindowTest, SerialNumberQueryOnlyDisplaysAndSimulationSendsNothing)
{
    attachSimulator(5, 300);
    factory->link->txtcom->SetText("5");
    factory->link->cmdopen->Click();
    ASSERT_TRUE(window->session().port_open);
    factory->link->cmdsn->Click();
    EXPECT_EQ(factory->txt_status->Text(), "Serial Number = SN300");
    EXPECT_EQ(factory->txt_in->Text(), "in:N;1;44");
    EXPECT_EQ(window->session().serial_number, 0) << "the query only displays";

    sim->clearLog();
    factory->txt_status->SetText("");
    factory->link->chkdummy->Click();
    EXPECT_EQ(window->session().dummy_mode, 1);
    factory->link->cmdsn->Click();
    EXPECT_TRUE(sim->frames().empty());
    EXPECT_EQ(factory->txt_status->Text(), "");
    factory->link->chkdummy->Click();
    EXPECT_EQ(window->session().dummy_mode, 0);
}

TEST_F(FactoryWindowTest, NoAnswerReadsSerialNumberZero)
{
    attachSimulator(5);
    useFakeClock();
    sim->setSilent(true);
    factory->link->txtcom->SetText("5");
    factory->link->cmdopen->Click();
    factory->link->cmdsn->Click();
    EXPECT_EQ(factory->txt_in->Text(), "Empty");
    EXPECT_EQ(factory->txt_status->Text(), "Serial Number = SN0");
}

TEST_F(FactoryWindowTest, CloseAndClosingBringTheMainWindowBack)
{
    window->hide();
    factory->show();
    factory->cmd_menu->Click();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(factory->isVisible()) << "Close leaves the factory window open";
    EXPECT_TRUE(factory->frame_advanced->isHidden());
    window->hide();
    factory->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(factory->isVisible());
}

TEST_F(FactoryWindowTest, VideoModeSwitchesTheFrameButtonAndMakesTheExportFolderOnce)
{
    factory->chk_video->Click();
    EXPECT_EQ(factory->Command_fullframe->Caption(), "Video_frame");
    EXPECT_FALSE(platform::FolderExists(platform::ProgramPath("bmp_exp"))) << "no export asked";
    factory->chk_exportbmp->SetValue(1);
    factory->chk_video->Click();
    EXPECT_EQ(factory->Command_fullframe->Caption(), "Full_frame");
    EXPECT_TRUE(platform::FolderExists(platform::ProgramPath("bmp_exp")));
    factory->chk_video->Click();
    EXPECT_TRUE(platform::FolderExists(platform::ProgramPath("bmp_exp")));
    EXPECT_EQ(factory->txt_status->Text(), "");
}

TEST_F(FactoryWindowTest, ItsOwnPasswordEntryRefusesAWrongAnswer)
{
    factory->cmd_menu->Click();
    boxes.expectInput("Enter password", "tovel7391");
    boxes.expectMessage("Wrong password");
    factory->mnadvanced_Click();
    EXPECT_TRUE(factory->frame_advanced->isHidden());
    boxes.expectInput("Enter password", "Tovel7391");
    factory->mnadvanced_Click();
    EXPECT_FALSE(factory->frame_advanced->isHidden());
}

}  // namespace
}  // namespace tirmo::app

namespace tirmo::app {
namespace {

TEST_F(FactoryWindowTest, TemperatureCalibrateNeedsALinkOrSimulation)
{
    window->session().temp_offset = -12.5;
    boxes.expectMessage("Operation not possible in OFFLINE Mode");
    factory->thermal->mncalibratetemp_Click();
    EXPECT_EQ(factory->thermal->temp_offset, 0) << "nothing kept when refused";
    boxes.verifyAllShown();
    factory->link->chkdummy->Click();
    factory->thermal->mncalibratetemp_Click();
    EXPECT_EQ(factory->thermal->temp_offset, -12.5);
    EXPECT_EQ(boxes.shown().size(), 1u);
}

}  // namespace
}  // namespace tirmo::app

namespace tirmo::app {
namespace {

TEST_F(FactoryWindowTest, TheSpeedCodeFollowsTheInstrumentsGeneration)
{
    EXPECT_EQ(factory->camera->txt_speed->Text(), "7") << "offline: generation 1";
    struct Case {
        int generation;
        const char* speed;
    };
    for (Case c : {Case{1, "7"}, Case{2, "8"}}) {
        window->session().hardware_generation = c.generation;
        Frm_advance loaded(window->instrument);
        EXPECT_EQ(loaded.camera->txt_speed->Text(), c.speed) << c.generation;
        EXPECT_EQ(loaded.lighting->txt_led->Text(), "3");
    }
}

// The Peltier drive test takes a PWM that fits a byte: it drives it at once and again on every
// tick, after a reading; a PWM outside 0..255 is refused when the test starts, nothing sent.
TEST_F(FactoryWindowTest, ThePeltierTestDrivesATypedByteOnEveryTickAndRefusesOneOutside)
{
    thermal::FactoryThermalConsole& console = connectedConsole();
    const struct {
        const char* typed;
        bool accepted;
    } cases[] = {{"-1", false}, {"0", true}, {"255", true}, {"256", false}, {"", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        sim->clearLog();
        factory->txt_status->SetText("");
        console.txt_peltierpwm->SetText(c.typed);
        if (!c.accepted) boxes.expectMessage("The Peltier PWM must be a number from 0 to 255");
        console.Cmd_peltier->Click();
        boxes.verifyAllShown();
        if (!c.accepted) {
            EXPECT_TRUE(sim->frames().empty());
            EXPECT_FALSE(console.peltier_test_on);
            EXPECT_FALSE(console.Timer_peltier->Enabled());
            continue;
        }
        const std::string drive = std::string("T,1,") + c.typed;
        EXPECT_EQ(frameList(), (std::vector<std::string>{"T,2,255", drive})) << "full fan, then the drive";
        EXPECT_TRUE(console.Timer_peltier->Enabled());
        EXPECT_EQ(console.Timer_peltier->Interval(), 3000);
        for (int tick = 0; tick < 2; ++tick) {
            sim->clearLog();
            console.Timer_peltier->Tick();
            EXPECT_EQ(frameList(), (std::vector<std::string>{"T,255,50", drive}));
            EXPECT_EQ(factory->txt_status->Text(), "30.0");
        }
        sim->clearLog();
        console.Cmd_peltier->Click();
        EXPECT_EQ(frameList(), (std::vector<std::string>{"T,2,255", "T,1,0"})) << "the second click stops the drive";
        EXPECT_FALSE(console.Timer_peltier->Enabled());
    }
}

// Closing the window with the drive test and the fan on stops the timer, switches the Peltier
// off and puts the fan back to half; with the link closed a reading shows "--", never 0.
TEST_F(FactoryWindowTest, ClosingLeavesTheStageAtRestAndAClosedLinkShowsNoTemperature)
{
    thermal::FactoryThermalConsole& console = connectedConsole();
    factory->show();
    console.txt_peltierpwm->SetText("100");
    console.Cmd_peltier->Click();
    console.Cmd_fan->Click();
    ASSERT_TRUE(console.peltier_test_on && console.fan_test_on);
    sim->clearLog();
    factory->close();
    EXPECT_EQ(frameList(), (std::vector<std::string>{"T,1,0", "T,2,128"}));
    EXPECT_FALSE(console.Timer_peltier->Enabled());
    EXPECT_FALSE(console.peltier_test_on || console.fan_test_on);

    factory->link->cmdopen->Click();
    ASSERT_FALSE(window->session().port_open);
    sim->clearLog();
    console.cmd_measuretemp->Click();
    EXPECT_EQ(factory->txt_status->Text(), "--");
    console.Timer_peltier->Tick();
    EXPECT_TRUE(sim->frames().empty());
    EXPECT_NE(factory->txt_status->Text(), "0");
}

}  // namespace
}  // namespace tirmo::app
