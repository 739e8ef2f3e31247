// The blank store: a finished blank run becomes the current blank of its plate format, each
// acquisition gets a copy of it, and a garbled blank file never takes effect in part.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "project/BlankStore.h"
#include "support/RunFiles.h"
#include "support/TempFolder.h"

namespace tirmo::project {
namespace {

void Spill(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::vector<std::string> Lines(const std::string& path)
{
    return platform::ReadLines(path).value_or(std::vector<std::string>{});
}

// 384 rows of the standard form from the given values (others 0).
std::vector<std::string> Rows(const std::map<int, int>& values)
{
    std::vector<std::string> rows;
    for (int i = 0; i < kBlankRows; ++i) {
        const auto it = values.find(i);
        rows.push_back(std::to_string(i) + "," + std::to_string(it == values.end() ? 0 : it->second));
    }
    return rows;
}

std::vector<std::string> Joined(std::vector<std::string> head, const std::vector<std::string>& tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

class BlankStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::SetProgramFolder(program.path());
        // The run start reaches the store through the lower-cased safe project name.
        storeOnDisk = program.path() + "/reports/_internal_blank_measurementsn57";
        std::filesystem::create_directories(storeOnDisk);
        notices.message = [this](const std::string& m) { messages.push_back(m); };
        notices.status = [this](const std::string& s) { statuses.push_back(s); };
    }
    // A blank run in the store with its activity rows.
    std::string Run(const std::string& name, const std::string& activityText)
    {
        const std::string folder = storeOnDisk + "/" + name;
        std::filesystem::create_directories(folder);
        Spill(folder + "/current_activity.txt", activityText);
        return folder;
    }
    std::string StoreFile(const std::string& format) { return storeOnDisk + "/blank_" + format + ".dat"; }

    test::TempFolder program;
    std::string storeOnDisk;
    CorrectionNotices notices;
    std::vector<std::string> messages, statuses;
};

TEST_F(BlankStoreTest, AFinishedBlankRunBecomesTheCurrentBlankWhenItIsLongEnough)
{
    struct Case {
        double last;      // time of the run's last rows
        double expected;  // minutes the caller expects
        std::string decimal;
        BlankSave result;
        std::string message;
        std::string lapse;  // line 2 when saved
    };
    const Case cases[] = {
        {59.9, 60, ".", BlankSave::Saved, "Blank OK", "acqlapse=0060"},
        {60.0, 60.02, ".", BlankSave::Saved, "Blank OK", "acqlapse=0060"},
        {1440.0, 1440, ".", BlankSave::Saved, "Blank OK", "acqlapse=1440"},
        {30.0, 30.5, ".", BlankSave::Saved, "Blank OK", "acqlapse=0031"},  // a half goes up
        {48.0, 60, ".", BlankSave::Saved, "Blank OK", "acqlapse=0060"},    // exactly 0.8 x expected
        {47.4, 60, ".", BlankSave::TooShort, "ERROR! Expected acqusition=60. Found=47", ""},
        {30.0, 60, ".", BlankSave::TooShort, "ERROR! Expected acqusition=60. Found=30", ""},
        // Found is rounded halves to even: 58.5 is 58, below 0.8 x 73 = 58.4; 59.5 is 60.
        {58.5, 73, ".", BlankSave::TooShort, "ERROR! Expected acqusition=73. Found=58", ""},
        {59.5, 73, ".", BlankSave::Saved, "Blank OK", "acqlapse=0073"},
        {30.0, 60.0 + 1.0 / 60.0, ",", BlankSave::TooShort, "ERROR! Expected acqusition=60,0166666666667. Found=30",
         ""},
    };
    for (const auto& c : cases) {
        const std::string label = std::to_string(c.last) + " of " + std::to_string(c.expected);
        Spill(StoreFile("w6"), "old\r\n");
        messages.clear();
        // A1 and B1 read twice in the last scan (the later row wins); A2 never read; a cut row is left out.
        const std::string run = Run("20250131_140512_blank_mix1", test::ActivityFileText({{0.5, "A1", 1},
                                                                                          {0.5, "B1", 2},
                                                                                          {c.last, "A1", 10},
                                                                                          {c.last, "B1", 21},
                                                                                          {c.last, "B1", 20},
                                                                                          {c.last, "B2", -3},
                                                                                          {c.last, "B3", 60}}) +
                                                                  "99.0 \"A");
        EXPECT_EQ(SaveBlankMeasurement(run, "w6", c.expected, 57, c.decimal, notices), c.result) << label;
        EXPECT_EQ(messages, std::vector<std::string>{c.message}) << label;
        if (c.result != BlankSave::Saved) {
            EXPECT_EQ(Lines(StoreFile("w6")), std::vector<std::string>{"old"}) << label;
            continue;
        }
        EXPECT_EQ(Lines(StoreFile("w6")), Joined({"20250131_140512_blank_mix1", c.lapse, "\"#well\",\"Value\""},
                                                 Rows({{0, 10}, {1, 20}, {3, -3}, {5, 60}})))
            << label;
        EXPECT_EQ(ReadBlankHeader("w6", 57), "20250131_140512_blank_mix1") << "the header the window shows next";
    }
}

TEST_F(BlankStoreTest, TheHeaderIsTheRunFoldersOwnNameHoweverThePathIsSpelt)
{
    Run("20250131_140512_blank_mix1", test::ActivityFileText({{60.0, "A1", 1}}));
    // The store written as the blank procedures write it ("SN"), with the other separator and
    // a trailing one.
    const std::string spelt =
        program.path() + "\\reports\\_internal_blank_measurementSN57\\20250131_140512_blank_mix1\\";
    ASSERT_EQ(SaveBlankMeasurement(spelt, "w6", 60, 57, ".", notices), BlankSave::Saved);
    EXPECT_EQ(Lines(StoreFile("w6")).at(0), "20250131_140512_blank_mix1");
    EXPECT_FALSE(std::filesystem::exists(program.path() + "/reports/_internal_blank_measurementSN57"))
        << "the existing store is used, not a second one";
}

TEST_F(BlankStoreTest, AnActivityFileTheBlankCannotTrustChangesNothing)
{
    struct Case {
        std::string rows;  // after the two header lines
        std::string format;
        BlankSave result;
    };
    const Case cases[] = {
        {"60.0 \"A1\" 32767\r\n", "w6", BlankSave::Saved},
        {"60.0 \"A1\" 32768\r\n", "w6", BlankSave::FormatError},
        {"60.0 \"A1\" -32768\r\n", "w6", BlankSave::Saved},
        {"60.0 \"A1\" -32769\r\n", "w6", BlankSave::FormatError},
        {"60.0 \"A193\" 1\r\n", "w6", BlankSave::Saved},        // index 384, the last one taken
        {"60.0 \"B193\" 1\r\n", "w6", BlankSave::FormatError},  // index 385
        {"60.0 \"A1\"\r\n", "w6", BlankSave::FormatError},      // no second blank
        {"x \"A1\" 5\r\n", "w6", BlankSave::FormatError},
        {"60.0 \"A1\" many\r\n", "w6", BlankSave::FormatError},
        {"60.0 \"a1\" 5\r\n", "w6", BlankSave::FormatError},
        {"60,0 \"A1\" 5\r\n", "w6", BlankSave::Saved},        // written on a comma machine
        {"60.0 \"A1\" 5\r\n", "w7", BlankSave::FormatError},  // no such format
        {"60.0 \"H12\" 5\r\n", "w96u", BlankSave::Saved},
    };
    for (const auto& c : cases) {
        for (const char* format : {"w6", "w7", "w96u"}) Spill(StoreFile(format), "old\r\n");
        messages.clear();
        const std::string run = Run("20250131_140512_blank_x", test::ActivityFileText({}) + c.rows);
        EXPECT_EQ(SaveBlankMeasurement(run, c.format, 60, 57, ".", notices), c.result) << c.rows;
        if (c.result == BlankSave::FormatError) {
            EXPECT_EQ(messages, std::vector<std::string>{"Blank_File format error"}) << c.rows;
            EXPECT_EQ(Lines(StoreFile(c.format)), std::vector<std::string>{"old"}) << c.rows;
        } else {
            EXPECT_EQ(messages, std::vector<std::string>{"Blank OK"}) << c.rows;
        }
    }
    messages.clear();
    std::filesystem::remove(storeOnDisk + "/20250131_140512_blank_x/current_activity.txt");
    EXPECT_EQ(SaveBlankMeasurement(storeOnDisk + "/20250131_140512_blank_x", "w6", 60, 57, ".", notices),
              BlankSave::FormatError);
    EXPECT_EQ(messages, std::vector<std::string>{"Blank_File format error"});

    messages.clear();
    const std::string empty = Run("20250131_140512_blank_empty", test::ActivityFileText({}));
    EXPECT_EQ(SaveBlankMeasurement(empty, "w6", 60, 57, ".", notices), BlankSave::TooShort);
    EXPECT_EQ(messages, std::vector<std::string>{"ERROR! Expected acqusition=60. Found=0"});
}

TEST_F(BlankStoreTest, ARunStartWithoutAStoreBlankGetsTheNoneCopy)
{
    const std::string acquisition = program.path() + "/reports/p/20250201_090000_a";
    std::filesystem::create_directories(acquisition);
    BlankTables tables;
    tables.values.fill(9);
    tables.lapse = 60;
    const BlankCopy copy = CopyBlankToAcquisition("w24", acquisition, 57, tables, notices);
    EXPECT_EQ(copy.source, BlankFileState::Missing);
    EXPECT_TRUE(copy.written);
    EXPECT_EQ(Lines(acquisition + "/blank_w24.dat"), Joined({"none", "acqlapse=30", "\"#well\",\"Value\""}, Rows({})));
    EXPECT_EQ(tables.lapse, 30);
    EXPECT_EQ(tables.values, BlankTables{}.values);
    EXPECT_TRUE(messages.empty());
}

TEST_F(BlankStoreTest, TheCopyKeepsTheStoreHeaderAndRewritesTheRows)
{
    const std::string acquisition = program.path() + "/reports/p/20250201_090000_a";
    std::filesystem::create_directories(acquisition);
    Spill(StoreFile("w6"),
          "2024/12/01_10:00:00 factory\r\nacqlapse=0045\r\nwell,value\r\n"
          "0, 12\r\n3,4\r\n384,7\r\n\r\n0,14\r\n");
    BlankTables tables;
    const BlankCopy copy = CopyBlankToAcquisition("w6", acquisition, 57, tables, notices);
    EXPECT_EQ(copy.source, BlankFileState::Read);
    EXPECT_EQ(Lines(acquisition + "/blank_w6.dat"),
              Joined({"2024/12/01_10:00:00 factory", "acqlapse=0045", "well,value"}, Rows({{0, 14}, {3, 4}})))
        << "index 384 is read but lies outside the rows written back";
    EXPECT_EQ(tables.lapse, 45);
    EXPECT_EQ(tables.values[0], 14);
    EXPECT_EQ(tables.values[384], 7);

    // A garbled store blank: the acquisition gets "none", and the user hears why.
    Spill(StoreFile("w6"), "x\r\nacqlapse=0045\r\n");
    const BlankCopy garbled = CopyBlankToAcquisition("w6", acquisition, 57, tables, notices);
    EXPECT_EQ(garbled.source, BlankFileState::Garbled);
    EXPECT_EQ(messages, std::vector<std::string>{"Blank_File format error"});
    EXPECT_EQ(Lines(acquisition + "/blank_w6.dat"), Joined({"none", "acqlapse=30", "\"#well\",\"Value\""}, Rows({})));
    EXPECT_EQ(tables.lapse, 30);
    EXPECT_EQ(tables.values[0], 0);

    // An acquisition folder that is not there is not made up; the tables are loaded all the same.
    Spill(StoreFile("w6"), "b\r\nacqlapse=0060\r\nh\r\n1,5\r\n");
    const BlankCopy lost = CopyBlankToAcquisition("w6", program.path() + "/reports/p/gone", 57, tables, notices);
    EXPECT_FALSE(lost.written);
    EXPECT_FALSE(std::filesystem::exists(program.path() + "/reports/p/gone"));
    ASSERT_EQ(statuses.size(), 1u);
    EXPECT_EQ(statuses[0].rfind("Blank file could not be written: ", 0), 0u) << statuses[0];
    EXPECT_EQ(tables.values[1], 5);
}

TEST_F(BlankStoreTest, TheNoneEntryWritesTheNoneBlankIntoTheStore)
{
    Spill(StoreFile("w24"), "20250131_140512_blank_mix1\r\nacqlapse=0060\r\n");
    BlankTables tables;
    tables.values[5] = 3;
    tables.lapse = 60;
    EXPECT_TRUE(WriteBlankFile("w24", 57, tables, notices));
    EXPECT_EQ(Lines(StoreFile("w24")), Joined({"none", "acqlapse=30", "\"#well\",\"Value\""}, Rows({})));
    EXPECT_EQ(tables.lapse, 30);
    EXPECT_EQ(tables.values[5], 0);
    EXPECT_EQ(ReadBlankHeader("w24", 57), "none");

    // Offline (serial number 0) the store has no tag and is made when missing.
    EXPECT_TRUE(WriteBlankFile("w6", 0, tables, notices));
    EXPECT_EQ(Lines(program.path() + "/reports/_internal_blank_measurement/blank_w6.dat").at(0), "none");
}

TEST_F(BlankStoreTest, AGarbledBlankCopyLoadsAsNoneAndSaysSo)
{
    const std::string folder = program.path() + "/reports/p/a";
    std::filesystem::create_directories(folder);
    struct Case {
        std::string text;
        BlankFileState state;
        int lapse;
    };
    const std::string head = "b\r\nacqlapse=";
    const std::string columns = "\r\n\"#well\",\"Value\"\r\n";
    const Case cases[] = {
        {head + "0060" + columns + "5,2\r\n", BlankFileState::Read, 60},
        {"", BlankFileState::Garbled, 30},
        {"b\r\nacqlapse=0060\r\n", BlankFileState::Garbled, 30},  // two of the three header lines
        {head + "32767" + columns, BlankFileState::Read, 32767},
        {head + "32768" + columns, BlankFileState::Garbled, 30},
        {head + "sixty" + columns, BlankFileState::Garbled, 30},
        {"b\r\nacqlapse\r\n\"#well\",\"Value\"\r\n", BlankFileState::Garbled, 30},
        {head + "0060" + columns + "5,32767\r\n", BlankFileState::Read, 60},
        {head + "0060" + columns + "5,32768\r\n", BlankFileState::Garbled, 30},
        {head + "0060" + columns + "5 2\r\n", BlankFileState::Garbled, 30},
    };
    for (const auto& c : cases) {
        Spill(folder + "/blank_w6.dat", c.text);
        messages.clear();
        BlankTables tables;
        tables.values[5] = 99;
        EXPECT_EQ(ParseBlankFile("w6", folder, tables, notices), c.state) << c.text;
        EXPECT_EQ(tables.lapse, c.lapse) << c.text;
        if (c.state == BlankFileState::Garbled) {
            EXPECT_EQ(tables.values[5], 0) << c.text;
            EXPECT_EQ(messages, std::vector<std::string>{"Blank_File format error"}) << c.text;
        } else {
            EXPECT_TRUE(messages.empty()) << c.text;
        }
    }
    std::filesystem::remove(folder + "/blank_w6.dat");
    messages.clear();
    BlankTables tables;
    tables.lapse = 60;
    EXPECT_EQ(ParseBlankFile("w6", folder, tables, notices), BlankFileState::Missing);
    EXPECT_EQ(tables.lapse, 30);
    EXPECT_TRUE(messages.empty()) << "an acquisition without a copy simply has no blank";
}

}  // namespace
}  // namespace tirmo::project
