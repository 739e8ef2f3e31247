#pragma once
// An instrument's calibration files as a factory leaves them (band files from the built-in
// writers, a full ledxy.dat, tempfactor.dat, restored factor files and full blank files), and
// the files that reading them back from the instrument's memory must give.
#include <map>
#include <string>
#include <vector>

namespace tirmo::sim {
class InstrumentSimulator;
}

namespace tirmo::test {

struct FactoryCalibration {
    // File name -> the file's bytes as written into the factory folder.
    std::map<std::string, std::string> sources;
    // File name -> the bytes a restore from the memory must write, for the stamp of the
    // restored factor and blank files ("yyyymmdd hh:mm").
    std::map<std::string, std::string> Restored(const std::string& stamp) const;
};

// Writes the fourteen files into <program folder>/<folder>.
FactoryCalibration WriteFactoryCalibration(const std::string& folder);

// An instrument with that serial number whose memory holds the backup of the files written
// into <program folder>/factory.
FactoryCalibration PreloadFactoryCalibration(sim::InstrumentSimulator& sim, int serialNumber);

// The fourteen file names, in the order the readers write them.
const std::vector<std::string>& CalibrationFileNames();

}  // namespace tirmo::test
