#include "project/ProjectNames.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "acquisition/RunNames.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "project/LastProject.h"
#include "project/ProjectSetup.h"

namespace tirmo::project {

namespace {
constexpr size_t kDatedPrefix = 10;  // "p" + yyyymmdd + "_"
}

bool IsProjectFolderName(const std::string& name)
{
    return acquisition::ListedProjectFolder(name);
}

std::vector<std::string> ListProjects()
{
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(platform::ProgramPath("reports"), ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code kind;
        if (!it->is_directory(kind)) continue;
        const std::string name = it->path().filename().string();
        if (IsProjectFolderName(name)) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ListedProject(const std::string& name)
{
    const std::string wanted = platform::ToLower(name);
    for (const std::string& listed : ListProjects())
        if (platform::ToLower(listed) == wanted) return listed;
    return {};
}

bool CreateDefaultProject()
{
    const std::string folder = ProjectFolder(kDefaultProject);
    if (platform::FolderExists(folder)) return true;
    return platform::MakeFolder(folder) && WriteProjectSetupFile(ProjectSetupPath(kDefaultProject), "30", "w6", "20");
}

NameLength CheckProjectNameLength(const std::string& typed)
{
    const size_t n = typed.size();
    if (n == 0) return NameLength::Empty;
    if (n < size_t(kProjectNameMin)) return NameLength::TooShort;
    if (n > size_t(kProjectNameMax)) return NameLength::TooLong;
    return NameLength::Fine;
}

std::string NewProjectName(std::chrono::system_clock::time_point when, const std::string& typed)
{
    return "p" + platform::FormatDate(when, "yyyymmdd_hhmmss").substr(0, 8) + "_" + platform::MakeSafeName(typed);
}

bool IsDatedProject(const std::string& project)
{
    if (project.size() < kDatedPrefix || project[0] != 'p' || project[9] != '_') return false;
    return std::all_of(project.begin() + 1, project.begin() + 9, [](char c) { return c >= '0' && c <= '9'; });
}

std::string RenameOffer(const std::string& project)
{
    std::string offer = project.size() > kDatedPrefix ? project.substr(kDatedPrefix) : std::string();
    std::replace(offer.begin(), offer.end(), '_', ' ');
    return offer;
}

std::string RenamedProject(const std::string& project, const std::string& answer)
{
    return project.substr(0, kDatedPrefix) + platform::MakeSafeName(answer);
}

}  // namespace tirmo::project
