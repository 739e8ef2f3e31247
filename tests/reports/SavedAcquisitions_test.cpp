// The saved-acquisition list's rows and the small readers the report panel uses.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "reports/SavedAcquisitions.h"
#include "support/TempFolder.h"

namespace tirmo::reports {
namespace {

namespace fs = std::filesystem;

void Spill(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

TEST(SavedAcquisitionRows, TextsThatOtherCodeReadsBack)
{
    struct Case {
        std::string text, expected;
    };
    const Case cases[] = {
        {ProjectRowText("default_project", "20240503_123000run1"), "+ 2024.0503\tdefault_project"},
        {ProjectRowText("empty", ""), "+         \tempty"},
        {AcquisitionRowText("20240503_123000run1", "run 1"), "  > 2024.0503\t ACQ12:30 \"run 1\""},
        {AcquisitionRowText("20251231_235959_x", ""), "  > 2025.1231\t ACQ23:59 \"\""},
    };
    for (const Case& c : cases) EXPECT_EQ(c.text, c.expected);
}

TEST(SavedAcquisitionRows, ProjectsAreFoldersByNameAndOnlyRecordedStampedFoldersAreAcquisitions)
{
    test::TempFolder program;
    const fs::path reports = fs::path(program.path()) / "reports";
    Spill(reports / "zeta" / "20250102_080000_b" / "current_activity.txt", "x\r\n");
    Spill(reports / "zeta" / "20250102_080000_b" / "subpj.dat", "second\r\nacq_time=30\r\nplate_format=w6\r\n");
    Spill(reports / "zeta" / "20250101_070000_a" / "current_activity.txt", "x\r\n");  // no subpj.dat
    Spill(reports / "zeta" / "20250101_060000_norun" / "subpj.dat", "started only\r\n");
    Spill(reports / "zeta" / "2025010_060000_short" / "current_activity.txt", "x\r\n");  // 7 digits
    Spill(reports / "zeta" / "20250103_09000x_bad" / "current_activity.txt", "x\r\n");
    Spill(reports / "zeta" / "20250104_100000_file", "a file, not a folder\r\n");
    fs::create_directories(reports / "alpha");
    for (const char* hidden : {"_", "__", "a.bc"}) fs::create_directories(reports / hidden);  // as the project list
    Spill(reports / "notes.txt", "a file is no project\r\n");

    const auto closed = BrowserRows(reports.string(), {});
    ASSERT_EQ(closed.size(), 2u);
    EXPECT_EQ(closed[0].text, "+         \talpha");
    EXPECT_EQ(closed[1].text, "+ 2025.0101\tzeta") << "the first stamped folder, recorded or not";

    const auto open = BrowserRows(reports.string(), {"zeta"});
    ASSERT_EQ(open.size(), 4u);
    EXPECT_EQ(open[2].text, "  > 2025.0101\t ACQ07:00 \"\"");
    EXPECT_EQ(open[2].acquisition, "20250101_070000_a");
    EXPECT_EQ(open[3].text, "  > 2025.0102\t ACQ08:00 \"second\"");
    EXPECT_FALSE(open[3].project);
    EXPECT_EQ(open[3].project_name, "zeta");
}

TEST(SavedAcquisitionRows, TheActivityFilesDateStamp)
{
    struct Case {
        const char* first_line;  // nullptr: no file
        std::string expected;
    };
    const Case cases[] = {
        {nullptr, ""},
        {"\"2025/01/31_14:05:12\" \"<Raw_activity_file>\"", "2025/01/31_14:05:12"},
        {"ab c", "ab"},
        {"a b", "a"},                 // a blank at the second place still ends the stamp
        {" \"lead\" blank", " lead blank"},  // a blank first of all does not
        {"\"nospace\"", "nospace"},
        {"", ""},
    };
    for (const Case& c : cases) {
        test::TempFolder folder;
        if (c.first_line) Spill(fs::path(folder.path()) / "current_activity.txt", std::string(c.first_line) + "\r\nrest\r\n");
        EXPECT_EQ(ReadCurrentActivityDate(folder.path()), c.expected) << (c.first_line ? c.first_line : "missing");
    }
}

}  // namespace
}  // namespace tirmo::reports
