#include "support/FakeClock.h"

namespace tirmo::test {

FakeClock::FakeClock()
{
    // 2026-03-14 15:09:26 local time: a fixed wall time makes date stamps predictable.
    wall0_ = LocalTime(2026, 3, 14, 15, 9, 26);
    platform::setClock(this);
}

FakeClock::~FakeClock() { platform::setClock(nullptr); }

std::chrono::system_clock::time_point FakeClock::wallNow()
{
    return wall0_ + std::chrono::milliseconds(static_cast<long long>(nowMs_ - 1000.0));
}

void FakeClock::sleepMs(int ms)
{
    if (ms > 0) {
        nowMs_ += ms;
        slept_ += ms;
    }
}

std::chrono::system_clock::time_point LocalTime(int y, int mo, int d, int h, int mi, int s)
{
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = mo - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = mi;
    tm.tm_sec = s;
    tm.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&tm));
}

}  // namespace tirmo::test
