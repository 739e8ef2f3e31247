#include "platform/Launcher.h"

#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace tirmo::platform {
namespace {
std::function<bool(const std::vector<std::string>&)> launcherOverride;

bool spawnDetached(const std::vector<std::string>& argv)
{
    if (argv.empty()) return false;
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) return false;
    // The child runs on its own; a detached waiter reaps it so that no zombie is left behind.
    std::thread([pid] {
        int status = 0;
        waitpid(pid, &status, 0);
    }).detach();
    return true;
}
}  // namespace

bool StartProgram(const std::vector<std::string>& argv)
{
    if (launcherOverride) return launcherOverride(argv);
    return spawnDetached(argv);
}

bool OpenWithDesktop(const std::string& path) { return StartProgram({"xdg-open", path}); }

void setLauncher(std::function<bool(const std::vector<std::string>&)> launcher)
{
    launcherOverride = std::move(launcher);
}

}  // namespace tirmo::platform
