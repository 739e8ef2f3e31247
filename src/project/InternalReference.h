#pragma once
// The internal reference: runs recorded on a homogeneous plate (every well filled alike) give
// each well of a plate format a factor that brings it to the plate's mean. The reference runs
// of an instrument are the acquisitions of its reference project
// reports/_internal_reference<SerialTag>, named by their start stamp, the format and anything
// ("20250131_140512w6_reference"). Run listings are taken in name order.
//
// A run qualifies for the factors when a row of its reference well (the format's last well)
// has a time of 10.0 minutes or more; it is accepted as a reference for the format when its
// last row's time, rounded to whole minutes (halves to even), is above 10.
#include <string>
#include <vector>

#include "project/CorrectionFolders.h"
#include "project/FactorCorrectionFile.h"

namespace tirmo::project {

inline constexpr const char* kReferenceLoadedFrom = "Internal Reference loaded from:";
inline constexpr int kMaxReferenceRuns = 99;  // the first 99 qualifying runs in name order

// The formats the internal reference knows: "p35" and "w6" 2 rows of 6 wells, "w12" 3 of 12,
// "w24" 4 of 24, "w48" 6 of 48, "w96f" 8 of 96. Any other code has no wells.
struct ReferenceFormat {
    int rows = 0;
    int wells = 0;
    std::string reference_well;  // the last well ("B3" for "w6"); empty without wells
};
ReferenceFormat ReferenceFormatOf(const std::string& format);
// The name of well number k (from 1, down each column): "A" + (k - 1) mod rows, (k - 1) div rows + 1.
std::string ReferenceWellName(int number, int rows);

// 1 when the activity file (two header lines, then rows) ends with a row whose time in whole
// minutes (halves to even) is above 10; else 0, also for a missing file or one shorter than
// two lines. A row without a blank counts as time 0.
int CheckReferenceLength(const std::string& activityPath);

// 1 when the instrument has at least one accepted reference run of the format, else 0.
int HasInternalReference(const std::string& format, int serialNumber);

enum class FactorSource { ReferenceRuns, Factory, Defaults };
struct InternalReferenceResult {
    FactorCodeString codes;  // empty for the defaults
    FactorSource source = FactorSource::Defaults;
    std::vector<std::string> runs;  // the qualifying runs used, in the file's order
    FactorWrite write = FactorWrite::Written;
};

// Sets factors from the qualifying reference runs of the instrument (serialNumber) and format:
// each run contributes the wells' counts of its last scan that closed with a reference-well row
// at 10.0 minutes or later; a well's weight in a run is its count over the run's mean count (a
// mean of 0 taken as 0.01); its factor is 1 / its mean weight over the runs ("2.55" for a mean
// weight of 0 or below), limited to 0..2.55 when stored. Without a qualifying run the
// instrument's factory file intfactor_<format>.dat of its calibration folder gives the factors
// (line 3, each limited to 0..2.55; a well without a value keeps 1.0); without a factory file
// (or one shorter than three lines) every factor is 1.0.
//
// Then backs up and rewrites factor_correction.txt in folder in the matching form (an empty
// folder becomes the program folder, which folder then holds). A failed backup keeps the old
// file and is reported in the status box; the factors are set all the same.
//
// announceSource (the caller's show_message is 1 and its "Internal Reference:" list stands at
// "Apply" or "Update") shows "Internal Reference loaded from:" and the reference project's
// folder when runs are used.
InternalReferenceResult ComputeInternalReference(std::string& folder, const std::string& format, int serialNumber,
                                                 bool announceSource, ReferenceFactors& factors,
                                                 const CorrectionNotices& notices);

}  // namespace tirmo::project
