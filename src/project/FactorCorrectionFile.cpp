#include "project/FactorCorrectionFile.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "acquisition/RunFiles.h"
#include "platform/ConfigFiles.h"
#include "platform/Clock.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"

namespace tirmo::project {

namespace {

constexpr size_t kStampDatePart = 20;  // the opening quote and "yyyy/mm/dd_hh:mm:ss"

std::string Joined(std::string head, const std::vector<std::string>& items)
{
    for (const auto& item : items) {
        head += ' ';
        head += item;
    }
    return head;
}

}  // namespace

ReferenceFactors NeutralFactors()
{
    ReferenceFactors f;
    f.fill(1.0);
    return f;
}

double LimitFactor(double factor)
{
    if (std::isnan(factor)) return 1.0;
    return std::clamp(factor, 0.0, kMaxFactor);
}

std::uint8_t FactorCode(double limitedFactor)
{
    // 2.55 x 100 comes out just below 255 in double precision, so the top code is 254.
    return std::uint8_t(std::clamp(std::floor(LimitFactor(limitedFactor) * 100.0), 0.0, 254.0));
}

FactorCodeString ReadFactorCorrection(const std::string& folder, ReferenceFactors& factors, FactorFileCheck* check)
{
    factors = NeutralFactors();
    FactorCodeString codes;
    FactorFileCheck found;
    const auto lines = platform::ReadLines(InFolder(folder, kFactorFile));
    found.no_factor_line = lines && (lines->size() < 3 || (*lines)[2].find("mult_factor") == std::string::npos);
    if (check) *check = found;
    if (!lines || found.no_factor_line) return codes;
    const auto items = platform::SplitOnSpaces((*lines)[2]);
    const auto wells = platform::SplitOnSpaces((*lines)[1]);
    for (size_t k = 1; k < items.size() && int(k) <= kMaxFactorValues; ++k) {
        const auto value = acquisition::ReadDecimal(items[k]);
        if (check) {
            if (!value) {
                if (check->not_a_number.empty()) check->not_a_number = std::string(items[k]);
            } else if (!(*value >= 0 && *value <= kLargestRunFactor)) {
                if (check->out_of_range.empty()) check->out_of_range = std::string(items[k]);
            } else if (*value > kMaxFactor) {
                const std::string well = k < wells.size() ? std::string(wells[k]) : "well " + std::to_string(k);
                check->limited.push_back(well + " " + std::string(items[k]));
            }
        }
        const double f = value ? LimitFactor(*value) : 1.0;
        factors[k - 1] = f;
        codes.push_back(FactorCode(f));
    }
    return codes;
}

std::string ReadFactorCorrectionStamp(const std::string& folder)
{
    const auto lines = platform::ReadLines(InFolder(folder, kFactorFile));
    if (!lines || lines->empty()) return {};
    std::string s = (*lines)[0];
    s.erase(std::remove(s.begin(), s.end(), '"'), s.end());
    return s;
}

std::string FactorBackupName(const std::string& firstLine, std::chrono::system_clock::time_point now)
{
    if (firstLine.size() >= kStampDatePart) {
        std::string digits;
        for (char c : firstLine.substr(0, kStampDatePart))
            if (c != ':' && c != '/' && c != '_' && c != '"') digits += c;
        // Only a date may become a file name: a garbled first line must not name a path.
        const bool date = digits.size() == 14 &&
                          std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); });
        if (date) return digits + "_factor_correction.txt";
    }
    return "factor_correction_bk" + platform::FormatDate(now, "yyyymmddhhmmss") + ".txt";
}

FactorBackup BackupFactorCorrection(const std::string& folder)
{
    const std::string path = InFolder(folder, kFactorFile);
    if (!platform::FileExists(path)) return FactorBackup::NoFile;
    const auto lines = platform::ReadLines(path);
    if (!lines) return FactorBackup::Failed;
    const std::string name = FactorBackupName(lines->empty() ? std::string() : lines->front(), platform::WallNow());
    return platform::CopyTextFile(path, InFolder(folder, name)) ? FactorBackup::Copied : FactorBackup::Failed;
}

std::string FactorText(double value) { return platform::Format(value, "0.00"); }

std::vector<std::string> FactorFileLines(const FactorFile& file)
{
    std::vector<std::string> lines{"\"" + file.stamp + "\"", Joined("well", file.wells),
                                   Joined("mult_factor", file.factor_texts), ""};
    if (!file.from_runs) return lines;
    lines.push_back("<internal_reference_weight>");
    for (const auto& run : file.runs) {
        std::vector<std::string> items;
        for (double w : run.weights) items.push_back(FactorText(w));
        lines.push_back(Joined(run.name, items));
    }
    lines.push_back("");
    lines.push_back("<internal_reference_raw_values>");
    for (const auto& run : file.runs) {
        std::vector<std::string> items;
        for (long r : run.raw) items.push_back(std::to_string(r));
        lines.push_back(Joined(run.name, items));
    }
    return lines;
}

std::string RunsStamp(std::chrono::system_clock::time_point now, const std::string& referenceFolder)
{
    return platform::FormatDate(now, "yyyy/mm/dd_hh:mm:ss") + "_" + referenceFolder;
}

std::string FactoryStamp(std::chrono::system_clock::time_point now, int serialNumber)
{
    return platform::FormatDate(now, "yyyy/mm/dd_hh:mm:ss") + "_FACTORYDEFAULT[" + SerialTag(serialNumber) + "]";
}

std::string DefaultStamp(std::chrono::system_clock::time_point now)
{
    return platform::FormatDate(now, "yyyy/mm/dd_hh:mm:ss") + "_DEFAULT=1.0";
}

FactorWrite WriteFactorCorrection(const std::string& folder, const FactorFile& file, const CorrectionNotices& notices)
{
    if (BackupFactorCorrection(folder) == FactorBackup::Failed) {
        notices.Status(kFactorBackupFailed + folder);
        return FactorWrite::BackupFailed;
    }
    if (!platform::WriteLines(InFolder(folder, kFactorFile), FactorFileLines(file))) {
        notices.Status(kFactorNotWritten + folder);
        return FactorWrite::WriteFailed;
    }
    return FactorWrite::Written;
}

}  // namespace tirmo::project
