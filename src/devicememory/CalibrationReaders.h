#pragma once
// The five readers that restore the calibration sets from the instrument's memory into an
// instrument's calibration folder: well format (six band files), light (ledxy.dat),
// temperature (tempfactor.dat), internal reference (intfactor_w6/p35/w24.dat) and blank
// (blank_w6/p35/w24.dat). Each record is fetched from its fixed place, recognised by its name
// and check byte, and written as one file. A file is put in place only when it has been written
// whole: a record that is not found, or a file that cannot be written, leaves the file from
// before as it was.
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "devicememory/FlashRead.h"

namespace tirmo::devicememory {

// How a reader talks to the window: the status line (txt_status), a message box with an OK
// button, and the progress picture (cleared, then the text printed). Any may be empty.
struct MemoryNotices {
    std::function<void(const std::string&)> status;
    std::function<void(const std::string&)> message;
    std::function<void(const std::string&)> progress;
    void Status(const std::string& text) const
    {
        if (status) status(text);
    }
    void Message(const std::string& text) const
    {
        if (message) message(text);
    }
    void Progress(const std::string& text) const
    {
        if (progress) progress(text);
    }
};

enum class CalibrationSet { WellFormat, Light, Temperature, InternalReference, Blank };
// The set's name in the messages of a read or a write ("Well Format", "Internal REF" ...).
std::string CalibrationSetName(CalibrationSet set);
inline constexpr CalibrationSet kCalibrationSets[] = {CalibrationSet::WellFormat, CalibrationSet::Light,
                                                      CalibrationSet::Temperature, CalibrationSet::InternalReference,
                                                      CalibrationSet::Blank};

// "Well Format Calibration not found at TIRMO memory" and the four others.
std::string NotFoundText(CalibrationSet set);
// "Error reading Well Format Calibration from TIRMO equipment memory" and the four others.
std::string ReadErrorText(CalibrationSet set);

struct SetReading {
    enum class Outcome { Complete, NotFound, Error };
    Outcome outcome = Outcome::Complete;
    std::vector<std::string> missing;  // names of the records not found, in reading order
    std::string unwritten;             // the file that could not be written (Error)
    // 0 when every record was found and written, -1 otherwise.
    int Result() const { return outcome == Outcome::Complete ? 0 : -1; }
};

inline constexpr int kNotFoundPauseMs = 500;
inline constexpr int kLightBlockPauseMs = 100;

// folder: the instrument's calibration folder (a path; config_SN<n>, or config without a serial
// number). After the records: a record not found shows the set's "not found" text once and
// pauses 500 ms; a file that cannot be written stops the reader at once with the set's error
// message box (no "not found" text).
SetReading ReadWellFormatCalibrationFromDevice(FlashPort& port, const std::string& folder,
                                               const MemoryNotices& notices);
// Reads all 18 blocks (100 ms after each, "LEDXY <- n" on the progress picture) before it tests
// the record.
SetReading ReadLightCalibrationFromDevice(FlashPort& port, const std::string& folder, const MemoryNotices& notices);
SetReading ReadTemperatureCalibrationFromDevice(FlashPort& port, const std::string& folder,
                                                const MemoryNotices& notices);
SetReading ReadInternalRefCalibrationFromDevice(FlashPort& port, const std::string& folder,
                                                const MemoryNotices& notices);
SetReading ReadBlankCalibrationFromDevice(FlashPort& port, const std::string& folder, const MemoryNotices& notices);

// The reader of a set.
SetReading ReadCalibrationSet(CalibrationSet set, FlashPort& port, const std::string& folder,
                              const MemoryNotices& notices);

// The label printed while a set is sent or received ("->Well Format" ...).
std::string SetProgressLabel(CalibrationSet set);

// "RECEIVE": the checked sets in panel order, each after its label on the progress picture; then
// "Done" when every checked set was found and restored, else "Not restored:" and the labels of
// the sets that were not (their older files are what the folder holds). True for "Done".
bool ReceiveCalibrationSets(const std::array<bool, 5>& checked, FlashPort& port, const std::string& folder,
                            const MemoryNotices& notices);

}  // namespace tirmo::devicememory
