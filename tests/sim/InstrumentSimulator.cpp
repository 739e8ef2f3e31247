#include "sim/InstrumentSimulator.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "sim/SimDevices.h"

namespace tirmo::sim {

double NowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

InstrumentSimulator::InstrumentSimulator()
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
        throw std::runtime_error("cannot open a pseudo-terminal");
    slavePath_ = ::ptsname(master_);
    slaveKeep_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY);
    termios tio{};
    ::tcgetattr(slaveKeep_, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slaveKeep_, TCSANOW, &tio);
    if (::pipe(wakePipe_) != 0) throw std::runtime_error("pipe");
    InstallCoreDevices(*this);
    InstallCameraDevices(*this);
    InstallLedDevices(*this);
    InstallThermalDevices(*this);
    InstallFlashDevices(*this);
    thread_ = std::thread([this] { run(); });
}

namespace {
InstrumentSimulator::FramingReport framingReport;
}

void InstrumentSimulator::SetFramingReport(FramingReport report) { framingReport = std::move(report); }

InstrumentSimulator::~InstrumentSimulator()
{
    reportFraming();
    stop_ = true;
    char c = 0;
    (void)!::write(wakePipe_[1], &c, 1);
    if (thread_.joinable()) thread_.join();
    ::close(wakePipe_[0]);
    ::close(wakePipe_[1]);
    if (slaveKeep_ >= 0) ::close(slaveKeep_);
    if (master_ >= 0) ::close(master_);
}

void InstrumentSimulator::attachAsCom(int n) const
{
    ::setenv(("TIRMO_COM" + std::to_string(n)).c_str(), slavePath_.c_str(), 1);
}

void InstrumentSimulator::on(char letter, Handler handler)
{
    std::lock_guard<std::mutex> lock(mutex_);
    handlers_[static_cast<unsigned char>(letter)] = std::move(handler);
}

void InstrumentSimulator::setSilent(bool silent)
{
    std::lock_guard<std::mutex> lock(mutex_);
    silent_ = silent;
}
void InstrumentSimulator::wrongEchoNext(int count)
{
    std::lock_guard<std::mutex> lock(mutex_);
    wrongEcho_ = count;
}
void InstrumentSimulator::shortReplyNext(int count)
{
    std::lock_guard<std::mutex> lock(mutex_);
    shortReply_ = count;
}
void InstrumentSimulator::corruptCheckNext(int count)
{
    std::lock_guard<std::mutex> lock(mutex_);
    corruptCheck_ = count;
}
void InstrumentSimulator::silentNext(int count)
{
    std::lock_guard<std::mutex> lock(mutex_);
    silentNext_ = count;
}
void InstrumentSimulator::setReplyDelayMs(int ms)
{
    std::lock_guard<std::mutex> lock(mutex_);
    delayMs_ = ms;
}

int InstrumentSimulator::consumeCorruptCheck()
{
    // Called by block handlers, which already hold the lock.
    if (corruptCheck_ > 0) {
        --corruptCheck_;
        return 1;
    }
    return 0;
}

std::vector<ReceivedFrame> InstrumentSimulator::frames() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return frames_;
}

std::vector<ReceivedFrame> InstrumentSimulator::framesOf(char letter) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<ReceivedFrame> out;
    for (const auto& f : frames_)
        if (f.letter == static_cast<unsigned char>(letter)) out.push_back(f);
    return out;
}

std::string InstrumentSimulator::rawReceived() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return raw_;
}

int InstrumentSimulator::badFrames() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return badFrames_;
}

void InstrumentSimulator::clearLog()
{
    std::lock_guard<std::mutex> lock(mutex_);
    frames_.clear();
    raw_.clear();
    badFrames_ = 0;
}

void InstrumentSimulator::settle(int quietMs, int timeoutMs)
{
    const double until = NowMs() + timeoutMs;
    double quietSince = NowMs();
    while (NowMs() < until) {
        int queued = 0;
        ::ioctl(master_, FIONREAD, &queued);
        bool handling = false;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            handling = handling_;
        }
        if (queued > 0 || handling) quietSince = NowMs();
        else if (NowMs() - quietSince >= quietMs) return;
        ::usleep(1000);
    }
}

