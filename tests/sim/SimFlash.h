#pragma once
// A realistic calibration memory for the simulator: the image that a backup of an instrument's
// calibration files leaves, laid out with the program's own memory layout.
#include <string>
#include <vector>

#include "sim/SimDeviceState.h"

namespace tirmo::sim {

// Lays the sets out from the calibration files in folder (an instrument's calibration folder):
// w6_col.dat .. w24_row.dat, ledxy.dat, tempfactor.dat, intfactor_w6/p35/w24.dat and
// blank_w6/p35/w24.dat. Each set with at least one file gets its header block (timeLine as the
// temperature set's last header line), the well-format set its end block. A missing file leaves
// its record's cells as they were (erased in a fresh memory). Returns the records laid out, in
// order.
std::vector<std::string> LoadFlashImage(FlashSimState& flash, const std::string& folder,
                                        const std::string& timeLine = "202603141509//");

// The data string of a record as the backup takes it from its file (before the 72-byte cut);
// empty when the file is missing or unreadable.
std::string RecordDataFromFile(const std::string& record, const std::string& path);

}  // namespace tirmo::sim
