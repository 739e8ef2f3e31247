#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "plate/WellGroups.h"
#include "platform/ProgramFolder.h"
#include "support/TempFolder.h"

namespace tirmo::plate {
namespace {

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void spill(const std::string& path, const std::string& data) { std::ofstream(path, std::ios::binary) << data; }

class WellGroupsFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::SetProgramFolder(folder.path());
        platform::MakeFolder(platform::ProgramPath("reports/proj"));
        path = GroupFilePath("proj");
    }
    test::TempFolder folder;
    std::string path;
    WellGroups groups;
};

TEST_F(WellGroupsFileTest, SavedFileIsByteExact)
{
    groups.well_group[5] = 2;
    groups.group_names[2] = "Group2";
    groups.well_group[0] = 0;
    groups.group_names[0] = "wild, type";
    groups.group_names[7] = "unused name";  // no well in group 7: never written
    ASSERT_TRUE(groups.Save(path));
    std::string expected = "#Well, Group, name\r\n";
    for (int w = 0; w < 384; ++w) {
        if (w == 0)
            expected += "0,0,\"wild, type\"\r\n";
        else if (w == 5)
            expected += "5,2,\"Group2\"\r\n";
        else
            expected += std::to_string(w) + ",-1,\"Free\"\r\n";
    }
    EXPECT_EQ(slurp(path), expected);
}

TEST_F(WellGroupsFileTest, RowsThatCannotBeTakenAreSkippedAndTheRestRead)
{
    spill(path,
          "#Well, Group, name\r\n"
          "3,2,\"a,b\"\r\n"
          "\r\n"                  // a blank line
          "500,1,\"x\"\r\n"       // a well outside the tables
          "4,900,\"y\"\r\n"       // a group outside the tables
          "-3,1,\"z\"\r\n"        // a negative well
          "7\r\n"                 // too few fields
          "6,-7,\"gone\"\r\n"     // a group below -1 is no group
          "3,2,\"later\"\r\n");   // a later row overrides
    const auto result = groups.Load(path);
    EXPECT_TRUE(result.read);
    EXPECT_EQ(result.skippedLines, (std::vector<int>{4, 5, 6, 7}));
    EXPECT_EQ(groups.well_group[3], 2);
    EXPECT_EQ(groups.group_names[2], "later");
    EXPECT_EQ(groups.well_group[4], -1);
    EXPECT_EQ(groups.well_group[6], -1);
    EXPECT_EQ(groups.group_names[1], "Free");
    EXPECT_EQ(groups.group_names[384], "Free");
}

TEST_F(WellGroupsFileTest, ARowOfTwoCommasPutsWellZeroIntoGroupZero)
{
    spill(path, "#Well, Group, name\r\n,,\"Zero \"\"q\"\"\"\r\n");
    groups.Load(path);
    EXPECT_EQ(groups.well_group[0], 0);
    EXPECT_EQ(groups.group_names[0], "Zero q") << "quotes inside a name are lost";
}

TEST_F(WellGroupsFileTest, LoadingResetsAndAHeaderOnlyFileLeavesEveryWellFree)
{
    groups.well_group[10] = 4;
    groups.group_names[4] = "old";
    spill(path, "#Well, Group, name\r\n");
    groups.Load(path);
    EXPECT_EQ(groups.well_group[10], -1);
    EXPECT_EQ(groups.group_names[4], "Free");
}

TEST_F(WellGroupsFileTest, AMissingFileIsCreatedEmptyButItsFolderIsNot)
{
    const auto result = groups.Load(path);
    EXPECT_TRUE(result.created);
    EXPECT_EQ(slurp(path).substr(0, 33), "#Well, Group, name\r\n0,-1,\"Free\"\r\n");
    const auto elsewhere = groups.Load(GroupFilePath("no_such_project"));
    EXPECT_FALSE(elsewhere.created);
    EXPECT_FALSE(elsewhere.error.empty());
    EXPECT_FALSE(platform::FolderExists(platform::ProgramPath("reports/no_such_project")));
}

TEST(WellGroupsList, NoGroupedWellGivesTheSingleSpareItem)
{
    WellGroups groups;
    EXPECT_EQ(groups.BuildList(), std::vector<std::string>{"000_Free"});
    groups.group_names[0] = "Controls";
    EXPECT_EQ(groups.BuildList(), std::vector<std::string>{"000_Controls"});
}

TEST(WellGroupsList, ListsEveryNumberUpToTheHighestUsedAndOneSpare)
{
    WellGroups groups;
    groups.well_group[0] = 0;
    groups.well_group[9] = 2;
    groups.group_names[1] = "stored";
    const auto first = groups.BuildList();
    EXPECT_EQ(first, (std::vector<std::string>{"000_Free", "001_stored", "002_Free", "003_Free"}));
    EXPECT_EQ(groups.group_used[0], 1);
    EXPECT_EQ(groups.group_used[1], -1);
    // The used groups got their names during the rebuild; the list shows them from the next.
    EXPECT_EQ(groups.BuildList(), (std::vector<std::string>{"000_Group0", "001_stored", "002_Group2", "003_Free"}));
}

