#include "lighting/LedPowerApply.h"

#include "lighting/LedCommands.h"
#include "lighting/LedMap.h"
#include "link/Exchange.h"
#include "platform/ProgramFolder.h"

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

namespace {
std::string savedPowerPath(const link::Console& console)
{
    return platform::ProgramPath(InstrumentFolder(console.session().serial_number) + "/" + kLedPowerName);
}
}  // namespace

void ApplySavedLedPower(int camera, const LedMap& map, link::Console& console)
{
    const link::Session& s = console.session();
    if (s.run_state != 1 || s.dummy_mode != 0) return;
    const link::Exchange exchange(console);  // the camera's LEDs as one exchange
    if (!exchange) return;
    auto outcome = ApplyLedPowerFile(
        savedPowerPath(console), [&](int led) { return map.camera[size_t(led)] == camera; },
        [&s] { return s.run_state != 0; },
        [&console](int led, int power, const std::string&) { SendLedCommand(led, power, console); });
    if (!outcome.problems.empty()) console.SetStatus(ProblemText(outcome.problems));
}

void ApplyAllSavedLedPower(link::Console& console)
{
    if (console.session().dummy_mode != 0) return;
    const link::Exchange exchange(console);  // every LED as one exchange
    if (!exchange) return;
    auto outcome = ApplyLedPowerFile(savedPowerPath(console), {}, {}, [&console](int led, int power, const std::string& ledText) {
        SendLedCommand(led, power, console);
        console.SetStatus("setting led=" + ledText);
    });
    if (!outcome.problems.empty()) console.SetStatus(ProblemText(outcome.problems));
}

}  // namespace tirmo::lighting
