#include <gtest/gtest.h>

#include <filesystem>

#include "devicememory/CalibrationReaders.h"
#include "devicememory/CalibrationWriters.h"
#include "devicememory/LinkFlashPort.h"
#include "devicememory/MemoryImage.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "sim/InstrumentSimulator.h"
#include "sim/SimFlash.h"
#include "support/FactoryCalibration.h"
#include "support/FakeClock.h"
#include "support/LinkFixture.h"
#include "support/ProgramFiles.h"
#include "support/TempFolder.h"

namespace tirmo::devicememory {
namespace {

constexpr std::array<bool, 5> kAll{true, true, true, true, true};

// Instrument 57's calibration files on the PC (the blanks in the blank store), an instrument
// whose memory is erased, and SEND over the link to it.
class CalibrationWritersTest : public test::LinkFixture {
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        platform::SetProgramFolder(folder.path());
        clock.setWall(test::LocalTime(2026, 3, 14, 15, 9, 0));
        session.serial_number = 57;
        factory = test::WriteFactoryCalibration("config_SN57");
        for (const char* f : {"w6", "p35", "w24"}) {
            const std::string name = std::string("blank_") + f + ".dat";
            test::WriteProgramFile("reports/_internal_blank_measurementSN57/" + name, factory.sources.at(name));
        }
        context.notices.message = [this](const std::string& t) { messages.push_back(t); };
        context.notices.progress = [this](const std::string& t) { progress.push_back(t); };
    }
    std::string data(int bank, int line)
    {
        return sim->with([&](sim::SimState& s) { return s.flash.block(bank, line); }).substr(24);
    }
    int commitsAt(int bank) const
    {
        int n = 0;
        for (const auto& f : sim->framesOf('F')) n += f.a == bank ? 1 : 0;
        return n;
    }
    void dropEchoes(int after, int count)
    {
        sim->with([&](sim::SimState& s) { s.flash.dropEchoes(after, count); return 0; });
    }

    test::FakeClock clock;
    test::QuickTimeouts quick;
    test::TempFolder folder;
    test::FactoryCalibration factory;
    LinkFlashPort port{console};
    WriterContext context{port, 57, {}, {}};
    std::vector<std::string> messages, progress;
};

TEST_F(CalibrationWritersTest, WhatIsSentIsWhatTheStartUpRestores)
{
    ASSERT_TRUE(SendCalibrationSets(kAll, context));
    EXPECT_TRUE(messages.empty()) << messages.front();
    EXPECT_EQ(progress.back(), "Done");
    EXPECT_EQ(sim->with([](sim::SimState& s) { return s.flash.block(1, 0); }).substr(48, 24),
              Padded("Internal_factor//", 24))
        << "the internal reference goes after the temperature";

    // The reading's stamp: 16:00 when it starts.
    clock.setWall(test::LocalTime(2026, 3, 14, 16, 0, 0) - std::chrono::milliseconds(long(clock.monotonicMs() - 1000)));
    const std::string target = folder.path() + "/restored";
    platform::MakeFolder(target);
    EXPECT_TRUE(ReceiveCalibrationSets(kAll, port, target, context.notices));
    EXPECT_EQ(progress.back(), "Done");
    const auto restored = factory.Restored("20260314 16:00");
    for (const std::string& name : test::CalibrationFileNames()) {
        const std::string got = test::ReadProgramFile("restored/" + name);
        if (name.rfind("intfactor_", 0) == 0) {
            // Renewed before sending: no reference run on this PC gives the factory default.
            const std::string renewed = test::ReadProgramFile("config_SN57/" + name);
            EXPECT_EQ(got.substr(got.find("\r\n")), renewed.substr(renewed.find("\r\n"), got.size() - got.find("\r\n"))) << name;
        } else {
            EXPECT_EQ(got, restored.at(name)) << name;
        }
    }
}

TEST_F(CalibrationWritersTest, LostEchoes)
{
    struct Case {
        const char* what;
        int after, count;
        bool done;
        int bank1Commits;
        std::string message;
        int headerReadsWrong = 0;  // replies to reads of the header that come back spoilt (-1: all)
    };
    // The temperature set: the header group (96 bytes), then its record.
    const Case cases[] = {
        {"the header read back wrongly once: its group once more", 0, 0, true, 3, "", 3},
        {"the header read back wrongly every time", 0, 0, false, 2,
         "Error writingBlank_measure//\nTemperature Calibration, bank 1, memory line 0: the memory read back differs", -1},
        {"one echo lost in the record: written once more", 96 + 30, 1, true, 2, ""},
        {"one echo lost in the header: its group once more", 10, 1, true, 2, ""},
        {"every echo lost from the record on", 96 + 30, -1, false, 1,
         "Error writingTempfactor:1L_2x1i/\nTemperature Calibration, bank 1, memory line 4: no echo for buffer line 0"},
    };
    test::WriteProgramFile("config_SN57/tempfactor.dat", "\"Temperature sensor parameters\"\r\nOFFSET=-16.34\r\nSLOPE=1.732\r\n");
    for (const Case& c : cases) {
        sim->with([](sim::SimState& s) { s.flash.erase(); return 0; });
        sim->clearLog();
        messages.clear();
        dropEchoes(c.after, c.count);
        sim->with([&](sim::SimState& s) { s.flash.faults = {{{1, 0}, {sim::FlashFault::BadXor, c.headerReadsWrong}}}; });
        const bool done = SendCalibrationSets({false, false, true, false, false}, context);
        dropEchoes(0, 0);
        EXPECT_EQ(done, c.done) << c.what;
        EXPECT_EQ(commitsAt(1), c.bank1Commits) << c.what;
        EXPECT_EQ(progress.back(), c.done ? "Done" : "Not written: Temp Factor") << c.what;
        EXPECT_EQ(messages, c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message}) << c.what;
        EXPECT_EQ(data(1, 4).substr(0, 4) == std::string("\x86\x62\x00\xAD", 4), c.done) << c.what << ": -16.34 and 1.732";
    }
}

