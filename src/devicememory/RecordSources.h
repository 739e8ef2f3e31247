#pragma once
// The local side of the memory backup: the program's own calibration files packed into record
// values, one byte per number in file order (the temperature record two bytes per number), padded
// with byte 0. A value that cannot be packed is never sent as something else: the source says
// what is wrong and gives no value, and the set writer then sends nothing of that set.
#include <string>

namespace tirmo::devicememory {

struct RecordSource {
    std::string value;  // the packed value; empty with an error
    std::string error;  // what is wrong, for the user; empty when the value is good
    bool ok() const { return error.empty(); }
};

inline constexpr double kDefaultOffset = -16.34;
inline constexpr double kDefaultSlope = 1.732;
inline constexpr int kDefaultBlankLapse = 30;

// tempfactor.dat of the instrument's calibration folder: OFFSET (kept when above -50 and below
// 50, else -16.34) and SLOPE (kept when above 0 and below 10, else 1.732), each limited to
// -320..320 and packed as two bytes of signed hundredths; 72 bytes. A missing file gives the two
// defaults; a file without its two lines is an error.
RecordSource ReadTemperatureFactorFile(int serialNumber);
// The "acqlapse=" of blank_<format>.dat in the blank store; 30 without the file. nullopt-like
// -1 with the error when the line is missing or no whole number.
struct BlankLapse {
    int minutes = kDefaultBlankLapse;
    std::string error;
};
BlankLapse ReadBlankMeasurementLapse(const std::string& format, int serialNumber);
// One byte per data row of blank_<format>.dat in the blank store (the value after the first ","
// rounded to a whole number), at least 72 bytes; 72 zeros without the file. A found file is also
// copied into the instrument's calibration folder. A value outside 0..255, or fewer rows than
// the plate has wells, is an error.
RecordSource ReadBlankMeasurementValues(const std::string& format, int serialNumber);
// fileName (a band file) of the calibration folder: camera, band, start, end of every row as one
// byte each, at least 72 bytes; 72 zeros without the file. The band file of a record must hold
// exactly that record's rows (6, or 12 for w24).
RecordSource ReadWellFormatFileRecord(const std::string& fileName, int serialNumber);
// fileName (ledxy.dat) of the calibration folder: x1, x2, y1, y2 of LEDs 0..415 by their LED
// numbers (each LED exactly once), each a frame position 0..192 or -1 (no band), 1680 bytes;
// empty without the file.
RecordSource ReadLightCalibrationFileRecord(const std::string& fileName, int serialNumber);

}  // namespace tirmo::devicememory
