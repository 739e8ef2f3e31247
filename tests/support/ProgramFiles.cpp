#include "support/ProgramFiles.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/ProgramFolder.h"

namespace tirmo::test {

std::string ReadProgramFile(const std::string& relative)
{
    std::ifstream in(platform::ProgramPath(relative), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteProgramFile(const std::string& relative, const std::string& text)
{
    const std::string path = platform::ProgramPath(relative);
    platform::MakeFolder(std::filesystem::path(path).parent_path().string());
    std::ofstream(path, std::ios::binary) << text;
}

}  // namespace tirmo::test
