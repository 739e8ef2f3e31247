#include "acquisition/RunNames.h"

#include <filesystem>
#include <system_error>

#include "platform/Convert.h"
#include "platform/ProgramFolder.h"

namespace tirmo::acquisition {

namespace {
// Enough for any number of runs a user can start within one second.
constexpr int kMaxSuffix = 999;
}  // namespace

bool RunFormat(const std::string& format)
{
    for (const char* f : {"p35", "w6", "w12", "w24", "w48", "w96f"})
        if (format == f) return true;
    return false;
}

std::string ProjectFolderName(const std::string& typed)
{
    return typed.empty() ? kDefaultProject : platform::MakeSafeName(typed);
}

bool ListedProjectFolder(const std::string& name)
{
    return name.size() > 2 && name.find('.') == std::string::npos;
}

std::string AcquisitionFolderName(const std::string& stamp, const std::string& typed)
{
    return typed == kAcquisitionPrompt ? stamp : stamp + platform::MakeSafeName(typed);
}

std::optional<std::string> CreateAcquisitionFolder(const std::string& projectPath, const std::string& name)
{
    for (int n = 1; n <= kMaxSuffix; ++n) {
        const std::string candidate = n == 1 ? name : name + "_" + std::to_string(n);
        const std::string path = platform::ResolvePath(projectPath + "/" + candidate);
        std::error_code ec;
        if (std::filesystem::exists(path, ec)) continue;
        // create_directory says false for a folder that appeared meanwhile: take the next name.
        if (std::filesystem::create_directory(path, ec)) return candidate;
        if (ec) return std::nullopt;
    }
    return std::nullopt;
}

std::string LedPositionFile(int serialNumber)
{
    return (serialNumber >= 1 ? "config_SN" + std::to_string(serialNumber) : std::string("config")) + "/ledxy.dat";
}

}  // namespace tirmo::acquisition
