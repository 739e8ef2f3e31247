#include "project/InternalReference.h"

#include <cmath>

#include "acquisition/RunFiles.h"
#include "plate/PlateFormat.h"
#include "platform/Clock.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"

namespace tirmo::project {

namespace {

constexpr double kQualifyingMinutes = 10.0;
constexpr double kZeroMeanStandIn = 0.01;

std::string ActivityPathOf(const std::string& referenceFolder, const std::string& entry)
{
    return InFolder(InFolder(referenceFolder, entry), acquisition::kRawActivityFile);
}

// A count as the runs' tables hold it: the value rounded (halves to even), 32-bit.
std::optional<long> Count32(double value)
{
    if (!(value > -2147483649.0 && value < 2147483648.0)) return std::nullopt;
    const long long v = platform::RoundHalfEven(value);
    if (v < -2147483648LL || v > 2147483647LL) return std::nullopt;
    return long(v);
}

// The well number (from 1) of a name within the format; nullopt outside it.
std::optional<int> WellNumberOf(const std::string& well, const ReferenceFormat& f)
{
    const auto place = plate::ParseWellName(well);
    if (!place || f.rows == 0) return std::nullopt;
    const int number = place->second * f.rows + place->first + 1;
    if (place->first >= f.rows || number > f.wells) return std::nullopt;
    return number;
}

bool Qualifies(const std::string& activityPath, const ReferenceFormat& f)
{
    const auto lines = platform::ReadRecordLines(activityPath);
    if (!lines || f.reference_well.empty()) return false;
    for (size_t i = 1; i < lines->size(); ++i) {
        const auto row = acquisition::ParseActivityRow((*lines)[i]);
        if (row && row->well == f.reference_well && row->minutes >= kQualifyingMinutes) return true;
    }
    return false;
}

// The wells' counts of the last scan that closed with a reference-well row at 10.0 minutes or
// later (index well number - 1).
std::vector<long> LastQualifyingScan(const std::string& activityPath, const ReferenceFormat& f)
{
    std::vector<long> raw(size_t(f.wells), 0), scan(size_t(f.wells), 0);
    const auto lines = platform::ReadRecordLines(activityPath);
    if (!lines) return raw;
    for (size_t i = 2; i < lines->size(); ++i) {
        const auto row = acquisition::ParseActivityRow((*lines)[i]);
        if (!row) continue;
        const auto number = WellNumberOf(row->well, f);
        const auto count = Count32(row->value);
        if (!number || !count) continue;
        if (row->well == "A1") std::fill(scan.begin(), scan.end(), 0);
        scan[size_t(*number - 1)] = *count;
        if (row->well == f.reference_well) {
            if (row->minutes >= kQualifyingMinutes) raw = scan;
            std::fill(scan.begin(), scan.end(), 0);
        }
    }
    return raw;
}

std::vector<std::string> WellNames(const ReferenceFormat& f)
{
    std::vector<std::string> names;
    for (int k = 1; k <= f.wells; ++k) names.push_back(ReferenceWellName(k, f.rows));
    return names;
}

// Where the stamp and the message say the runs came from.
std::string ShownReferenceFolder(int serialNumber)
{
    return platform::ProgramFolder() + "/reports/_internal_reference" + SerialTag(serialNumber);
}

void FromRuns(const std::vector<std::string>& runs, const std::string& referenceFolder, const ReferenceFormat& f,
              ReferenceFactors& factors, FactorFile& file, FactorCodeString& codes)
{
    file.from_runs = true;
    std::vector<double> weightSum(size_t(f.wells), 0.0);
    for (const auto& name : runs) {
        FactorRunBlock block;
        block.name = name;
        block.raw = LastQualifyingScan(ActivityPathOf(referenceFolder, name), f);
        double mean = 0;
        for (long r : block.raw) mean += double(r);
        mean /= double(f.wells);
        if (mean == 0) mean = kZeroMeanStandIn;
        for (size_t w = 0; w < block.raw.size(); ++w) {
            block.weights.push_back(double(block.raw[w]) / mean);
            weightSum[w] += block.weights.back();
        }
        file.runs.push_back(std::move(block));
    }
    for (size_t w = 0; w < weightSum.size(); ++w) {
        const double meanWeight = weightSum[w] / double(runs.size());
        double factor = kMaxFactor;
        if (meanWeight > 0) {
            factor = 1.0 / meanWeight;
            file.factor_texts.push_back(FactorText(factor));  // the text is not limited
        } else {
            file.factor_texts.push_back("2.55");
        }
        factors[w] = LimitFactor(factor);
        codes.push_back(FactorCode(factors[w]));
    }
}

// The factory factors of line 3 of intfactor_<format>.dat; false when there is no such file
// or it is shorter than three lines.
bool FromFactory(int serialNumber, const std::string& format, const ReferenceFormat& f, ReferenceFactors& factors,
                 FactorFile& file, FactorCodeString& codes)
{
    const auto lines = platform::ReadLines(InFolder(CalibrationFolder(serialNumber), "intfactor_" + format + ".dat"));
    if (!lines || lines->size() < 3) return false;
    std::vector<std::string> items;
    const std::string& line = (*lines)[2];
    for (size_t i = 0; i < line.size();) {
        while (i < line.size() && line[i] == ' ') ++i;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ') ++i;
        if (i > start) items.push_back(line.substr(start, i - start));
    }
    for (int k = 1; k <= f.wells; ++k) {
        const auto value = size_t(k) < items.size() ? acquisition::ReadDecimal(items[size_t(k)]) : std::nullopt;
        const double factor = value ? LimitFactor(*value) : 1.0;
        factors[size_t(k - 1)] = factor;
        codes.push_back(FactorCode(factor));
        file.factor_texts.push_back(FactorText(factor));
    }
    return true;
}

}  // namespace

ReferenceFormat ReferenceFormatOf(const std::string& format)
{
    if (format == "w96u" || !plate::IsPlateFormat(format)) return {};
    const plate::PlateSize size = plate::FormatSize(format);
    return {size.rows, size.wells(), plate::LastWell(format)};
}

std::string ReferenceWellName(int number, int rows)
{
    if (rows < 1 || number < 1) return {};
    return std::string(1, char('A' + (number - 1) % rows)) + std::to_string((number - 1) / rows + 1);
}

int CheckReferenceLength(const std::string& activityPath)
{
    const auto lines = platform::ReadRecordLines(activityPath);
    if (!lines || lines->size() < 2) return 0;
    long long last = 0;
    bool any = false;
    for (size_t i = 2; i < lines->size(); ++i) {
        const std::string& line = (*lines)[i];
        const size_t blank = line.find(' ');
        const auto minutes =
            blank == std::string::npos ? std::optional<double>(0.0) : acquisition::ReadDecimal(line.substr(0, blank));
        last = minutes && std::fabs(*minutes) < 1e12 ? platform::RoundHalfEven(*minutes) : 0;
        any = true;
    }
    return any && last > 10 ? 1 : 0;
}

int HasInternalReference(const std::string& format, int serialNumber)
{
    const std::string folder = ReferenceProjectFolder(serialNumber);
    if (!platform::FolderExists(folder)) return 0;
    for (const auto& entry : StampedEntries(folder, format))
        if (CheckReferenceLength(ActivityPathOf(folder, entry)) == 1) return 1;
    return 0;
}

InternalReferenceResult ComputeInternalReference(std::string& folder, const std::string& format, int serialNumber,
                                                 bool announceSource, ReferenceFactors& factors,
                                                 const CorrectionNotices& notices)
{
    InternalReferenceResult result;
    factors = NeutralFactors();
    const ReferenceFormat f = ReferenceFormatOf(format);
    const std::string referenceFolder = ReferenceProjectFolder(serialNumber);
    if (platform::FolderExists(referenceFolder)) {
        for (const auto& entry : StampedEntries(referenceFolder, format)) {
            if (int(result.runs.size()) >= kMaxReferenceRuns) break;
            if (Qualifies(ActivityPathOf(referenceFolder, entry), f)) result.runs.push_back(entry);
        }
    }

    const auto now = platform::WallNow();
    FactorFile file;
    file.wells = WellNames(f);
    if (!result.runs.empty()) {
        if (announceSource)
            notices.Message(std::string(kReferenceLoadedFrom) + "\n" + ShownReferenceFolder(serialNumber));
        result.source = FactorSource::ReferenceRuns;
        file.stamp = RunsStamp(now, ShownReferenceFolder(serialNumber));
        FromRuns(result.runs, referenceFolder, f, factors, file, result.codes);
    } else if (FromFactory(serialNumber, format, f, factors, file, result.codes)) {
        result.source = FactorSource::Factory;
        file.stamp = FactoryStamp(now, serialNumber);
    } else {
        result.source = FactorSource::Defaults;
        file.stamp = DefaultStamp(now);
        file.factor_texts.assign(size_t(f.wells), FactorText(1.0));
    }
    if (folder.empty()) folder = platform::ProgramFolder();
    result.write = WriteFactorCorrection(folder, file, notices);
    return result;
}

}  // namespace tirmo::project
