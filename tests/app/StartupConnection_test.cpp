#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "link/Session.h"
#include "link/CommPort.h"
#include "platform/ProgramFolder.h"
#include "support/AppFixture.h"
#include "support/LinkFixture.h"
#include "ui/Controls.h"

namespace tirmo::app {
namespace {

using test::QuickTimeouts;
using ui::MsgResult;

class StartupConnectionTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        useFakeClock();  // the search pauses 100 ms before each of its sixteen opens
    }
};

TEST_F(StartupConnectionTest, FindsTheInstrumentOnCom4AndOpensTheLink)
{
    attachSimulator(4, 57);
    window->ConnectDevice();
    EXPECT_EQ(window->txt_status->Text(), "Status = Connected on COM[ 4 ] SN#0057");
    EXPECT_EQ(window->txtcom->Text(), "4");
    EXPECT_EQ(window->session().serial_number, 57);
    EXPECT_TRUE(window->session().port_open);
    EXPECT_EQ(window->session().port_slot, 4);
    EXPECT_TRUE(link::CommIsOpen(4));
    EXPECT_FALSE(window->offline_mode);
    EXPECT_EQ(window->txt_in->Text(), "in:N;0;57");
    EXPECT_EQ(frameList(), std::vector<std::string>{"N,0,0"});
    EXPECT_EQ(readFile("config.txt"),
              "\"COM=4\"\r\n\"TX_TRANSMIT=+\"\r\n\"GAIN=10\"\r\n\"EXPOSURE=20\"\r\n\"LED=7\"\r\n"
              "\"ACQLAPSE=30\"\r\n\"WELLFORMAT=w6\"\r\n\"SET_TEMP=20\"\r\n");
}

TEST_F(StartupConnectionTest, FoundAtTheFirstAttemptTheBoxNamesCom1)
{
    attachSimulator(1, 12);
    window->ConnectDevice();
    EXPECT_EQ(window->txt_status->Text(), "Opening Port [1]");
    EXPECT_EQ(window->txtcom->Text(), "1");
    EXPECT_EQ(window->session().port_slot, 1);
    EXPECT_EQ(window->session().serial_number, 12);
    EXPECT_EQ(sim->frames().size(), 1u);
}

TEST_F(StartupConnectionTest, NoInstrumentAndAnEmptyAnswerGoesOffline)
{
    boxes.expectInput("COM(15) PORT ERROR. Type New Port number or <Enter> to go Offline", "");
    window->ConnectDevice();
    EXPECT_EQ(window->txt_status->Text(), "Offline Mode");
    EXPECT_TRUE(window->offline_mode);
    EXPECT_FALSE(window->session().port_open);
    EXPECT_EQ(window->session().serial_number, 0);
}

TEST_F(StartupConnectionTest, TypedAnswersOutOfRangeOrNotNumbersGoOfflineWithoutAMessage)
{
    for (const char* typed : {"0", "16", "abc"}) {
        boxes.expectInput("PORT ERROR", typed);
        window->offline_mode = false;
        window->ConnectDevice();
        EXPECT_TRUE(window->offline_mode) << typed;
        EXPECT_EQ(window->txt_status->Text(), "Offline Mode");
    }
    EXPECT_EQ(boxes.shown().size(), 3u) << "no message box beside the input boxes";
}

TEST_F(StartupConnectionTest, TypedPortThatDoesNotOpenIsReported)
{
    boxes.expectInput("PORT ERROR", "7");
    boxes.expectMessage("Invalid Port Number. Offline Mode");
    window->ConnectDevice();
    EXPECT_TRUE(window->offline_mode);
    EXPECT_EQ(window->txt_status->Text(), "Offline Mode");
}

TEST_F(StartupConnectionTest, SilentPortThenTypedPortBecomesTheLinkWithSerialZero)
{
    QuickTimeouts quick;
    attachSimulator(7);
    sim->setSilent(true);
    boxes.expectInput("PORT ERROR", "7");
    window->ConnectDevice();
    EXPECT_EQ(sim->framesOf('N').size(), 2u) << "a silent port gets two queries";
    EXPECT_FALSE(window->offline_mode);
    EXPECT_TRUE(window->session().port_open);
    EXPECT_EQ(window->session().port_slot, 7);
    EXPECT_EQ(window->session().serial_number, 0);
    EXPECT_EQ(window->txtcom->Text(), "7");
    EXPECT_EQ(window->txt_status->Text(), "Opening Port [15]");
    EXPECT_NE(readFile("config.txt").find("\"COM=7\""), std::string::npos);
}

