#include <gtest/gtest.h>

#include <filesystem>

#include "devicememory/CalibrationReaders.h"
#include "devicememory/LinkFlashPort.h"
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

// An instrument whose memory holds the backup of a factory's calibration files, and the
// calibration folder of serial number 12 to restore them into.
class CalibrationReadersTest : public test::LinkFixture {
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        platform::SetProgramFolder(folder.path());
        factory = test::PreloadFactoryCalibration(*sim, 12);
        platform::MakeFolder(target());
        notices.status = [this](const std::string& t) { status.push_back(t); };
        notices.message = [this](const std::string& t) { messages.push_back(t); };
        notices.progress = [this](const std::string& t) { progress.push_back(t); };
    }
    std::string target() const { return platform::ProgramPath("config_SN12"); }
    std::string file(const std::string& name) const { return test::ReadProgramFile("config_SN12/" + name); }
    size_t readsOf(int bank, int line) const
    {
        size_t n = 0;
        for (const auto& f : sim->framesOf('F'))
            if (f.a == 240 + bank && f.b == line) ++n;
        return n;
    }
    Texts folderEntries() const
    {
        Texts names;
        for (const auto& e : std::filesystem::directory_iterator(target())) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    test::FakeClock clock;
    test::TempFolder folder;
    test::FactoryCalibration factory;
    LinkFlashPort port{console};
    MemoryNotices notices;
    Texts status, messages, progress;
};

TEST_F(CalibrationReadersTest, TheFiveReadersRestoreTheFilesTheMemoryWasMadeFrom)
{
    for (CalibrationSet set : kCalibrationSets) {
        const SetReading r = ReadCalibrationSet(set, port, target(), notices);
        EXPECT_EQ(r.Result(), 0);
        EXPECT_TRUE(r.missing.empty());
    }
    const auto restored = factory.Restored("20260314 15:09");
    for (const std::string& name : test::CalibrationFileNames()) EXPECT_EQ(file(name), restored.at(name)) << name;
    EXPECT_EQ(folderEntries().size(), 14u) << "no temporary files are left";
    EXPECT_TRUE(status.empty());
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(sim->framesOf('F').size(), 6u + 18u + 1u + 3u + 3u) << "headers and the end block are never read";
    ASSERT_EQ(progress.size(), 18u);
    EXPECT_EQ(progress.front(), "LEDXY <- 1");
    EXPECT_EQ(progress.back(), "LEDXY <- 18");
}

TEST_F(CalibrationReadersTest, ABadXorOnOneRecordLeavesItsOldFileAndSaysNotFound)
{
    test::WriteProgramFile("config_SN12/p35_row.dat", "old");
    test::WriteProgramFile("config_SN12/w6_col.dat", "old");
    sim->with([](sim::SimState& s) { s.flash.fault(0, 16, sim::FlashFault::BadXor); });
    const SetReading r = ReadWellFormatCalibrationFromDevice(port, target(), notices);
    EXPECT_EQ(r.Result(), -1);
    EXPECT_EQ(r.missing, Texts{"p35_row"});
    EXPECT_EQ(status, Texts{"Well Format Calibration not found at TIRMO memory"});
    EXPECT_GE(clock.sleptMs(), kNotFoundPauseMs);
    EXPECT_EQ(file("p35_row.dat"), "old");
    const auto restored = factory.Restored("");
    EXPECT_EQ(file("w6_col.dat"), restored.at("w6_col.dat")) << "the records that were found are written";
    EXPECT_EQ(file("w24_row.dat"), restored.at("w24_row.dat")) << "the records after the bad one are read";
    EXPECT_EQ(readsOf(0, 16), 3u);
    EXPECT_TRUE(messages.empty());
}

