#pragma once
// Putting the saved LED powers on the instrument. The powers are taken from ledpower.dat, not
// from a window's LedMap, so a power changed in a map reaches the instrument only once it has
// been saved.
#include <functional>
#include <string>
#include <vector>

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

}  // namespace tirmo::lighting
