#include "platform/Clock.h"

#include <QCoreApplication>
#include <thread>

namespace tirmo::platform {
namespace {

class RealClock : public Clock {
public:
    std::chrono::system_clock::time_point wallNow() override { return std::chrono::system_clock::now(); }
    double monotonicMs() override
    {
        using namespace std::chrono;
        return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
    }
    void sleepMs(int ms) override
    {
        if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
};

RealClock realClock;
Clock* current = nullptr;
std::function<void()> pump;
int depth = 0;

}  // namespace

int EventDepth() { return depth; }
NestedEventLoop::NestedEventLoop() { ++depth; }
NestedEventLoop::~NestedEventLoop() { --depth; }

Clock& clock() { return current ? *current : realClock; }
void setClock(Clock* c) { current = c; }

void DoEvents()
{
    NestedEventLoop nested;
    if (pump) {
        pump();
        return;
    }
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

void setEventPump(std::function<void()> p) { pump = std::move(p); }

}  // namespace tirmo::platform
