#pragma once
// The backup of the calibration sets into the instrument's memory ("SEND"). Each set writer
// first takes every record value of its set from the calibration files (a value that cannot be
// packed refuses the whole set: nothing of it is sent), then writes the set's header group at
// line 0 of its bank and each record as groups of four lines, committed at lines 4, 8, ...
// Every group written (the header, each record, the well-format set's end group) is read back
// and compared with what was written; one whose write or read-back fails is written once more,
// and a second failure shows "Error writing" with the record's key (or the header's title), set
// and memory line. A set is written only when all of it was read back equal.
#include <array>
#include <string>
#include <vector>

#include "devicememory/CalibrationReaders.h"
#include "devicememory/FlashWrite.h"
#include "project/CorrectionFolders.h"

namespace tirmo::devicememory {

inline constexpr int kGroupPauseMs = 200;       // before the header group and each record
inline constexpr int kLinePauseMs = 10;         // between consecutive lines of a group
inline constexpr int kAroundCommitPauseMs = 100;
inline constexpr int kRecordAttempts = 2;
inline constexpr int kLightReadPauseMs = 100;

struct SetWriting {
    enum class Outcome { Written, Refused, Failed };
    Outcome outcome = Outcome::Written;
    std::vector<std::string> messages;  // what was shown in message boxes for this set
    bool Written() const { return outcome == Outcome::Written; }
};

struct WriterContext {
    FlashWritePort& port;
    int serialNumber = 0;
    MemoryNotices notices;               // message boxes and the progress picture
    project::CorrectionNotices correction;  // what the factor recalculation shows
    bool announce_reference = true;         // it shows where the reference runs were found
};

SetWriting WriteWellFormatCalibrationToDevice(WriterContext& context);
SetWriting WriteLightCalibrationToDevice(WriterContext& context);
SetWriting WriteTemperatureCalibrationToDevice(WriterContext& context);
SetWriting WriteInternalRefCalibrationToDevice(WriterContext& context);
SetWriting WriteBlankCalibrationToDevice(WriterContext& context);
SetWriting WriteCalibrationSet(CalibrationSet set, WriterContext& context);

// The captions of the panel's check boxes ("Well FORMAT (w24,w6,p35)" ...), by set.
std::string SetCaption(CalibrationSet set);

// "SEND": the checked sets in panel order, each after its label on the progress picture; then
// "Done" when every checked set was written and read back equal, else "Not written:" and the
// labels of the sets that were not. True for "Done".
bool SendCalibrationSets(const std::array<bool, 5>& checked, WriterContext& context);

}  // namespace tirmo::devicememory
