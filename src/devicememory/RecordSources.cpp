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

constexpr const char* kNothingSent = "; nothing of this set was sent";

std::string where(const std::string& path, size_t index)
{
    return project::BaseName(path) + " line " + std::to_string(index + 1) + ": ";
}

// A whole number from low to high.
std::optional<long> wholeIn(const std::string& text, long low, long high)
{
    const auto v = platform::ParseNumber(text);
    if (!v || std::fabs(*v - std::round(*v)) > 1e-9 || *v < double(low) || *v > double(high)) return std::nullopt;
    return std::lround(*v);
}

std::string notFrom(const std::string& field, long low, long high)
{
    return "\"" + field + "\" is not a whole number from " + std::to_string(low) + " to " + std::to_string(high) +
           kNothingSent;
}

// The rows of a file after its header lines; blank lines hold no row.
template <class Row>
std::string eachRow(const std::vector<std::string>& lines, size_t header, Row row)
{
    for (size_t i = header; i < lines.size(); ++i) {
        if (platform::Trim(lines[i]).empty()) continue;
        std::string error = row(i, platform::SplitFields(lines[i]));
        if (!error.empty()) return error;
    }
    return {};
}

// A band file: exactly the rows its record keeps (6, or 12 for w24), camera, band, start and
// end of each as one byte. A row more or less would shift or drop bands without a word.
RecordSource packBands(const std::string& path, const std::vector<std::string>& lines, int bands)
{
    RecordSource out;
    int rows = 0;
    out.error = eachRow(lines, 2, [&](size_t i, const std::vector<std::string>& f) -> std::string {
        if (bands > 0 && ++rows > bands)
            return where(path, i) + "more than " + std::to_string(bands) + " band rows" + kNothingSent;
        if (f.size() < 4) return where(path, i) + "4 fields expected" + kNothingSent;
        for (size_t k = 0; k < 4; ++k) {
            const auto v = wholeIn(f[k], 0, 255);
            if (!v) return where(path, i) + notFrom(f[k], 0, 255);
            out.value += char(*v);
        }
        return {};
    });
    if (out.error.empty() && bands > 0 && rows < bands)
        out.error = where(path, lines.size()) + "the file ends after " + std::to_string(rows) + " of its " +
                    std::to_string(bands) + " band rows" + kNothingSent;
    if (!out.ok()) out.value.clear();
    return out;
}

// ledxy.dat: one row per LED 0..415, each LED once, in any order (its number places it, as the
// LED map's load does); every coordinate one the light alignment can give.
RecordSource packLeds(const std::string& path, const std::vector<std::string>& lines)
{
    std::string value(size_t(kLightValueBytes), '\0');
    std::vector<bool> given(size_t(kLightValueBytes / 4), false);
    const long lastLed = long(given.size()) - 1;
    std::string error = eachRow(lines, 2, [&](size_t i, const std::vector<std::string>& f) -> std::string {
        if (f.size() < 5) return where(path, i) + "5 fields expected" + kNothingSent;
        const auto led = wholeIn(f[0], 0, lastLed);
        if (!led) return where(path, i) + "LED " + notFrom(f[0], 0, lastLed);
        if (given[size_t(*led)]) return where(path, i) + "LED " + f[0] + " a second time" + kNothingSent;
        given[size_t(*led)] = true;
        for (size_t k = 1; k < 5; ++k) {
            const auto v = wholeIn(f[k], kNoBand, kLastFramePosition);
            if (!v) return where(path, i) + notFrom(f[k], kNoBand, kLastFramePosition);
            value[size_t(*led) * 4 + k - 1] = *LedCoordinateByte(*v);
        }
        return {};
    });
    const auto missing = std::find(given.begin(), given.end(), false);
    if (error.empty() && missing != given.end()) {
        const auto count = std::count(given.begin(), given.end(), false);
        error = where(path, lines.size()) + "the file ends without LED " + std::to_string(missing - given.begin()) + " (" +
                std::to_string(count) + (count == 1 ? " LED" : " LEDs") + " missing)" + kNothingSent;
    }
    if (!error.empty()) return {{}, error};
    return {value, {}};
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
        if (!lines || lines->size() < 3) return {{}, project::BaseName(path) + ": OFFSET and SLOPE lines expected" + kNothingSent};
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
        out.error = project::BaseName(path) + " line 2: no acquisition lapse" + kNothingSent;
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
        if (!lines) return {{}, project::BaseName(path) + " cannot be read" + kNothingSent};
        for (size_t i = 3; i < lines->size(); ++i) {
            const std::string& line = (*lines)[i];
            const size_t comma = line.find(',');
            const std::string field = comma == std::string::npos ? std::string() : platform::Trim(line.substr(comma + 1));
            const auto v = platform::ParseNumber(field);
            const long long n = v && std::fabs(*v) < 1e9 ? platform::RoundHalfEven(*v) : -1;
            if (n < 0 || n > 255) return {{}, where(path, i) + notFrom(field, 0, 255)};
            out.value += char(n);
        }
        const RecordPlace* record = FindRecord(format + "_blank");
        if (record && out.value.size() < size_t(record->values))
            return {{}, where(path, lines->size()) + "the file ends after " + std::to_string(out.value.size()) + " of the plate's " +
                            std::to_string(record->values) + " wells" + kNothingSent};
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
        if (!lines) return {{}, fileName + " cannot be read" + kNothingSent};
        // The band file of a record (w6_col.dat ...) gives that record's rows.
        const RecordPlace* record = FindRecord(fileName.substr(0, fileName.rfind('.')));
        out = packBands(path, *lines, record ? record->values / 4 : 0);
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
    if (!lines) return {{}, fileName + " cannot be read" + kNothingSent};
    RecordSource out = packLeds(path, *lines);
    if (!out.ok()) return out;
    padTo(out.value, kLightDataBytes);
    return out;
}

}  // namespace tirmo::devicememory
