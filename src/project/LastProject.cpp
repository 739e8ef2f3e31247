#include "project/LastProject.h"

#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"

namespace tirmo::project {
namespace {
std::string lastProjectPath(int serialNumber)
{
    return platform::ProgramPath("reports/pj_sn" + std::to_string(serialNumber) + ".dat");
}
}  // namespace

std::string LoadLastProject(int serialNumber)
{
    const std::string path = lastProjectPath(serialNumber);
    if (auto lines = platform::ReadLines(path)) {
        const std::string name = lines->empty() ? std::string() : lines->front();
        // Only a folder directly under reports is a project: an empty name would make reports
        // itself the project, and a path would lead out of it.
        if (name.empty() || name == "." || name == ".." || name.find_first_of("/\\") != std::string::npos)
            return kDefaultProject;
        return name;
    }
    SaveLastProject(kDefaultProject, serialNumber);
    return kDefaultProject;
}

bool SaveLastProject(const std::string& project, int serialNumber)
{
    platform::MakeFolder(platform::ProgramPath("reports"));
    return platform::WriteLines(lastProjectPath(serialNumber), {project});
}

}  // namespace tirmo::project
