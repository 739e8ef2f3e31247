// The factory window's thermal tools.
#include "app/Frm_advance.h"

namespace tirmo::app {

void Frm_advance::buildThermalTools() {}

}  // namespace tirmo::app
