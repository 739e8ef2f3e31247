#pragma once
// A timer as the windows use it: enabled and interval are independent properties and it runs
// while it is enabled with an interval above zero, so a window can set the interval to 0 to stop
// it and set it again to restart without touching Enabled.
//
// A tick never runs inside another tick of the same timer. Tick handlers talk to the instrument
// and yield to the event loop while they wait for it; when the timer comes due during such a
// wait, that tick is skipped rather than run nested or queued, since the handler running is
// already doing what the tick would do. The next tick is one interval later, as usual.
//
// Delete a timer from its own tick handler only with deleteLater(), as with any QObject whose
// signal is being handled.
#include "ui/Control.h"

#include <QObject>
#include <QTimer>

#include <algorithm>

namespace tirmo::ui {

class Timer : public QObject {
    Q_OBJECT
public:
    // Enabled, with interval 0: not running until it is given an interval.
    explicit Timer(QObject* parent = nullptr) : QObject(parent)
    {
        connect(&timer_, &QTimer::timeout, this, &Timer::Tick);
    }

    bool Enabled() const { return enabled_; }
    // Enabling a timer that is already enabled leaves its countdown alone; windows restart a
    // timer by disabling and enabling it.
    void SetEnabled(bool enabled)
    {
        if (enabled == enabled_) return;
        enabled_ = enabled;
        apply();
    }

    int Interval() const { return interval_; }
    // Milliseconds; 0 (or less) stops the timer. Changing the interval of a running timer starts
    // the wait for its next tick afresh.
    void SetInterval(int ms)
    {
        interval_ = std::max(0, ms);
        apply();
    }

    bool Running() const { return timer_.isActive(); }

    void onTick(Handler handler) { tick_ = std::move(handler); }

    // Runs one tick now, whether the timer is running or not, unless a tick is already running.
    void Tick()
    {
        if (ticking_) {
            ++skipped_;
            return;
        }
        RunningFlag running(ticking_);
        fire(tick_);
    }

    // Ticks skipped because one was running, for diagnostics and tests.
    int SkippedTicks() const { return skipped_; }

private:
    void apply()
    {
        if (enabled_ && interval_ > 0)
            timer_.start(interval_);
        else
            timer_.stop();
    }

    QTimer timer_;
    bool enabled_ = true;
    int interval_ = 0;
    bool ticking_ = false;
    int skipped_ = 0;
    Handler tick_;
};

}  // namespace tirmo::ui
