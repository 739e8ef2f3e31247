#include "lighting/LedCommands.h"

#include <algorithm>
#include <cmath>

#include "link/Exchange.h"
#include "platform/Clock.h"
#include "platform/Convert.h"

namespace tirmo::lighting {
namespace {

// The echo of a single LED may come back in either bank's letter.
bool isLedEcho(const std::string& reply) { return reply[0] == 'L' || reply[0] == 'l'; }

}  // namespace

int LedBankSplit(int generation)
{
    if (generation == 1) return 208;
    if (generation == 2) return 192;
    return 0;
}

std::optional<link::Frame> LedFrame(int index, int power, int generation)
{
    const int split = LedBankSplit(generation);
    if (index < split) return link::MakeFrame('L', index, power);
    return link::MakeFrame('l', index - split, power);
}

int BoundLedPower(int power) { return std::clamp(power, 0, kMaxLedPower); }

void SendLedCommand(int index, int power, link::Console& console)
{
    if (console.session().dummy_mode != 0) return;
    const link::Exchange exchange(console);
    if (!exchange) return;
    if (!link::LinkGuard(console)) return;
    link::FlushLink(console.session());
    auto frame = LedFrame(index, power, console.session().hardware_generation);
    if (!frame) {
        console.ShowError("error");
        return;
    }
    link::SendOptions o;
    o.maxSends = link::kMaxSends;
    o.confirm = isLedEcho;
    auto result = link::SendFrame(console.session(), *frame, o);
    console.SetMonitor(link::ReplyTrace(result.reply));
}

void SendLedPower(int index, int& power, link::Console& console)
{
    const link::Exchange exchange(console);
    if (!exchange) return;
    link::FlushLink(console.session());
    power = BoundLedPower(power);
    auto frame = LedFrame(index, power, console.session().hardware_generation);
    if (!frame) return;
    SendLedFrameYielding(*frame, "(" + std::to_string(index) + ")", console);
}

bool SendLedFrameYielding(const link::Frame& frame, const std::string& label, link::Console& console)
{
    const link::Exchange exchange(console);
    if (!exchange) return false;
    console.SetMonitor("LED" + label);
    link::SendOptions o;
    o.form = link::SendForm::Yielding;
    auto result = link::SendFrame(console.session(), frame, o);
    if (result.stopped) return false;
    console.SetMonitor(link::ReplyTrace(result.reply));
    platform::Sleep(kLedReplyPauseMs);
    return true;
}

void SendAllLedPower(int level, link::Console& console)
{
    const link::Exchange exchange(console);
    if (!exchange) return;
    if (!link::LinkGuard(console)) return;
    link::FlushLink(console.session());
    auto frame = link::MakeFrame('L', kAllLeds, level);
    if (!frame) {
        console.ShowError("error");
        return;
    }
    link::SendOptions o;
    o.maxSends = link::kMaxSends;
    o.confirm = link::EchoIs('L');
    auto result = link::SendFrame(console.session(), *frame, o);
    console.SetMonitor(link::ReplyTrace(result.reply));
}

void SendLightPulse(int level, long pulseCountdown, link::Console& console, const PulseIndicator& indicator)
{
    const link::Exchange exchange(console);
    if (!exchange) return;
    link::FlushLink(console.session());
    if (indicator) {
        if (level != 0) indicator(std::to_string(pulseCountdown), kPulseOnColour);
        else indicator("Pulse", kPulseOffColour);
    }
    auto frame = link::MakeFrame('T', kBlueLightDevice, level);
    if (!frame) return;
    auto result = link::SendFrame(console.session(), *frame, {});
    console.SetMonitor(link::ReplyTrace(result.reply));
}

std::optional<long> TypedWholeNumber(std::string_view text)
{
    auto v = platform::ParseNumber(text);
    if (!v) return std::nullopt;
    constexpr double kLimit = 2147483647.0;
    return long(platform::RoundHalfEven(std::clamp(*v, -kLimit, kLimit)));
}

}  // namespace tirmo::lighting
