// An acquisition loaded into the saved-data window: its set-up (asked for when missing), its
// plate, its interval counts, seconds and temperature means, and what a damaged file leaves.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/ProgramFolder.h"
#include "reports/LoadedRecording.h"
#include "support/RunFiles.h"
#include "support/TempFolder.h"

namespace tirmo::reports {
namespace {

void Spill(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

const BrowserRow kRow{false, "proj", "20250131_140000_a", ""};

class LoadedRecordingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::SetProgramFolder(program.path());
        folder = platform::ProgramPath("reports/proj/20250131_140000_a");
        platform::MakeFolder(folder);
    }
    // Loads the row, answering the prompts in turn; asked receives what was asked.
    LoadOutcome load(std::vector<std::string> answers = {})
    {
        return LoadRecording(rec, platform::ProgramPath("reports"), kRow, [this, answers](const std::string& prompt) {
            asked.push_back(prompt);
            return asked.size() <= answers.size() ? answers[asked.size() - 1] : std::string();
        });
    }
    test::TempFolder program;
    std::string folder;
    LoadedRecording rec;
    std::vector<std::string> asked;
};

// 3.5 scans of a w24 plate written under a comma locale: every well gains w + 1 a scan, the
// second half of the plate is read 30 s after the first, the sensor reads 0 now and then.
TEST_F(LoadedRecordingTest, AW24RecordingGivesIntervalCountsSecondsAndPositiveTemperatureMeans)
{
    std::vector<test::ActivityRow> rows;
    for (int k = 0; k < 4; ++k)
        for (int w = 0; w < (k < 3 ? 24 : 12); ++w)
            rows.push_back({k * 2.0 + (w >= 12 ? 0.5 : 0.0), std::string(1, char('A' + w % 4)) + std::to_string(w / 4 + 1),
                            double((w + 1) * (k + 1))});
    Spill(folder + "/subpj.dat", test::SubprojectText("a", 0, "w24"));
    Spill(folder + "/current_activity.txt", test::ActivityFileText(rows, ","));
    Spill(folder + "/current_temperature.txt",
          test::TemperatureFileText({{0, 24}, {0.5, 26}, {2, 0}, {2.5, 0}, {4, 25}, {4.5, 0}, {6, 0}, {6.5, 30}}, ","));

    ASSERT_EQ(load().result, LoadResult::Loaded);
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(rec.last_record(), 3) << "tables sized from the files, not from acq_time=0";
    EXPECT_EQ(rec.plate_rows * 10 + rec.plate_columns, 46);
    EXPECT_EQ(rec.recording_folder, folder);
    EXPECT_EQ(rec.recording_path, "proj\\20250131_140000_a");
    EXPECT_EQ(rec.recording_stamp, "20250131_1400");
    EXPECT_EQ(rec.data.record_seconds, (std::vector<long>{0, 120, 240, 360}));
    EXPECT_EQ(rec.data.well_activity[5], (std::vector<double>{6, 6, 6, 6}));
    EXPECT_EQ(rec.data.well_activity[23], (std::vector<double>{24, 24, 24, -1})) << "not read in the unfinished scan";
    EXPECT_EQ(rec.data.well_seconds[23], (std::vector<long>{30, 150, 270, 0}));
    EXPECT_EQ(rec.data.record_temperature, (std::vector<double>{25, 0, 25, 30}));
}

TEST_F(LoadedRecordingTest, WhatSubpjDatLacksIsAskedAndABadAnswerStopsTheLoad)
{
    struct Case {
        const char* subpj;  // nullptr: no subpj.dat
        std::vector<std::string> answers;
        std::vector<std::string> asked;
        LoadResult result;
        std::string format;
    };
    const std::vector<std::string> both = {kAskTime, kAskFormat};
    const Case cases[] = {
        {nullptr, {"30", "W24"}, both, LoadResult::Loaded, "w24"},
        {"t\r\n", {"12,5", "p35"}, both, LoadResult::Loaded, "p35"},
        {"t\r\nacq_time=30\r\n", {"w96f"}, {kAskFormat}, LoadResult::Loaded, "w96f"},
        {"t\r\nacq_time=30\r\nplate_format=w6\r\n", {}, {}, LoadResult::Loaded, "w6"},
        {nullptr, {"0", "w6"}, {kAskTime}, LoadResult::BadTime, ""},
        {nullptr, {"soon", "w6"}, {kAskTime}, LoadResult::BadTime, ""},
        {nullptr, {"0.1", "w96u"}, both, LoadResult::BadFormat, ""},
        {nullptr, {"0.1", ""}, both, LoadResult::BadFormat, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.subpj ? c.subpj : "no subpj.dat");
        std::filesystem::remove(folder + "/subpj.dat");
        if (c.subpj) Spill(folder + "/subpj.dat", c.subpj);
        Spill(folder + "/current_activity.txt", test::ActivityFileText({{0.1, "A1", 5}}));
        rec = LoadedRecording{};
        asked.clear();
        EXPECT_EQ(load(c.answers).result, c.result);
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(rec.data.plate_format, c.format);
        EXPECT_EQ(rec.last_record(), c.result == LoadResult::Loaded ? 0 : -1) << "a refused answer loads nothing";
    }
    rec = LoadedRecording{};
    EXPECT_EQ(LoadRecording(rec, platform::ProgramPath("reports"), {false, "proj", "20250131_150000_gone", ""}, {}).result,
              LoadResult::FolderNotFound);
    EXPECT_EQ(rec.project_name, "proj");
}

// Every plate has its geometry: the last well of each lands on the last index, the one before
// it on the index before.
TEST_F(LoadedRecordingTest, EveryPlateFormatPlacesItsWells)
{
    struct Case {
        const char* format;
        const char* last;
        const char* beforeLast;
        int wells;
    };
    for (const Case c : {Case{"w96f", "H12", "G12", 96}, Case{"w48", "F8", "E8", 48}, Case{"w24", "D6", "C6", 24},
                         Case{"w12", "C4", "B4", 12}, Case{"w6", "B3", "A3", 6}, Case{"p35", "B3", "A3", 6}}) {
        Spill(folder + "/subpj.dat", test::SubprojectText("a", 5, c.format));
        Spill(folder + "/current_activity.txt",
              test::ActivityFileText({{0.1, "A1", 1}, {0.2, c.beforeLast, 2}, {0.3, c.last, 3}}));
        ASSERT_EQ(load().result, LoadResult::Loaded) << c.format;
        EXPECT_EQ(rec.wells(), c.wells) << c.format;
        EXPECT_EQ(rec.data.well_activity[size_t(c.wells - 1)], std::vector<double>{3}) << c.format;
        EXPECT_EQ(rec.data.well_activity[size_t(c.wells - 2)], std::vector<double>{2}) << c.format;
        EXPECT_TRUE(rec.notes.empty()) << c.format;
    }
}

// A run killed or a disk filled mid-run: each file is read up to its first damaged line, and
// the notes name it; only a damaged header leaves nothing to load.
TEST_F(LoadedRecordingTest, ADamagedRecordingLoadsAsFarAsItIsSound)
{
    struct Case {
        const char* file;
        int line;  // replaced by text
        const char* text;
        LoadResult result;
        int lastRecord;
        std::string says;  // in the notes, or the refusal
    };
    const Case cases[] = {
        {"current_activity.txt", 6, "1.1 \"A1\" \x01\x02", LoadResult::Loaded, 1, "current_activity.txt, line 6"},
        {"current_activity.txt", 3, "garbage", LoadResult::Loaded, -1, "current_activity.txt, line 3"},
        {"current_activity.txt", 2, "garbage", LoadResult::Refused, 1, "line 2: this is not the column header"},
        {"current_temperature.txt", 4, "1.1 -5", LoadResult::Loaded, 1, "current_temperature.txt, line 4"},
        {"chgroup.dat", 3, "x,y", LoadResult::Loaded, 1, "chgroup.dat, line 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.text);
        Spill(folder + "/subpj.dat", test::SubprojectText("a", 5, "w6"));
        Spill(folder + "/current_activity.txt",
              test::ActivityFileText({{0.1, "A1", 5}, {0.2, "B1", 7}, {1.1, "A1", 12}, {1.2, "B1", 9}}));
        Spill(folder + "/current_temperature.txt", test::TemperatureFileText({{0.1, 25}, {1.1, 26}}));
        std::filesystem::remove(folder + "/chgroup.dat");
        ASSERT_EQ(load().result, LoadResult::Loaded);  // the sound recording, loaded before
        std::vector<std::string> lines;
        {
            std::ifstream in(folder + "/" + c.file);
            for (std::string l; std::getline(in, l);) lines.push_back(l);
        }
        lines[size_t(c.line - 1)] = c.text;
        std::string text;
        for (const std::string& l : lines) text += l + "\n";
        Spill(folder + "/" + c.file, text);

        const LoadOutcome outcome = load();
        EXPECT_EQ(outcome.result, c.result);
        EXPECT_EQ(rec.last_record(), c.lastRecord);
        std::string said = outcome.refusal;
        for (const std::string& n : rec.notes) said += n;
        EXPECT_NE(said.find(c.says), std::string::npos) << said;
    }
}

}  // namespace
}  // namespace tirmo::reports
