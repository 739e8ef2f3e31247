// The factory window's camera tools.
#include "app/Frm_advance.h"

namespace tirmo::app {

void Frm_advance::buildCameraTools() {}

}  // namespace tirmo::app
