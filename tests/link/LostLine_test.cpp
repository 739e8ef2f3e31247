// A line whose far end disappears (a USB adapter pulled out) fails at once; a line that merely
// stays silent still reads as nothing after the time-out.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <set>
#include <unistd.h>

#include "link/CommPort.h"
#include "support/LinkFixture.h"

namespace tirmo::link {
namespace {

constexpr int kPort = 9;

// The descriptors of this process that are the controlling side of a pseudo-terminal.
std::set<int> terminalMasters()
{
    std::set<int> out;
    if (DIR* dir = ::opendir("/proc/self/fd")) {
        while (dirent* e = ::readdir(dir)) {
            char target[256] = {};
            const std::string link = std::string("/proc/self/fd/") + e->d_name;
            const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
            const std::string path(target, n > 0 ? size_t(n) : 0);
            if (path == "/dev/ptmx" || path == "/dev/pts/ptmx") out.insert(std::atoi(e->d_name));
        }
        ::closedir(dir);
    }
    return out;
}

// COM9 is the controlling side of a fresh pseudo-terminal, and the test holds the other end of
// the line, as the device behind a port would: it can answer, stay silent, or go away.
class LostLineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("TIRMO_COM9", "/dev/ptmx", 1);
        const std::set<int> before = terminalMasters();
        ASSERT_EQ(CommOpen(kPort, "COM9", "baud=115200 parity=N data=8 stop=1"), 0);
        int master = -1;
        for (int fd : terminalMasters())
            if (!before.count(fd)) master = fd;
        ASSERT_GE(master, 0);
        ASSERT_EQ(::unlockpt(master), 0);
        farEnd = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
        ASSERT_GE(farEnd, 0);
    }
    void TearDown() override
    {
        if (farEnd >= 0) ::close(farEnd);
        CommCloseAll();
        ::setenv("TIRMO_COM9", "", 1);
    }
    int farEnd = -1;
};

TEST_F(LostLineTest, AGoneDeviceIsAFailureAndASilentOneIsNothingAfterTheTimeOut)
{
    test::QuickTimeouts quick(10, 200);
    std::string data = "old";
    EXPECT_EQ(CommRead(kPort, data, 1), 0) << "silent: nothing, after the time-out";
    EXPECT_TRUE(data.empty());

    ASSERT_EQ(::write(farEnd, "N", 1), 1);
    EXPECT_EQ(CommRead(kPort, data, 1), 1);
    EXPECT_EQ(data, "N");

    ::close(farEnd);
    farEnd = -1;
    // A time-out far longer than any loaded machine needs to notice the hang-up: a read that
    // waited it out instead would show, whatever the load.
    test::QuickTimeouts slow(10, 20000);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(CommRead(kPort, data, 1), -1) << "gone: a failure";
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << "without the time-out";
    EXPECT_TRUE(data.empty());
    EXPECT_EQ(LastCommError().source, "CommRead (ReadFile)");
    EXPECT_EQ(LastCommError().message.rfind(std::strerror(EIO), 0), 0u) << "the system's own text, in its language";
    EXPECT_FALSE(CommIsOpen(kPort)) << "its slot is closed: the port can be opened anew";
    EXPECT_EQ(CommRead(kPort, data, 32), -1) << "and it stays a failure";
}

}  // namespace
}  // namespace tirmo::link
