#include "reports/AcquisitionFiles.h"

#include <algorithm>

#include "platform/Convert.h"
#include "platform/TextFile.h"
#include "project/BlankStore.h"
#include "project/FactorCorrectionFile.h"
#include "reports/ReportNumbers.h"

namespace tirmo::reports {

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

bool ParseBlankFile(const std::string& format, const std::string& folder, Corrections& c,
                    const std::function<void(const std::string&)>& message)
{
    project::CorrectionNotices notices;
    notices.message = message;
    project::BlankTables tables;
    const auto state = project::ParseBlankFile(format, folder, tables, notices);
    std::copy(tables.values.begin(), tables.values.end(), c.blank_values.begin());
    c.blank_lapse = tables.lapse;
    return state == project::BlankFileState::Read;
}

FactorRead ReadFactorCorrection(const std::string& folder, Corrections& c)
{
    project::ReferenceFactors factors;
    project::FactorFileCheck check;
    FactorRead out;
    out.read = !project::ReadFactorCorrection(folder, factors, &check).empty();
    std::copy(factors.begin(), factors.end(), c.well_factor.begin());
    const std::string path = InFolder(folder, project::kFactorFile);
    if (!check.not_a_number.empty())
        out.refusal = path + ", line 3: \"" + check.not_a_number.substr(0, 40) + "\" is not a factor (a number such as 1.00)";
    else if (!check.out_of_range.empty())
        out.refusal = path + ", line 3: \"" + check.out_of_range.substr(0, 40) +
                      "\" is not a factor reference runs give (0 to " + platform::NumberText(project::kLargestRunFactor) + ")";
    if (check.no_factor_line) out.note = path + ": no \"mult_factor\" on line 3, every factor is 1.0";
    if (!check.limited.empty()) {
        constexpr size_t kShown = 3;
        out.note = path + ", line 3: factors above 2.55 are taken as 2.55: ";
        for (size_t i = 0; i < std::min(kShown, check.limited.size()); ++i)
            out.note += (i ? ", " : "") + check.limited[i].substr(0, 60);
        if (check.limited.size() > kShown) out.note += " and " + std::to_string(check.limited.size() - kShown) + " more";
    }
    return out;
}

std::string ReadFactorCorrectionStamp(const std::string& folder) { return project::ReadFactorCorrectionStamp(folder); }

}  // namespace tirmo::reports
