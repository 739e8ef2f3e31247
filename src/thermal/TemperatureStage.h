#pragma once
// The main window's command layer for the temperature stage: the 'T' frames that read the
// temperature, heat, cool, switch the Peltier off and drive the fan, and the decoding of the
// stage's reply. Two ways of driving the Peltier exist: two frames (direction, then power) on
// the analog stage of first-generation instruments, one frame on the digital stage.
#include <optional>
#include <string>

#include "link/Protocol.h"

namespace tirmo::thermal {

// The fan levels: half while the stage rests, full while it holds a temperature.
inline constexpr int kFanHalf = 128;
inline constexpr int kFanFull = 255;

inline constexpr int kHeatLimit = 230;
inline constexpr int kCoolLimit = 245;
inline constexpr int kDirectionPauseMs = 100;
// What the reading command returns when it brought no temperature.
inline constexpr double kNoReading = -1;

class TemperatureStage {
public:
    // The last temperature the stage reported (0 when a drive or off frame brought no valid
    // temperature back, an unanswered one included).
    double last_temperature = 0;
    // True while the stage is driven with two frames.
    bool analog_stage = false;

    // Read the temperature, sending power as the Peltier byte (limited to 0..255, written back).
    // The valid reading, or kNoReading: nothing came, the reading is invalid, the reply letter
    // is not accepted, or the link is closed (a closed link is no reading, never 0 degrees).
    double SetPowerReadTemperature(int& power, link::Console& console);
    // 1 when the last frame was answered, -1 otherwise (also with the link closed).
    int PeltierHeat(int& pwm, link::Console& console);
    int PeltierCool(int& pwm, link::Console& console);
    int PeltierOff(link::Console& console);
    // Fan level 0..255, sent without link test or flush. 1, or -1 when the level does not fit.
    // Every command here is refused (-1, no reading) while another exchange holds the port.
    int SetFan(int pwm, link::Console& console);
    // The reading a stage reply carries, or 0 when its letter is not accepted or it is invalid.
    double DecodeTemperatureReply(const std::string& reply, int hardwareGeneration) const;

private:
    int drive(int& pwm, bool heat, link::Console& console);
    std::string sendAndRead(const link::Session& session, int a, int b);
    // The reply of a drive or off frame: traced, and its temperature kept; 1, or -1 when empty.
    int takeDriveReply(const std::string& reply, link::Console& console);
};

// A reading is a temperature only strictly between 0 and 100.
bool ValidReading(double reading);

// The sending code every stage command shares (the main window's stage and thermostat, and the
// factory window's console): one 'T' frame a, b in the given form and its three-byte reply
// (empty when nothing came or a, b fit no byte). The caller holds the port and flushes.
std::string SendStageFrame(const link::Session& session, int a, int b, link::SendForm form = link::SendForm::Bytes);
// The value a stage reply carries, unchecked: "T" replies in sixteenths of a degree, "t"
// replies (taken from first-generation instruments only) in 1/1280 sensor units; nothing for
// any other reply.
std::optional<double> StageReplyValue(const std::string& reply, int hardwareGeneration);

}  // namespace tirmo::thermal
