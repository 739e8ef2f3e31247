#include "project/ProjectSetup.h"

#include <string_view>

#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"

namespace tirmo::project {

std::string ProjectFolder(const std::string& project)
{
    return platform::ProgramPath("reports/" + project);
}

std::string ProjectSetupPath(const std::string& project)
{
    return ProjectFolder(project) + "/pjsetup.dat";
}

namespace {
// The value of a line that carries its key anywhere: the text after as many characters as the
// key has, as the file has always been read.
std::optional<std::string> valueAt(const std::vector<std::string>& lines, std::size_t index, std::string_view key)
{
    if (index >= lines.size() || lines[index].find(key) == std::string::npos) return std::nullopt;
    return lines[index].substr(key.size());
}
}  // namespace

std::optional<ProjectSetupValues> ReadProjectSetupFile(const std::string& path)
{
    const auto lines = platform::ReadLines(path);
    if (!lines) return std::nullopt;
    return ProjectSetupValues{lines->size(), valueAt(*lines, 0, kAcqTimeKey), valueAt(*lines, 1, kPlateFormatKey),
                              valueAt(*lines, 2, kTemperatureKey)};
}

bool WriteProjectSetupFile(const std::string& path, const std::string& acqTime, const std::string& plateFormat,
                           const std::string& temperature)
{
    return platform::WriteLines(path, {kAcqTimeKey + acqTime, kPlateFormatKey + plateFormat, kTemperatureKey + temperature});
}

}  // namespace tirmo::project
