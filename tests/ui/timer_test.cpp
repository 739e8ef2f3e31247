#include "ui/Timer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

using namespace tirmo::ui;

namespace {

// Runs the event loop until done() or the time is up; false on time-out.
template <typename F>
bool spinUntil(F done, int ms = 2000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

}  // namespace

TEST(Timer, RunsOnlyWhenEnabledWithAnInterval)
{
    Timer timer;
    EXPECT_TRUE(timer.Enabled());
    EXPECT_FALSE(timer.Running());
    timer.SetInterval(10);
    EXPECT_TRUE(timer.Running());
    timer.SetInterval(0);
    EXPECT_FALSE(timer.Running());
    EXPECT_TRUE(timer.Enabled());
    timer.SetInterval(10);
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Running());
    EXPECT_EQ(timer.Interval(), 10);
}

TEST(Timer, TicksFromTheEventLoop)
{
    Timer timer;
    int ticks = 0;
    timer.onTick([&] { ++ticks; });
    timer.SetInterval(5);
    EXPECT_TRUE(spinUntil([&] { return ticks >= 3; }));
    timer.SetEnabled(false);
    const int stopped = ticks;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 30);
    EXPECT_EQ(ticks, stopped);
}

// A tick handler that waits for the instrument yields to the event loop; the timer coming due
// meanwhile must not start a second tick inside the first. Qt holds back a timer's event while
// the previous one is handled, but not once the handler has restarted the timer (here by setting
// the interval, as windows do to change the polling rate), which gives it a new Qt timer.
TEST(Timer, ATickWaitingInTheEventLoopIsNotEnteredAgain)
{
    Timer timer;
    int depth = 0, deepest = 0, ticks = 0;
    timer.onTick([&] {
        ++depth;
        ++ticks;
        deepest = std::max(deepest, depth);
        if (ticks == 1) {
            timer.SetInterval(5);
            QElapsedTimer clock;
            clock.start();
            while (clock.elapsed() < 100) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        --depth;
    });
    timer.SetInterval(10);
    ASSERT_TRUE(spinUntil([&] { return ticks >= 3; }));
    EXPECT_EQ(deepest, 1);
    EXPECT_GT(timer.SkippedTicks(), 0) << "the timer did come due during the wait";
    EXPECT_TRUE(timer.Running());
}

TEST(Timer, TickCalledFromItsOwnHandlerIsSkipped)
{
    Timer timer;
    int ticks = 0;
    timer.onTick([&] {
        ++ticks;
        timer.Tick();
    });
    timer.Tick();
    EXPECT_EQ(ticks, 1);
    timer.Tick();  // and the timer is free again afterwards
    EXPECT_EQ(ticks, 2);
}

TEST(Timer, AHandlerThatThrowsLeavesTheTimerUsable)
{
    Timer timer;
    int ticks = 0;
    timer.onTick([&] {
        if (++ticks == 1) throw std::runtime_error("instrument gone");
    });
    EXPECT_THROW(timer.Tick(), std::runtime_error);
    timer.Tick();
    EXPECT_EQ(ticks, 2);
}
