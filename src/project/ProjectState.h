#pragma once
// The project as every window and the run share it: the current project, the blank in use with
// its tables, and the reference factors the run's records are adjusted with. The project panel
// shows and edits it; ProjectRunActions gives the run what it needs of it.
#include <span>
#include <string>
#include <vector>

#include "acquisition/RunProject.h"
#include "link/Protocol.h"
#include "link/RunSettings.h"
#include "project/CorrectionFolders.h"

namespace tirmo::project {

struct ProjectState {
    // The project the reports folder is read for; the start-up loads it and the shutdown saves
    // it for the instrument's serial number.
    std::string current_project;
    // The blank in use: its store header, its values by well and its time.
    std::string blank_header;
    std::vector<int> blank_values = std::vector<int>(385);
    int blank_lapse = 0;
    std::vector<double> reference_factor = std::vector<double>(385, 1.0);
    // Whoever applies a project when it is chosen (the project list) takes it up again when told.
    link::Watchers reload;
};

// The run's project actions over the shared project state and the console's instrument;
// notices go to the message box and the console's status line.
class ProjectRunActions : public acquisition::RunProject {
public:
    ProjectRunActions(link::Console& console, ProjectState& state) : console_(console), state_(state) {}

    std::string CurrentProject() const override { return state_.current_project; }
    bool HasInternalReference(const std::string& format) const override;
    std::string ReferenceProjectName() const override;
    bool WriteProjectSetup(const std::string& project) override;
    bool CopyBlankToAcquisition(const std::string& format, const std::string& acquisitionFolder) override;
    bool ComputeInternalReference(const std::string& acquisitionFolder, const std::string& format) override;
    void NeutralReferenceFactors() override;
    std::span<const double> ReferenceFactors() const override { return state_.reference_factor; }
    bool SaveBlankMeasurement(const std::string& folder, const std::string& format, double minutes) override;
    void ReloadProject() override { state_.reload.Notify(); }

private:
    CorrectionNotices notices() const;
    link::Console& console_;
    ProjectState& state_;
};

// The project's pjsetup.dat from the run settings' time and format and the temperature set
// point; false, after its message box, when it could not be written.
bool WriteProjectSetup(const std::string& project, const link::Session& session);

}  // namespace tirmo::project
