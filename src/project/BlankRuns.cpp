#include "project/BlankRuns.h"

#include <filesystem>
#include <system_error>

#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "plate/PlateFormat.h"
#include "project/BlankFile.h"
#include "project/BlankHeader.h"
#include "project/CorrectionFolders.h"
#include "project/SubprojectReaders.h"

namespace tirmo::project {

std::vector<std::string> BlankListEntries(int serialNumber, const std::optional<std::string>& format)
{
    std::vector<std::string> entries{kNoneEntry, kFactoryEntry};
    const std::string store = BlankStoreFolder(serialNumber);
    // "_blank" without its last "_", as the store has always been searched.
    for (const std::string& name : StampedEntries(store, "_blank")) {
        const std::string folder = InFolder(store, name);
        if (!platform::FolderExists(folder)) continue;  // a file of that name is no run
        if (format && ReadSubprojectFormat(folder) != *format) continue;
        entries.push_back(name);
    }
    return entries;
}

bool IsRunFormat(const std::string& format) { return plate::IsPlateFormat(format) && format != "w96u"; }

std::optional<double> BlankLapse(const std::string& text)
{
    const double lapse = platform::Val(text);
    if (lapse < kBlankLapseMin || lapse > kBlankLapseMax) return std::nullopt;
    return lapse;
}

bool DeleteBlankRun(const std::string& folder)
{
    namespace fs = std::filesystem;
    const fs::path path = platform::ResolvePath(folder);
    std::error_code ec;
    if (!fs::exists(path, ec)) return !ec;
    for (fs::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code kind;
        if (it->is_directory(kind)) continue;  // left for the folder's removal to refuse
        std::error_code gone;
        if (!fs::remove(it->path(), gone)) return false;
    }
    if (ec) return false;
    // Removes an empty folder only: a sub-folder left in it makes this fail.
    return fs::remove(path, ec) && !ec;
}

FactoryCopy CopyFactoryBlank(const std::string& format, int serialNumber)
{
    const auto lines = platform::ReadLines(InFolder(CalibrationFolder(serialNumber), BlankFileName(format)));
    if (!lines) return FactoryCopy::Missing;
    platform::MakeFolder(BlankStoreFolder(serialNumber));
    return platform::WriteLines(BlankFilePath(format, serialNumber), *lines) ? FactoryCopy::Copied
                                                                            : FactoryCopy::NotWritten;
}

}  // namespace tirmo::project
