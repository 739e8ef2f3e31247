#pragma once
// Putting the saved LED powers on the instrument. The powers are taken from ledpower.dat, not
// from a window's LedMap, so a power changed in a map reaches the instrument only once it has
// been saved.
#include <functional>
#include <string>
#include <vector>

#include "link/Protocol.h"

namespace tirmo::lighting {

struct ApplyOutcome {
    bool found = false;  // the file exists
    int sent = 0;        // rows handed to send
    std::vector<std::string> problems;
};

// For every sound row of the power file at path whose LED wanted() accepts, send(led, power,
// ledText), in file order; before each row keepGoing() may end the reading. Rows naming an LED
// outside 0..415 and rows that are not sound are skipped (and described in problems).
ApplyOutcome ApplyLedPowerFile(const std::string& path, const std::function<bool(int led)>& wanted,
                               const std::function<bool()>& keepGoing,
                               const std::function<void(int led, int power, const std::string& ledText)>& send);

struct LedMap;

// The saved powers of camera's LEDs (by the map's camera of each LED) sent as one exchange,
// only during a run with an instrument; a Stop ends the sending. Skipped rows go to the status line.
void ApplySavedLedPower(int camera, const LedMap& map, link::Console& console);
// Every saved power sent as one exchange, each LED on the status line; nothing in dummy mode.
void ApplyAllSavedLedPower(link::Console& console);

}  // namespace tirmo::lighting
