#pragma once
// The readers of an acquisition's subpj.dat: line 1 the title as the user typed it, line 2
// "acq_time=" and the minutes, line 3 "plate_format=" and the format code. Each takes the
// acquisition folder's full path and gives one value; the empty text is the only failure value
// (a missing file and a missing line look the same to the caller).
#include <string>

#include "acquisition/RunFiles.h"

namespace tirmo::project {

using acquisition::kSubprojectFile;

// Line 1, read on its own: a garbled time line does not hide the title from a listing.
std::string ReadSubprojectName(const std::string& folder);

// These three read the whole file the same way and differ only in what they give back. A line
// counts when it is longer than one character and holds its key anywhere; its value is the text
// after as many characters as the key has. The time is made a whole number (halves to even,
// -32768..32767) and written back without blanks. A time part that is no such number makes all
// three give the empty text.
std::string ReadSubprojectTitle(const std::string& folder);
std::string ReadSubprojectTime(const std::string& folder);
std::string ReadSubprojectFormat(const std::string& folder);

}  // namespace tirmo::project
