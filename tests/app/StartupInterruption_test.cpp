// The start-up cut short: the window closed while the search lets events run, and a termination
// signal while a box waits for an answer. Once the shutdown has run, nothing more reaches the
// instrument and the program ends.
#include <gtest/gtest.h>

#include <QApplication>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <csignal>
#include <fstream>

#include "app/Frm_advance.h"
#include "link/Session.h"
#include "app/Program.h"
#include "link/CommPort.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "support/AppFixture.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"

namespace tirmo::app {
namespace {

const std::vector<std::string> kShutdownFrames{"T,1,0", "T,2,0", "T,15,0", "C,6,0"};

class StartupInterruptionTest : public test::AppFixture {
protected:
    void TearDown() override
    {
        platform::setEventPump({});
        ui::setDialogs(&boxes);
        std::signal(SIGTERM, SIG_DFL);
        AppFixture::TearDown();
    }
};

TEST_F(StartupInterruptionTest, ClosingTheWindowDuringTheSearchStopsTheStartUp)
{
    useFakeClock();
    attachSimulator(4, 57);
    // The user closes the window while COM2 is being tried; the instrument waits on COM4.
    platform::setEventPump([&] {
        if (window->txt_status->Text() == "Opening Port [2]" && !window->unloaded) window->close();
    });
    window->Form_Load();
    EXPECT_TRUE(window->unloaded);
    EXPECT_TRUE(sim->frames().empty()) << "neither the search nor the fan and Peltier steps reach it";
    EXPECT_FALSE(link::CommIsOpen(4));
    EXPECT_FALSE(window->session().port_open);
    EXPECT_FALSE(readFile("config.txt").empty()) << "the shutdown itself has run";
    EXPECT_EQ(window->txt_status->Text(), "COMPORT not opened. Click Connect");
}

TEST_F(StartupInterruptionTest, ClosingTheWindowAfterTheLastPortAsksNoQuestion)
{
    useFakeClock();
    // No instrument anywhere; the window is closed while the last port is announced.
    platform::setEventPump([&] {
        if (window->txt_status->Text() == "Opening Port [15]" && !window->unloaded) window->close();
    });
    window->Form_Load();
    EXPECT_TRUE(window->unloaded);
    EXPECT_TRUE(boxes.shown().empty()) << "no port question once the window is closed";
    EXPECT_FALSE(window->offline_mode) << "the search stopped where it was";
}

// A termination signal while a box waits: the boxes are the real ones, since the signal has to
// close one. If it does not, the watchdog closes it after a while and the test fails.
class SignalDuringABoxTest : public StartupInterruptionTest {
protected:
    void SetUp() override
    {
        StartupInterruptionTest::SetUp();
        ui::setDialogs(nullptr);
        QObject::connect(&raiser, &QTimer::timeout, [this] {
            if (!QApplication::activeModalWidget() || raised) return;
            raised = true;
            ::raise(SIGTERM);
        });
        raiser.start(20);
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [] {
            ADD_FAILURE() << "the program had not ended 10 s after the signal";
            ui::CloseOpenBoxes();
            QCoreApplication::exit(1);
        });
        watchdog.start(10000);
    }

    QTimer raiser, watchdog;
    bool raised = false;
};

TEST_F(SignalDuringABoxTest, DuringTheStartUpsBoxTheStartUpStopsAndTheProgramEnds)
{
    useFakeClock();
    attachSimulator(4, 57);
    // An empty calibration file: the start-up asks the user to acknowledge "Error in tempfactor file".
    platform::MakeFolder(platform::ProgramPath("config_SN57"));
    std::ofstream(platform::ProgramPath("config_SN57/tempfactor.dat")) << "";
    EXPECT_EQ(RunProgram(*window), 0);
    EXPECT_TRUE(raised);
    EXPECT_TRUE(window->unloaded);
    sim->waitForFrames(1 + kShutdownFrames.size(), 5000);
    const auto frames = frameList();
    ASSERT_EQ(frames.size(), 1 + kShutdownFrames.size()) << "the query, then the shutdown's frames only";
    EXPECT_EQ(frames.front(), "N,0,0");
    EXPECT_EQ(std::vector<std::string>(frames.begin() + 1, frames.end()), kShutdownFrames)
        << "no T 2 128 or T 255 0 after the shutdown";
    EXPECT_FALSE(link::CommIsOpen(4));
}

TEST_F(SignalDuringABoxTest, InTheEventLoopNeitherABoxNorTheFactoryWindowKeepsTheProgramAlive)
{
    useFakeClock();
    // A known instrument: its folder exists, so the start-up does not read its memory.
    platform::MakeFolder(platform::ProgramPath("config_SN57"));
    attachSimulator(4, 57);
    Frm_advance factory(window->instrument);
    factory.show();
    // Once the start-up is over and the event loop runs, the user has a question on screen.
    QTimer asker;
    bool asked = false;
    QObject::connect(&asker, &QTimer::timeout, [&] {
        if (asked || QThread::currentThread()->loopLevel() < 1) return;
        asked = true;
        ui::dialogs().messageBox("Do you like to Clear Group lists?", ui::MsgButtons::YesNo);
    });
    asker.start(20);
    EXPECT_EQ(RunProgram(*window), 0);
    EXPECT_TRUE(raised);
    EXPECT_TRUE(window->unloaded);
    const std::vector<std::string> startUp{"N,0,0", "T,2,128", "T,255,0"};
    sim->waitForFrames(startUp.size() + kShutdownFrames.size(), 5000);
    auto expected = startUp;
    expected.insert(expected.end(), kShutdownFrames.begin(), kShutdownFrames.end());
    EXPECT_EQ(frameList(), expected);
}

}  // namespace
}  // namespace tirmo::app
