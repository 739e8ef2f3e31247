#pragma once
// Where the corrections of an instrument live under the program folder, and how the window
// hears what the correction code has to say. The instrument's serial number names its folders:
// "SN" and the number for serial number 1 or more, nothing when offline (serial number 0).
#include <functional>
#include <string>
#include <vector>

namespace tirmo::project {

// "SN57" for serial number 57; empty below 1.
std::string SerialTag(int serialNumber);

// <program folder>/reports/_internal_blank_measurement<tag>: the blank runs and the current blank
// of each plate format.
std::string BlankStoreFolder(int serialNumber);
// <program folder>/reports/_internal_reference<tag>: the internal-reference runs.
std::string ReferenceProjectFolder(int serialNumber);
// <program folder>/config_<tag>, or <program folder>/config without a tag: the instrument's own
// calibration files (factory blanks, intfactor_<format>.dat).
std::string CalibrationFolder(int serialNumber);

// A folder and a file name joined; the folder may end in "/" or "\".
std::string InFolder(const std::string& folder, const std::string& name);
// The last component of a path written with "/" or "\" (trailing separators ignored).
std::string BaseName(const std::string& path);

// The folder entries whose names match "yyyymmdd_hhmmss" (eight and six characters around "_")
// followed by prefix and anything, letter case ignored, sorted by name: a listing comes out the
// same on every machine. Files are listed as well as folders.
std::vector<std::string> StampedEntries(const std::string& folder, const std::string& prefix);

// What the correction code shows the user. The window routes message() to a message box with an
// OK button and the program's title, status() to its status box txt_status. Either may be empty.
struct CorrectionNotices {
    std::function<void(const std::string&)> message;
    std::function<void(const std::string&)> status;
    void Message(const std::string& text) const
    {
        if (message) message(text);
    }
    void Status(const std::string& text) const
    {
        if (status) status(text);
    }
};

}  // namespace tirmo::project
