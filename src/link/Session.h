#pragma once
// The instrument session: the link to the instrument, its identity, the temperature
// calibration, the camera defaults and the acquisition folder. The main window owns one for the
// program's lifetime; every console a device routine reports through is bound to it, so the
// routine reads the link and the instrument's identity from the console it is given. Tests
// build their own.
#include <string>

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
};

}  // namespace tirmo::link
