#include "lighting/LedCommands.h"

#include "app/ModuleState.h"

namespace tirmo::lighting {

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

void SendLightPulse(int level, long pulseCountdown, link::Console& console, const PulseIndicator& indicator)
{
    link::FlushLink();
    if (indicator) {
        if (level != 0) indicator(std::to_string(pulseCountdown), kPulseOnColour);
        else indicator("Pulse", kPulseOffColour);
    }
    auto frame = link::MakeFrame('T', 15, level);
    if (!frame) return;
    auto result = link::SendFrame(*frame, {});
    console.SetMonitor(link::ReplyTrace(result.reply));
}

}  // namespace tirmo::lighting
