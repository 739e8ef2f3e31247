#include <gtest/gtest.h>

#include <filesystem>

#include "devicememory/CalibrationInstall.h"
#include "devicememory/LinkFlashPort.h"
#include "plate/BandFiles.h"
#include "platform/ProgramFolder.h"
#include "sim/SimFlash.h"
#include "support/FactoryCalibration.h"
#include "support/FakeClock.h"
#include "support/LinkFixture.h"
#include "support/ProgramFiles.h"
#include "support/TempFolder.h"

namespace tirmo::devicememory {
namespace {

using Texts = std::vector<std::string>;

class CalibrationInstallTest : public ::testing::Test {
protected:
    void SetUp() override { platform::SetProgramFolder(folder.path()); }
    std::string read(const std::string& relative) const { return test::ReadProgramFile(relative); }
    void write(const std::string& relative, const std::string& text) const { test::WriteProgramFile(relative, text); }
    bool exists(const std::string& relative) const { return platform::FileExists(platform::ProgramPath(relative)); }
    InstallReport recorder()
    {
        return [this](const std::string& t) { reports.push_back(t); };
    }

    test::TempFolder folder;
    Texts reports;
};

TEST_F(CalibrationInstallTest, InstallersCopyOnlyWhatIsMissingAndNeverReplace)
{
    const test::FactoryCalibration shared = test::WriteFactoryCalibration("config");
    for (const char* f : {"blank_p35.dat", "blank_w6.dat", "blank_w24.dat"})
        write(std::string("reports/_internal_blank_measurement/") + f, shared.sources.at(f));
    for (const char* f : {"p35_factor_correction.dat", "w6_factor_correction.dat", "w24_factor_correction.dat"})
        write(std::string("reports/_internal_reference/") + f, std::string(f) + "\nline two\n");
    // The instrument's own files, as its memory restored them.
    const Texts own{"config_SN12/w6_row.dat", "config_SN12/ledxy.dat", "reports/_internal_blank_measurementSN12/blank_w6.dat",
                    "reports/_internal_referenceSN12/w24_factor_correction.dat"};
    for (const std::string& f : own) write(f, "own");
    write("config_SN12/TEMPFACTOR.DAT", "own, in capitals");
    platform::MakeFolder(platform::ProgramPath("reports/_internal_referenceSN12"));

    plate::InstallFormatFiles("config_SN12", recorder());
    InstallLightCalFile("config_SN12", recorder());
    InstallTempFactorFile("config_SN12", recorder());
    InstallReferenceFactorFiles("SN12", recorder());
    InstallBlankFiles("SN12", recorder());

    EXPECT_TRUE(reports.empty()) << reports.front();
    for (const std::string& f : own) EXPECT_EQ(read(f), "own") << f;
    EXPECT_EQ(read("config_SN12/tempfactor.dat"), "own, in capitals") << "names match whatever their case";
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "/config_SN12/tempfactor.dat"));
    EXPECT_EQ(read("config_SN12/w6_col.dat"), shared.sources.at("w6_col.dat"));
    EXPECT_EQ(read("config_SN12/w24_row.dat"), shared.sources.at("w24_row.dat"));
    EXPECT_EQ(read("reports/_internal_blank_measurementSN12/blank_w24.dat"), shared.sources.at("blank_w24.dat"));
    EXPECT_EQ(read("reports/_internal_referenceSN12/p35_factor_correction.dat"),
              "p35_factor_correction.dat\r\nline two\r\n");
    for (const char* f : {"config_SN12/intfactor_w6.dat", "config_SN12/blank_w6.dat"})
        EXPECT_FALSE(exists(f)) << f << ": only the memory restores it into the calibration folder";
}

TEST_F(CalibrationInstallTest, WithNothingSharedOnlyTheBandFilesAreInstalled)
{
    platform::MakeFolder(platform::ProgramPath("config_SN12"));
    platform::MakeFolder(platform::ProgramPath("reports/_internal_blank_measurementSN12"));
    plate::InstallFormatFiles("config_SN12", recorder());
    InstallLightCalFile("config_SN12", recorder());
    InstallTempFactorFile("config_SN12", recorder());
    InstallBlankFiles("SN12", recorder());
    EXPECT_TRUE(reports.empty());
    Texts names;
    for (const auto& e : std::filesystem::directory_iterator(folder.path() + "/config_SN12"))
        names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (Texts{"p35_col.dat", "p35_row.dat", "w24_col.dat", "w24_row.dat", "w6_col.dat", "w6_row.dat"}));
    EXPECT_EQ(read("config_SN12/w24_row.dat"), [] {
        std::string all;
        for (const auto& l : plate::DefaultRowLines("w24")) all += l + "\r\n";
        return all;
    }()) << "the built-in file, 12 band rows";
}

