#include <string>

#include "sim/InstrumentSimulator.h"
#include "sim/SimDevices.h"

namespace tirmo::sim {

std::string Reply3(char letter, int value)
{
    std::string r(3, '\0');
    r[0] = letter;
    r[1] = char((value >> 8) & 0xFF);
    r[2] = char(value & 0xFF);
    return r;
}

std::string Echo(const ReceivedFrame& f)
{
    std::string r(3, '\0');
    r[0] = char(f.letter);
    r[1] = char(f.a);
    r[2] = char(f.b);
    return r;
}

void InstallCoreDevices(InstrumentSimulator& sim)
{
    sim.on('N', [](SimState& s, const ReceivedFrame&) { return Reply3('N', s.serialNumber); });
    sim.on('I', [](SimState& s, const ReceivedFrame&) { return Reply3('I', s.identification); });
}

}  // namespace tirmo::sim
