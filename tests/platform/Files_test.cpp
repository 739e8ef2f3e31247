#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <future>

#include "platform/Launcher.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "support/TempFolder.h"

namespace tirmo::platform {
namespace {

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The waiter that reaps a started program tells its exit status; one that cannot start is refused.
TEST(Launcher, TellsTheExitStatusOfAStartedProgram)
{
    auto ended = std::make_shared<std::promise<int>>();
    std::future<int> told = ended->get_future();
    ASSERT_TRUE(StartProgram({"sh", "-c", "exit 3"}, [ended](int status) { ended->set_value(status); }));
    ASSERT_EQ(told.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(told.get(), 3);
    EXPECT_FALSE(StartProgram({"no-such-program-of-tirmo"}));
}

TEST(TextFile, WritesCrLfAndReadsEveryLineEnding)
{
    test::TempFolder dir;
    ASSERT_TRUE(WriteLines(dir.path() + "/a.txt", {"one", "", "\"q\",2"}));
    EXPECT_EQ(slurp(dir.path() + "/a.txt"), "one\r\n\r\n\"q\",2\r\n");
    std::ofstream(dir.path() + "/b.txt", std::ios::binary) << "x\ny\r\nz\rlast";
    auto lines = ReadLines(dir.path() + "/b.txt");
    ASSERT_TRUE(lines);
    EXPECT_EQ(*lines, (std::vector<std::string>{"x", "y", "z", "last"}));
    EXPECT_EQ(*ReadRecordLines(dir.path() + "/b.txt"), (std::vector<std::string>{"x", "y", "z"})) << "a cut record";
    EXPECT_FALSE(ReadLines(dir.path() + "/missing.txt"));
}

TEST(TextFile, AnUncommittedWriterLeavesTheTargetUntouched)
{
    test::TempFolder dir;
    const std::string target = dir.path() + "/keep.dat";
    ASSERT_TRUE(WriteLines(target, {"old"}));
    {
        TextFileWriter w(target);
        w.Line("half");
    }  // dropped without Commit, as when a write fails midway
    EXPECT_EQ(slurp(target), "old\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temporary file left";
}

TEST(TextFile, LeftoversOfEndedProgramsAreRemovedOthersStay)
{
    test::TempFolder dir;
    const std::string run = dir.path() + "/reports/p/20250131_140512/", ended = ".tmp999999999";  // no such process
    std::filesystem::create_directories(run);
    const std::pair<std::string, bool> cases[] = {{"lastread02.csv" + ended, true},
                                                  {".20250131140512_report.Ab12Cd" + ended, true},
                                                  {"lastread03.csv" + TemporarySuffix(), false},  // still written
                                                  {"notes.tmp12x", false}, {"lastread05.csv", false}};
    for (const auto& [name, removed] : cases) std::ofstream(run + name) << "x";
    EXPECT_EQ(RemoveLeftoverTemporaries(dir.path()), 2);
    for (const auto& [name, removed] : cases) EXPECT_NE(FileExists(run + name), removed) << name;
}

TEST(Records, QuotedFieldsSplitOnlyOutsideQuotes)
{
    EXPECT_EQ(SplitFields("\"A1\",3, 4.5 ,\"x,y\""), (std::vector<std::string>{"A1", "3", "4.5", "x,y"}));
    EXPECT_EQ(SplitFields(""), (std::vector<std::string>{""}));
    EXPECT_EQ(SplitFields("1,,2"), (std::vector<std::string>{"1", "", "2"}));
    EXPECT_EQ(Quoted("COM=3"), "\"COM=3\"");
}

TEST(ProgramFolder, NamesAreMatchedWithoutRegardToCase)
{
    test::TempFolder dir;
    SetProgramFolder(dir.path());
    std::filesystem::create_directories(dir.path() + "/Config_SN12");
    std::ofstream(dir.path() + "/Config_SN12/LEDxy.DAT") << "x";
    EXPECT_EQ(ProgramPath("\\config_sn12\\ledxy.dat"), dir.path() + "/Config_SN12/LEDxy.DAT");
    EXPECT_TRUE(FileExists(ProgramPath("config_SN12/ledxy.dat")));
    EXPECT_EQ(ProgramPath("config_sn12/new.dat"), dir.path() + "/Config_SN12/new.dat");
    EXPECT_EQ(ProgramPath("reports/p1"), dir.path() + "/reports/p1") << "missing parts keep their spelling";
    EXPECT_TRUE(MakeFolder(ProgramPath("reports/p1")));
    EXPECT_TRUE(FolderExists(ProgramPath("REPORTS/P1")));
}

// The listing kept for a folder many files are written into sees what other programs change there.
TEST(ProgramFolder, AKeptListingSeesOtherProgramsChangesAndOwnFiles)
{
    test::TempFolder dir;
    const std::string f = dir.path() + "/Frames/";
    std::filesystem::create_directories(f);
    std::ofstream(f + "IMAGE1.BMP") << "x";
    std::ofstream(f + "Gone.bmp") << "x";
    // An old folder: the first listing is kept, so the next change must be told by the folder's time.
    std::filesystem::last_write_time(f, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    const struct { std::function<void()> change; std::string asked, found; } steps[] = {{[] {}, "frames/image1.bmp", "IMAGE1.BMP"},
                 {[&] { std::ofstream(f + "Image2.Bmp") << "x"; }, "FRAMES/image2.bmp", "Image2.Bmp"},
                 {[&] { std::filesystem::remove(f + "Gone.bmp"); }, "frames/gone.bmp", "gone.bmp"},
                 {[&] { WriteLines(f + "New1.bmp", {"own"}); }, "frames/NEW1.BMP", "New1.bmp"},
                 {[] {}, "Frames/Image1.bmp", "IMAGE1.BMP"}};
    for (const auto& s : steps) {
        s.change();
        EXPECT_EQ(ResolvePath(dir.path() + "/" + s.asked), f + s.found) << s.asked;
    }
}

TEST(ProgramFolder, ChosenFromOptionThenEnvironment)
{
    char prog[] = "tirmo", opt[] = "--folder", dir[] = "/tmp/x";
    char* argv1[] = {prog, opt, dir};
    EXPECT_EQ(ChooseProgramFolder(3, argv1), "/tmp/x");
    ::setenv("TIRMO_HOME", "/tmp/home-tirmo", 1);
    char* argv2[] = {prog};
    EXPECT_EQ(ChooseProgramFolder(1, argv2), "/tmp/home-tirmo");
    ::unsetenv("TIRMO_HOME");
    EXPECT_NE(ChooseProgramFolder(1, argv2).find("tirmo"), std::string::npos);
}

}  // namespace
}  // namespace tirmo::platform
