#pragma once
// The test instrument: it plays the instrument's side of the serial protocol on the master side
// of a pseudo-terminal, so the program's real serial layer talks to it as to a real port. Every
// frame it receives is logged with its arrival time; fault switches make it silent, wrong,
// short, corrupt or slow. Each subsystem adds the commands of its devices in its own install
// function (see SimDevices.h).
//
// It also checks the framing of everything it receives: a frame whose check byte is wrong (two
// exchanges interleaved, a frame cut short), a byte outside any frame other than the reset "Z",
// and a frame still incomplete when the simulator ends are framing errors. When it ends it hands
// them, unless they are what the test declared, to the framing report (the test runner fails the
// running test there).
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/SimDeviceState.h"

namespace tirmo::sim {

struct ReceivedFrame {
    unsigned char letter = 0, a = 0, b = 0;
    double firstByteMs = 0;  // arrival of the start byte (monotonic, real time)
    double lastByteMs = 0;   // arrival of the check byte
    std::vector<double> byteMs;  // arrival of each of the five bytes
};

// What the instrument knows and keeps between commands; each device's part in SimDeviceState.h.
struct SimState {
    int serialNumber = 57;
    int identification = 57;
    int resetCount = 0;
    CameraSimState cameras;
    LedSimState leds;
    ThermalSimState thermal;
    FlashSimState flash;
    int generation() const { return serialNumber < 50 ? 1 : 2; }
};

class InstrumentSimulator {
public:
    // A handler answers a good frame with the reply bytes (empty: no answer).
    using Handler = std::function<std::string(SimState&, const ReceivedFrame&)>;

    InstrumentSimulator();
    ~InstrumentSimulator();
    InstrumentSimulator(const InstrumentSimulator&) = delete;
    InstrumentSimulator& operator=(const InstrumentSimulator&) = delete;

    // The device path of the terminal side (what the program opens).
    const std::string& devicePath() const { return slavePath_; }
    // Makes COM<n> of the program open this simulator.
    void attachAsCom(int n) const;

    // Replaces the handler of a command letter.
    void on(char letter, Handler handler);

    // Runs f on the state under the simulator's lock.
    template <class F>
    auto with(F f)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return f(state_);
    }

    // Fault switches.
    void setSilent(bool silent);
    void wrongEchoNext(int count);       // the next replies start with a wrong byte
    void shortReplyNext(int count);      // the next replies lose their last byte
    void corruptCheckNext(int count);    // the next block replies get a wrong check byte
    void silentNext(int count);          // the next frames get no answer
    void setReplyDelayMs(int ms);        // every reply waits this long
    int consumeCorruptCheck();           // block senders ask whether to spoil this block
    // Paces every reply as a line at this many baud would carry it (10 bits a byte); 0 sends
    // as fast as the terminal takes it.
    void setBaudEmulation(long baud);

    // Bytes the simulator has sent the program so far (every reply, whole).
    long sentBytes() const;

    // The rate the program set on the line (its terminal settings), in baud; 0 when unknown.
    long lineSpeed() const;

    // What came in.
    std::vector<ReceivedFrame> frames() const;
    std::vector<ReceivedFrame> framesOf(char letter) const;
    std::string rawReceived() const;
    int badFrames() const;
    // Clears frames, raw bytes and the bad-frame count; framing errors are kept to the end.
    void clearLog();

    // Framing errors seen so far, each described ("broken frame 255 67 0 255 121"); waits first
    // until the program's bytes have all come in.
    std::vector<std::string> framingErrors();
    // The test expects exactly count framing errors (the report then stays quiet when it sees them).
    void expectFramingErrors(int count);
    // Bytes outside frames are taken as unframed text (the console's raw text, an upload) and not
    // counted; broken frames still are.
    void allowUnframedBytes(bool allow);
    // Waits (real time) until no byte has come for quietMs and none is being handled.
    void settle(int quietMs = 10, int timeoutMs = 1000);
    // Where every simulator reports unexpected framing errors when it ends (nullptr: nowhere).
    using FramingReport = std::function<void(const std::string& message)>;
    static void SetFramingReport(FramingReport report);
    // Waits (real time) until at least n frames have come; false on time-out.
    bool waitForFrames(size_t n, int timeoutMs = 3000) const;

private:
    void run();
    void handleByte(unsigned char byte, double atMs);
    void dispatch(ReceivedFrame frame);
    void send(std::string reply);
    void framingError(std::string what);  // with the lock held
    void reportFraming();

    int master_ = -1;
    int slaveKeep_ = -1;  // kept open so the master never sees a hang-up between program opens
    std::string slavePath_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    int wakePipe_[2] = {-1, -1};

    mutable std::mutex mutex_;
    mutable std::condition_variable framesCv_;
    SimState state_;
    std::map<unsigned char, Handler> handlers_;
    std::vector<ReceivedFrame> frames_;
    std::string raw_;
    int badFrames_ = 0;
    std::vector<std::string> framingErrors_;
    int expectedFramingErrors_ = 0;
    bool unframedAllowed_ = false;
    bool lastWasStray_ = false;
    bool handling_ = false;  // the thread has taken bytes it has not finished with
    bool silent_ = false;
    int wrongEcho_ = 0, shortReply_ = 0, corruptCheck_ = 0, silentNext_ = 0;
    int delayMs_ = 0;
    long baud_ = 0;
    long sent_ = 0;

    // The unframed pixel-map upload: the head "F", camera, line, then 96 bytes of any value.
    std::string mapHead_, mapBody_, mapAnswers_;
    bool mapBytes(unsigned char byte);  // with the lock held; true when the byte was the map's

    // Frame parser: collecting after a start byte.
    std::vector<unsigned char> pending_;
    std::vector<double> pendingMs_;
};

double NowMs();

}  // namespace tirmo::sim
