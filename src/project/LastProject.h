#pragma once
// The last project used with an instrument, kept in reports\pj_sn<serial number>.dat so that
// each instrument reopens its own project.
#include <string>

#include "acquisition/RunNames.h"

namespace tirmo::project {

using acquisition::kDefaultProject;

// The first line of the file; when the file is missing it is created holding "default_project".
// A first line that names no folder directly under reports (empty, ".", "..", or a path) gives
// "default_project" as well, the file left as it is.
std::string LoadLastProject(int serialNumber);
// Creates or replaces the file with the project name. False when it could not be written.
bool SaveLastProject(const std::string& project, int serialNumber);

}  // namespace tirmo::project
