#pragma once
// Text files as the program's data folders hold them: lines ended by CR LF, records of quoted
// texts and bare numbers separated by commas. Writers never leave a half-written file: they
// write a temporary file beside the target and put it in place only when everything went out.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tirmo::platform {

inline constexpr std::string_view kLineEnd = "\r\n";

// All lines of a file without their ends (CR LF, LF or CR); nullopt when it cannot be read.
// A last line without an end is still a line; a file ending in a line end has no extra empty line.
std::optional<std::vector<std::string>> ReadLines(const std::string& path);
// The same for a file the program appends records to: a last line without its end is left out.
// Every record goes out with its line end, so such a line is the part of a record that a process
// killed mid-write left behind, and a reader must never take it for a whole one.
std::optional<std::vector<std::string>> ReadRecordLines(const std::string& path);
// The bytes of a file as they are; nullopt when it cannot be read (a folder, a device, nothing).
std::optional<std::string> ReadFileBytes(const std::string& path);

// The fields of a comma-separated record: quotes around a field are removed, commas inside
// quotes do not split, blanks around unquoted fields are dropped.
std::vector<std::string> SplitFields(std::string_view line);
// The words of a line separated by runs of spaces (views into the line).
std::vector<std::string_view> SplitOnSpaces(std::string_view line);

// One field of a record as the sequential write statement puts it: text in double quotes
// (inner quotes kept as they are), numbers bare.
std::string Quoted(std::string_view text);

class TextFileWriter {
public:
    // Opens a temporary file beside path; path itself is untouched until Commit().
    explicit TextFileWriter(std::string path);
    ~TextFileWriter();  // discards the temporary file when Commit() was not reached
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    bool ok() const { return ok_; }
    // Writes text and CR LF.
    void Line(std::string_view text);
    // Writes text without a line end.
    void Raw(std::string_view text);
    // Closes the temporary file and renames it over the target; false (target untouched) on failure.
    // A durable commit waits until the data is on the disk first; a file rewritten every few
    // seconds that only shows the latest state skips that wait (readers still never see half a file).
    bool Commit(bool durable = true);

private:
    std::string path_;
    std::string tempPath_;
    std::FILE* file_ = nullptr;
    bool ok_ = false;
};

// Writes all lines (each with CR LF) in one step; false when the file could not be written.
bool WriteLines(const std::string& path, const std::vector<std::string>& lines, bool durable = true);

// The ending of this process's temporary files: ".tmp" and the process id. A file put in place
// by rename is written under its own name and this ending first.
std::string TemporarySuffix();
// Removes the temporary files that processes no longer running left in folder and every folder
// below it (a name ending in ".tmp" and the id of a process that is gone): the half-written files
// of a program that was killed. Those of running processes stay. The number removed.
int RemoveLeftoverTemporaries(const std::string& folder);

}  // namespace tirmo::platform
