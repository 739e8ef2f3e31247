#pragma once
// The instrument's internal-reference factors as its memory keeps them, renewed before they are
// sent: intfactor_<format>.dat of the instrument's calibration folder becomes a copy of the
// factor_correction.txt that the reference runs of the format give, or, without such a run, the
// factory-default form (every factor 1.00). The packed value is one byte per well (factor x 100),
// padded with byte 0 to 72; the factory default is 24 bytes of 100 whatever the format.
#include <string>

#include "devicememory/RecordSources.h"
#include "project/CorrectionFolders.h"

namespace tirmo::devicememory {

// The factory-default form: the quoted stamp "yyyy/mm/dd_hh:mm:ss_FACTORYDEFAULT", "well" and
// the format's wells, "mult_factor" and "1.00" for each, an empty line. A format without a
// reference well lists no wells.
std::vector<std::string> FactoryDefaultFactorLines(const std::string& format);

// Renews the file of the format and returns its packed factors. A file that cannot be written or
// copied is an error (no value): the memory must not get factors the folder does not hold.
RecordSource RecalculateInternalFactors(const std::string& format, int serialNumber,
                                        const project::CorrectionNotices& notices);

}  // namespace tirmo::devicememory
