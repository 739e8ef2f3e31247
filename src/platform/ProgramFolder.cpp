#include "platform/ProgramFolder.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace tirmo::platform {
namespace {

std::string programFolder = ".";

bool sameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

// Splits on both separators and drops empty components.
std::vector<std::string> components(std::string_view path)
{
    std::vector<std::string> parts;
    std::string cur;
    for (char c : path) {
        if (c == '/' || c == '\\') {
            if (!cur.empty()) parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) parts.push_back(cur);
    return parts;
}

std::string resolveUnder(fs::path base, std::string_view relative)
{
    bool exists = true;
    for (const auto& part : components(relative)) {
        if (part == ".") continue;
        if (part == "..") {
            base = base.parent_path();
            continue;
        }
        fs::path exact = base / part;
        std::error_code ec;
        if (!exists || fs::exists(exact, ec)) {
            base = exact;
            continue;
        }
        fs::path found;
        for (fs::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
            if (sameIgnoringCase(it->path().filename().string(), part)) {
                found = it->path();
                break;
            }
        }
        if (found.empty()) {
            exists = false;
            base = exact;
        } else {
            base = found;
        }
    }
    return base.string();
}

}  // namespace

std::string ChooseProgramFolder(int argc, char** argv)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string_view(argv[i]) == "--folder") return argv[i + 1];
    if (const char* home = std::getenv("TIRMO_HOME"); home && *home) return home;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) return std::string(data) + "/tirmo";
    if (const char* h = std::getenv("HOME"); h && *h) return std::string(h) + "/.local/share/tirmo";
    return ".";
}

void SetProgramFolder(const std::string& folder)
{
    std::error_code ec;
    fs::path p = fs::absolute(folder, ec);
    programFolder = ec ? folder : p.lexically_normal().string();
    if (programFolder.size() > 1 && programFolder.back() == '/') programFolder.pop_back();
}

const std::string& ProgramFolder() { return programFolder; }

std::string ProgramPath(std::string_view relative) { return resolveUnder(fs::path(programFolder), relative); }

std::string ResolvePath(std::string_view path)
{
    if (!path.empty() && path.front() == '/') return resolveUnder(fs::path("/"), path);
    return resolveUnder(fs::path("."), path);
}

bool FileExists(const std::string& path)
{
    std::error_code ec;
    return fs::is_regular_file(ResolvePath(path), ec);
}

bool FolderExists(const std::string& path)
{
    std::error_code ec;
    return fs::is_directory(ResolvePath(path), ec);
}

bool MakeFolder(const std::string& path)
{
    std::error_code ec;
    std::string real = ResolvePath(path);
    fs::create_directories(real, ec);
    return fs::is_directory(real, ec);
}

}  // namespace tirmo::platform
