#include "platform/TextFile.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

#include "platform/ProgramFolder.h"

namespace tirmo::platform {

namespace {

std::optional<std::vector<std::string>> readLines(const std::string& path, bool wholeLinesOnly)
{
    const auto bytes = ReadFileBytes(path);
    if (!bytes) return std::nullopt;
    const std::string& data = *bytes;
    std::vector<std::string> lines;
    std::string cur;
    for (size_t i = 0; i < data.size(); ++i) {
        char c = data[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(cur);
            cur.clear();
            if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
        } else {
            cur += c;
        }
    }
    if (!cur.empty() && !wholeLinesOnly) lines.push_back(cur);
    return lines;
}

// The process id a temporary file's name ends in, or 0 when it is no temporary file's name.
pid_t temporaryOwner(const std::string& name)
{
    const size_t at = name.rfind(".tmp");
    if (at == std::string::npos || at + 4 >= name.size() || name.size() - at > 4 + 9) return 0;
    pid_t pid = 0;
    for (size_t i = at + 4; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return 0;
        pid = pid * 10 + (name[i] - '0');
    }
    return pid;
}

bool processGone(pid_t pid) { return ::kill(pid, 0) != 0 && errno == ESRCH; }

}  // namespace

std::optional<std::vector<std::string>> ReadLines(const std::string& path) { return readLines(path, false); }

std::optional<std::vector<std::string>> ReadRecordLines(const std::string& path) { return readLines(path, true); }

std::optional<std::string> ReadFileBytes(const std::string& path)
{
    const std::string real = ResolvePath(path);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(real, ec)) return std::nullopt;
    std::FILE* f = std::fopen(real.c_str(), "rb");
    if (!f) return std::nullopt;
    std::string data;
    if (const auto size = std::filesystem::file_size(real, ec); !ec) data.reserve(size_t(size));
    char buffer[1 << 16];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) data.append(buffer, n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) return std::nullopt;
    return data;
}

std::vector<std::string_view> SplitOnSpaces(std::string_view line)
{
    std::vector<std::string_view> items;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ') ++i;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ') ++i;
        if (i > start) items.push_back(line.substr(start, i - start));
    }
    return items;
}

std::vector<std::string> SplitFields(std::string_view line)
{
    std::vector<std::string> fields;
    size_t i = 0;
    const size_t n = line.size();
    while (true) {
        while (i < n && (line[i] == ' ' || line[i] == '\t')) ++i;
        std::string field;
        if (i < n && line[i] == '"') {
            size_t close = line.find('"', i + 1);
            if (close == std::string_view::npos) close = n;
            field = std::string(line.substr(i + 1, close - i - 1));
            i = close + 1;
            while (i < n && line[i] != ',') ++i;  // anything after the closing quote is dropped
        } else {
            size_t comma = line.find(',', i);
            if (comma == std::string_view::npos) comma = n;
            field = std::string(line.substr(i, comma - i));
            while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) field.pop_back();
            i = comma;
        }
        fields.push_back(field);
        if (i >= n) break;
        ++i;  // past the comma
    }
    return fields;
}

std::string Quoted(std::string_view text)
{
    std::string s = "\"";
    s += text;
    s += '"';
    return s;
}

TextFileWriter::TextFileWriter(std::string path) : path_(ResolvePath(path))
{
    tempPath_ = path_ + TemporarySuffix();
    file_ = std::fopen(tempPath_.c_str(), "wb");
    ok_ = file_ != nullptr;
}

TextFileWriter::~TextFileWriter()
{
    if (file_) {
        std::fclose(file_);
        std::remove(tempPath_.c_str());
    }
}

void TextFileWriter::Raw(std::string_view text)
{
    if (!file_) return;
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), file_) != text.size()) ok_ = false;
}

void TextFileWriter::Line(std::string_view text)
{
    Raw(text);
    Raw(kLineEnd);
}

bool TextFileWriter::Commit(bool durable)
{
    if (!file_) return false;
    bool good = ok_ && std::fflush(file_) == 0 && (!durable || ::fsync(fileno(file_)) == 0);
    good = (std::fclose(file_) == 0) && good;
    file_ = nullptr;
    if (!good || std::rename(tempPath_.c_str(), path_.c_str()) != 0) {
        std::remove(tempPath_.c_str());
        ok_ = false;
        return false;
    }
    NoteNewFile(path_);
    return true;
}

bool WriteLines(const std::string& path, const std::vector<std::string>& lines, bool durable)
{
    TextFileWriter w(path);
    for (const auto& l : lines) w.Line(l);
    return w.Commit(durable);
}

std::string TemporarySuffix() { return ".tmp" + std::to_string(::getpid()); }

int RemoveLeftoverTemporaries(const std::string& folder)
{
    namespace fs = std::filesystem;
    int removed = 0;
    std::error_code ec;
    const auto options = fs::directory_options::skip_permission_denied;
    for (fs::recursive_directory_iterator it(ResolvePath(folder), options, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code kind;
        if (!it->is_regular_file(kind) || it->is_symlink(kind)) continue;
        const pid_t owner = temporaryOwner(it->path().filename().string());
        if (owner <= 0 || owner == ::getpid() || !processGone(owner)) continue;
        std::error_code gone;
        if (fs::remove(it->path(), gone)) ++removed;
    }
    return removed;
}

}  // namespace tirmo::platform
