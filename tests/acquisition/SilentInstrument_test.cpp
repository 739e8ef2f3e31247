// An instrument that falls silent with its port open, or whose line hangs up, during a run.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <csignal>
#include <filesystem>
#include <optional>

#include "acquisition/RunStartFixture.h"
#include "app/SignalClose.h"
#include "link/CommPort.h"
#include "link/Exchange.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"

namespace tirmo::acquisition {
namespace {

using Frames = std::vector<std::string>;

struct SilentStop {
    const char* name;
    bool inRound;  // silent from the autoreference round on, else from a tick of the run
    bool closes;   // the program ends (close box, SIGTERM); else the user's STOP
    std::function<void(app::Frm_acquire&)> act;
};

void PrintTo(const SilentStop& c, std::ostream* os) { *os << c.name; }

void signalTerm(app::Frm_acquire& w)
{
    ::raise(SIGTERM);
    for (int i = 0; i < 100 && !w.unloaded; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

class SilentStopTest : public RunStartTest, public ::testing::WithParamInterface<SilentStop> {};

// The stop is made at a yield of a wait for the silent instrument (its port held, nothing written
// since the last yield): it acts there, the instrument gets the rest frames (no echo comes, so
// the camera select goes out three times) and the interrupted command is not sent again.
TEST_P(SilentStopTest, AStopDuringASilentWaitActsThereAndLeavesTheInstrumentAtRest)
{
    const SilentStop& c = GetParam();
    std::optional<test::QuickTimeouts> quick;  // from the silence on: a silent read costs 30 ms
    test::WriteRecorder recorder;
    window->unloaded = false;
    app::CloseOnTerminationSignals(window.get());
    size_t silentFrom = 0, writesAtSilence = 0, writesAtYield = 0;
    bool silent = false, acted = false;
    int waitsAfter = 0;
    auto silence = [&] {
        quick.emplace();
        sim->settle();
        silentFrom = sim->frames().size();
        writesAtSilence = writesAtYield = recorder.writes.size();
        sim->setSilent(silent = true);
    };
    platform::setEventPump([&] {
        const size_t writes = recorder.writes.size();
        const bool waiting = link::PortBusy() && writes > writesAtSilence && writes == writesAtYield;
        writesAtYield = writes;
        if (acted) waitsAfter += link::PortBusy();
        else if (!silent && c.inRound && window->containers.frm_calibrate->isVisibleTo(window.get())) silence();
        else if (silent && waiting) {
            acted = true;
            c.act(*window);
        }
    });
    startRun("silent");
    if (!c.inRound) {
        ASSERT_EQ(session.run_state, 1);
        tick();
        silence();
        tick();
    }
    platform::setEventPump({});
    std::signal(SIGTERM, SIG_DFL);

    EXPECT_TRUE(acted) << "the window took the stop while the instrument was silent";
    EXPECT_EQ(waitsAfter, 0) << "no wait went on after the stop";
    EXPECT_EQ(session.run_state, 0);
    EXPECT_FALSE(run().Timer2.Enabled());
    EXPECT_EQ(window->unloaded, c.closes);
    EXPECT_EQ(link::CommIsOpen(kPort), !c.closes);
    if (!c.closes) {
        EXPECT_EQ(run().cmdPlay->Caption(), "Play");
    }
    sim->settle();
    const Frames all = frameList();
    ASSERT_GT(all.size(), silentFrom);
    const Frames rest = c.closes ? Frames{"T,1,0", "T,2,0", "T,15,0", "C,6,0", "C,6,0", "C,6,0"}
                                 : Frames{"T,1,0", "T,2,128", "T,15,0", "C,6,0", "C,6,0", "C,6,0"};
    EXPECT_EQ(Frames(all.begin() + long(silentFrom) + 1, all.end()), rest) << "after the interrupted " << all[silentFrom];
}

INSTANTIATE_TEST_SUITE_P(
    Stops, SilentStopTest,
    ::testing::Values(SilentStop{"StopInTheRound", true, false, [](app::Frm_acquire& w) { w.run->cmdPlay->Click(); }},
                      SilentStop{"StopMidRun", false, false, [](app::Frm_acquire& w) { w.run->cmdPlay->Click(); }},
                      SilentStop{"CloseBoxInTheRound", true, true, [](app::Frm_acquire& w) { w.close(); }},
                      SilentStop{"CloseBoxMidRun", false, true, [](app::Frm_acquire& w) { w.close(); }},
                      SilentStop{"SigtermInTheRound", true, true, signalTerm},
                      SilentStop{"SigtermMidRun", false, true, signalTerm}),
    [](const auto& info) { return std::string(info.param.name); });

// The port hangs up mid-run: the run stops as after any failed frames, the link counts as closed,
// and Play refuses without making an acquisition.
TEST_F(RunStartTest, AHungUpPortClosesTheLinkAndPlayThenRefuses)
{
    startRun("gone");
    ASSERT_EQ(session.run_state, 1);
    tick();
    sim->hangUp();
    boxes.expectMessage("Communication Error CAM0 ");
    for (int i = 0; i < 30 && session.run_state == 1; ++i) tick();
    EXPECT_EQ(session.run_state, 0);
    EXPECT_FALSE(session.port_open);
    EXPECT_FALSE(link::CommIsOpen(kPort));
    const std::string project = platform::ProgramPath("reports/default_project");
    const auto entries = [&] { return std::distance(std::filesystem::directory_iterator(project), {}); };
    const auto before = entries();
    boxes.expectMessage(kPortNotFound);
    pressPlay();
    boxes.verifyAllShown();
    EXPECT_FALSE(nameFrameOpen());
    EXPECT_EQ(entries(), before);
}

}  // namespace
}  // namespace tirmo::acquisition
