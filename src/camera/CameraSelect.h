#pragma once
// Selecting one of the six cameras (6 selects none). The main window sends the frame byte by
// byte, 15 ms apart, and waits for the camera number as a single reply byte.
#include <string>

#include "camera/CameraCommands.h"
#include "link/Protocol.h"

namespace tirmo::camera {

// The camera byte that selects none.
inline constexpr int kNoCamera = 6;

// The camera byte of a box text: exactly "0" to "5" give 0 to 5, anything else 6.
int CameraByte(const std::string& text);

// cmd_camera_Click of the main window. Returns true when the instrument confirmed the camera.
// A reply confirms only when its decimal value is exactly the text of the box: a reply of 13
// does not confirm camera 1.
// The factory window sends the frame in one piece and traces it without its characters.
bool SelectCamera(const std::string& camText, link::Console& console, Variant variant = Variant::Main);

}  // namespace tirmo::camera
