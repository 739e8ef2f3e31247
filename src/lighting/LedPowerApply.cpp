#include "lighting/LedPowerApply.h"

#include "lighting/LedMap.h"

namespace tirmo::lighting {

ApplyOutcome ApplyLedPowerFile(const std::string& path, const std::function<bool(int led)>& wanted,
                               const std::function<bool()>& keepGoing,
                               const std::function<void(int led, int power, const std::string& ledText)>& send)
{
    ApplyOutcome out;
    auto read = ReadLedFile(path, LedFileKind::Powers);
    out.found = read.found;
    out.problems = std::move(read.problems);
    for (const auto& r : read.rows) {
        if (keepGoing && !keepGoing()) break;
        const int led = RowLed(r, LedFileKind::Powers);
        if (wanted && !wanted(led)) continue;
        send(led, r.values[1], r.ledText);
        ++out.sent;
    }
    return out;
}

}  // namespace tirmo::lighting