TEST_F(CalibrationInstallTest, DamagedSharedFilesAreReportedAndTheInstallationGoesOn)
{
    const test::FactoryCalibration shared = test::WriteFactoryCalibration("config");
    write("config/w6_col.dat", "\"w6 column format\"\r\nh\r\n0,0,5,140\r\n1,0,five,140\r\n");
    write("config/ledxy.dat", "t\r\nh\r\n0,1,2,3\r\n");
    write("config/tempfactor.dat", "\"Temperature sensor parameters\"\r\nOFFSET -15\r\nSLOPE=1.7\r\n");
    write("reports/_internal_blank_measurement/blank_p35.dat", "\"none\"\r\nacqlapse=x\r\n");
    write("reports/_internal_blank_measurement/blank_w24.dat", shared.sources.at("blank_w24.dat"));
    platform::MakeFolder(platform::ProgramPath("config_SN12"));
    platform::MakeFolder(platform::ProgramPath("reports/_internal_blank_measurementSN12"));

    plate::InstallFormatFiles("config_SN12", recorder());
    InstallLightCalFile("config_SN12", recorder());
    InstallTempFactorFile("config_SN12", recorder());
    InstallBlankFiles("SN12", recorder());

    EXPECT_EQ(reports, (Texts{"config/w6_col.dat is damaged: built-in w6_col.dat installed",
                              "Not installed: config/ledxy.dat is damaged",
                              "Not installed: config/tempfactor.dat is damaged",
                              "Not installed: reports/_internal_blank_measurement/blank_p35.dat is damaged"}));
    std::string builtIn;
    for (const auto& l : plate::DefaultColumnLines("w6")) builtIn += l + "\r\n";
    EXPECT_EQ(read("config_SN12/w6_col.dat"), builtIn);
    EXPECT_EQ(read("config_SN12/w6_row.dat"), shared.sources.at("w6_row.dat")) << "the next file is installed";
    EXPECT_FALSE(exists("config_SN12/ledxy.dat"));
    EXPECT_FALSE(exists("config_SN12/tempfactor.dat"));
    EXPECT_FALSE(exists("reports/_internal_blank_measurementSN12/blank_p35.dat"));
    EXPECT_EQ(read("reports/_internal_blank_measurementSN12/blank_w24.dat"), shared.sources.at("blank_w24.dat"));
}

TEST_F(CalibrationInstallTest, AFolderThatCannotBeWrittenIsReportedFileByFile)
{
    for (const char* f : {"blank_p35.dat", "blank_w6.dat"})
        write(std::string("reports/_internal_blank_measurement/") + f, "\"none\"\r\nacqlapse=30\r\n\"#well\",\"Value\"\r\n0,1\r\n");
    InstallBlankFiles("SN12", recorder());  // the instrument's blank store was never made
    EXPECT_EQ(reports, (Texts{"Not installed: reports/_internal_blank_measurementSN12/blank_p35.dat cannot be written",
                              "Not installed: reports/_internal_blank_measurementSN12/blank_w6.dat cannot be written"}));
}

TEST_F(CalibrationInstallTest, OnlyAnInstrumentsFirstStartFindsItsFolderMissing)
{
    const InstrumentFolders first = PrepareInstrumentFolders(12);
    EXPECT_TRUE(first.firstStart);
    EXPECT_EQ(first.problem, "");
    for (const char* f : {"config_SN12", "reports/_internal_referenceSN12", "reports/_internal_blank_measurementSN12"})
        EXPECT_TRUE(platform::FolderExists(platform::ProgramPath(f))) << f;
    EXPECT_FALSE(PrepareInstrumentFolders(12).firstStart) << "the folder alone marks a known instrument";

    const InstrumentFolders none = PrepareInstrumentFolders(0);
    EXPECT_FALSE(none.firstStart);
    EXPECT_FALSE(platform::FolderExists(platform::ProgramPath("config_")));
    EXPECT_FALSE(platform::FolderExists(platform::ProgramPath("reports/_internal_reference")));
}

TEST_F(CalibrationInstallTest, AProgramFolderThatCannotTakeFoldersIsNoFirstStart)
{
    write("reports", "a file where the reports folder belongs");
    write("config_SN7", "and another");
    const InstrumentFolders f = PrepareInstrumentFolders(7);
    EXPECT_FALSE(f.firstStart);
    EXPECT_EQ(f.problem, "Cannot create the folder " + platform::ProgramPath("reports/_internal_referenceSN7"));
}

