#include "project/SubprojectReaders.h"

#include <optional>
#include <string_view>

#include "platform/Convert.h"
#include "platform/TextFile.h"
#include "project/CorrectionFolders.h"
#include "project/ProjectSetup.h"

namespace tirmo::project {
namespace {

struct Subproject {
    std::string title;
    std::string time;
    std::string format;
};

// A keyed line's value: the line less as many characters as the key has.
std::optional<std::string> keyed(const std::string& line, std::string_view key)
{
    if (line.size() <= 1 || line.find(key) == std::string::npos) return std::nullopt;
    return line.size() > key.size() ? line.substr(key.size()) : std::string();
}

// nullopt on any failure: no file, or a time part that is no 16-bit whole number.
std::optional<Subproject> readSubproject(const std::string& folder)
{
    const auto lines = platform::ReadLines(InFolder(folder, kSubprojectFile));
    if (!lines) return std::nullopt;
    Subproject s;
    if (lines->size() > 0) s.title = (*lines)[0];
    if (lines->size() > 1) {
        if (const auto time = keyed((*lines)[1], kAcqTimeKey)) {
            try {
                s.time = std::to_string(platform::WholeNumber16(*time));
            } catch (const platform::NumberError&) {
                return std::nullopt;
            }
        }
    }
    if (lines->size() > 2) s.format = keyed((*lines)[2], kPlateFormatKey).value_or(std::string());
    return s;
}

}  // namespace

std::string ReadSubprojectName(const std::string& folder)
{
    const auto lines = platform::ReadLines(InFolder(folder, kSubprojectFile));
    return lines && !lines->empty() ? lines->front() : std::string();
}

std::string ReadSubprojectTitle(const std::string& folder)
{
    const auto s = readSubproject(folder);
    return s ? s->title : std::string();
}

std::string ReadSubprojectTime(const std::string& folder)
{
    const auto s = readSubproject(folder);
    return s ? s->time : std::string();
}

std::string ReadSubprojectFormat(const std::string& folder)
{
    const auto s = readSubproject(folder);
    return s ? s->format : std::string();
}

}  // namespace tirmo::project