TEST_F(CalibrationReadersTest, EachSetSaysNotFoundOnceWhenTheMemoryIsErased)
{
    sim->with([](sim::SimState& s) { s.flash.erase(); });
    test::WriteProgramFile("config_SN12/blank_w6.dat", "old blank");
    EXPECT_FALSE(ReceiveCalibrationSets({true, true, true, true, true}, port, target(), notices));
    EXPECT_EQ(progress.back(), "Not restored: Well Format, Led XY, Temp Factor, Internal Ref, Blank");
    EXPECT_EQ(status, (Texts{"Well Format Calibration not found at TIRMO memory",
                             "Light Calibration not found at TIRMO memory",
                             "Temperature Calibration not found at TIRMO memory",
                             "Internal REF Calibration not found at TIRMO memory",
                             "Blank Calibration not found at TIRMO memory"}));
    EXPECT_EQ(folderEntries(), Texts{"blank_w6.dat"});
    EXPECT_EQ(file("blank_w6.dat"), "old blank");
}

TEST_F(CalibrationReadersTest, ASpoiledReplyWhoseDataIsWholeStillRestoresTheRecord)
{
    // A wrong reply check or a lost last byte is rejected three times, but the block's bytes are
    // those of the record, whose own name and check byte hold.
    test::QuickTimeouts quick;  // a short reply waits for its last byte
    const std::pair<sim::FlashFault, int> cases[] = {
        {sim::FlashFault::WrongCheck, -1}, {sim::FlashFault::Short, -1}, {sim::FlashFault::Short, 1}};
    for (const auto& [fault, count] : cases) {
        sim->clearLog();
        sim->with([&](sim::SimState& s) { s.flash.fault(1, 4, fault, count); });
        std::filesystem::remove(target() + "/tempfactor.dat");
        EXPECT_EQ(ReadTemperatureCalibrationFromDevice(port, target(), notices).Result(), 0);
        EXPECT_EQ(file("tempfactor.dat"), factory.sources.at("tempfactor.dat"));
        EXPECT_EQ(readsOf(1, 4), count < 0 ? 3u : 2u);
    }
    EXPECT_TRUE(status.empty());
}

TEST_F(CalibrationReadersTest, OneBadLightBlockLosesTheWholeLightRecord)
{
    test::WriteProgramFile("config_SN12/ledxy.dat", "old");
    sim->with([](sim::SimState& s) { s.flash.fault(3, 40, sim::FlashFault::BadXor); });
    EXPECT_EQ(ReadLightCalibrationFromDevice(port, target(), notices).Result(), -1);
    EXPECT_EQ(file("ledxy.dat"), "old");
    EXPECT_EQ(status, Texts{"Light Calibration not found at TIRMO memory"});
    EXPECT_EQ(progress.size(), 18u) << "every block is read before the record is tested";
}

TEST_F(CalibrationReadersTest, AFileThatCannotBeWrittenStopsTheReaderWithItsMessage)
{
    test::WriteProgramFile("config_SN12/p35_col.dat", "old");
    std::filesystem::create_directory(target() + "/w6_row.dat");  // the name is taken
    const SetReading r = ReadWellFormatCalibrationFromDevice(port, target(), notices);
    EXPECT_EQ(r.outcome, SetReading::Outcome::Error);
    EXPECT_EQ(r.unwritten, "w6_row.dat");
    EXPECT_EQ(messages, Texts{"Error reading Well Format Calibration from TIRMO equipment memory"});
    EXPECT_TRUE(status.empty()) << "no not-found text after an error";
    EXPECT_EQ(sim->framesOf('F').size(), 2u) << "the records after it are not read";
    EXPECT_EQ(file("p35_col.dat"), "old");
    EXPECT_EQ(folderEntries(), (Texts{"p35_col.dat", "w6_col.dat", "w6_row.dat"})) << "no temporary file is left";
}

TEST_F(CalibrationReadersTest, AMissingFolderIsAnErrorOfTheFirstRecord)
{
    const std::string gone = platform::ProgramPath("config_SN99");
    for (CalibrationSet set : kCalibrationSets) {
        messages.clear();
        EXPECT_EQ(ReadCalibrationSet(set, port, gone, notices).outcome, SetReading::Outcome::Error);
        EXPECT_EQ(messages, Texts{ReadErrorText(set)});
    }
    EXPECT_FALSE(platform::FolderExists(gone));
    EXPECT_EQ(ReadErrorText(CalibrationSet::InternalReference),
              "Error reading Internal REF Calibration from TIRMO equipment memory");
}

}  // namespace
}  // namespace tirmo::devicememory
