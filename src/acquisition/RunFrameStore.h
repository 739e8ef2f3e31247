#pragma once
// The raw frames of the window being acquired, as the run's fetches deliver them: text with one
// character per pixel whose code is the grey level 0..255, pixel p at character p - 1.
// frame_store keeps frames 0..10 of the current window for each camera 0..5; a frame of the next
// window overwrites the same slot.
#include <array>
#include <string>

#include "acquisition/ActivityCounter.h"
#include "acquisition/RunTables.h"

namespace tirmo::acquisition {

using WindowFrames = std::array<std::string, kWindowFrames>;
using RunFrameStore = std::array<WindowFrames, kRunCameras>;

}  // namespace tirmo::acquisition
