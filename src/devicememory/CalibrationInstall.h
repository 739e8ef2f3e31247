#pragma once
// The first start with an instrument on this computer: its folders are made, its five
// calibration sets are restored from its memory, and after each set an installer completes the
// instrument's folder from the shared one (config, or the reports folders without a serial
// tag); the band files fall back on the built-in ones (plate::InstallFormatFiles). An installer
// never replaces a file that is there. A shared file that cannot be read, or that its own
// reader would not take, is reported and left behind; the installation goes on.
#include <functional>
#include <string>
#include <vector>

#include "devicememory/CalibrationReaders.h"

namespace tirmo::devicememory {

using InstallReport = std::function<void(const std::string&)>;

// folder: the instrument's folder name under the program folder ("config_SN12"). Copies
// config/ledxy.dat (config/tempfactor.dat) there when it is missing there.
void InstallLightCalFile(const std::string& folder, const InstallReport& report = {});
void InstallTempFactorFile(const std::string& folder, const InstallReport& report = {});
// tag: the serial tag ("SN12"). Copies p35_, w6_ and w24_factor_correction.dat from
// reports/_internal_reference into reports/_internal_reference<tag> where missing there.
void InstallReferenceFactorFiles(const std::string& tag, const InstallReport& report = {});
// The same for blank_p35.dat, blank_w6.dat and blank_w24.dat of
// reports/_internal_blank_measurement.
void InstallBlankFiles(const std::string& tag, const InstallReport& report = {});

// The instrument's folders: reports/_internal_reference<tag> and
// reports/_internal_blank_measurement<tag> are made when missing, and config_SN<n>; firstStart
// when config_SN<n> did not exist before. A folder that cannot be made is named in problem
// (firstStart is then false: there is nowhere to restore to). Nothing for a serial number
// below 1.
struct InstrumentFolders {
    bool firstStart = false;
    std::string problem;
};
InstrumentFolders PrepareInstrumentFolders(int serialNumber);

// "Getting Factory file: [Well_Format]" and the four others.
std::string GettingText(CalibrationSet set);
// "Well_Format", "Light_Cal", "Temp_factor", "Int_Factor", "Blank_Factor".
std::string SetLabel(CalibrationSet set);

struct CalibrationDownload {
    std::vector<CalibrationSet> failed;  // sets not restored whole, in order
    std::vector<std::string> notes;      // what the installers reported
    // "" when every set was restored; else "Not read from TIRMO memory:" and the labels of the
    // failed sets in brackets. The folder now exists, so a later start does not try again: this
    // text is what tells the user which sets to restore with RECEIVE.
    std::string Text() const;
};

// The five steps of a first start (serial number 1 or more, link open): pause 200 ms, then for
// each set its "Getting Factory file" status, its reader into config_SN<n> and its installer;
// pause 100 ms. Installer reports go to the status line as they come.
CalibrationDownload DownloadCalibration(FlashPort& port, int serialNumber, const MemoryNotices& notices);

inline constexpr int kDownloadStartPauseMs = 200;
inline constexpr int kDownloadEndPauseMs = 100;

}  // namespace tirmo::devicememory
