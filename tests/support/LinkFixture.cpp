#include "support/LinkFixture.h"

#include <cstdlib>

#include "link/Session.h"
#include "link/CommPort.h"
#include "platform/Clock.h"
#include "platform/SerialDevice.h"

namespace tirmo::test {

QuickTimeouts::QuickTimeouts(int intervalMs, int totalMs)
{
    auto t = platform::serialTimeouts();
    interval_ = t.intervalMs;
    total_ = t.totalMs;
    t.intervalMs = intervalMs;
    t.totalMs = totalMs;
    platform::setSerialTimeouts(t);
}

QuickTimeouts::~QuickTimeouts()
{
    auto t = platform::serialTimeouts();
    t.intervalMs = interval_;
    t.totalMs = total_;
    platform::setSerialTimeouts(t);
}

WriteRecorder::WriteRecorder()
{
    link::SetWriteObserver([this](int, const std::string& data) { writes.push_back({platform::MonotonicMs(), data}); });
}

WriteRecorder::~WriteRecorder() { link::SetWriteObserver({}); }

std::vector<double> WriteRecorder::gaps() const
{
    std::vector<double> out;
    for (size_t i = 1; i < writes.size(); ++i) out.push_back(writes[i].atMs - writes[i - 1].atMs);
    return out;
}

void LinkFixture::SetUp()
{
    session = link::Session{};
    sim = std::make_unique<sim::InstrumentSimulator>();
    sim->attachAsCom(kPort);
    ASSERT_EQ(link::CommOpen(kPort, "COM4", "baud=115200 parity=N data=8 stop=1"), 0);
    session.port_slot = kPort;
    session.port_open = true;
}

void LinkFixture::TearDown()
{
    link::CommCloseAll();
    session = link::Session{};
    ::setenv(("TIRMO_COM" + std::to_string(kPort)).c_str(), "", 1);
    sim.reset();
}

std::vector<std::string> LinkFixture::frameList() const
{
    std::vector<std::string> out;
    for (const auto& f : sim->frames())
        out.push_back(std::string(1, char(f.letter)) + "," + std::to_string(f.a) + "," + std::to_string(f.b));
    return out;
}

}  // namespace tirmo::test