TEST_F(CalibrationWritersTest, AReadBackThatDiffersTwiceIsAnErrorAndTheOtherRecordsStillGo)
{
    sim->with([](sim::SimState& s) { s.flash.fault(0, 8, sim::FlashFault::BadXor); return 0; });
    EXPECT_FALSE(SendCalibrationSets({true, false, false, false, false}, context));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].substr(0, 28), "Error writingw6_row:1L_06x4/");
    EXPECT_NE(messages[0].find("bank 0, memory line 8: the memory read back differs"), std::string::npos);
    EXPECT_EQ(commitsAt(0), 1 + 5 + 2 + 1) << "header, five records once, w6_row twice, the end group";
    EXPECT_EQ(progress.back(), "Not written: Well Format");
    sim->with([](sim::SimState& s) { s.flash.faults = {{{0, 28}, {sim::FlashFault::BadXor, -1}}}; });
    messages.clear();
    EXPECT_FALSE(SendCalibrationSets({true, false, false, false, false}, context));
    EXPECT_EQ(messages, std::vector<std::string>{"Error writingEND//\nWell Format Calibration, bank 0, memory line 28: the memory read back differs"});
}

// A changed ledxy.dat, sent over an older light set, stops after five groups; beyond them it swaps two
// coordinates, so the old rest has the new XOR: only a record line written last tells the mix.
TEST_F(CalibrationWritersTest, ALightRecordCutShortIsNotRestored)
{
    sim->with([&](sim::SimState& s) { return sim::LoadFlashImage(s.flash, folder.path() + "/config_SN57"); });
    const auto rows = *platform::ReadLines(folder.path() + "/config_SN57/ledxy.dat");
    std::string changed = "t\r\nh\r\n";
    for (size_t n = 0; n < 416; ++n) {
        const auto f = platform::SplitFields(rows[n + 2]);
        changed += f[0] + (n < 114 ? ",9,8,7,6" : "," + f[n == 300 ? 2 : 1] + "," + f[n == 300 ? 1 : 2] + "," + f[3] + "," + f[4]) + "\r\n";
    }
    test::WriteProgramFile("config_SN57/ledxy.dat", changed);
    dropEchoes(96 * 6, -1);
    EXPECT_FALSE(SendCalibrationSets({false, true, false, false, false}, context));
    test::WriteProgramFile("restored/ledxy.dat", factory.sources.at("ledxy.dat"));
    EXPECT_EQ(ReadLightCalibrationFromDevice(port, folder.path() + "/restored", {}).Result(), -1);
    EXPECT_TRUE(test::ReadProgramFile("restored/ledxy.dat") == factory.sources.at("ledxy.dat")) << "the older file stays";
}

