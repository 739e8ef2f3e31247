#pragma once
// One serial port of the host, opened exclusively, raw 8N1 without flow control. The port
// layer above it keeps the slot table and the error record; this class only speaks to the
// operating system and reports failures as codes: 2 for a port that does not exist, 5 for a
// port that another program holds, other codes as the system gives them.
#include <string>

namespace tirmo::platform {

inline constexpr int kErrNoSuchPort = 2;
inline constexpr int kErrPortBusy = 5;

// Read time-outs: a read returns as soon as it has what was asked, intervalMs after the last
// byte when bytes stop coming, and at the latest totalMs after it began. Writes may take
// writeMsPerByte per byte.
struct SerialTimeouts {
    int intervalMs = 100;
    int totalMs = 500;
    int writeMsPerByte = 1000;
};
SerialTimeouts serialTimeouts();
// Tests shorten the time-outs where they wait for silence; the program never changes them.
void setSerialTimeouts(const SerialTimeouts& t);

// The device behind COM<n>: $TIRMO_COM<n> when set (set but empty: no such port), otherwise
// COM1-COM6 = /dev/ttyUSB0-5, COM7-COM10 = /dev/ttyACM0-3, COM11-COM16 = /dev/ttyS0-5, so that
// a plugged USB adapter is found first by a scan from COM1.
std::string DevicePathForPort(int comNumber);

// The system's message text for a code of this layer.
std::string SystemMessage(int code);

class SerialDevice {
public:
    SerialDevice() = default;
    ~SerialDevice();
    SerialDevice(const SerialDevice&) = delete;
    SerialDevice& operator=(const SerialDevice&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    // Obtains the device exclusively; 0 or an error code.
    int open(const std::string& devicePath);
    // Applies a settings text "baud=115200 parity=N data=8 stop=1"; 0 or an error code.
    int configure(const std::string& settings);
    // Discards both queues; 0 or an error code.
    int purge();
    // Reads up to max bytes under the time-outs; the count (0 when nothing came) or -1 with the
    // code in lastError(), also when the line has hung up (the device is gone), whatever bytes
    // came before.
    int read(std::string& data, int max);
    // Writes every byte and waits until they are out; the count or -1.
    int write(const std::string& data);
    // Whether a read or write found the device gone (the line hung up, the adapter pulled out):
    // the port cannot work again until it is opened anew.
    bool hungUp() const { return hungUp_; }
    // Releases the device; 0 or an error code.
    int close();
    // The code of the last failure of read or write.
    int lastError() const { return lastError_; }
    // The port's error flags since the last call (overrun, framing, parity, break), cleared.
    unsigned errorFlags();

private:
    int fd_ = -1;
    int lastError_ = 0;
    unsigned flags_ = 0;
    bool hungUp_ = false;

    int gone(int systemError);  // a failure that marks the device gone
};

}  // namespace tirmo::platform
