#include "link/CommPort.h"

#include <array>
#include <memory>
#include <sstream>

#include "link/Exchange.h"
#include "platform/SerialDevice.h"

namespace tirmo::link {
namespace {

struct Slot {
    platform::SerialDevice device;
    bool open = false;
    std::string settings;
};

std::array<Slot, kSlotCount + 1> slots;  // index 0 unused: the slot number is the COM number
CommError error;
WriteObserver writeObserver;
HangUpObserver hangUpObserver;

bool validSlot(int port) { return port >= 1 && port <= kSlotCount; }

long record(long code, const std::string& source)
{
    error.code = code;
    error.source = source;
    error.message = platform::SystemMessage(int(code));
    return code;
}

long recordWithFlags(long code, const std::string& source, int port)
{
    record(code, source);
    std::ostringstream hex;
    hex << std::uppercase << std::hex << slots[size_t(port)].device.errorFlags();
    error.message += "  COMM Error Flags = " + hex.str();
    return code;
}

// Bare-name failures: a slot outside 1..16, or I/O asked of a slot that holds no open port.
// On this system a closed descriptor number is soon reused by an ordinary file, so such I/O
// must never reach the descriptor.
long recordInvalid(const std::string& operation, int port)
{
    error.code = 9;
    error.source = operation;
    error.message = validSlot(port) ? "The port is not open." : "Subscript out of range: no port slot " + std::to_string(port) + ".";
    return error.code;
}

// Another exchange holds the port: its bytes and its reply must not be touched, not even by a
// flush, which would throw its reply away.
long recordBusy(const std::string& operation)
{
    error.code = kPortInUse;
    error.source = operation;
    error.message = "Port busy.";
    return kPortInUse;
}

bool refused() { return PortBusy() || OperationStopped(); }

// The device is gone: its slot is closed so that the link counts as closed and the port can be
// opened anew; the failure stays recorded as it was.
void closeHungUp(int port)
{
    Slot& slot = slots[size_t(port)];
    if (!slot.open || !slot.device.hungUp()) return;
    slot.device.close();
    slot.open = false;
    if (hangUpObserver) hangUpObserver(port);
}

}  // namespace

const CommError& LastCommError() { return error; }

long CommOpen(int port, const std::string& name, const std::string& settings)
{
    (void)name;  // the device is found from the port number; the name is kept for the record
    if (!validSlot(port)) return recordInvalid("CommOpen", port);
    Slot& slot = slots[size_t(port)];
    if (slot.open) {
        error.code = kPortInUse;
        error.source = "CommOpen";
        error.message = "Port in use.";
        return kPortInUse;
    }
    if (long code = slot.device.open(platform::DevicePathForPort(port)); code != 0)
        return record(code, "CommOpen (CreateFile)");
    slot.open = true;
    long code = slot.device.purge();
    if (code != 0) {
        record(code, "CommOpen (PurgeComm)");
    } else if ((code = slot.device.configure(settings)) != 0) {
        record(code, "CommOpen (BuildCommDCB)");
    }
    if (code != 0) {
        // Release the port at once: a slot left holding it would refuse the next open with
        // "Port in use." and keep the device from every other program.
        slot.device.close();
        slot.open = false;
        return code;
    }
    slot.settings = settings;
    return 0;
}

long CommClose(int port)
{
    if (!validSlot(port)) return recordInvalid("CommClose", port);
    Slot& slot = slots[size_t(port)];
    if (!slot.open) return 0;
    if (long code = slot.device.close(); code != 0) return record(code, "CommClose (CloseHandle)");
    slot.open = false;
    return 0;
}

long CommFlush(int port)
{
    if (refused()) return recordBusy("CommFlush");
    if (!validSlot(port) || !slots[size_t(port)].open) return recordInvalid("CommFlush", port);
    if (RestHeardNothing()) return 0;
    if (long code = slots[size_t(port)].device.purge(); code != 0) return record(code, "CommFlush (PurgeComm)");
    return 0;
}

long CommRead(int port, std::string& data, int maxLength)
{
    data.clear();
    if (refused()) return recordBusy("CommRead");
    if (!validSlot(port) || !slots[size_t(port)].open) {
        recordInvalid("CommRead", port);
        CommFlush(port);
        return -1;
    }
    if (RestHeardNothing()) return 0;
    if (maxLength > kMaxRead) maxLength = kMaxRead;
    if (maxLength < 0) maxLength = 0;
    Slot& slot = slots[size_t(port)];
    long count = slot.device.read(data, maxLength);
    if (count < 0) {
        recordWithFlags(slot.device.lastError(), "CommRead (ReadFile)", port);
        data.clear();
    }
    if (count == 0 && maxLength > 0) ReadBroughtNothing();
    if (count < maxLength) CommFlush(port);
    closeHungUp(port);
    return count;
}

long CommWrite(int port, const std::string& data)
{
    if (refused()) return recordBusy("CommWrite");
    if (!validSlot(port) || !slots[size_t(port)].open) {
        recordInvalid("CommWrite", port);
        return 0;
    }
    Slot& slot = slots[size_t(port)];
    long count = slot.device.write(data);
    if (count < 0) {
        recordWithFlags(slot.device.lastError(), "CommWrite (WriteFile)", port);
        closeHungUp(port);
        return -1;
    }
    if (writeObserver) writeObserver(port, data);
    return count;
}

long CommWriteBytes(int port, const std::vector<unsigned char>& bytes)
{
    return CommWrite(port, std::string(bytes.begin(), bytes.end()));
}

void SetWriteObserver(WriteObserver observer) { writeObserver = std::move(observer); }

void SetHangUpObserver(HangUpObserver observer) { hangUpObserver = std::move(observer); }

bool CommIsOpen(int port) { return validSlot(port) && slots[size_t(port)].open; }

void CommCloseAll()
{
    for (int p = 1; p <= kSlotCount; ++p) CommClose(p);
}

}  // namespace tirmo::link
