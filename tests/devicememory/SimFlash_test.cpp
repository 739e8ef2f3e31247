#include <gtest/gtest.h>

#include <filesystem>

#include "devicememory/MemoryImage.h"
#include "link/Protocol.h"
#include "platform/ProgramFolder.h"
#include "sim/SimFlash.h"
#include "support/FactoryCalibration.h"
#include "support/LinkFixture.h"
#include "support/TempFolder.h"

namespace tirmo::sim {
namespace {

namespace dm = devicememory;

class SimFlashTest : public test::LinkFixture {
protected:
    std::string exchange(char letter, int a, int b, int replyLength)
    {
        link::SendOptions o;
        o.replyLength = replyLength;
        return link::SendFrame(session, *link::MakeFrame(letter, a, b), o).reply;
    }
    // Short and missing replies end on the read time-outs.
    test::QuickTimeouts quick;
    std::string flashBlock(int bank, int line)
    {
        return sim->with([&](SimState& s) { return s.flash.block(bank, line); });
    }
};

TEST_F(SimFlashTest, BufferedBytesAreCommittedAtALineAndReadBack)
{
    std::string data;
    for (int i = 0; i < 96; ++i) data += char(i * 3);
    for (int i = 0; i < 96; ++i) EXPECT_EQ(exchange('f', i, i * 3 % 256, 3), std::string({'f', char(i), char(i * 3)}));
    EXPECT_EQ(exchange('F', 2, 8, 3), std::string({'F', 2, 8}));
    EXPECT_EQ(flashBlock(2, 8), data);
    EXPECT_EQ(flashBlock(2, 4), std::string(96, char(255))) << "cells never written stay erased";

    const std::string reply = exchange('F', 242, 8, 100);
    EXPECT_EQ(reply, std::string({'F', char(242), 8}) + data + char(dm::CheckByte(data)));
    EXPECT_EQ(exchange('F', 244, 8, 100), "") << "there is no bank 4";
}

TEST_F(SimFlashTest, FaultsSpoilTheRepliesOfOneBlockAsOftenAsAsked)
{
    sim->with([](SimState& s) {
        s.flash.fault(0, 4, FlashFault::Short, 1);
        s.flash.fault(0, 8, FlashFault::BadXor);
        s.flash.fault(0, 12, FlashFault::WrongCheck);
    });
    const std::string erased(96, char(255));
    const std::string good = std::string({'F', char(240), 4}) + erased + char(dm::CheckByte(erased));
    EXPECT_EQ(exchange('F', 240, 4, 100), good.substr(0, 99));
    EXPECT_EQ(exchange('F', 240, 4, 100), good) << "spoiled once only";
    for (int i = 0; i < 2; ++i) {
        const std::string bad = exchange('F', 240, 8, 100);
        ASSERT_EQ(bad.size(), 100u);
        EXPECT_NE(bad.substr(3, 96), erased);
        EXPECT_EQ(static_cast<unsigned char>(bad[99]), dm::CheckByte(erased)) << "the check of what was stored";
    }
    const std::string wrongCheck = exchange('F', 240, 12, 100);
    EXPECT_EQ(wrongCheck.substr(3, 96), erased);
    EXPECT_NE(static_cast<unsigned char>(wrongCheck[99]), dm::CheckByte(erased));
}

TEST_F(SimFlashTest, AnImageFromFilesHasTheBackupsLayout)
{
    test::TempFolder folder;
    platform::SetProgramFolder(folder.path());
    test::WriteFactoryCalibration("factory");
    std::filesystem::remove(folder.path() + "/factory/p35_row.dat");
    const auto loaded = sim->with([](SimState& s) { return LoadFlashImage(s.flash, platform::ProgramPath("factory")); });
    EXPECT_EQ(loaded.size(), 13u);
    EXPECT_EQ(flashBlock(0, 0), dm::HeaderBlock(dm::kWellFormatTitle));
    EXPECT_EQ(flashBlock(0, 28), dm::EndBlock());
    EXPECT_EQ(flashBlock(0, 16), std::string(96, char(255))) << "a missing file leaves its record erased";
    EXPECT_EQ(flashBlock(1, 0), dm::HeaderBlock(dm::kInternalFactorTitle)) << "the set written last";
    EXPECT_EQ(flashBlock(3, 0), dm::HeaderBlock(dm::kLightTitle));
    EXPECT_EQ(flashBlock(1, 4).substr(0, 20), "Tempfactor:1L_2x1i/" + std::string(1, char(dm::CheckByte(
                                                  dm::EncodeHundredths(-15.87) + dm::EncodeHundredths(1.69)))));
    EXPECT_EQ(flashBlock(1, 4).substr(24, 4), dm::EncodeHundredths(-15.87) + dm::EncodeHundredths(1.69));
    EXPECT_EQ(flashBlock(2, 4).substr(0, 19), "w6_blank:[0060]6x1/");
    EXPECT_EQ(flashBlock(3, 76), std::string(96, char(255))) << "the light record ends at line 75";
    EXPECT_EQ(flashBlock(3, 72).substr(72), std::string(24, '\0')) << "its last line is all zero";
}

}  // namespace
}  // namespace tirmo::sim
