#include "platform/SerialDevice.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sstream>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "platform/Convert.h"

namespace tirmo::platform {
namespace {

SerialTimeouts timeouts;

int mapErrno(int e)
{
    switch (e) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR: return kErrNoSuchPort;
    case EBUSY:
    case EACCES:
    case EPERM:
    case EWOULDBLOCK: return kErrPortBusy;
    default: return e == 0 ? 1 : 1000 + e;  // above the two well-known codes, never 0
    }
}

double nowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

speed_t baudConstant(long baud, bool& ok)
{
    ok = true;
    switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 500000: return B500000;
    case 921600: return B921600;
    case 1000000: return B1000000;
    case 2000000: return B2000000;
    default: ok = false; return B0;
    }
}

}  // namespace

SerialTimeouts serialTimeouts() { return timeouts; }
void setSerialTimeouts(const SerialTimeouts& t) { timeouts = t; }

std::string DevicePathForPort(int n)
{
    std::string var = "TIRMO_COM" + std::to_string(n);
    if (const char* v = std::getenv(var.c_str())) return v;  // empty: no such port
    if (n >= 1 && n <= 6) return "/dev/ttyUSB" + std::to_string(n - 1);
    if (n >= 7 && n <= 10) return "/dev/ttyACM" + std::to_string(n - 7);
    if (n >= 11 && n <= 16) return "/dev/ttyS" + std::to_string(n - 11);
    return {};
}

std::string SystemMessage(int code)
{
    switch (code) {
    case 0: return "The operation completed successfully.";
    case -1: return "Port in use.";
    case kErrNoSuchPort: return "The system cannot find the port specified.";
    case kErrPortBusy: return "Access is denied: the port is held by another program.";
    default:
        if (code > 1000) return std::strerror(code - 1000);
        return "Unknown error " + std::to_string(code) + ".";
    }
}

SerialDevice::~SerialDevice() { close(); }

int SerialDevice::open(const std::string& path)
{
    if (path.empty()) return kErrNoSuchPort;
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return mapErrno(errno);
    // The advisory lock keeps two programs off one port even for root, whom the terminal's
    // exclusive mode does not stop.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int e = errno;
        ::close(fd);
        return mapErrno(e == EWOULDBLOCK ? EBUSY : e);
    }
    ::ioctl(fd, TIOCEXCL);
    if (!::isatty(fd)) {
        ::close(fd);
        return kErrNoSuchPort;
    }
    fd_ = fd;
    flags_ = 0;
    hungUp_ = false;
    return 0;
}

int SerialDevice::configure(const std::string& settings)
{
    if (fd_ < 0) return mapErrno(EBADF);
    long baud = 115200;
    char parity = 'N';
    int data = 8, stop = 1;
    std::istringstream in(settings);
    std::string item;
    while (in >> item) {
        auto eq = item.find('=');
        if (eq == std::string::npos) return mapErrno(EINVAL);
        std::string key = ToLower(item.substr(0, eq)), value = item.substr(eq + 1);
        if (value.empty()) return mapErrno(EINVAL);
        if (key == "baud") baud = std::atol(value.c_str());
        else if (key == "parity") parity = char(std::toupper(static_cast<unsigned char>(value[0])));
        else if (key == "data") data = std::atoi(value.c_str());
        else if (key == "stop") stop = std::atoi(value.c_str());
        else return mapErrno(EINVAL);
    }
    bool ok = false;
    speed_t speed = baudConstant(baud, ok);
    if (!ok || (parity != 'N' && parity != 'E' && parity != 'O') || data < 5 || data > 8 || (stop != 1 && stop != 2))
        return mapErrno(EINVAL);
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0) return mapErrno(errno);
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    tio.c_cflag |= data == 5 ? CS5 : data == 6 ? CS6 : data == 7 ? CS7 : CS8;
    if (parity != 'N') tio.c_cflag |= PARENB | (parity == 'O' ? PARODD : 0);
    if (stop == 2) tio.c_cflag |= CSTOPB;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0) return mapErrno(errno);
    return 0;
}

int SerialDevice::purge()
{
    if (fd_ < 0) return mapErrno(EBADF);
    if (::tcflush(fd_, TCIOFLUSH) != 0) return mapErrno(errno);
    return 0;
}

int SerialDevice::read(std::string& data, int max)
{
    data.clear();
    if (fd_ < 0) {
        lastError_ = mapErrno(EBADF);
        return -1;
    }
    const double start = nowMs();
    char buf[512];
    while (int(data.size()) < max) {
        double left = timeouts.totalMs - (nowMs() - start);
        if (!data.empty() && left > timeouts.intervalMs) left = timeouts.intervalMs;
        if (left <= 0) break;
        pollfd p{fd_, POLLIN, 0};
        int r = ::poll(&p, 1, int(left + 0.999));
        if (r < 0) {
            if (errno == EINTR) continue;
            lastError_ = mapErrno(errno);
            return -1;
        }
        if (r == 0) break;
        if (p.revents & (POLLERR | POLLNVAL)) {
            lastError_ = mapErrno(EIO);
            flags_ |= 0x10;
            return -1;
        }
        // A hang-up, an input/output error or an end of file all mean the device or the far
        // end of the line is gone (a USB adapter pulled out): a failure, not a silent line, so
        // that the caller's error path runs at once instead of a time-out's "no answer".
        if (p.revents & POLLHUP && !(p.revents & POLLIN)) return gone(EIO);
        ssize_t n = ::read(fd_, buf, size_t(std::min<int>(max - int(data.size()), int(sizeof buf))));
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR) continue;
            if (errno == EIO || errno == ENXIO || errno == ENODEV) return gone(errno);
            lastError_ = mapErrno(errno);
            return -1;
        }
        if (n == 0) return gone(EIO);
        data.append(buf, size_t(n));
    }
    return int(data.size());
}

int SerialDevice::write(const std::string& data)
{
    if (fd_ < 0) {
        lastError_ = mapErrno(EBADF);
        return -1;
    }
    const double deadline = nowMs() + double(timeouts.writeMsPerByte) * double(data.size());
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::write(fd_, data.data() + done, data.size() - done);
        if (n > 0) {
            done += size_t(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            if (errno == EIO || errno == ENXIO || errno == ENODEV) return gone(errno);
            lastError_ = mapErrno(errno);
            return -1;
        }
        double left = deadline - nowMs();
        if (left <= 0) break;  // timed out: report what went out
        pollfd p{fd_, POLLOUT, 0};
        ::poll(&p, 1, int(left + 0.999));
    }
    ::tcdrain(fd_);
    return int(done);
}

int SerialDevice::close()
{
    if (fd_ < 0) return 0;
    ::flock(fd_, LOCK_UN);
    int r = ::close(fd_);
    fd_ = -1;
    return r == 0 ? 0 : mapErrno(errno);
}

int SerialDevice::gone(int e)
{
    hungUp_ = true;
    lastError_ = mapErrno(e);
    return -1;
}

unsigned SerialDevice::errorFlags()
{
    unsigned f = flags_;
    flags_ = 0;
    return f;
}

}  // namespace tirmo::platform
