#include "devicememory/RecordSources.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "devicememory/MemoryImage.h"
#include "platform/ConfigFiles.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "project/CorrectionFolders.h"

namespace tirmo::devicememory {
namespace {

std::string calibrationFile(const std::string& name, int serialNumber)
{
    return platform::ResolvePath(project::InFolder(project::CalibrationFolder(serialNumber), name));
}

std::string blankFile(const std::string& format, int serialNumber)
{
    return platform::ResolvePath(project::InFolder(project::BlankStoreFolder(serialNumber), "blank_" + format + ".dat"));
}

std::string where(const std::string& path, size_t index)
{
    return project::BaseName(path) + " line " + std::to_string(index + 1) + ": ";
}

// A whole number that fits one byte of the memory.
std::optional<long> byteField(const std::string& text)
{
    const auto v = platform::ParseNumber(text);
    if (!v || std::fabs(*v - std::round(*v)) > 1e-9) return std::nullopt;
    const long n = long(std::lround(*v));
    if (n < 0 || n > 255) return std::nullopt;
    return n;
}

std::string doesNotFit(const std::string& field)
{
    return "\"" + field + "\" is not a whole number from 0 to 255; nothing of this set was sent";
}

// Every non-empty row after the header lines: `fields` fields, those from `skip` on one byte each.
RecordSource packRows(const std::string& path, const std::vector<std::string>& lines, size_t header, size_t fields,
                      size_t skip)
{
    RecordSource out;
    for (size_t i = header; i < lines.size(); ++i) {
        if (platform::Trim(lines[i]).empty()) continue;
        const auto f = platform::SplitFields(lines[i]);
        if (f.size() < fields) return {{}, where(path, i) + std::to_string(fields) + " fields expected; nothing of this set was sent"};
        for (size_t k = skip; k < fields; ++k) {
            const auto v = byteField(f[k]);
            if (!v) return {{}, where(path, i) + doesNotFit(f[k])};
            out.value += char(*v);
        }
    }
    return out;
}

void padTo(std::string& value, size_t n)
{
    if (value.size() < n) value.resize(n, '\0');
}

// "KEY=number": the number after the first "=" when the key matches, else nullopt.
std::optional<double> keyed(const std::string& line, const std::string& key)
{
    const size_t eq = line.find('=');
    if (eq == std::string::npos || line.substr(0, eq) != key) return std::nullopt;
    return platform::Val(line.substr(eq + 1));
}

}  // namespace

RecordSource ReadTemperatureFactorFile(int serialNumber)
{
    double offset = kDefaultOffset, slope = kDefaultSlope;
    const std::string path = calibrationFile("tempfactor.dat", serialNumber);
    if (platform::FileExists(path)) {
        const auto lines = platform::ReadLines(path);
        if (!lines || lines->size() < 3) return {{}, project::BaseName(path) + ": OFFSET and SLOPE lines expected; nothing of this set was sent"};
        const auto o = keyed((*lines)[1], "OFFSET");
        offset = o && *o > -50 && *o < 50 ? *o : kDefaultOffset;
        const auto s = keyed((*lines)[2], "SLOPE");
        slope = s && *s > 0 && *s < 10 ? *s : kDefaultSlope;
    }
    RecordSource out{EncodeHundredths(offset) + EncodeHundredths(slope), {}};
    padTo(out.value, kRecordDataBytes);
    return out;
}

BlankLapse ReadBlankMeasurementLapse(const std::string& format, int serialNumber)
{
    const std::string path = blankFile(format, serialNumber);
    if (!platform::FileExists(path)) return {};
    const auto lines = platform::ReadLines(path);
    BlankLapse out;
    const size_t eq = lines && lines->size() >= 2 ? (*lines)[1].find('=') : std::string::npos;
    const auto v = eq == std::string::npos ? std::nullopt : platform::ParseNumber((*lines)[1].substr(eq + 1));
    // The key holds the lapse in four digits.
    if (!v || *v < 0 || *v > 9999 || *v != std::floor(*v)) {
        out.minutes = 0;
        out.error = project::BaseName(path) + " line 2: no acquisition lapse; nothing of this set was sent";
        return out;
    }
    out.minutes = int(*v);
    return out;
}

RecordSource ReadBlankMeasurementValues(const std::string& format, int serialNumber)
{
    const std::string path = blankFile(format, serialNumber);
    RecordSource out;
    if (platform::FileExists(path)) {
        const auto lines = platform::ReadLines(path);
        if (!lines) return {{}, project::BaseName(path) + " cannot be read; nothing of this set was sent"};
        for (size_t i = 3; i < lines->size(); ++i) {
            const std::string& line = (*lines)[i];
            const size_t comma = line.find(',');
            const std::string field = comma == std::string::npos ? std::string() : platform::Trim(line.substr(comma + 1));
            const auto v = platform::ParseNumber(field);
            const long long n = v && std::fabs(*v) < 1e9 ? platform::RoundHalfEven(*v) : -1;
            if (n < 0 || n > 255) return {{}, where(path, i) + doesNotFit(field)};
            out.value += char(n);
        }
        platform::CopyTextFile(path, calibrationFile("blank_" + format + ".dat", serialNumber));
    }
    padTo(out.value, kRecordDataBytes);
    return out;
}

RecordSource ReadWellFormatFileRecord(const std::string& fileName, int serialNumber)
{
    const std::string path = calibrationFile(fileName, serialNumber);
    RecordSource out;
    if (platform::FileExists(path)) {
        const auto lines = platform::ReadLines(path);
        if (!lines) return {{}, fileName + " cannot be read; nothing of this set was sent"};
        out = packRows(path, *lines, 2, 4, 0);
        if (!out.ok()) return out;
    }
    padTo(out.value, kRecordDataBytes);
    return out;
}

RecordSource ReadLightCalibrationFileRecord(const std::string& fileName, int serialNumber)
{
    const std::string path = calibrationFile(fileName, serialNumber);
    if (!platform::FileExists(path)) return {};
    const auto lines = platform::ReadLines(path);
    if (!lines) return {{}, fileName + " cannot be read; nothing of this set was sent"};
    RecordSource out = packRows(path, *lines, 2, 5, 1);
    if (!out.ok()) return out;
    const size_t size = out.value.size();
    padTo(out.value, (size + kLineBytes - 1) / kLineBytes * kLineBytes);
    return out;
}

}  // namespace tirmo::devicememory
