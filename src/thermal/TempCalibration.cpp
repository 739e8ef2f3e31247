#include "thermal/TempCalibration.h"

#include <cmath>
#include <optional>

#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"

namespace tirmo::thermal {
namespace {

constexpr const char* kTitle = "\"Temperature sensor parameters\"";

// The value of a "KEY=value" line when the key is the one wanted and the value lies strictly
// within (low, high); the default otherwise. nullopt when the line is malformed.
std::optional<double> keyedValue(const std::string& line, const std::string& key, double low, double high,
                                 double fallback)
{
    const size_t eq = line.find('=');
    if (eq == std::string::npos) return std::nullopt;
    const auto value = platform::ParseNumber(line.substr(eq + 1));  // "," or "." alike
    if (!value) return std::nullopt;
    if (line.substr(0, eq) != key) return fallback;
    return *value > low && *value < high ? *value : fallback;
}

}  // namespace

std::string CalibrationFolder(int serialNumber)
{
    return platform::ProgramPath(serialNumber >= 1 ? "config_SN" + std::to_string(serialNumber) : "config");
}

std::string TempFactorPath(int serialNumber)
{
    return platform::ProgramPath(
        (serialNumber >= 1 ? "config_SN" + std::to_string(serialNumber) : std::string("config")) + "/tempfactor.dat");
}

double RoundTo2(double x) { return double(platform::RoundHalfEven(x * 100.0)) / 100.0; }

LineDeltas DeltasFromNominal(double slope, double offset)
{
    const double nominal20 = 20 * kDefaultSlope + kDefaultOffset;
    const double nominal37 = 37 * kDefaultSlope + kDefaultOffset;
    return {nominal20 - (20 * slope + offset), nominal37 - (37 * slope + offset)};
}

TempFactorRead ReadTempFactorFile(const std::string& path)
{
    TempFactorRead result;
    if (!platform::FileExists(path)) {
        result.status = TempFactorStatus::Missing;
        return result;
    }
    const auto lines = platform::ReadLines(path);
    if (!lines || lines->size() < 3) {
        result.status = TempFactorStatus::Corrupt;
        return result;
    }
    const auto offset = keyedValue((*lines)[1], "OFFSET", -50, 50, kDefaultOffset);
    const auto slope = keyedValue((*lines)[2], "SLOPE", 0, 10, kDefaultSlope);
    if (!offset || !slope) {
        result.status = TempFactorStatus::Corrupt;
        return result;
    }
    const LineDeltas d = DeltasFromNominal(*slope, *offset);
    if (!(std::fabs(d.delta20) < 5 && std::fabs(d.delta37) < 5)) {
        result.status = TempFactorStatus::OutOfLimit;
        return result;
    }
    result.factors = {*offset, *slope};
    return result;
}

bool WriteTempFactorFile(const std::string& path, const TempFactors& factors, const std::string& decimalSeparator)
{
    auto number = [&](double v) {
        std::string text = platform::NumberText(RoundTo2(v));
        if (const size_t point = text.find('.'); point != std::string::npos) text.replace(point, 1, decimalSeparator);
        return text;
    };
    platform::TextFileWriter out(path);
    if (!out.ok()) return false;
    out.Line(kTitle);
    out.Line("OFFSET=" + number(factors.offset));
    out.Line("SLOPE=" + number(factors.slope));
    return out.Commit();
}

CalibrationFit FitTwoPoints(const CalibrationPoint& p1, const CalibrationPoint& p2, double currentReading)
{
    CalibrationFit fit;
    if (p1.reading == p2.reading) {
        fit.sameReading = true;
        return fit;
    }
    fit.m = (p1.temperature - p2.temperature) / (p1.reading - p2.reading);
    fit.b = p2.temperature - fit.m * p2.reading;
    fit.deltas = DeltasFromNominal(fit.m, fit.b);
    const double x = currentReading * fit.m + fit.b;
    const double y = currentReading * kDefaultSlope + kDefaultOffset;
    fit.accepted = !(std::fabs(fit.deltas.delta20) > 6 || std::fabs(fit.deltas.delta37) > 6 || std::fabs(x - y) >= 14);
    return fit;
}

}  // namespace tirmo::thermal