std::vector<std::string> InstrumentSimulator::framingErrors()
{
    settle();
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> out = framingErrors_;
    if (!pending_.empty()) {
        std::string bytes;
        for (unsigned char b : pending_) bytes += " " + std::to_string(b);
        out.push_back("incomplete frame" + bytes);
    }
    return out;
}

void InstrumentSimulator::expectFramingErrors(int count)
{
    std::lock_guard<std::mutex> lock(mutex_);
    expectedFramingErrors_ = count;
}

void InstrumentSimulator::allowUnframedBytes(bool allow)
{
    std::lock_guard<std::mutex> lock(mutex_);
    unframedAllowed_ = allow;
}

void InstrumentSimulator::framingError(std::string what)
{
    lastWasStray_ = false;
    framingErrors_.push_back(std::move(what));
}

void InstrumentSimulator::reportFraming()
{
    if (!framingReport || master_ < 0) return;
    const std::vector<std::string> errors = framingErrors();
    int expected = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        expected = expectedFramingErrors_;
    }
    if (int(errors.size()) == expected) return;
    std::string message = "the instrument saw " + std::to_string(errors.size()) + " framing error(s), " +
                          std::to_string(expected) + " expected:";
    for (size_t i = 0; i < errors.size() && i < 8; ++i) message += "\n  " + errors[i];
    if (errors.size() > 8) message += "\n  ...";
    framingReport(message);
}

bool InstrumentSimulator::waitForFrames(size_t n, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock(mutex_);
    return framesCv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return frames_.size() >= n; });
}

void InstrumentSimulator::run()
{
    unsigned char buf[512];
    while (!stop_) {
        pollfd fds[2] = {{master_, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
        int r = ::poll(fds, 2, 200);
        if (r <= 0) continue;
        if (fds[1].revents) break;
        if (!(fds[0].revents & POLLIN)) {
            ::usleep(1000);
            continue;
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            handling_ = true;
        }
        ssize_t n = ::read(master_, buf, sizeof buf);
        double at = NowMs();
        for (ssize_t i = 0; i < n; ++i) handleByte(buf[i], at);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            handling_ = false;
        }
        if (n <= 0) ::usleep(1000);
    }
}

bool InstrumentSimulator::mapBytes(unsigned char byte)
{
    const bool inHead = !mapHead_.empty() && mapHead_.size() < 3;
    const bool inBody = mapHead_.size() == 3;
    if (!inHead && !inBody && !(pending_.empty() && byte == 'F')) return false;
    if (inBody) mapBody_ += char(byte);
    else mapHead_ += char(byte);
    if (mapHead_.size() == 3 && mapBody_.empty()) {
        // The head is answered, then its block is awaited.
        ++state_.flash.mapHeads;
        if (!silent_) mapAnswers_ += 'F';
    } else if (mapBody_.size() == size_t(FlashSimState::kBlockBytes)) {
        const int camera = static_cast<unsigned char>(mapHead_[1]), line = static_cast<unsigned char>(mapHead_[2]);
        if (camera < FlashSimState::kMapCameras && line + 4 <= FlashSimState::kMapLines)
            state_.flash.pixelMaps[size_t(camera)].replace(size_t(line * FlashSimState::kLineBytes), mapBody_.size(), mapBody_);
        mapHead_.clear();
        mapBody_.clear();
        if (!silent_) mapAnswers_ += 'F';
    }
    return true;
}

void InstrumentSimulator::handleByte(unsigned char byte, double atMs)
{
    std::string answer;
    bool mapByte = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        raw_ += char(byte);
        mapByte = mapBytes(byte);
        answer.swap(mapAnswers_);
    }
    if (mapByte) {
        if (!answer.empty()) send(answer);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (pending_.empty()) {
            if (byte == 255) {
                pending_.push_back(byte);
                pendingMs_.push_back(atMs);
                lastWasStray_ = false;
            } else if (byte == 'Z') {
                ++state_.resetCount;  // the unframed reset
                lastWasStray_ = false;
            } else if (!unframedAllowed_) {
                // Consecutive stray bytes are one piece of unframed text, one error.
                if (!lastWasStray_) framingError("bytes outside a frame:");
                framingErrors_.back() += " " + std::to_string(byte);
                lastWasStray_ = true;
            }
            return;
        }
        pending_.push_back(byte);
        pendingMs_.push_back(atMs);
        if (pending_.size() < 5) return;
    }
    std::vector<unsigned char> got;
    std::vector<double> times;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        got.swap(pending_);
        times.swap(pendingMs_);
    }
    if ((got[1] ^ got[2] ^ got[3]) != got[4]) {
        // Not a frame: resynchronise on the next start byte among what came after this one.
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ++badFrames_;
            std::string bytes;
            for (unsigned char b : got) bytes += " " + std::to_string(b);
            framingError("broken frame" + bytes);
        }
        for (size_t i = 1; i < got.size(); ++i) {
            std::lock_guard<std::mutex> lock(mutex_);
            if (pending_.empty() && got[i] != 255) continue;
            pending_.push_back(got[i]);
            pendingMs_.push_back(times[i]);
        }
        return;
    }
    ReceivedFrame f;
    f.letter = got[1];
    f.a = got[2];
    f.b = got[3];
    f.firstByteMs = times.front();
    f.lastByteMs = times.back();
    f.byteMs = times;
    dispatch(f);
}

