#include "platform/ProgramFolder.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <optional>
#include <system_error>
#include <unordered_map>
#include <vector>

namespace fs = std::filesystem;

namespace tirmo::platform {
namespace {

std::string programFolder = ".";

std::string lowerCase(std::string text)
{
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Matching a name that does not exist yet takes a listing of its folder, which costs as much as
// the folder holds: a folder that thousands of pictures go into would be listed once for each.
// So what one listing found is kept while the folder's modification time stays as it was then;
// a file another program adds or removes changes that time and brings a new listing. The
// program's own new files are added as it puts them in place (NoteNewFile). Two gaps remain: a
// change in the same clock tick as a listing leaves the time as it was, so such a listing serves
// no further lookup; and another program's file made between a lookup and one of this program's
// own writes into the same folder is hidden by that write, so no listing is kept over a second.
using Clock = std::chrono::steady_clock;
constexpr auto kListingLife = std::chrono::seconds(1);
constexpr size_t kMostListings = 64;

struct Listing {
    timespec modified{};
    Clock::time_point made;
    bool settled = false;  // the folder's time had moved past its last change when listed
    std::unordered_map<std::string, std::string> names;  // lower-case name -> name on disk
};

std::mutex listingsLock;
std::unordered_map<std::string, Listing> listings;  // by absolute folder path

bool sameTime(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

bool modifiedTime(const std::string& folder, timespec& time)
{
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    time = st.st_mtim;
    return true;
}

std::string listingKey(const fs::path& folder)
{
    std::error_code ec;
    const fs::path absolute = folder.is_absolute() ? folder : fs::absolute(folder, ec);
    return ec ? std::string() : absolute.lexically_normal().string();
}

// A listing of folder as it is now; nullopt when it could not be listed whole.
std::optional<Listing> listFolder(const std::string& folder, const timespec& modified)
{
    Listing fresh;
    std::error_code ec;
    for (fs::directory_iterator entry(folder, ec), end; !ec && entry != end; entry.increment(ec)) {
        const std::string name = entry->path().filename().string();
        fresh.names.emplace(lowerCase(name), name);
    }
    if (ec) return std::nullopt;
    fresh.modified = modified;
    fresh.made = Clock::now();
    timespec tick{};
    ::clock_gettime(CLOCK_REALTIME_COARSE, &tick);
    fresh.settled = modified.tv_sec < tick.tv_sec || (modified.tv_sec == tick.tv_sec && modified.tv_nsec < tick.tv_nsec);
    return fresh;
}

// The name in folder that matches part without regard to case; empty when there is none.
std::string matchInFolder(const fs::path& folder, const std::string& part)
{
    const std::string key = listingKey(folder);
    timespec modified{};
    if (key.empty() || !modifiedTime(key, modified)) return {};
    std::lock_guard lock(listingsLock);
    auto it = listings.find(key);
    if (it == listings.end() || !it->second.settled || !sameTime(it->second.modified, modified) ||
        Clock::now() - it->second.made >= kListingLife) {
        auto fresh = listFolder(key, modified);
        if (!fresh) return {};
        if (listings.size() >= kMostListings) listings.clear();
        it = listings.insert_or_assign(key, std::move(*fresh)).first;
    }
    const auto found = it->second.names.find(lowerCase(part));
    return found == it->second.names.end() ? std::string() : found->second;
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
        const std::string found = matchInFolder(base, part);
        exists = !found.empty();
        base = exists ? base / found : exact;
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

void NoteNewFile(const std::string& path)
{
    const fs::path file(path);
    const std::string key = listingKey(file.parent_path());
    timespec modified{};
    if (key.empty() || !modifiedTime(key, modified)) return;
    std::lock_guard lock(listingsLock);
    const auto it = listings.find(key);
    if (it == listings.end()) return;
    const std::string name = file.filename().string();
    it->second.names.emplace(lowerCase(name), name);
    it->second.modified = modified;
    // A listing made in its folder's last clock tick serves again once this program's own write
    // has moved the folder's time on.
    it->second.settled = true;
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