// The first start with instrument SN 12 on a computer whose config folder holds the shared
// files of an older installation.
class FirstStartTest : public test::LinkFixture {
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        platform::SetProgramFolder(folder.path());
        factory = test::PreloadFactoryCalibration(*sim, 12);
        test::WriteProgramFile("config/ledxy.dat", factory.sources.at("ledxy.dat"));
        test::WriteProgramFile("config/w6_col.dat", "\"w6 column format\"\r\nh\r\n0,0,1,2\r\n");
        notices.status = [this](const std::string& t) { status.push_back(t); };
        notices.message = [this](const std::string& t) { messages.push_back(t); };
    }
    std::string read(const std::string& relative) const { return test::ReadProgramFile(relative); }

    test::FakeClock clock;
    test::TempFolder folder;
    test::FactoryCalibration factory;
    LinkFlashPort port{console};
    MemoryNotices notices;
    Texts status, messages;
};

const Texts kGetting{"Getting Factory file: [Well_Format]", "Getting Factory file: [Light_Cal]",
                     "Getting Factory file: [Temp_factor]", "Getting Factory file: [Int_Factor]",
                     "Getting Factory file: [Blank_Factor]"};

TEST_F(FirstStartTest, TheFiveSetsAreRestoredInOrderAndWinOverTheSharedFiles)
{
    ASSERT_TRUE(PrepareInstrumentFolders(12).firstStart);
    const CalibrationDownload d = DownloadCalibration(port, 12, notices);
    EXPECT_EQ(status, kGetting);
    EXPECT_EQ(d.Text(), "");
    EXPECT_TRUE(d.notes.empty());
    EXPECT_TRUE(messages.empty());
    const auto restored = factory.Restored("20260314 15:09");
    for (const std::string& name : test::CalibrationFileNames())
        EXPECT_EQ(read("config_SN12/" + name), restored.at(name)) << name;
    EXPECT_FALSE(platform::FolderExists(platform::ProgramPath("config_")));
    EXPECT_GE(clock.sleptMs(), kDownloadStartPauseMs + kDownloadEndPauseMs);

    std::vector<std::pair<int, int>> reads, expected;
    for (const auto& f : sim->framesOf('F')) reads.push_back({f.a, f.b});
    for (int line = 4; line <= 24; line += 4) expected.push_back({240, line});
    for (int line = 4; line <= 72; line += 4) expected.push_back({243, line});
    for (int line = 4; line <= 16; line += 4) expected.push_back({241, line});
    for (int line = 4; line <= 12; line += 4) expected.push_back({242, line});
    EXPECT_EQ(reads, expected) << "well format, light, temperature, internal reference, blank";
}

TEST_F(FirstStartTest, ASetThatIsNotReadIsNamedAndItsSharedFileStandsIn)
{
    sim->with([](sim::SimState& s) {
        s.flash.fault(3, 4, sim::FlashFault::BadXor);
        s.flash.fault(2, 12, sim::FlashFault::BadXor);
    });
    PrepareInstrumentFolders(12);
    const CalibrationDownload d = DownloadCalibration(port, 12, notices);
    EXPECT_EQ(status, (Texts{kGetting[0], kGetting[1], "Light Calibration not found at TIRMO memory", kGetting[2],
                             kGetting[3], kGetting[4], "Blank Calibration not found at TIRMO memory"}));
    EXPECT_EQ(d.failed, (std::vector<CalibrationSet>{CalibrationSet::Light, CalibrationSet::Blank}));
    EXPECT_EQ(d.Text(), "Not read from TIRMO memory: [Light_Cal] [Blank_Factor]");
    EXPECT_EQ(read("config_SN12/ledxy.dat"), factory.sources.at("ledxy.dat")) << "copied from config";
    EXPECT_FALSE(platform::FileExists(platform::ProgramPath("config_SN12/blank_w24.dat")));
    EXPECT_TRUE(platform::FileExists(platform::ProgramPath("config_SN12/blank_p35.dat")));
}

TEST_F(FirstStartTest, WithoutASerialNumberNothingIsReadOrMade)
{
    EXPECT_EQ(DownloadCalibration(port, 0, notices).Text(), "");
    EXPECT_TRUE(status.empty());
    EXPECT_TRUE(sim->framesOf('F').empty());
    EXPECT_FALSE(platform::FolderExists(platform::ProgramPath("config_")));
}

}  // namespace
}  // namespace tirmo::devicememory
