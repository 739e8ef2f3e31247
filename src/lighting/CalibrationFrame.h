#pragma once
// One reduced frame of a camera for the light calibrations, kept only when it came whole. The
// calibrations measure the frame store after each grab; a reply that is missing, short or fails
// its check byte must not leave the previous frame there to be measured again as if new.
#include <string>

#include "camera/FrameStore.h"
#include "link/Session.h"

namespace tirmo::lighting {

struct CalibrationGrab {
    enum class Outcome { Good, NoLink, WindowTooLarge, Bad };
    Outcome outcome = Outcome::Bad;
    std::string trace;  // the transfer trace ("LEN(Rx) = ..."), empty when nothing was asked
    bool good() const { return outcome == Outcome::Good; }
};

// Asks the camera for its reduced image ('A', or the whole window '+' when asked) of the window of `lines` lines of `pix` pixels,
// reads the reply and, when it has the expected length and its check byte matches, decodes it
// into the store. Any other outcome leaves the camera's window area of the store empty.
CalibrationGrab GrabCheckedFrame(const link::Session& session, int camera, long lines, long pix,
                                 camera::FrameStore& store, char mode = 'A');

}  // namespace tirmo::lighting
