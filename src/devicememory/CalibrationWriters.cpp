#include "devicememory/CalibrationWriters.h"

#include <algorithm>
#include <cmath>

#include "devicememory/InternalFactors.h"
#include "devicememory/MemoryImage.h"
#include "devicememory/RecordSources.h"
#include "link/Protocol.h"
#include "platform/Clock.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "project/CorrectionFolders.h"

namespace tirmo::devicememory {
namespace {

// One record ready to go: its key, the value, and where its first group lies.
struct Outgoing {
    std::string key;
    std::string value;
    int line = 0;
};

struct SetPlan {
    SetPlan(CalibrationSet s, int b, std::string_view t, std::string last = "//")
        : set(s), bank(b), title(t), lastHeaderLine(std::move(last))
    {
    }
    CalibrationSet set;
    int bank = 0;
    std::string title;
    std::string lastHeaderLine;
    std::vector<Outgoing> records;
    bool printRecords = true;  // the record line goes to the progress picture
};

// The printable part of a record line: the key (the check byte after it may be any byte).
std::string shownKey(const std::string& key) { return key; }

std::string reason(WriteOutcome outcome, int bufferLine)
{
    switch (outcome) {
    case WriteOutcome::NoEcho: return "no echo for buffer line " + std::to_string(bufferLine);
    case WriteOutcome::NoAnswer: return "the commit got no answer";
    case WriteOutcome::Closed: return "the link closed";
    default: return "the memory read back differs";
    }
}

// Writes four lines into the buffer (10 ms apart) and commits them: 100 ms before and after the
// commit. The first failure ends the group (nothing half-filled is committed).
struct GroupResult {
    WriteOutcome outcome = WriteOutcome::Done;
    int bufferLine = 0;
};
GroupResult writeGroup(WriterContext& c, std::array<std::string, 4> lines, int bank, int line)
{
    for (int n = 0; n < kBlockLines; ++n) {
        if (n > 0) platform::Sleep(kLinePauseMs);
        const WriteOutcome o = WriteFlashBufferLine(c.port, n, lines[size_t(n)], c.notices);
        if (Failed(o)) return {o, n};
    }
    platform::Sleep(kAroundCommitPauseMs);
    const WriteOutcome committed = CommitFlashLines(c.port, bank, line);
    if (Failed(committed)) return {committed, 0};
    platform::Sleep(kAroundCommitPauseMs);
    return {};
}

std::array<std::string, 4> linesOf(const std::string& block)
{
    std::array<std::string, 4> lines;
    for (size_t n = 0; n < lines.size(); ++n) lines[n] = block.substr(n * kLineBytes, kLineBytes);
    return lines;
}

void fail(WriterContext& c, SetWriting& w, const std::string& text)
{
    w.outcome = SetWriting::Outcome::Failed;
    w.messages.push_back(text);
    c.notices.Message(text);
}

std::string failure(const SetPlan& plan, const std::string& what, int line, const std::string& why)
{
    return "Error writing" + what + "\n" + CalibrationSetName(plan.set) + " Calibration, bank " + std::to_string(plan.bank) +
           ", memory line " + std::to_string(line) + ": " + why;
}

// One group (the header, a record, the end group) written, committed and read back equal,
// twice at most.
bool writeChecked(WriterContext& c, const SetPlan& plan, const std::string& what, const std::string& block, int line,
                  SetWriting& w)
{
    GroupResult r;
    for (int attempt = 0; attempt < kRecordAttempts; ++attempt) {
        platform::Sleep(kGroupPauseMs);
        r = writeGroup(c, linesOf(block), plan.bank, line);
        if (r.outcome == WriteOutcome::Closed) break;
        if (Failed(r.outcome)) continue;
        if (ReadFlashLines(c.port, plan.bank, line) == block) return true;
        r.outcome = WriteOutcome::Done;  // written, but not read back equal
    }
    fail(c, w, failure(plan, what, line,
                       r.outcome == WriteOutcome::Done ? reason(WriteOutcome::WrongEcho, 0) : reason(r.outcome, r.bufferLine)));
    return false;
}

bool writeRecord(WriterContext& c, const SetPlan& plan, const Outgoing& record, SetWriting& w)
{
    if (plan.printRecords) c.notices.Progress(shownKey(record.key));
    return writeChecked(c, plan, shownKey(record.key), RecordBlock(record.key, record.value), record.line, w);
}

// The light record over its 18 groups from line 4 on, read back as a whole after the last one.
// Its record line goes first as zeros and last whole: a write that ends half way (a lost link,
// a killed program) leaves a record that fails its name test, never new lines before old ones
// under a check byte that may happen to match them.
bool writeLightRecord(WriterContext& c, const SetPlan& plan, const Outgoing& record, SetWriting& w)
{
    const std::string image = LightRecord(record.key, record.value);
    std::string spoilt = image;
    std::fill_n(spoilt.begin(), kLineBytes, '\0');
    const std::string& data = record.value;
    GroupResult r;
    int failedLine = kLightFirstLine;
    for (int attempt = 0; attempt < kRecordAttempts; ++attempt) {
        platform::Sleep(kGroupPauseMs);
        r = {};
        // Steps 0..17 write the blocks in order, step 18 the first block again with its record line.
        for (int step = 0; step <= kLightBlocks && !Failed(r.outcome); ++step) {
            const int block = step % kLightBlocks;
            const int line = kLightFirstLine + block * kBlockLines;
            const std::string& from = step == kLightBlocks ? image : spoilt;
            std::array<std::string, 4> lines = linesOf(from.substr(size_t(block) * kBlockBytes, kBlockBytes));
            failedLine = line;
            for (int n = 0; n < kBlockLines; ++n) {
                if (step > 0 || n > 0) platform::Sleep(kLinePauseMs);
                const WriteOutcome o = WriteFlashBufferLine(c.port, n, lines[size_t(n)], c.notices);
                if (Failed(o)) {
                    r = {o, n};
                    break;
                }
                const size_t start = size_t(block * kBlockLines + n - 1) * kLineBytes;  // the slice's place in data
                if (step < kLightBlocks && (block > 0 || n > 0) && start < data.size())
                    c.notices.Progress("LEDXY -> " + std::to_string(platform::RoundHalfEven(double(start + 1) / double(data.size()) * 100)) + "%");
            }
            if (Failed(r.outcome)) break;
            platform::Sleep(kAroundCommitPauseMs);
            const WriteOutcome committed = CommitFlashLines(c.port, plan.bank, line);
            if (Failed(committed)) r = {committed, 0};
            else platform::Sleep(kAroundCommitPauseMs);
        }
        if (r.outcome == WriteOutcome::Closed) break;
        if (Failed(r.outcome)) continue;
        platform::Sleep(kLightReadPauseMs);
        std::string back;
        for (int block = 0; block < kLightBlocks; ++block) {
            const int at = kLightFirstLine + block * kBlockLines;
            back += ReadFlashLines(c.port, plan.bank, at);
            platform::Sleep(kLightReadPauseMs);
            c.notices.Progress("LEDXY <- " + std::to_string(at / kBlockLines));
        }
        if (back == image) return true;
        r.outcome = WriteOutcome::Done;
        failedLine = kLightFirstLine;
        for (int block = 0; block < kLightBlocks; ++block)
            if (back.substr(size_t(block) * kBlockBytes, kBlockBytes) != image.substr(size_t(block) * kBlockBytes, kBlockBytes)) {
                failedLine = kLightFirstLine + block * kBlockLines;
                break;
            }
    }
    fail(c, w, failure(plan, shownKey(record.key), failedLine,
                       r.outcome == WriteOutcome::Done ? reason(WriteOutcome::WrongEcho, 0) : reason(r.outcome, r.bufferLine)));
    return false;
}

SetWriting writeSet(WriterContext& c, const SetPlan& plan)
{
    SetWriting w;
    if (!writeChecked(c, plan, plan.title, HeaderBlock(plan.title, plan.lastHeaderLine), 0, w)) return w;
    for (const Outgoing& record : plan.records) {
        const bool ok = plan.set == CalibrationSet::Light ? writeLightRecord(c, plan, record, w) : writeRecord(c, plan, record, w);
        // A closed link ends the set: nothing more can go out.
        if (!ok && !c.port.LinkOpen()) return w;
    }
    if (plan.set == CalibrationSet::WellFormat) writeChecked(c, plan, std::string(kEndLine), EndBlock(), kWellFormatEndLine, w);
    return w;
}

// The link test and the refusal of a set whose values cannot all be packed.
bool ready(WriterContext& c, SetWriting& w, const std::string& error = {})
{
    if (!c.port.LinkOpen()) {
        w.outcome = SetWriting::Outcome::Refused;
        w.messages.push_back(link::kNotConnected);
        c.notices.Message(link::kNotConnected);
        return false;
    }
    if (!error.empty()) {
        w.outcome = SetWriting::Outcome::Refused;
        w.messages.push_back(error);
        c.notices.Message(error);
        return false;
    }
    return true;
}

}  // namespace

SetWriting WriteWellFormatCalibrationToDevice(WriterContext& c)
{
    SetWriting w;
    if (!ready(c, w)) return w;
    SetPlan plan(CalibrationSet::WellFormat, kWellFormatBank, kWellFormatTitle);
    const std::string folder = project::CalibrationFolder(c.serialNumber);
    for (const RecordPlace& r : Records()) {
        if (r.bank != kWellFormatBank) continue;
        std::string file = std::string(r.name) + ".dat";
        // Without its own band file a p35 record carries the w6 bands.
        if (r.name.substr(0, 3) == "p35" && !platform::FileExists(platform::ResolvePath(project::InFolder(folder, file))))
            file = "w6" + file.substr(3);
        const RecordSource s = ReadWellFormatFileRecord(file, c.serialNumber);
        if (!ready(c, w, s.error)) return w;
        plan.records.push_back({RecordKey(r), s.value, r.line});
    }
    return writeSet(c, plan);
}

SetWriting WriteLightCalibrationToDevice(WriterContext& c)
{
    SetWriting w;
    if (!ready(c, w)) return w;
    const RecordSource s = ReadLightCalibrationFileRecord("ledxy.dat", c.serialNumber);
    std::string error = s.error;
    // Without the file there is nothing to back up: a record of zeros would pass its read-back
    // and later be restored as the instrument's LED rectangles.
    if (error.empty() && s.value.empty())
        error = "ledxy.dat not found in " + project::CalibrationFolder(c.serialNumber) + "; nothing of this set was sent";
    if (!ready(c, w, error)) return w;
    const RecordPlace& r = *FindRecord("ledxy");
    SetPlan plan(CalibrationSet::Light, kLightBank, kLightTitle);
    plan.records.push_back({RecordKey(r), s.value, r.line});
    plan.printRecords = false;
    return writeSet(c, plan);
}

SetWriting WriteTemperatureCalibrationToDevice(WriterContext& c)
{
    SetWriting w;
    if (!ready(c, w)) return w;
    const RecordSource s = ReadTemperatureFactorFile(c.serialNumber);
    if (!ready(c, w, s.error)) return w;
    const RecordPlace& r = *FindRecord("Tempfactor");
    SetPlan plan(CalibrationSet::Temperature, kTemperatureBank, kTemperatureTitle,
                 platform::FormatDate(platform::WallNow(), "yyyymmddhhmm") + "//");
    plan.records.push_back({RecordKey(r), s.value, r.line});
    plan.printRecords = false;
    return writeSet(c, plan);
}

SetWriting WriteInternalRefCalibrationToDevice(WriterContext& c)
{
    SetWriting w;
    if (!ready(c, w)) return w;
    SetPlan plan(CalibrationSet::InternalReference, kTemperatureBank, kInternalFactorTitle);
    for (const char* format : {"w6", "p35", "w24"}) {
        const RecordPlace& r = *FindRecord(std::string(format) + "_intfactor");
        const RecordSource s = RecalculateInternalFactors(format, c.serialNumber, c.correction, c.announce_reference);
        if (!ready(c, w, s.ok() ? "" : s.error + "; nothing of this set was sent")) return w;
        plan.records.push_back({RecordKey(r), s.value, r.line});
    }
    return writeSet(c, plan);
}

SetWriting WriteBlankCalibrationToDevice(WriterContext& c)
{
    SetWriting w;
    if (!ready(c, w)) return w;
    SetPlan plan(CalibrationSet::Blank, kBlankBank, kBlankTitle);
    for (const char* format : {"w6", "p35", "w24"}) {
        const RecordPlace& r = *FindRecord(std::string(format) + "_blank");
        const BlankLapse lapse = ReadBlankMeasurementLapse(format, c.serialNumber);
        if (!ready(c, w, lapse.error)) return w;
        const RecordSource s = ReadBlankMeasurementValues(format, c.serialNumber);
        if (!ready(c, w, s.error)) return w;
        plan.records.push_back({RecordKey(r, lapse.minutes), s.value, r.line});
    }
    return writeSet(c, plan);
}

SetWriting WriteCalibrationSet(CalibrationSet set, WriterContext& c)
{
    switch (set) {
    case CalibrationSet::WellFormat: return WriteWellFormatCalibrationToDevice(c);
    case CalibrationSet::Light: return WriteLightCalibrationToDevice(c);
    case CalibrationSet::Temperature: return WriteTemperatureCalibrationToDevice(c);
    case CalibrationSet::InternalReference: return WriteInternalRefCalibrationToDevice(c);
    case CalibrationSet::Blank: return WriteBlankCalibrationToDevice(c);
    }
    return {};
}

std::string SetCaption(CalibrationSet set)
{
    switch (set) {
    case CalibrationSet::WellFormat: return "Well FORMAT (w24,w6,p35)";
    case CalibrationSet::Light: return "LED XY (Light Calibration)";
    case CalibrationSet::Temperature: return "Temperature Calibration";
    case CalibrationSet::InternalReference: return "Internal Reference Factor";
    case CalibrationSet::Blank: return "Blank measure";
    }
    return {};
}

bool SendCalibrationSets(const std::array<bool, 5>& checked, WriterContext& c)
{
    if (!c.port.LinkOpen()) {
        c.notices.Message(link::kNotConnected);
        return false;
    }
    std::string notWritten;
    c.notices.Progress("");
    for (size_t i = 0; i < checked.size(); ++i) {
        c.notices.Progress("");
        if (!checked[i]) continue;
        const CalibrationSet set = kCalibrationSets[i];
        c.notices.Progress(SetProgressLabel(set));
        if (!WriteCalibrationSet(set, c).Written()) notWritten += " " + SetProgressLabel(set).substr(2);
        if (!c.port.LinkOpen()) break;
    }
    // What has not gone out yet is not written either.
    if (!c.port.LinkOpen())
        for (size_t i = 0; i < checked.size(); ++i) {
            const std::string label = SetProgressLabel(kCalibrationSets[i]).substr(2);
            if (checked[i] && notWritten.find(label) == std::string::npos) notWritten += " " + label;
        }
    c.notices.Progress(notWritten.empty() ? "Done" : "Not written:" + notWritten);
    return notWritten.empty();
}

}  // namespace tirmo::devicememory
