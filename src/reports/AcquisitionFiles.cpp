#include "reports/AcquisitionFiles.h"

#include <algorithm>
#include <cmath>

#include "platform/Convert.h"
#include "platform/TextFile.h"
#include "reports/ReportNumbers.h"

namespace tirmo::reports {

namespace {

constexpr int kMaxFactors = 383;  // as many as the instrument's factor files carry

std::string WithoutQuotes(std::string s)
{
    s.erase(std::remove(s.begin(), s.end(), '"'), s.end());
    return s;
}

// A whole number filling the text (blanks around it allowed).
std::optional<long> WholeNumber(std::string_view text)
{
    size_t used = 0;
    const double v = LeadingNumber(text, &used);
    if (used == 0 || platform::Trim(text.substr(used)).size() != 0) return std::nullopt;
    if (!(v > -2147483649.0 && v < 2147483648.0) || v != std::floor(v)) return std::nullopt;
    return long(v);
}

}  // namespace

std::string InFolder(const std::string& folder, const std::string& name)
{
    if (folder.empty()) return name;
    const char last = folder.back();
    return (last == '/' || last == '\\') ? folder + name : folder + "/" + name;
}

SubprojectSetup ReadSubprojectSetup(const std::string& folder)
{
    SubprojectSetup s;
    const auto lines = platform::ReadLines(InFolder(folder, "subpj.dat"));
    if (!lines) return s;
    s.found = true;
    if (lines->size() > 0) s.title = (*lines)[0];
    if (lines->size() > 1) {
        const std::string& l = (*lines)[1];
        const size_t at = l.find("acq_time=");
        if (at != std::string::npos) {
            size_t used = 0;
            const double v = LeadingNumber(std::string_view(l).substr(at + 9), &used);
            if (used > 0 && v > -32769.0 && v < 32768.0) s.acq_time = int(platform::RoundHalfEven(v));
        }
    }
    if (lines->size() > 2) {
        const std::string& l = (*lines)[2];
        const size_t at = l.find("plate_format=");
        if (at != std::string::npos) s.plate_format = platform::Trim(l.substr(at + 13));
    }
    return s;
}

std::string ReportSubprojectName(const std::string& folder)
{
    const SubprojectSetup s = ReadSubprojectSetup(folder);
    return s.title == kUnnamedAcquisition ? std::string() : s.title;
}

int ReadSerialFile(const std::string& folder)
{
    const auto lines = platform::ReadLines(InFolder(folder, "serial.dat"));
    if (!lines || lines->empty() || (*lines)[0].size() < 3) return 0;
    const double v = LeadingNumber(std::string_view((*lines)[0]).substr(2));
    return (v > -32769.0 && v < 32768.0) ? int(platform::RoundHalfEven(v)) : 0;
}

bool ParseBlankFile(const std::string& format, const std::string& folder, Corrections& c)
{
    c.blank_values.fill(0);
    c.blank_lapse = 30;
    const auto lines = platform::ReadLines(InFolder(folder, "blank_" + format + ".dat"));
    if (!lines) return false;
    if (lines->size() > 1) {
        const std::string& l = (*lines)[1];
        const size_t eq = l.find('=');
        if (eq != std::string::npos)
            if (auto v = WholeNumber(std::string_view(l).substr(eq + 1)); v && *v >= -32768 && *v <= 32767)
                c.blank_lapse = int(*v);
    }
    for (size_t i = 3; i < lines->size(); ++i) {
        const std::string& l = (*lines)[i];
        const size_t comma = l.find(',');
        if (comma == std::string::npos) continue;
        const auto index = WholeNumber(std::string_view(l).substr(0, comma));
        const auto value = WholeNumber(std::string_view(l).substr(comma + 1));
        if (!index || !value || *index < 0 || *index >= kCorrectionEntries) continue;
        if (*value < -32768 || *value > 32767) continue;
        c.blank_values[size_t(*index)] = int(*value);
    }
    return true;
}

bool ReadFactorCorrection(const std::string& folder, Corrections& c)
{
    c.well_factor.fill(1.0);
    const auto lines = platform::ReadLines(InFolder(folder, "factor_correction.txt"));
    if (!lines || lines->size() < 3) return false;
    const std::string& l = (*lines)[2];
    if (l.find("mult_factor") == std::string::npos) return false;
    // The values follow the line's first item, separated by blanks.
    size_t i = l.find(' ');
    int k = 0;
    while (i != std::string::npos && k < kMaxFactors) {
        while (i < l.size() && l[i] == ' ') ++i;
        if (i >= l.size()) break;
        const size_t next = l.find(' ', i);
        const double v = LeadingNumber(std::string_view(l).substr(i, next == std::string::npos ? l.npos : next - i));
        c.well_factor[size_t(k++)] = std::clamp(v, 0.0, 2.55);
        i = next;
    }
    return true;
}

std::string ReadFactorCorrectionStamp(const std::string& folder)
{
    const auto lines = platform::ReadLines(InFolder(folder, "factor_correction.txt"));
    if (!lines || lines->empty()) return {};
    return WithoutQuotes((*lines)[0]);
}

}  // namespace tirmo::reports
