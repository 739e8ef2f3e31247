#include "devicememory/CalibrationReaders.h"

#include "devicememory/CalibrationRecords.h"
#include "devicememory/MemoryImage.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"

namespace tirmo::devicememory {
namespace {

// One record of a set: where it lies, the file it restores and that file's lines.
struct RecordJob {
    const RecordPlace* place;
    std::string file;
    std::function<std::vector<std::string>(std::string_view record)> lines;
};

bool writeFile(const std::string& folder, const std::string& file, const std::vector<std::string>& lines)
{
    // The name is matched without regard to case, so that an earlier "W6_COL.DAT" is replaced
    // rather than joined by a second file.
    platform::TextFileWriter out(platform::ResolvePath(folder + "/" + file));
    if (!out.ok()) return false;
    for (const std::string& line : lines) out.Line(line);
    return out.Commit();
}

// Writes a found record's file; false (after the error message) when it could not be written.
bool restore(CalibrationSet set, const RecordJob& job, std::string_view record, const std::string& folder,
             const MemoryNotices& notices, SetReading& reading)
{
    if (writeFile(folder, job.file, job.lines(record))) return true;
    reading.outcome = SetReading::Outcome::Error;
    reading.unwritten = job.file;
    notices.Message(ReadErrorText(set));
    return false;
}

SetReading finish(CalibrationSet set, SetReading reading, const MemoryNotices& notices)
{
    if (reading.outcome == SetReading::Outcome::Error || reading.missing.empty()) return reading;
    reading.outcome = SetReading::Outcome::NotFound;
    notices.Status(NotFoundText(set));
    platform::Sleep(kNotFoundPauseMs);
    return reading;
}

SetReading readBlocks(CalibrationSet set, FlashPort& port, const std::string& folder, const MemoryNotices& notices,
                      const std::vector<RecordJob>& jobs)
{
    SetReading reading;
    for (const RecordJob& job : jobs) {
        const std::string block = ReadFlashLines(port, job.place->bank, job.place->line);
        if (!RecordFound(block, job.place->name)) {
            reading.missing.emplace_back(job.place->name);
            continue;
        }
        if (!restore(set, job, block, folder, notices, reading)) return reading;
    }
    return finish(set, std::move(reading), notices);
}

RecordJob wellFormatJob(std::string_view name)
{
    const RecordPlace* place = FindRecord(name);
    return {place, std::string(name) + ".dat",
            [place](std::string_view block) { return WellFormatFileLines(*place, block); }};
}

RecordJob factorJob(std::string_view format)
{
    const std::string f(format);
    return {FindRecord(f + "_intfactor"), "intfactor_" + f + ".dat",
            [f](std::string_view block) { return InternalFactorFileLines(f, block, RestoreStamp()); }};
}

RecordJob blankJob(std::string_view format)
{
    const std::string f(format);
    const RecordPlace* place = FindRecord(f + "_blank");
    return {place, "blank_" + f + ".dat",
            [place](std::string_view block) { return RestoredBlankFileLines(*place, block, RestoreStamp()); }};
}

}  // namespace

std::string NotFoundText(CalibrationSet set) { return CalibrationSetName(set) + " Calibration not found at TIRMO memory"; }

std::string ReadErrorText(CalibrationSet set)
{
    return "Error reading " + CalibrationSetName(set) + " Calibration from TIRMO equipment memory";
}

SetReading ReadWellFormatCalibrationFromDevice(FlashPort& port, const std::string& folder,
                                               const MemoryNotices& notices)
{
    std::vector<RecordJob> jobs;
    for (const char* name : {"w6_col", "w6_row", "p35_col", "p35_row", "w24_col", "w24_row"})
        jobs.push_back(wellFormatJob(name));
    return readBlocks(CalibrationSet::WellFormat, port, folder, notices, jobs);
}

SetReading ReadLightCalibrationFromDevice(FlashPort& port, const std::string& folder, const MemoryNotices& notices)
{
    const RecordPlace& place = *FindRecord("ledxy");
    std::string record;
    for (int block = 0; block < kLightBlocks; ++block) {
        const int line = place.line + block * kBlockLines;
        record += ReadFlashLines(port, place.bank, line);
        platform::Sleep(kLightBlockPauseMs);
        notices.Progress("LEDXY <- " + std::to_string(line / kBlockLines));
    }
    SetReading reading;
    const RecordJob job{&place, "ledxy.dat", [](std::string_view r) { return LedPositionFileLines(r); }};
    if (!RecordFound(record, place.name))
        reading.missing.emplace_back(place.name);
    else if (!restore(CalibrationSet::Light, job, record, folder, notices, reading))
        return reading;
    return finish(CalibrationSet::Light, std::move(reading), notices);
}

SetReading ReadTemperatureCalibrationFromDevice(FlashPort& port, const std::string& folder,
                                                const MemoryNotices& notices)
{
    return readBlocks(CalibrationSet::Temperature, port, folder, notices,
                      {{FindRecord("Tempfactor"), "tempfactor.dat",
                        [](std::string_view block) { return TempFactorFileLines(block); }}});
}

SetReading ReadInternalRefCalibrationFromDevice(FlashPort& port, const std::string& folder,
                                                const MemoryNotices& notices)
{
    return readBlocks(CalibrationSet::InternalReference, port, folder, notices,
                      {factorJob("w6"), factorJob("p35"), factorJob("w24")});
}

SetReading ReadBlankCalibrationFromDevice(FlashPort& port, const std::string& folder, const MemoryNotices& notices)
{
    return readBlocks(CalibrationSet::Blank, port, folder, notices,
                      {blankJob("w6"), blankJob("p35"), blankJob("w24")});
}

SetReading ReadCalibrationSet(CalibrationSet set, FlashPort& port, const std::string& folder,
                              const MemoryNotices& notices)
{
    switch (set) {
    case CalibrationSet::WellFormat: return ReadWellFormatCalibrationFromDevice(port, folder, notices);
    case CalibrationSet::Light: return ReadLightCalibrationFromDevice(port, folder, notices);
    case CalibrationSet::Temperature: return ReadTemperatureCalibrationFromDevice(port, folder, notices);
    case CalibrationSet::InternalReference: return ReadInternalRefCalibrationFromDevice(port, folder, notices);
    case CalibrationSet::Blank: return ReadBlankCalibrationFromDevice(port, folder, notices);
    }
    return {};
}

std::string SetProgressLabel(CalibrationSet set)
{
    switch (set) {
    case CalibrationSet::WellFormat: return "->Well Format";
    case CalibrationSet::Light: return "->Led XY";
    case CalibrationSet::Temperature: return "->Temp Factor";
    case CalibrationSet::InternalReference: return "->Internal Ref";
    case CalibrationSet::Blank: return "->Blank";
    }
    return {};
}

bool ReceiveCalibrationSets(const std::array<bool, 5>& checked, FlashPort& port, const std::string& folder,
                            const MemoryNotices& notices)
{
    std::string notRestored;
    notices.Progress("");
    for (size_t i = 0; i < checked.size(); ++i) {
        if (checked[i]) {
            const std::string label = SetProgressLabel(kCalibrationSets[i]);
            notices.Progress(label);
            if (ReadCalibrationSet(kCalibrationSets[i], port, folder, notices).Result() != 0) notRestored += (notRestored.empty() ? " " : ", ") + label.substr(2);
        }
        notices.Progress("");
    }
    notices.Progress(notRestored.empty() ? "Done" : "Not restored:" + notRestored);
    return notRestored.empty();
}

std::string CalibrationSetName(CalibrationSet set)
{
    switch (set) {
    case CalibrationSet::WellFormat: return "Well Format";
    case CalibrationSet::Light: return "Light";
    case CalibrationSet::Temperature: return "Temperature";
    case CalibrationSet::InternalReference: return "Internal REF";
    case CalibrationSet::Blank: return "Blank";
    }
    return {};
}

}  // namespace tirmo::devicememory
