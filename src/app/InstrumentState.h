#pragma once
// The instrument as every window shares it: the session (link, identity, run settings,
// temperature and camera settings), the plate, the project, the live window of the cameras, the
// frames the main window's camera grabbed, and the temperature stage, whose state (its last
// reading, its kind) outlasts any one command.
// The program makes it once and hands it to each window it opens; a window shows and edits it
// but never owns it, so that what one window changes the others find. No widgets here: a window
// that needs only a piece takes that piece.
#include "camera/FrameStore.h"
#include "camera/PixelMask.h"
#include "link/Session.h"
#include "plate/PlateState.h"
#include "project/ProjectState.h"
#include "thermal/TemperatureStage.h"

namespace tirmo::app {

struct InstrumentState {
    link::Session session;
    plate::PlateState plate_state;
    project::ProjectState project_state;
    camera::LiveWindow live_window;
    camera::FrameStore frames;
    thermal::TemperatureStage stage;
};

}  // namespace tirmo::app
