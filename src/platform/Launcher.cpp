#include "platform/Launcher.h"

#include <cerrno>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace tirmo::platform {
namespace {
Launch launcherOverride;

bool spawnDetached(const std::vector<std::string>& argv, ExitHandler onExit)
{
    if (argv.empty()) return false;
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) return false;
    // The child runs on its own; a detached waiter reaps it, so that no zombie is left behind,
    // and passes on how it ended: a program that started may still fail at its task.
    std::thread([pid, onExit = std::move(onExit)] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0)
            if (errno != EINTR) return;
        if (onExit) onExit(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    }).detach();
    return true;
}
}  // namespace

bool StartProgram(const std::vector<std::string>& argv, ExitHandler onExit)
{
    if (launcherOverride) return launcherOverride(argv, std::move(onExit));
    return spawnDetached(argv, std::move(onExit));
}

bool OpenWithDesktop(const std::string& path, ExitHandler onExit)
{
    return StartProgram({"xdg-open", path}, std::move(onExit));
}

void setLauncher(Launch launcher) { launcherOverride = std::move(launcher); }

}  // namespace tirmo::platform
