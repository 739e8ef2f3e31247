#pragma once
// What the run start and the run's end ask of the project: the current project and the
// instrument's reference project, the files a run start writes besides its run files (the
// project's set-up, the blank of the format, the reference factors), the factors the window
// records are adjusted with, and the blank a blank run leaves. The project subsystem implements
// it over the shared project state; it shows nothing itself, every notice goes to the message
// box or the status line.
#include <span>
#include <string>

namespace tirmo::acquisition {

class RunProject {
public:
    virtual ~RunProject() = default;
    virtual std::string CurrentProject() const = 0;
    // True when the instrument has an accepted reference run of the format.
    virtual bool HasInternalReference(const std::string& format) const = 0;
    // "_internal_reference" and the instrument's serial tag.
    virtual std::string ReferenceProjectName() const = 0;
    // Each false, after its own notice, when its file could not be written. project is a folder
    // name under reports, acquisitionFolder a full path.
    virtual bool WriteProjectSetup(const std::string& project) = 0;
    virtual bool CopyBlankToAcquisition(const std::string& format, const std::string& acquisitionFolder) = 0;
    // The factors of the format from the reference runs into the reference table and the
    // acquisition's factor_correction.txt; NeutralReferenceFactors sets every factor to 1.0.
    virtual bool ComputeInternalReference(const std::string& acquisitionFolder, const std::string& format) = 0;
    virtual void NeutralReferenceFactors() = 0;
    // The reference factors by well number.
    virtual std::span<const double> ReferenceFactors() const = 0;
    // A finished blank run becomes the blank of its format in the store; true when it was saved.
    virtual bool SaveBlankMeasurement(const std::string& folder, const std::string& format, double minutes) = 0;
    // The current project taken up again, as choosing it in the project list does: its set-up,
    // format and groups, and every window that shows them.
    virtual void ReloadProject() = 0;
};

}  // namespace tirmo::acquisition
