#pragma once
// The temperature sensor line (temperature = reading x slope + offset) kept per instrument in
// tempfactor.dat, and the two-point calibration that measures a new one. The line is checked
// against the nominal line of the sensor at the readings 20 and 37 both when it is loaded and
// when it is measured, so that a typing slip or a stage that did not settle cannot put an
// implausible line into use.
#include <string>

#include "thermal/Thermostat.h"

namespace tirmo::thermal {

struct TempFactors {
    double offset = kDefaultOffset;
    double slope = kDefaultSlope;
};

enum class TempFactorStatus {
    Ok,          // both values read (an out-of-range value alone falls back to its default)
    Missing,     // no file: defaults
    Corrupt,     // unreadable, short, a line without "=" or a value that is no number: defaults
    OutOfLimit,  // read, but the pair is implausible: defaults
};

struct TempFactorRead {
    TempFactors factors;
    TempFactorStatus status = TempFactorStatus::Ok;
};

// The instrument's calibration folder: config_SN<n> when the serial number is 1 or more, else
// config, in the program folder.
std::string CalibrationFolder(int serialNumber);
std::string TempFactorPath(int serialNumber);

// Reads the file; commas are read as decimal points, so a file written where the comma is the
// decimal separator reads the same.
TempFactorRead ReadTempFactorFile(const std::string& path);
// Writes the title line and both values rounded to two decimals, with the decimal separator
// given ("." or the locale's); the file is replaced only when everything was written. False when
// it could not be written.
bool WriteTempFactorFile(const std::string& path, const TempFactors& factors, const std::string& decimalSeparator);

// x rounded to two decimals, halves to even.
double RoundTo2(double x);

// The plausibility of a line: how far it lies from the nominal line at the readings 20 and 37.
struct LineDeltas {
    double delta20 = 0;
    double delta37 = 0;
};
LineDeltas DeltasFromNominal(double slope, double offset);

// One point of a calibration: the sensor reading (before any conversion) and the temperature
// a reference thermometer showed.
struct CalibrationPoint {
    double reading = 0;
    double temperature = 0;
};

struct CalibrationFit {
    bool sameReading = false;  // both points have the same reading: no line can be drawn
    bool accepted = false;
    double m = 0, b = 0;
    LineDeltas deltas;
};

// The line through both points, accepted when it lies within 6 degrees of the nominal line at
// 20 and 37 and within 14 degrees of it at the current reading.
CalibrationFit FitTwoPoints(const CalibrationPoint& p1, const CalibrationPoint& p2, double currentReading);

}  // namespace tirmo::thermal
