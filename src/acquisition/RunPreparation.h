#pragma once
// Run preparation: the plate geometry of the format in use becomes the per-run tables. It sizes
// and clears them, chooses the camera speed and exposure from the widest row band, decides for
// every window pixel whether it lies inside its well's shape, maps those pixels to their wells
// and finds the mean well area. A geometry the tables cannot hold is refused with a message
// naming what is wrong.
#include <string>

#include "acquisition/RunTables.h"

namespace tirmo::acquisition {

inline constexpr const char* kSettingUpCamera = "Setting up IR Video-Camera";
inline constexpr const char* kConfigurationError = "Configuration error";

// Bounds of the geometry the tables hold.
inline constexpr int kLastSensorColumn = 192;  // column bands lie on sensor lines 0..192
inline constexpr int kLastSensorRow = 183;     // row band pixels 0..183 (the window is mirrored at 183)
inline constexpr int kMaxTablePixels = 32767;  // pixel numbers are 16-bit
inline constexpr int kMaxScanMinutes = 32000;  // the acquisition-time box's limit

struct PreparationSettings {
    int hardware_generation = 1;  // the generation-2 speed rows from 2 on
    int default_exposure = 20;
    double acquisition_minutes = 30;  // the number in the acquisition-time box
};

// 1 and no message on success; -1 and the message box text otherwise: "Configuration error"
// when no well has a pixel, "Configuration error: " and the fault for a geometry the tables
// cannot hold.
struct PreparationResult {
    int result = -1;
    std::string message;
    bool ok() const { return result > 0; }
};

// The speed code and the exposure factor for the widest row band W of the plate.
struct CameraSpeed {
    int speed = 1;
    int factor = 7;
};
CameraSpeed SpeedForWidth(int widestRowBand, int hardwareGeneration);

// The first fault of a geometry, empty when the tables can hold it: a camera 0..5 without
// column or row bands or with more slots than the plate table has (8); a band that ends before
// it starts or lies outside the sensor; a cell of a camera's window grid whose percentages are
// not 0 <= ini < end <= 100 (equal ones would divide by zero) or whose well number lies outside
// the per-well tables; a window of more than 32767 pixels.
std::string GeometryFault(const RunGeometry& geometry);

// Ten scans a minute of the acquisition time, halves to even, kept within 0..320000.
int ScanCount(double acquisitionMinutes);

// Prepares the tables for a run (or a fast LED calibration) from the geometry the plate readers
// left. A refused geometry leaves the tables empty; "Configuration error" for a plate without
// any in-shape pixel leaves them sized with the values written so far.
PreparationResult PrepareAcquisition(const RunGeometry& geometry, const PreparationSettings& settings,
                                     RunTables& tables);

}  // namespace tirmo::acquisition
