#pragma once
// The factory window's temperature tools: for now its "Calibrate" entry, which keeps the offset
// the calibration starts from.
#include "link/Session.h"

namespace tirmo::thermal {

class FactoryThermalConsole {
public:
    explicit FactoryThermalConsole(link::Session& session) : session_(session) {}

    // Temperature "Calibrate": refused offline unless simulating; keeps the offset it starts from.
    void mncalibratetemp_Click();
    double temp_offset = 0;

private:
    link::Session& session_;
};

}  // namespace tirmo::thermal
