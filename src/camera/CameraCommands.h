#pragma once
// The camera set-up commands: gain, exposure, speed code and read-out window, each a frame
// with an echo test and up to three sends, and the default window and speed code. The main
// window and the factory window send them in slightly different ways (traces, pauses,
// tolerance of the echo); Variant chooses.
#include <optional>
#include <string>

#include "link/RunSettings.h"
#include "platform/Convert.h"
#include "link/Protocol.h"

namespace tirmo::camera {

enum class Variant { Main, Factory };

// The default read-out window (143 lines of 183 pixels) and speed code.
inline constexpr int kDefaultXini = 0, kDefaultXfin = 142, kDefaultYini = 1, kDefaultYfin = 183;
// "8" for hardware generation 2 and later, "7" before.
std::string DefaultSpeedCode(int hardwareGeneration);

// The leading number of a box text as the camera handlers read their boxes.
using platform::BoxWhole;

// Gain ('G') and exposure ('E'): two bytes hi, lo of a value 0..32767. Nothing in dummy mode;
// "COMPORT not opened. Click Connect" without a link; "error" for a value that does not fit.
// The monitor shows the last reply after the sends. True when the echo confirmed.
bool SendGain(long value, link::Console& console);
bool SendExposure(long value, link::Console& console);
// The factory window's gain button: the number in its box (not a number: "error"), hi the
// integer part of value / 256, lo the rest rounded; 20 empty reads before the first byte, an
// echo "G" or "g" confirms.
bool SendFactoryGain(const std::string& text, link::Console& console);

// Speed ('S', a = 0, b = code). No link test of its own. The monitor shows the frame, then the
// reply after every send.
bool SendSpeed(long code, link::Console& console, Variant variant = Variant::Main);

// One pair of read-out window limits: 'y'/'Y' (the box pair xini/xfin) or 'x'/'X' (yini/yfin),
// start then end, each confirmed or retried before the next and followed by 100 ms. No link
// test. When either limit does not fit a byte neither frame goes out, so that the camera never
// keeps half of a new window, and the status line says why; the result is then false.
bool SendWindowPair(char startLetter, long start, long end, link::Console& console, Variant variant = Variant::Main);

// The read-out window of ">>": the four limits of the boxes, each a 16-bit whole number, else
// nullopt (the error box says "error").
struct ReadoutLimits {
    int xini = 0, xfin = 0, yini = 0, yfin = 0;
    long lines() const { return long(xfin) - xini + 1; }
    long pixels() const { return long(yfin) - yini + 1; }
    bool operator==(const ReadoutLimits&) const = default;
};
std::optional<ReadoutLimits> ReadReadoutLimits(const std::string& xini, const std::string& xfin,
                                               const std::string& yini, const std::string& yfin);
// Sends the window, y first: nothing in dummy mode, the error box without a link, else the
// link flushed and both pairs sent.
void SendReadoutLimits(const ReadoutLimits& limits, link::Console& console, Variant variant);

// "Default" on the camera set-up: the speed code of the hardware generation and the default
// read-out window (its lines and pixels left as they are).
void SetDefaultReadout(link::CameraSettings& settings, int hardwareGeneration);

// The whole camera set-up as the settings stand, as one exchange with 100 ms after each step:
// camera, gain, exposure, speed and read-out window (its lines and pixels set from the limits).
// Nothing in dummy mode or while another exchange holds the port; nothing either, with a status
// line, unless gain and exposure are both whole numbers from 0 to 32767.
void SendCameraSettings(link::CameraSettings& settings, link::Console& console);

}  // namespace tirmo::camera
