#pragma once
// A clock for tests: sleeping only moves time on, so paced sequences and long runs take no real
// time. Installed for the lifetime of the object.
#include <chrono>
#include <ctime>

#include "platform/Clock.h"

namespace tirmo::test {

// A local date and time as the wall clock gives it.
std::chrono::system_clock::time_point LocalTime(int y, int mo, int d, int h, int mi, int s);

class FakeClock : public platform::Clock {
public:
    FakeClock();
    ~FakeClock() override;
    std::chrono::system_clock::time_point wallNow() override;
    double monotonicMs() override { return nowMs_; }
    void sleepMs(int ms) override;
    void advanceMs(double ms) { nowMs_ += ms; }
    void setWall(std::chrono::system_clock::time_point t) { wall0_ = t; }
    double sleptMs() const { return slept_; }

private:
    std::chrono::system_clock::time_point wall0_;
    double nowMs_ = 1000.0;
    double slept_ = 0;
};

}  // namespace tirmo::test
