#include "devicememory/CalibrationInstall.h"

#include "platform/ConfigFiles.h"
#include "lighting/LedMap.h"
#include "plate/BandFiles.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "project/BlankFile.h"
#include "project/CorrectionFolders.h"
#include "thermal/TempCalibration.h"

namespace tirmo::devicememory {
namespace {

// Whether a readable source file is one its own reader would not take whole.
using DamageTest = std::function<bool(const std::string& path)>;

bool ledPositionsDamaged(const std::string& path)
{
    const lighting::LedFileRead read = lighting::ReadLedFile(path, lighting::LedFileKind::Positions);
    return read.rows.empty() || !read.skipped.empty();
}

bool tempFactorDamaged(const std::string& path)
{
    return thermal::ReadTempFactorFile(path).status == thermal::TempFactorStatus::Corrupt;
}

bool blankDamaged(const std::string& path)
{
    return project::ReadBlankFile(path).state == project::BlankFileState::Garbled;
}

// Copies sourceDir/file to targetDir/file (both under the program folder) when the target is
// missing and the source is there and sound.
void installShared(const std::string& targetDir, const std::string& sourceDir, const std::string& file,
                   const DamageTest& damaged, const InstallReport& report)
{
    auto tell = [&report](const std::string& text) {
        if (report) report(text);
    };
    const std::string target = platform::ProgramPath(targetDir + "/" + file);
    if (platform::FileExists(target)) return;
    const std::string source = platform::ProgramPath(sourceDir + "/" + file);
    if (!platform::FileExists(source)) return;
    if (!platform::ReadLines(source)) return tell("Not installed: " + sourceDir + "/" + file + " cannot be read");
    if (damaged && damaged(source)) return tell("Not installed: " + sourceDir + "/" + file + " is damaged");
    if (!platform::CopyTextFile(source, target)) tell("Not installed: " + targetDir + "/" + file + " cannot be written");
}

}  // namespace

void InstallLightCalFile(const std::string& folder, const InstallReport& report)
{
    installShared(folder, "config", lighting::kLedPositionsName, ledPositionsDamaged, report);
}

void InstallTempFactorFile(const std::string& folder, const InstallReport& report)
{
    installShared(folder, "config", "tempfactor.dat", tempFactorDamaged, report);
}

void InstallReferenceFactorFiles(const std::string& tag, const InstallReport& report)
{
    // No reader of these files exists to judge them by: they are copied as long as they read.
    for (const char* file : {"p35_factor_correction.dat", "w6_factor_correction.dat", "w24_factor_correction.dat"})
        installShared("reports/_internal_reference" + tag, "reports/_internal_reference", file, {}, report);
}

void InstallBlankFiles(const std::string& tag, const InstallReport& report)
{
    for (const char* file : {"blank_p35.dat", "blank_w6.dat", "blank_w24.dat"})
        installShared("reports/_internal_blank_measurement" + tag, "reports/_internal_blank_measurement", file,
                      blankDamaged, report);
}

InstrumentFolders PrepareInstrumentFolders(int serialNumber)
{
    InstrumentFolders result;
    if (serialNumber < 1) return result;
    const std::string tag = project::SerialTag(serialNumber);
    for (const std::string& relative :
         {"reports/_internal_reference" + tag, "reports/_internal_blank_measurement" + tag}) {
        if (!platform::MakeFolder(platform::ProgramPath(relative)) && result.problem.empty())
            result.problem = "Cannot create the folder " + platform::ProgramPath(relative);
    }
    const std::string config = project::CalibrationFolder(serialNumber);
    if (platform::FolderExists(config)) return result;
    if (!platform::MakeFolder(config)) {
        if (result.problem.empty()) result.problem = "Cannot create the folder " + config;
        return result;
    }
    result.firstStart = true;
    return result;
}

std::string SetLabel(CalibrationSet set)
{
    switch (set) {
    case CalibrationSet::WellFormat: return "Well_Format";
    case CalibrationSet::Light: return "Light_Cal";
    case CalibrationSet::Temperature: return "Temp_factor";
    case CalibrationSet::InternalReference: return "Int_Factor";
    case CalibrationSet::Blank: return "Blank_Factor";
    }
    return {};
}

std::string GettingText(CalibrationSet set) { return "Getting Factory file: [" + SetLabel(set) + "]"; }

std::string CalibrationDownload::Text() const
{
    if (failed.empty()) return {};
    std::string text = "Not read from TIRMO memory:";
    for (CalibrationSet set : failed) text += " [" + SetLabel(set) + "]";
    return text;
}

CalibrationDownload DownloadCalibration(FlashPort& port, int serialNumber, const MemoryNotices& notices)
{
    CalibrationDownload download;
    if (serialNumber < 1) return download;
    const std::string tag = project::SerialTag(serialNumber);
    const std::string folderName = "config_" + tag;
    const std::string folder = project::CalibrationFolder(serialNumber);
    const InstallReport report = [&](const std::string& text) {
        download.notes.push_back(text);
        notices.Status(text);
    };
    platform::Sleep(kDownloadStartPauseMs);
    for (CalibrationSet set : kCalibrationSets) {
        notices.Status(GettingText(set));
        if (ReadCalibrationSet(set, port, folder, notices).Result() != 0) download.failed.push_back(set);
        switch (set) {
        case CalibrationSet::WellFormat: plate::InstallFormatFiles(folderName, report); break;
        case CalibrationSet::Light: InstallLightCalFile(folderName, report); break;
        case CalibrationSet::Temperature: InstallTempFactorFile(folderName, report); break;
        case CalibrationSet::InternalReference: InstallReferenceFactorFiles(tag, report); break;
        case CalibrationSet::Blank: InstallBlankFiles(tag, report); break;
        }
    }
    platform::Sleep(kDownloadEndPauseMs);
    return download;
}

}  // namespace tirmo::devicememory
