#pragma once
// The variables the whole program shares for its lifetime: the link to the instrument, the
// instrument's identity, the temperature calibration and the current acquisition folder.
// Windows keep their own tables; only what several windows and subsystems read lives here.
#include <string>

namespace tirmo::mod {

inline bool port_open = false;        // the serial link is open
inline int port_slot = 0;             // serial-layer slot (= COM number) of the link
inline int com_number = 0;            // the COM number tried last, at the end the link's port
inline int serial_number = 0;         // 0 when no instrument answered
inline int hardware_generation = 1;   // 1 below serial number 50, else 2
inline int dummy_mode = 0;            // 1: device routines return at once, frames are random
inline double temp_offset = -16.34;   // temperature = reading * temp_slope + temp_offset
inline double temp_slope = 1.732;
inline std::string acquisition_folder;
inline int default_gain = 10;
inline int default_exposure = 20;

// Back to the state of a program that has just started (tests start each case from here).
inline void reset()
{
    port_open = false;
    port_slot = 0;
    com_number = 0;
    serial_number = 0;
    hardware_generation = 1;
    dummy_mode = 0;
    temp_offset = -16.34;
    temp_slope = 1.732;
    acquisition_folder.clear();
    default_gain = 10;
    default_exposure = 20;
}

}  // namespace tirmo::mod