TEST_F(StartupConnectionTest, AnswersThatAreNoSerialNumberAreSkipped)
{
    QuickTimeouts quick;
    attachSimulator(3, 300);  // one byte over what a serial number may be
    boxes.expectInput("PORT ERROR", "");
    window->ConnectDevice();
    EXPECT_EQ(sim->framesOf('N').size(), 2u);
    EXPECT_TRUE(window->offline_mode);

    sim->on('N', [](sim::SimState&, const sim::ReceivedFrame&) { return std::string("N"); });
    boxes.expectMessage("error");
    boxes.expectMessage("error");
    boxes.expectInput("PORT ERROR", "");
    window->ConnectDevice();
    EXPECT_TRUE(window->offline_mode);
}

TEST_F(StartupConnectionTest, APortHeldByAnotherProgramIsQueriedButGivesNoAnswer)
{
    attachSimulator(5);
    int held = ::open(sim->devicePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
    boxes.expectInput("PORT ERROR", "");
    window->ConnectDevice();
    ::close(held);
    EXPECT_TRUE(window->offline_mode);
    EXPECT_TRUE(sim->rawReceived().empty()) << "nothing reaches a port that another program holds";
}

TEST_F(StartupConnectionTest, ALinkThatCannotBeReopenedLeavesTheProgramOffline)
{
    attachSimulator(4, 57);
    const std::string path = sim->devicePath();
    // The instrument answers, then its port disappears before the link is opened again.
    sim->on('N', [](sim::SimState& s, const sim::ReceivedFrame&) {
        ::setenv("TIRMO_COM4", "/dev/tirmo-gone", 1);
        return std::string({'N', 0, char(s.serialNumber)});
    });
    window->ConnectDevice();
    EXPECT_FALSE(window->session().port_open);
    EXPECT_TRUE(window->offline_mode);
    EXPECT_EQ(window->txt_status->Text(), "Offline Mode");
}

TEST_F(StartupConnectionTest, LoadSetsGenerationDefaultsFoldersAndStartsTheFan)
{
    // A known instrument: its folder exists, so the start-up does not read its memory.
    platform::MakeFolder(platform::ProgramPath("config_SN58"));
    attachSimulator(2, 58);
    window->Form_Load();
    EXPECT_EQ(window->session().hardware_generation, 2);
    EXPECT_EQ(window->camera->txt_gain->Text(), "20");
    EXPECT_EQ(window->camera->txt_exposure->Text(), "28");
    EXPECT_EQ(window->txt_status->Text(), "OK. Connected to TIRMO SN58");
    EXPECT_FALSE(readFile("reports/pj_sn58.dat").empty());
    EXPECT_EQ(frameList(), (std::vector<std::string>{"N,0,0", "T,2,128", "T,255,0"}));
    EXPECT_EQ(window->session().dummy_mode, 0);
}

TEST_F(StartupConnectionTest, OnlyAnAnsweringInstrumentIsReportedAsConnected)
{
    QuickTimeouts quick;
    // A typed port whose device stays silent: the link is kept, but nothing confirmed an
    // instrument. An instrument that answers 0 (the lowest serial number) is confirmed.
    attachSimulator(7, 0);
    sim->setSilent(true);
    boxes.expectInput("PORT ERROR", "7");
    window->Form_Load();
    EXPECT_EQ(window->txt_status->Text(), "COM7 open, but the instrument did not answer (SN0)");
    EXPECT_TRUE(window->session().port_open);
    EXPECT_EQ(sim->framesOf('T').size(), 2u) << "the fan and Peltier steps still go over the link";

    link::CommCloseAll();
    window->unloaded = true;
    restartProgram();
    sim->setSilent(false);
    window->Form_Load();
    EXPECT_EQ(window->txt_status->Text(), "OK. Connected to TIRMO SN0");
    EXPECT_EQ(window->session().port_slot, 7);
}

TEST_F(StartupConnectionTest, OfflineLoadSendsNothingAndCreatesNoInstrumentFolder)
{
    boxes.expectInput("PORT ERROR", "");
    window->session().dummy_mode = 1;
    window->Form_Load();
    EXPECT_EQ(window->session().dummy_mode, 0) << "dummy mode is always off after a start";
    EXPECT_EQ(window->session().hardware_generation, 1);
    EXPECT_EQ(window->txt_status->Text(), "Offline Mode");
    EXPECT_EQ(readFile("reports/pj_sn0.dat"), "default_project\r\n");
}

}  // namespace
}  // namespace tirmo::app
