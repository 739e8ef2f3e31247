#include "project/CorrectionFolders.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "platform/Convert.h"
#include "platform/ProgramFolder.h"

namespace tirmo::project {

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

}  // namespace

std::string SerialTag(int serialNumber) { return serialNumber >= 1 ? "SN" + std::to_string(serialNumber) : ""; }

std::string BlankStoreFolder(int serialNumber)
{
    return platform::ProgramPath("reports\\_internal_blank_measurement" + SerialTag(serialNumber));
}

std::string ReferenceProjectFolder(int serialNumber)
{
    return platform::ProgramPath("reports\\_internal_reference" + SerialTag(serialNumber));
}

std::string CalibrationFolder(int serialNumber)
{
    const std::string tag = SerialTag(serialNumber);
    return platform::ProgramPath(tag.empty() ? std::string("config") : "config_" + tag);
}

std::string InFolder(const std::string& folder, const std::string& name)
{
    if (folder.empty()) return name;
    return IsSeparator(folder.back()) ? folder + name : folder + "/" + name;
}

std::string BaseName(const std::string& path)
{
    size_t end = path.size();
    while (end > 0 && IsSeparator(path[end - 1])) --end;
    size_t start = end;
    while (start > 0 && !IsSeparator(path[start - 1])) --start;
    return path.substr(start, end - start);
}

std::vector<std::string> StampedEntries(const std::string& folder, const std::string& prefix)
{
    auto matches = [&](const std::string& name) {
        if (name.size() < 15 + prefix.size() || name[8] != '_') return false;
        return platform::ToLower(name.substr(15, prefix.size())) == platform::ToLower(prefix);
    };
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(platform::ResolvePath(folder), ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (matches(name)) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace tirmo::project
