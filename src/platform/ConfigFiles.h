#pragma once
// The small files of the program folder: the settings record config.txt (written, never read
// back), the camera mask camconf.dat and the plain copy of a text file that the installers and
// backups use.
#include <array>
#include <string>

namespace tirmo::platform {

// The eight values of config.txt, as the controls show them.
struct ConfigRecord {
    std::string com, txTransmit, gain, exposure, led, acqLapse, wellFormat, setTemp;
};

// The file's text: each line the key and value in double quotes, CR LF.
std::string ConfigTxtText(const ConfigRecord& r);
// Writes <program folder>/config.txt; false when it could not be written.
bool WriteConfigTxt(const ConfigRecord& r);

// config_SN<n>\camconf.dat, or config\camconf.dat when the serial number is 0.
std::string CameraMaskPath(int serialNumber);
// Cameras 0..5 from the mask: only a "0" takes a camera out of use; a missing, empty or
// unreadable file leaves every camera in use.
std::array<bool, 6> ReadCameraMaskFile(const std::string& path);
// Writes "1"/"0" for cameras 0..5 and CR LF; false when it could not be written.
bool WriteCameraMaskFile(const std::string& path, const std::array<bool, 6>& inUse);

// Line-by-line copy; every line of the copy ends in CR LF. False when the source cannot be
// read or the target cannot be written (the target is then left as it was).
bool CopyTextFile(const std::string& source, const std::string& target);

}  // namespace tirmo::platform
