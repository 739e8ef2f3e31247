#include "project/ProjectNames.h"

#include <gtest/gtest.h>

#include <ctime>

#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "project/BlankRuns.h"
#include "project/ProjectSetup.h"
#include "support/ProgramFiles.h"
#include "support/TempFolder.h"
#include "support/FakeClock.h"

namespace tirmo::project {
namespace {

std::chrono::system_clock::time_point localDate(int year, int month, int day)
{
    // Late in the day: the local date, not the UTC one.
    return test::LocalTime(year, month, day, 23, 59, 0);
}

TEST(ProjectNames, NewNamesCarryTheDateAndOnlyTheSafeName)
{
    const auto july20 = localDate(2025, 7, 20);
    const struct { std::string typed, name; } cases[] = {
        {"My Test 1", "p20250720_my_test_1"},
        {"ab", "p20250720_ab"},
        {"!!!", "p20250720____"},
        {"../../x", "p20250720_______x"},
        {"/etc", "p20250720__etc"},
        {"\xC9lan-2", "p20250720__lan_2"},  // an accented letter (one Latin-1 byte) becomes "_"
    };
    for (const auto& c : cases) {
        const std::string name = NewProjectName(july20, c.typed);
        EXPECT_EQ(name, c.name) << c.typed;
        EXPECT_EQ(name.find_first_of("/\\."), std::string::npos) << c.typed;
        EXPECT_TRUE(IsDatedProject(name)) << c.typed;
    }
}

TEST(ProjectNames, LengthBoundsOfATypedName)
{
    const struct { size_t length; NameLength check; } cases[] = {
        {0, NameLength::Empty}, {1, NameLength::TooShort}, {2, NameLength::Fine},
        {100, NameLength::Fine}, {101, NameLength::TooLong},
    };
    for (const auto& c : cases) EXPECT_EQ(CheckProjectNameLength(std::string(c.length, 'x')), c.check) << c.length;
}

TEST(ProjectNames, OnlyDatedProjectsAreRenamedAndKeepTheirPrefix)
{
    const struct { std::string project; bool dated; } cases[] = {
        {"p20250720_my_test_1", true},
        {"p20250720_", true},
        {"default_project", false},
        {"_internal_referenceSN12", false},
        {"p2025072a_x", false},
        {"P20250720_x", false},
        {"p20250720x", false},
        {"p2025072", false},
        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsDatedProject(c.project), c.dated) << c.project;

    EXPECT_EQ(RenameOffer("p20250720_my_test_1"), "my test 1");
    EXPECT_EQ(RenameOffer("p20250720_"), "");
    EXPECT_EQ(RenamedProject("p20250720_my_test_1", "Other Name"), "p20250720_other_name");
    EXPECT_EQ(RenamedProject("p20250720_my_test_1", "../up"), "p20250720____up");
}

TEST(ProjectNames, ProjectsAreTheFoldersOfReportsSortedByName)
{
    test::TempFolder folder;
    platform::SetProgramFolder(folder.path());
    for (const char* name : {"zeta", "default_project", "Alpha", "p20250720_b", "ab", "with.dot"})
        ASSERT_TRUE(platform::MakeFolder(platform::ProgramPath(std::string("reports/") + name)));
    test::WriteProgramFile("reports/pj_sn0.dat", "default_project\r\n");
    test::WriteProgramFile("reports/plainfile", "not a project\r\n");

    EXPECT_EQ(ListProjects(), (std::vector<std::string>{"Alpha", "default_project", "p20250720_b", "zeta"}));
    EXPECT_EQ(ListedProject("ALPHA"), "Alpha");
    EXPECT_EQ(ListedProject("plainfile"), "");
    EXPECT_EQ(ListedProject("ab"), "");
    EXPECT_EQ(ListedProject(""), "");
}

TEST(ProjectNames, TheDefaultProjectIsMadeOnceWithItsOwnSetUp)
{
    test::TempFolder folder;
    platform::SetProgramFolder(folder.path());
    ASSERT_TRUE(CreateDefaultProject());
    EXPECT_EQ(test::ReadProgramFile("reports/default_project/pjsetup.dat"),
              "acq_time=30\r\nplate_format=w6\r\ntemperature=20\r\n");
    test::WriteProgramFile("reports/default_project/pjsetup.dat", "acq_time=45\r\n");
    ASSERT_TRUE(CreateDefaultProject());
    EXPECT_EQ(test::ReadProgramFile("reports/default_project/pjsetup.dat"), "acq_time=45\r\n") << "kept as it was";
}

TEST(BlankRuns, LapseBoundsAndRunFormats)
{
    const struct { const char* text; bool accepted; } lapses[] = {
        {"29.9", false}, {"30", true}, {"1440", true}, {"1440.5", false}, {"", false}, {"60abc", true}, {"45,5", true},
    };
    for (const auto& c : lapses) EXPECT_EQ(BlankLapse(c.text).has_value(), c.accepted) << c.text;

    for (const char* format : {"w96f", "w48", "w24", "w12", "w6", "p35"}) EXPECT_TRUE(IsRunFormat(format)) << format;
    for (const char* format : {"w96u", "", "W6", "w8", "../w6"}) EXPECT_FALSE(IsRunFormat(format)) << format;
}

}  // namespace
}  // namespace tirmo::project
