#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "acquisition/RunNames.h"
#include "platform/ProgramFolder.h"
#include "support/TempFolder.h"

namespace tirmo::acquisition {
namespace {

namespace fs = std::filesystem;

// Whatever is typed, the folder name is the stamp and letters, digits and "_" only: nothing can
// climb out of the project or name a folder elsewhere.
TEST(RunNames, TypedNamesBecomeFileSafeFolderNames)
{
    const std::string stamp = "20250304_090507";
    const struct {
        std::string typed, project, acquisition;
    } cases[] = {
        {"Test 1", "test_1", stamp + "test_1"},
        {"../../x", "______x", stamp + "______x"},
        {"/etc", "_etc", stamp + "_etc"},
        {"C:\\Windows", "c__windows", stamp + "c__windows"},
        {"", kDefaultProject, stamp},
        {" .,;!", "_____", stamp + "_____"},
        {"Caf\xC3\xA9", "caf__", stamp + "caf__"},  // each byte of the accented letter
        {"Caf\xE9", "caf_", stamp + "caf_"},         // a Latin-1 letter is one byte
        {kAcquisitionPrompt, "_write_acquisition_name_", stamp},
        {"<write acquisition name>", "_write_acquisition_name_", stamp + "_write_acquisition_name_"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(ProjectFolderName(c.typed), c.project);
        EXPECT_EQ(AcquisitionFolderName(stamp, c.typed), c.acquisition);
    }
    const std::string longName(101, 'A');
    EXPECT_EQ(ProjectFolderName(longName), std::string(101, 'a'));
    EXPECT_EQ(AcquisitionFolderName(stamp, longName), stamp + std::string(101, 'a'));
}

TEST(RunNames, OnlyTheSixRunFormatsAreAccepted)
{
    for (const char* f : {"p35", "w6", "w12", "w24", "w48", "w96f"}) EXPECT_TRUE(RunFormat(f)) << f;
    for (const char* f : {"w96u", "W6", "w6 ", "", "w96", "w384", "p35x"}) EXPECT_FALSE(RunFormat(f)) << f;
}

TEST(RunNames, TheLightCalibrationIsLookedForInTheInstrumentsFolder)
{
    EXPECT_EQ(LedPositionFile(0), "config/ledxy.dat");
    EXPECT_EQ(LedPositionFile(1), "config_SN1/ledxy.dat");
    EXPECT_EQ(LedPositionFile(58), "config_SN58/ledxy.dat");
    EXPECT_EQ(LedPositionFile(-1), "config/ledxy.dat");
}

class AcquisitionFolders : public ::testing::Test {
protected:
    void SetUp() override { project = folder.path() + "/project"; fs::create_directories(project); }
    test::TempFolder folder;
    std::string project;
};

// Runs started in the same second with the same name each get their own folder; every name still
// begins with the stamp, so the listings that look for "????????_??????" find them all.
TEST_F(AcquisitionFolders, ASecondRunOfTheSameNameGetsASuffix)
{
    const std::string name = "20250304_090507test_1";
    const std::vector<std::string> expected = {name, name + "_2", name + "_3"};
    for (const std::string& want : expected) {
        const auto made = CreateAcquisitionFolder(project, name);
        ASSERT_TRUE(made);
        EXPECT_EQ(*made, want);
        EXPECT_TRUE(fs::is_directory(project + "/" + want));
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(project), fs::directory_iterator()), 3);
}

// A file of the name, or a folder spelled in other letter case, is as taken as the folder itself.
TEST_F(AcquisitionFolders, WhatIsThereInAnyLetterCaseIsNotReused)
{
    std::ofstream(project + "/20250304_090507a") << "x";
    fs::create_directory(project + "/20250304_090507B");
    EXPECT_EQ(CreateAcquisitionFolder(project, "20250304_090507a"), "20250304_090507a_2");
    EXPECT_EQ(CreateAcquisitionFolder(project, "20250304_090507b"), "20250304_090507b_2");
    EXPECT_EQ(CreateAcquisitionFolder(project, "20250304_090507c"), "20250304_090507c");
}

// The 999th run of one name in one second still gets a folder; the next does not.
TEST_F(AcquisitionFolders, SuffixesEndAt999)
{
    const std::string name = "20250304_090507n";
    fs::create_directory(project + "/" + name);
    for (int n = 2; n <= 998; ++n) fs::create_directory(project + "/" + name + "_" + std::to_string(n));
    EXPECT_EQ(CreateAcquisitionFolder(project, name), name + "_999");
    EXPECT_FALSE(CreateAcquisitionFolder(project, name));
}

TEST_F(AcquisitionFolders, AFolderThatCannotBeMadeIsNoName)
{
    EXPECT_FALSE(CreateAcquisitionFolder(folder.path() + "/missing/project", "20250304_090507x"));
    std::ofstream(folder.path() + "/plainfile") << "x";
    EXPECT_FALSE(CreateAcquisitionFolder(folder.path() + "/plainfile", "20250304_090507x"));
    EXPECT_FALSE(CreateAcquisitionFolder(project, std::string(300, 'n')));
}

}  // namespace
}  // namespace tirmo::acquisition