void InstrumentSimulator::dispatch(ReceivedFrame frame)
{
    std::string reply;
    int delay = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        frames_.push_back(frame);
        framesCv_.notify_all();
        auto it = handlers_.find(frame.letter);
        if (it != handlers_.end()) reply = it->second(state_, frame);
        if (silent_) reply.clear();
        if (silentNext_ > 0) {
            --silentNext_;
            reply.clear();
        }
        if (!reply.empty() && wrongEcho_ > 0) {
            --wrongEcho_;
            reply[0] = char(reply[0] == '?' ? '!' : '?');
        }
        if (!reply.empty() && shortReply_ > 0) {
            --shortReply_;
            reply.pop_back();
        }
        delay = delayMs_;
    }
    if (reply.empty()) return;
    if (delay > 0) ::usleep(useconds_t(delay) * 1000);
    send(std::move(reply));
}

void InstrumentSimulator::setBaudEmulation(long baud)
{
    std::lock_guard<std::mutex> lock(mutex_);
    baud_ = baud > 0 ? baud : 0;
}

long InstrumentSimulator::sentBytes() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return sent_;
}

void InstrumentSimulator::send(std::string reply)
{
    long baud = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        baud = baud_;
        sent_ += long(reply.size());
    }
    // On an emulated line a piece goes out when its last byte would have arrived; the deadlines
    // are counted from the start of the reply, so late wake-ups do not add up.
    constexpr size_t kPacedPiece = 8;
    const double byteMs = baud > 0 ? 10000.0 / double(baud) : 0.0;
    const auto start = std::chrono::steady_clock::now();
    size_t done = 0;
    while (done < reply.size()) {
        size_t want = reply.size() - done;
        if (byteMs > 0) {
            want = std::min(want, kPacedPiece);
            const double dueMs = double(done + want) * byteMs;
            std::this_thread::sleep_until(start + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                                      std::chrono::duration<double, std::milli>(dueMs)));
        }
        ssize_t n = ::write(master_, reply.data() + done, want);
        if (n > 0) done += size_t(n);
        else ::usleep(500);
    }
}

long InstrumentSimulator::lineSpeed() const
{
    termios t{};
    if (slaveKeep_ < 0 || ::tcgetattr(slaveKeep_, &t) != 0) return 0;
    switch (::cfgetospeed(&t)) {
    case B9600: return 9600;
    case B115200: return 115200;
    case B1000000: return 1000000;
    default: return 0;
    }
}

}  // namespace tirmo::sim