TEST(WellGroupsList, ItemGroupReadsTheLeadingThreeCharacters)
{
    EXPECT_EQ(WellGroups::ItemGroup("004_Free"), 4);
    EXPECT_EQ(WellGroups::ItemGroup("123456"), 123);
    EXPECT_EQ(WellGroups::ItemGroup(""), 0);
    EXPECT_EQ(WellGroups::ItemGroup("abc"), 0);
    EXPECT_EQ(WellGroups::ListItem(7, "Group7"), "007_Group7");
}

TEST(WellGroupsBlocks, BlockOptionsFollowTheDivisorsColumnsFirst)
{
    const auto w24 = WellGroups::BlockOptions(4, 6);
    const std::vector<std::string> expected{"01x01", "02x01", "04x01", "01x02", "02x02", "04x02",
                                            "01x03", "02x03", "04x03", "01x06", "02x06", "04x06"};
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(w24[i], expected[i] + " [RowsxColumn]");
    for (size_t i = expected.size(); i < w24.size(); ++i) EXPECT_EQ(w24[i], "");
    auto count = [](const std::array<std::string, 24>& o) {
        return std::count_if(o.begin(), o.end(), [](const std::string& s) { return !s.empty(); });
    };
    EXPECT_EQ(count(WellGroups::BlockOptions(8, 12)), 24);
    EXPECT_EQ(count(WellGroups::BlockOptions(6, 8)), 16);
    EXPECT_EQ(count(WellGroups::BlockOptions(2, 3)), 4);
    EXPECT_EQ(count(WellGroups::BlockOptions(0, 0)), 0) << "a text that is no format";
}

TEST(WellGroupsBlocks, TwoByTwoBlocksOfAW24Plate)
{
    WellGroups groups;
    groups.well_group[100] = 9;  // every group is cleared first
    ASSERT_TRUE(groups.GroupInBlocks("02x02 [RowsxColumn]", 4, 6));
    // A1, B1, A2, B2 = wells 0, 1, 4, 5 form group 0; C1, D1, C2, D2 group 1; A3.. group 2.
    const int expected[24] = {0, 0, 1, 1, 0, 0, 1, 1, 2, 2, 3, 3, 2, 2, 3, 3, 4, 4, 5, 5, 4, 4, 5, 5};
    for (int w = 0; w < 24; ++w) EXPECT_EQ(groups.well_group[size_t(w)], expected[w]) << "well " << w;
    EXPECT_EQ(groups.well_group[100], -1);
    EXPECT_EQ(groups.group_names[5], "Group5");
    EXPECT_EQ(groups.group_names[6], "Free") << "the last round finds no free well";
}

TEST(WellGroupsBlocks, OnlyBlocksThatDivideThePlateAreTaken)
{
    struct Case {
        const char* caption;
        int rows, columns;
        bool taken;
    };
    for (const Case& c : {Case{"02x03 [RowsxColumn]", 2, 3, true}, Case{"04x01 [RowsxColumn]", 2, 3, false},
                          Case{"01x02 [RowsxColumn]", 2, 3, false}, Case{"04x06 [RowsxColumn]", 4, 6, true},
                          Case{"03x01 [RowsxColumn]", 4, 6, false}, Case{"01x04 [RowsxColumn]", 4, 6, false},
                          Case{"16x12 [RowsxColumn]", 8, 12, false}}) {
        WellGroups groups;
        groups.well_group[1] = 9;
        groups.group_names[9] = "Kept";
        EXPECT_EQ(groups.GroupInBlocks(c.caption, c.rows, c.columns), c.taken) << c.caption;
        if (c.taken) {
            EXPECT_EQ(groups.well_group[1], 0) << c.caption;
        } else {
            EXPECT_EQ(groups.well_group[1], 9) << c.caption << ": a refused layout leaves the groups alone";
            EXPECT_EQ(groups.group_names[9], "Kept") << c.caption;
            EXPECT_EQ(groups.well_group[0], -1) << c.caption;
        }
    }
}

TEST(WellGroupsBlocks, NoBlockSizeOrNoPlateDividesNothing)
{
    WellGroups groups;
    EXPECT_FALSE(groups.GroupInBlocks("00x00 [RowsxColumn]", 4, 6));
    EXPECT_FALSE(groups.GroupInBlocks("", 4, 6));
    EXPECT_TRUE(groups.GroupInBlocks("01x01 [RowsxColumn]", 0, 0));
    for (int w = 0; w < 384; ++w) EXPECT_EQ(groups.well_group[size_t(w)], -1);
}

}  // namespace
}  // namespace tirmo::plate
