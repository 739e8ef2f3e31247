#include "project/BlankStore.h"

#include <algorithm>
#include <cmath>

#include "acquisition/RunFiles.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"

namespace tirmo::project {

namespace {

constexpr size_t kActivityHeaderLines = 2;

struct BlankRun {
    BlankTables tables;
    long long found = 0;
};

// The run totals of every well and the run's length; nullopt on anything the file should not
// hold.
std::optional<BlankRun> ReadBlankRun(const std::string& runFolder, int rows)
{
    const auto lines = platform::ReadRecordLines(InFolder(runFolder, acquisition::kRawActivityFile));
    if (!lines || lines->size() < kActivityHeaderLines) return std::nullopt;
    BlankRun run;
    for (size_t i = kActivityHeaderLines; i < lines->size(); ++i) {
        const std::string& line = (*lines)[i];
        if (platform::Trim(line).empty()) continue;
        const auto row = acquisition::ParseActivityRow(line);
        if (!row) return std::nullopt;
        const auto index = BlankWellIndex(row->well, rows);
        if (!index || *index < 0 || *index >= kBlankEntries) return std::nullopt;
        if (!(row->value > -32769.0 && row->value < 32768.0)) return std::nullopt;
        const long long count = platform::RoundHalfEven(row->value);
        if (count < -32768 || count > 32767) return std::nullopt;
        if (!(std::fabs(row->minutes) < 1e12)) return std::nullopt;
        run.tables.values[size_t(*index)] = int(count);  // the last row of a well holds its total
        run.found = std::max(run.found, platform::RoundHalfEven(row->minutes));
    }
    return run;
}

}  // namespace

std::string BlankTooShortMessage(double expectedMinutes, long long foundMinutes, std::string_view decimal)
{
    std::string expected = platform::NumberText(expectedMinutes);
    if (!decimal.empty() && decimal != ".") {
        const size_t point = expected.find('.');
        if (point != std::string::npos) expected.replace(point, 1, decimal);
    }
    return "ERROR! Expected acqusition=" + expected + ". Found=" + std::to_string(foundMinutes);
}

BlankSave SaveBlankMeasurement(const std::string& runFolder, const std::string& format, double expectedMinutes,
                               int serialNumber, std::string_view decimal, const CorrectionNotices& notices)
{
    const int rows = BlankRowsOf(format);
    const auto run = rows > 0 ? ReadBlankRun(runFolder, rows) : std::nullopt;
    if (!run) {
        notices.Message(kBlankFormatError);
        return BlankSave::FormatError;
    }
    if (double(run->found) < 0.8 * expectedMinutes || std::isnan(expectedMinutes)) {
        notices.Message(BlankTooShortMessage(expectedMinutes, run->found, decimal));
        return BlankSave::TooShort;
    }
    // A lapse the readers could not take back as a 16-bit number would make the blank unusable.
    if (!(expectedMinutes < 32767.5)) {
        notices.Message(kBlankFormatError);
        return BlankSave::FormatError;
    }
    BlankFileContents blank;
    // The folder's own name, whatever letter case the path to the store was written in.
    blank.header = BaseName(runFolder);
    blank.lapse_line = "acqlapse=" + platform::Format(expectedMinutes, "0000");
    blank.tables = run->tables;
    platform::MakeFolder(BlankStoreFolder(serialNumber));
    if (!WriteBlankFileAt(BlankFilePath(format, serialNumber), blank)) {
        notices.Message(kBlankFormatError);
        return BlankSave::FormatError;
    }
    notices.Message(kBlankOk);
    return BlankSave::Saved;
}

bool WriteBlankFile(const std::string& format, int serialNumber, BlankTables& tables, const CorrectionNotices& notices)
{
    tables = BlankTables{};
    const BlankFileContents none;
    platform::MakeFolder(BlankStoreFolder(serialNumber));
    const std::string path = BlankFilePath(format, serialNumber);
    if (WriteBlankFileAt(path, none)) return true;
    notices.Status(kBlankNotWritten + path);
    return false;
}

BlankCopy CopyBlankToAcquisition(const std::string& format, const std::string& acquisitionFolder, int serialNumber,
                                 BlankTables& tables, const CorrectionNotices& notices)
{
    BlankCopy copy;
    const BlankFileRead store = ReadBlankFile(BlankFilePath(format, serialNumber));
    copy.source = store.state;
    if (store.state == BlankFileState::Garbled) notices.Message(kBlankFormatError);
    tables = store.contents.tables;
    const std::string target = InFolder(acquisitionFolder, BlankFileName(format));
    copy.written = platform::FolderExists(acquisitionFolder) && WriteBlankFileAt(target, store.contents);
    if (!copy.written) notices.Status(kBlankNotWritten + target);
    return copy;
}

BlankFileState ParseBlankFile(const std::string& format, const std::string& folder, BlankTables& tables,
                              const CorrectionNotices& notices)
{
    const BlankFileRead read = ReadBlankFile(InFolder(folder, BlankFileName(format)));
    if (read.state == BlankFileState::Garbled) notices.Message(kBlankFormatError);
    tables = read.contents.tables;
    return read.state;
}

}  // namespace tirmo::project
