#include "project/ProjectState.h"

#include <algorithm>

#include "link/Session.h"
#include "platform/Locale.h"
#include "project/BlankStore.h"
#include "project/InternalReference.h"
#include "project/ProjectNames.h"
#include "project/ProjectSetup.h"
#include "ui/Dialogs.h"

namespace tirmo::project {

bool WriteProjectSetup(const std::string& project, const link::Session& session)
{
    const link::RunSettings& run = session.run_settings;
    if (WriteProjectSetupFile(ProjectSetupPath(project), run.AcquisitionTime(), run.PlateFormat(),
                              session.thermal.set_point_text))
        return true;
    ui::dialogs().messageBox(kSetupWriteError);
    return false;
}

CorrectionNotices ProjectRunActions::notices() const
{
    CorrectionNotices n;
    n.message = [](const std::string& text) { ui::dialogs().messageBox(text); };
    n.status = [this](const std::string& text) { console_.SetStatus(text); };
    return n;
}

bool ProjectRunActions::HasInternalReference(const std::string& format) const
{
    return project::HasInternalReference(format, console_.session().serial_number) == 1;
}

std::string ProjectRunActions::ReferenceProjectName() const
{
    return "_internal_reference" + SerialTag(console_.session().serial_number);
}

bool ProjectRunActions::WriteProjectSetup(const std::string& project)
{
    return project::WriteProjectSetup(project, console_.session());
}

bool ProjectRunActions::CopyBlankToAcquisition(const std::string& format, const std::string& acquisitionFolder)
{
    BlankTables tables;
    const BlankCopy copy =
        project::CopyBlankToAcquisition(format, acquisitionFolder, console_.session().serial_number, tables, notices());
    std::vector<int>& values = state_.blank_values;
    std::copy_n(tables.values.begin(), std::min(tables.values.size(), values.size()), values.begin());
    state_.blank_lapse = tables.lapse;
    return copy.written;
}

bool ProjectRunActions::ComputeInternalReference(const std::string& acquisitionFolder, const std::string& format)
{
    std::string folder = acquisitionFolder;
    std::vector<double>& table = state_.reference_factor;
    project::ReferenceFactors factors = NeutralFactors();
    std::copy_n(table.begin(), std::min(factors.size(), table.size()), factors.begin());
    const InternalReferenceResult result =
        project::ComputeInternalReference(folder, format, console_.session().serial_number, false, factors, notices());
    std::copy_n(factors.begin(), std::min(factors.size(), table.size()), table.begin());
    return result.write == FactorWrite::Written;
}

void ProjectRunActions::NeutralReferenceFactors()
{
    std::vector<double>& f = state_.reference_factor;
    std::fill(f.begin(), f.begin() + std::min<size_t>(f.size(), 384), 1.0);
}

bool ProjectRunActions::SaveBlankMeasurement(const std::string& folder, const std::string& format, double minutes)
{
    return project::SaveBlankMeasurement(folder, format, minutes, console_.session().serial_number,
                                         platform::DecimalSeparator(), notices()) == BlankSave::Saved;
}

}  // namespace tirmo::project
