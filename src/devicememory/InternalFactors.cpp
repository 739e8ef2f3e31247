#include "devicememory/InternalFactors.h"

#include "devicememory/MemoryImage.h"
#include "platform/Clock.h"
#include "platform/ConfigFiles.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "project/FactorCorrectionFile.h"
#include "project/InternalReference.h"

namespace tirmo::devicememory {
namespace {

constexpr int kDefaultFactorBytes = 24;
constexpr int kFactorOne = 100;

}  // namespace

std::vector<std::string> FactoryDefaultFactorLines(const std::string& format)
{
    const project::ReferenceFormat f = project::ReferenceFormatOf(format);
    std::string wells = "well", factors = "mult_factor";
    for (int k = 1; k <= f.wells; ++k) {
        wells += " " + project::ReferenceWellName(k, f.rows);
        factors += " 1.00";
    }
    const std::string stamp = platform::FormatDate(platform::WallNow(), "yyyy/mm/dd_hh:mm:ss") + "_FACTORYDEFAULT";
    return {platform::Quoted(stamp), wells, factors, ""};
}

RecordSource RecalculateInternalFactors(const std::string& format, int serialNumber,
                                        const project::CorrectionNotices& notices)
{
    std::string folder = platform::ResolvePath(project::CalibrationFolder(serialNumber));
    const std::string target = platform::ResolvePath(project::InFolder(folder, "intfactor_" + format + ".dat"));
    RecordSource out;
    if (project::HasInternalReference(format, serialNumber) == 1) {
        project::ReferenceFactors factors{};
        const auto result = project::ComputeInternalReference(folder, format, serialNumber, true, factors, notices);
        const std::string source = platform::ResolvePath(project::InFolder(folder, project::kFactorFile));
        if (result.write != project::FactorWrite::Written || !platform::CopyTextFile(source, target))
            return {{}, project::BaseName(target) + " could not be renewed; nothing of this set was sent"};
        for (std::uint8_t code : result.codes) out.value += char(code);
    } else {
        if (!platform::WriteLines(target, FactoryDefaultFactorLines(format)))
            return {{}, project::BaseName(target) + " could not be written; nothing of this set was sent"};
        out.value.assign(kDefaultFactorBytes, char(kFactorOne));
    }
    if (out.value.size() < size_t(kRecordDataBytes)) out.value.resize(kRecordDataBytes, '\0');
    return out;
}

}  // namespace tirmo::devicememory