TEST_F(CalibrationWritersTest, ValuesThatDoNotFitRefuseTheirSetWhole)
{
    struct Case {
        const char* what;
        const char* file;
        std::string text;
        std::array<bool, 5> boxes;
        int bank;
        const char* label;
    };
    const Case cases[] = {
        {"a blank of 256", "reports/_internal_blank_measurementSN57/blank_p35.dat",
         "\"b\"\r\nacqlapse=30\r\n\"#well\",\"Value\"\r\n0,1\r\n1,256\r\n", {false, false, false, false, true}, kBlankBank, "Blank"},
        {"an LED at -2", "config_SN57/ledxy.dat", "\"t\"\r\n\"h\"\r\n0,-2,3,4,5\r\n", {false, true, false, false, false}, kLightBank, "Led XY"},
        {"no LED file", "config_SN57/ledxy.dat", "", {false, true, false, false, false}, kLightBank, "Led XY"},
        {"a band of 300", "config_SN57/w24_row.dat", "\"t\"\r\n\"h\"\r\n0,1,2,300\r\n", {true, false, false, false, false}, kWellFormatBank, "Well Format"},
    };
    for (const Case& c : cases) {
        sim->clearLog();
        messages.clear();
        const std::string before = test::ReadProgramFile(c.file);
        if (c.text.empty()) std::filesystem::remove(folder.path() + "/" + c.file);
        else test::WriteProgramFile(c.file, c.text);
        EXPECT_FALSE(SendCalibrationSets(c.boxes, context)) << c.what;
        test::WriteProgramFile(c.file, before);
        ASSERT_EQ(messages.size(), 1u) << c.what;
        EXPECT_NE(messages[0].find("nothing of this set was sent"), std::string::npos) << c.what;
        EXPECT_TRUE(sim->frames().empty()) << c.what;
        EXPECT_EQ(progress.back(), std::string("Not written: ") + c.label) << c.what;
    }
}

TEST_F(CalibrationWritersTest, ABlankBeyondItsStoredRowsStillRestores)
{
    std::string text = "\"b\"\r\nacqlapse=45\r\n\"#well\",\"Value\"\r\n";
    for (int i = 0; i < 384; ++i) text += std::to_string(i) + "," + std::to_string(i % 5) + "\r\n";
    test::WriteProgramFile("reports/_internal_blank_measurementSN57/blank_w6.dat", text);
    ASSERT_TRUE(SendCalibrationSets({false, false, false, false, true}, context));
    platform::MakeFolder(folder.path() + "/restored");
    EXPECT_EQ(ReadBlankCalibrationFromDevice(port, folder.path() + "/restored", {}).Result(), 0);
    EXPECT_NE(test::ReadProgramFile("restored/blank_w6.dat").find("acqlapse=0045\r\n"), std::string::npos);
}

TEST_F(CalibrationWritersTest, NoLinkNoBoxes)
{
    EXPECT_TRUE(SendCalibrationSets({}, context));
    EXPECT_EQ(progress.back(), "Done") << "nothing checked, nothing sent";
    EXPECT_TRUE(sim->frames().empty());
    session.port_open = false;
    EXPECT_FALSE(SendCalibrationSets(kAll, context));
    EXPECT_EQ(messages, std::vector<std::string>{"COMPORT not opened. Click Connect"});
}

}  // namespace
}  // namespace tirmo::devicememory
