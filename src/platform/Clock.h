#pragma once
// Time, pauses and the event pump. The instrument code paces itself with short sleeps and lets
// pending window events run while it waits; a test installs its own clock so that a run of many
// minutes passes in a moment and nothing really sleeps.
#include <chrono>
#include <functional>

namespace tirmo::platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Wall time, for date stamps in file names and headers.
    virtual std::chrono::system_clock::time_point wallNow() = 0;
    // Monotonic milliseconds since an arbitrary origin, for elapsed times and time-outs.
    virtual double monotonicMs() = 0;
    // Blocks for ms milliseconds (a fake clock just moves on).
    virtual void sleepMs(int ms) = 0;
};

Clock& clock();
// Installs c (not owned); nullptr restores the real clock.
void setClock(Clock* c);

// The short forms every subsystem uses.
inline void Sleep(int ms) { clock().sleepMs(ms); }
inline double MonotonicMs() { return clock().monotonicMs(); }
inline std::chrono::system_clock::time_point WallNow() { return clock().wallNow(); }

// Lets pending window events run once, as long operations do between steps.
void DoEvents();

// How many event loops run one inside another at the caller: 0 in the program's main loop, one
// more inside each DoEvents and each modal box. Handlers that run while an operation yields run
// deeper than that operation, which is how the link tells them from the operation itself.
int EventDepth();
// Marks an event loop run inside another for as long as it is in scope.
class NestedEventLoop {
public:
    NestedEventLoop();
    ~NestedEventLoop();
    NestedEventLoop(const NestedEventLoop&) = delete;
    NestedEventLoop& operator=(const NestedEventLoop&) = delete;
};
// Replaces what DoEvents does (tests); an empty function restores the Qt event pump.
void setEventPump(std::function<void()> pump);

}  // namespace tirmo::platform
