#pragma once
// The LED and blue-light commands of the main window. LEDs are addressed in two banks whose
// split depends on the hardware generation.
#include <cstdint>
#include <functional>
#include <string>

#include "link/Protocol.h"

namespace tirmo::lighting {

// 208 for generation 1, 192 for generation 2, 0 for any other (everything then goes to 'l').
int LedBankSplit(int hardwareGeneration);

// The frame of one LED: 'L' with the index below the split, 'l' with index - split above it;
// nullopt when a byte does not fit.
std::optional<link::Frame> LedFrame(int index, int power, int hardwareGeneration);

inline constexpr uint32_t kPulseOnColour = 0xFF0000;   // blue, in red + 256 green + 65536 blue
inline constexpr uint32_t kPulseOffColour = 0xFFFFFF;  // white

// The pulse indicator of the main window: the caption of Chk_lenabled and the fill of Shape_light.
using PulseIndicator = std::function<void(const std::string& caption, uint32_t fill)>;

// Sets the blue-light level ('T' 15 level): no link or dummy test, one send, reply traced.
// The indicator shows the pulse countdown while the level is not 0, "Pulse" otherwise.
void SendLightPulse(int level, long pulseCountdown, link::Console& console, const PulseIndicator& indicator);

}  // namespace tirmo::lighting
