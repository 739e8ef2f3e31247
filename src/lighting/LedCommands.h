#pragma once
// The LED and blue-light commands. LEDs are addressed in two banks whose split depends on the
// hardware generation; index 255 of bank 'L' addresses every LED at once. The blue light is the
// 'T' command with first byte 15.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "link/Protocol.h"

namespace tirmo::lighting {

inline constexpr int kLedCount = 416;   // 16 rows x 26 columns, LEDs 0..415
inline constexpr int kMaxLedPower = 15;
inline constexpr int kAllLeds = 255;    // the index of bank 'L' that sets every LED
inline constexpr int kBlueLightDevice = 15;
inline constexpr int kLedReplyPauseMs = 5;  // after the reply of a single LED sent byte by byte

// 208 for generation 1, 192 for generation 2, 0 for any other (everything then goes to 'l').
int LedBankSplit(int hardwareGeneration);

// The frame of one LED: 'L' with the index below the split, 'l' with index - split above it;
// nullopt when a byte does not fit.
std::optional<link::Frame> LedFrame(int index, int power, int hardwareGeneration);

// A calibration's power as the single-LED calibration sender bounds it: above 15 becomes 15,
// below 0 becomes 0.
int BoundLedPower(int power);

// One LED from the stored power table: returns at once in dummy mode, guards the link, sends the
// whole frame with up to three sends until the reply starts with "L" or "l", and shows the last
// reply. The power goes out as given; an index or power that does not fit its byte shows "error"
// and sends nothing.
void SendLedCommand(int index, int power, link::Console& console);

// One LED from a calibration: bounds the power (written back), shows "LED(index)", sends the
// frame byte by byte letting events run (a link closed meanwhile stops it), shows the reply and
// pauses 5 ms. No link or dummy test before the flush, no echo test, no second send.
void SendLedPower(int index, int& power, link::Console& console);
// One LED frame as the byte-by-byte LED senders send it: "LED(<label>)" in the monitor, the five
// characters yielding to events (false when the link closed meanwhile), the reply traced, a 5 ms
// pause.
bool SendLedFrameYielding(const link::Frame& frame, const std::string& label, link::Console& console);

// Every LED to one power ('L' 255 power): guards the link, up to three sends until the reply
// starts with the capital "L". The power goes out as given; one that does not fit a byte shows
// "error" and sends nothing.
void SendAllLedPower(int level, link::Console& console);

inline constexpr uint32_t kPulseOnColour = 0xFF0000;   // blue, in red + 256 green + 65536 blue
inline constexpr uint32_t kPulseOffColour = 0xFFFFFF;  // white

// The pulse indicator of the main window: the caption of Chk_lenabled and the fill of Shape_light.
using PulseIndicator = std::function<void(const std::string& caption, uint32_t fill)>;

// Sets the blue-light level ('T' 15 level): no link or dummy test, one send, reply traced.
// The indicator shows the pulse countdown while the level is not 0, "Pulse" otherwise.
void SendLightPulse(int level, long pulseCountdown, link::Console& console, const PulseIndicator& indicator);

// A number typed into a box, as a whole number (halves to even); nullopt when the text is not a
// number at all. Values too large for 32 bits come back at the 32-bit limit, which no byte fits.
std::optional<long> TypedWholeNumber(std::string_view text);

}  // namespace tirmo::lighting
