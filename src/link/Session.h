#pragma once
// The instrument session: the link to the instrument, its identity, the temperature
// calibration, the camera defaults and set-up, the acquisition folder and the run settings. The main window
// owns one for the program's lifetime; every console a device routine reports through is bound
// to it, so the routine reads the link and the instrument's identity from the console it is
// given. Tests build their own.
#include <string>

#include "link/RunSettings.h"

namespace tirmo::link {

struct Session {
    bool port_open = false;        // the serial link is open
    int port_slot = 0;             // serial-layer slot (= COM number) of the link
    int com_number = 0;            // the COM number tried last, at the end the link's port
    int serial_number = 0;         // 0 when no instrument answered
    int hardware_generation = 1;   // 1 below serial number 50, else 2
    int dummy_mode = 0;            // 1: device routines return at once, frames are random
    double temp_offset = -16.34;   // temperature = reading * temp_slope + temp_offset
    double temp_slope = 1.732;
    std::string acquisition_folder;
    int default_gain = 10;
    int default_exposure = 20;
    int run_state = 0;             // 0 idle, 1 running, -1 a light calibration has the cameras
    double elapsed_seconds = 0;    // seconds since the run started
    RunSettings run_settings;      // what the next run is made with; the windows show it
    ThermalSettings thermal;       // the temperature control; the temperature boxes show it
    CameraSettings camera;         // the camera set-up; the main window's camera boxes show it
};

// What an instrument's serial number says about its hardware: the first boards (below 50) have
// the analog stage and the first LED wiring; 57 to 59 carry the less sensitive cameras that need
// more gain and a longer exposure.
struct InstrumentDefaults {
    int hardware_generation = 1;
    int default_gain = 10;
    int default_exposure = 20;
};

inline InstrumentDefaults DefaultsForSerialNumber(int serialNumber)
{
    if (serialNumber < 50) return {1, 10, 20};
    if (serialNumber >= 57 && serialNumber <= 59) return {2, 20, 28};
    return {2, 15, 20};
}

// The generation and camera defaults of the session's serial number into the session.
inline void ApplyInstrumentDefaults(Session& session)
{
    const InstrumentDefaults d = DefaultsForSerialNumber(session.serial_number);
    session.hardware_generation = d.hardware_generation;
    session.default_gain = d.default_gain;
    session.default_exposure = d.default_exposure;
}

}  // namespace tirmo::link
