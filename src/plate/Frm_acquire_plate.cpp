// The main window's plate map, well groups and band editing.
#include "app/Frm_acquire.h"

namespace tirmo::app {

void Frm_acquire::buildPlateControls() {}

}  // namespace tirmo::app
