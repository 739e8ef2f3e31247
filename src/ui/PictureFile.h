#pragma once
// Pictures written to disk as the program's other files are: the whole BMP goes into a temporary
// file beside the target, which is put in place only when all of it is out. A reader never meets
// half a picture, a failed write leaves an older file of the name as it was, and what a killed
// process left behind is swept away at the next start like any other temporary file.
#include <string>

class QImage;

namespace tirmo::ui {

// Writes image as a 32-bit BMP file at path (matched as the program folder matches names).
// False, with path untouched, when it could not be written whole. A durable write waits until
// the picture is on the disk; a frame among thousands written in one go may skip that wait.
bool WritePicture(const QImage& image, const std::string& path, bool durable = true);

}  // namespace tirmo::ui
