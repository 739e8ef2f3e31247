// The factory window's lighting tools.
#include "app/Frm_advance.h"

namespace tirmo::app {

void Frm_advance::buildLightingTools() {}

}  // namespace tirmo::app
