#include "thermal/FactoryThermalConsole.h"

#include "ui/Dialogs.h"

namespace tirmo::thermal {

void FactoryThermalConsole::mncalibratetemp_Click()
{
    if (session_.dummy_mode == 0 && !session_.port_open) {
        ui::dialogs().messageBox("Operation not possible in OFFLINE Mode");
        return;
    }
    // The calibration panel itself is the temperature stage's; this window keeps the offset it
    // started from.
    temp_offset = session_.temp_offset;
}

}  // namespace tirmo::thermal
