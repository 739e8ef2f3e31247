#include "reports/SavedAcquisitions.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "project/ProjectNames.h"
#include "project/SubprojectReaders.h"
#include "reports/AcquisitionFiles.h"

namespace tirmo::reports {

namespace fs = std::filesystem;

namespace {

std::vector<std::string> SubFolders(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(platform::ResolvePath(folder), ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code kind;
        if (it->is_directory(kind)) names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool Digits(const std::string& s, size_t from, size_t count)
{
    for (size_t i = from; i < from + count; ++i)
        if (i >= s.size() || !std::isdigit(static_cast<unsigned char>(s[i]))) return false;
    return true;
}

// "yyyymmdd_hhmmss" and anything after it.
bool Stamped(const std::string& name)
{
    return name.size() >= 15 && Digits(name, 0, 8) && name[8] == '_' && Digits(name, 9, 6);
}

}  // namespace

std::vector<std::string> ProjectFolders(const std::string& reportsFolder)
{
    std::vector<std::string> names = SubFolders(reportsFolder);
    std::erase_if(names, [](const std::string& n) { return !project::IsProjectFolderName(n); });
    return names;
}

std::vector<std::string> StampedFolders(const std::string& projectFolder)
{
    std::vector<std::string> names = SubFolders(projectFolder);
    std::erase_if(names, [](const std::string& n) { return !Stamped(n); });
    return names;
}

std::string StampDate(const std::string& folderName)
{
    if (folderName.empty()) return std::string(8, ' ');
    return folderName.substr(0, 4) + "." + folderName.substr(std::min<size_t>(4, folderName.size()), 4);
}

std::string StampTime(const std::string& folderName)
{
    if (folderName.size() < 13) return "";
    return folderName.substr(9, 2) + ":" + folderName.substr(11, 2);
}

std::string ProjectRowText(const std::string& project, const std::string& firstAcquisition)
{
    return "+ " + StampDate(firstAcquisition) + "\t" + project;
}

std::string AcquisitionRowText(const std::string& folderName, const std::string& title)
{
    return "  > " + StampDate(folderName) + "\t ACQ" + StampTime(folderName) + " \"" + title + "\"";
}

std::vector<BrowserRow> BrowserRows(const std::string& reportsFolder, const std::set<std::string>& expanded,
                                    bool emptyProjects)
{
    std::vector<BrowserRow> rows;
    for (const std::string& project : ProjectFolders(reportsFolder)) {
        const std::string projectFolder = InFolder(reportsFolder, project);
        const std::vector<std::string> stamped = StampedFolders(projectFolder);
        if (stamped.empty() && !emptyProjects) continue;
        rows.push_back({true, project, "", ProjectRowText(project, stamped.empty() ? "" : stamped.front())});
        if (!expanded.count(project)) continue;
        for (const std::string& name : stamped) {
            const std::string folder = InFolder(projectFolder, name);
            if (!platform::FileExists(InFolder(folder, "current_activity.txt"))) continue;
            rows.push_back({false, project, name, AcquisitionRowText(name, project::ReadSubprojectName(folder))});
        }
    }
    return rows;
}

std::string ReadCurrentActivityDate(const std::string& folder)
{
    const auto lines = platform::ReadLines(InFolder(folder, "current_activity.txt"));
    if (!lines) return "";
    std::string line = lines->empty() ? std::string() : (*lines)[0];
    const size_t blank = line.find(' ');
    if (blank != std::string::npos && blank >= 1) line.erase(blank);
    std::erase(line, '"');
    return line;
}

}  // namespace tirmo::reports
