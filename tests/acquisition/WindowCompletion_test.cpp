#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "acquisition/RunGeometryFixture.h"
#include "acquisition/RunPreparation.h"
#include "acquisition/WindowCompletion.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "support/FakeClock.h"
#include "support/ProgramFiles.h"

namespace tirmo::acquisition {
namespace {

class RecordingDevices : public RunDevices {
public:
    void SendLightPulse(int level) override { levels.push_back(level); }
    void ApplyCameraSettings(const CameraWindowGeometry&) override {}
    std::vector<int> levels;
};

// A run prepared on a default plate, at one of its windows.
class CompletionTest : public ::testing::Test {
protected:
    void prepare(const std::string& format, int camera, int window)
    {
        plate_ = std::make_unique<test::DefaultPlate>(format);
        ASSERT_TRUE(PrepareAcquisition(plate_->geometry, PreparationSettings{2, 20, 30}, tables).ok());
        SetCameraWindow(tables, win, camera, window, true, devices);
    }
    // Frames of the window with grey level value(p, k) at pixel p of frame k.
    WindowFrames frames(const std::function<int(int p, int k)>& value) const
    {
        WindowFrames f;
        for (int k = 0; k < kWindowFrames; ++k) {
            f[size_t(k)].resize(size_t(win.window_pixel_count));
            for (int p = 1; p <= win.window_pixel_count; ++p) f[size_t(k)][size_t(p - 1)] = char(value(p, k));
        }
        return f;
    }
    WindowCompletion complete(WindowFrames& f, const CompletionInputs& in)
    {
        return CompleteWindow(tables, win, f, in, {pulse_on, pulse_end, pulse_countdown}, devices);
    }

    tirmo::test::FakeClock clock;
    std::unique_ptr<test::DefaultPlate> plate_;
    RunTables tables;
    WindowTables win;
    RecordingDevices devices;
    bool pulse_on = false;
    long pulse_end = 0, pulse_countdown = 0;
};

TEST_F(CompletionTest, ElevenIdenticalFramesCountNothingAndMarkTheWellsMeasured)
{
    prepare("w24", 0, 1);
    tables.well_accumulated_activity[1] = 37;
    WindowFrames f = frames([](int p, int) { return 90 + p % 50; });
    const WindowCompletion done = complete(f, {});
    for (int k = 0; k < kWindowFrames; ++k) {
        EXPECT_EQ(done.counts.scores.change[size_t(k)], 0.0);
        EXPECT_TRUE(done.counts.scores.good[size_t(k)]);
        EXPECT_EQ(done.counts.scores.replaced_by[size_t(k)], -1);
    }
    EXPECT_GT(done.counts.counted_pixels, 0);
    for (int p = 1; p <= win.window_pixel_count; ++p) ASSERT_EQ(win.pixel_events[size_t(p)], 0) << p;
    EXPECT_EQ(tables.well_accumulated_activity[1], 37) << "the run total is unchanged";
    EXPECT_EQ(tables.well_scan_activity(1, 0), 0.0) << "measured in this scan, with no activity";
    EXPECT_EQ(tables.well_scan_activity(5, 0), 0.0);
    EXPECT_EQ(tables.well_scan_activity(0, 0), -1.0) << "well A1 lies in the other window";
}

TEST_F(CompletionTest, AJumpInFrameFiveIsReplacedByFrameFour)
{
    prepare("w6", 0, 0);
    WindowFrames f = frames([](int, int k) { return k == 5 ? 200 : 100; });
    const std::string frame4 = f[4];
    const WindowCompletion done = complete(f, {});
    const FrameScores& s = done.counts.scores;
    EXPECT_FALSE(s.good[5]);
    EXPECT_FALSE(s.good[6]) << "the way back down is as large a change";
    EXPECT_TRUE(s.good[4]);
    EXPECT_EQ(s.replaced_by[5], 4);
    EXPECT_EQ(s.replaced_by[6], 7) << "frame 5 keeps its bad flag after the repair";
    EXPECT_EQ(f[5], frame4);
    EXPECT_EQ(s.change[5], 100.0);
    EXPECT_EQ(s.level[5], 200.0);
    EXPECT_EQ(s.level[0], 0.0);
    EXPECT_EQ(tables.well_accumulated_activity[0], 0.0) << "no movement is left after the repair";
    // The raw-frame record keeps the frames as they came, before the repair: column 60 runs
    // through the well, and its frame 5 block holds the jump up, its frame 6 block the way down.
    const std::string& row = done.records.raw_frame_lines[60];
    std::vector<std::string> blocks;
    for (size_t at = 0, next; at != std::string::npos; at = next == std::string::npos ? next : next + 3) {
        next = row.find(",,,", at);
        blocks.push_back(row.substr(at, next == std::string::npos ? next : next - at));
    }
    ASSERT_EQ(blocks.size(), 12u);
    EXPECT_EQ(blocks[0], "A1,60");
    EXPECT_NE(blocks[1 + 0].find("100"), std::string::npos);
    EXPECT_EQ(blocks[1 + 4].find("100"), std::string::npos);
    EXPECT_NE(blocks[1 + 5].find(",100,"), std::string::npos);
    EXPECT_NE(blocks[1 + 6].find(",-100,"), std::string::npos);
}

TEST_F(CompletionTest, FrameZeroIsReplacedWheneverFrameOneChanged)
{
    prepare("w6", 0, 0);
    WindowFrames f = frames([](int p, int k) { return 100 + (p + k) % 2; });
    const FrameScores s = ScoreFrames(f, win.window_pixel_count);
    EXPECT_EQ(s.change[0], s.change[1]);
    EXPECT_EQ(s.level[0], 0.0);
    EXPECT_FALSE(s.good[0]);
    for (int k = 1; k < kWindowFrames; ++k) EXPECT_TRUE(s.good[size_t(k)]) << k;
}

TEST_F(CompletionTest, ABrightSpotMovingInsideOneWellCountsForThatWellOnly)
{
    prepare("w24", 0, 1);  // wells B1 (1) in column band 0 and B2 (5) in column band 1
    // A 3 x 3 spot in the middle of B1 moving one line per frame.
    auto spot = [this](int p, int k) {
        if (tables.pixel_column_band(0, 1, p) != 0) return 100;
        const int x = tables.pixel_column_offset(0, 1, p), y = tables.pixel_row_offset(0, 1, p);
        return x >= 30 + k && x <= 32 + k && y >= 40 && y <= 42 ? 200 : 100;
    };
    WindowFrames f = frames(spot);
    const WindowCompletion done = complete(f, {});
    EXPECT_EQ(done.counts.scores.replaced_by[0], 1);
    EXPECT_GT(done.counts.well_activity[1], 0.0);
    EXPECT_EQ(done.counts.well_activity[5], 0.0);
    for (int well = 0; well < kCountedWells; ++well)
        EXPECT_EQ(tables.well_accumulated_activity[size_t(well)] > 0, well == 1) << well;
    EXPECT_EQ(tables.well_accumulated_activity[1], done.counts.well_activity[1]);
    EXPECT_EQ(tables.well_scan_activity(1, 0), done.counts.well_activity[1]);
    int moving = 0;
    for (int p = 1; p <= win.window_pixel_count; ++p) {
        if (win.pixel_events[size_t(p)] == 0) continue;
        ++moving;
        ASSERT_EQ(tables.pixel_well(0, 1, p), 1) << p;
        ASSERT_EQ(win.pixel_activity[size_t(p)],
                  platform::RoundHalfEven(double(win.pixel_events[size_t(p)]) * 1.0 *
                                          (double(tables.mean_well_pixels) / tables.well_pixel_total[1])));
    }
    EXPECT_GT(moving, 0);
    EXPECT_GT(tables.well_window_events[1], 0) << "counted pixels of the first scan";

    // A second scan of the same window adds to the totals but not to the first-scan counts.
    const int firstScanEvents = tables.well_window_events[1];
    const double total = tables.well_accumulated_activity[1];
    SetCameraWindow(tables, win, 0, 1, true, devices);
    WindowFrames again = frames(spot);
    CompletionInputs second;
    second.scan_counter = 1;
    complete(again, second);
    EXPECT_EQ(tables.well_window_events[1], firstScanEvents);
    EXPECT_DOUBLE_EQ(tables.well_accumulated_activity[1], 2 * total);
    EXPECT_EQ(tables.well_scan_activity(1, 1), done.counts.well_activity[1]);
}

// The counting of a window in its plainest form (levels, scores, repair, events, normalised
// sums), position by position, with no shortcut; the counter itself is checked against its own
// plain form elsewhere.
struct PlainCounts {
    std::array<long, kWellSlots> level{};
    std::array<int, kWindowFrames> replaced{};
    std::vector<int> events;
    std::vector<long> activity;
    std::array<double, kWellSlots> sum{};
};
PlainCounts countPlainly(const RunTables& t, int c, int w, int n, int lineWidth, WindowFrames f)
{
    PlainCounts r;
    auto v = [&f](int k, int p) { return int(static_cast<unsigned char>(f[size_t(k)][size_t(p - 1)])); };
    std::array<long, kWellSlots> samples{};
    for (int p = 3; p <= n; ++p)
        if (const int well = t.pixel_well(c, w, p); well >= 0)
            for (int k = 0; k < kWindowFrames; ++k) r.level[size_t(well)] += v(k, p), ++samples[size_t(well)];
    for (int well = 0; well < kCountedWells; ++well)
        if (samples[size_t(well)]) r.level[size_t(well)] = platform::RoundHalfEven(double(r.level[size_t(well)]) / samples[size_t(well)]);
    std::array<double, kWindowFrames> change{}, level{};
    for (int k = 1; k < kWindowFrames; ++k) {
        for (int p = 3; p <= n; ++p) change[size_t(k)] += std::abs(v(k, p) - v(k - 1, p)), level[size_t(k)] += v(k, p);
        change[size_t(k)] /= n - 2;
        level[size_t(k)] /= n - 2;
    }
    change[0] = change[1];
    std::array<bool, kWindowFrames> good{};
    for (int k = 0; k < kWindowFrames; ++k) good[size_t(k)] = !(level[size_t(k)] * 0.35 < change[size_t(k)]);
    for (int k = 0; k < kWindowFrames; ++k) {
        r.replaced[size_t(k)] = -1;
        if (good[size_t(k)]) continue;
        const int first = k == 0 ? 1 : k == 10 ? 9 : k - 1, second = k == 0 ? 2 : k == 10 ? 8 : k + 1;
        const int with = good[size_t(first)] ? first : good[size_t(second)] ? second : -1;
        if (with >= 0) f[size_t(k)] = f[size_t(with)], r.replaced[size_t(k)] = with;
    }
    FrameHistory h;
    h.Reset(n);
    for (int p = 3; p <= n; ++p)
        for (int k = 0; k < kWindowFrames; ++k) h.set(p, k, v(k, p));
    r.events.assign(size_t(n) + 1, 0);
    r.activity.assign(size_t(n) + 1, 0);
    for (int p = 3; p <= n; ++p) {
        const int well = t.pixel_well(c, w, p);
        if (well < 0) continue;
        double mean = 0;
        for (int k = 0; k < kWindowFrames; ++k) mean += h.at(p, k);
        if (r.level[size_t(well)] * 0.5 < double(platform::RoundHalfEven(mean / kWindowFrames)))
            r.events[size_t(p)] = CountActivityEvents(h, p, lineWidth);
        const plate::WellCell& cell = t.geometry.well_table.at(c, t.pixel_column_band(c, w, p), t.pixel_row_band(c, w, p));
        const double area = (cell.col_end - cell.col_ini) * (cell.row_end - cell.row_ini) / 100.0 / 100.0;
        const double value = r.events[size_t(p)] * area * (double(t.mean_well_pixels) / t.well_pixel_total[size_t(well)]);
        r.activity[size_t(p)] = platform::RoundHalfEven(value);
        r.sum[size_t(well)] += value;
    }
    return r;
}

TEST_F(CompletionTest, CountsAgreeWithThePlainCountingOnNoisyPlates)
{
    for (const auto& [format, window] : {std::pair{"w6", 0}, std::pair{"w24", 1}, std::pair{"w48", 0}}) {
        for (bool flash : {false, true}) {
            prepare(format, 1, window);
            std::mt19937 random(3);
            std::vector<int> base(size_t(win.window_pixel_count) + 1);
            for (auto& b : base) b = 60 + int(random() % 120);
            // Sensor noise, a few animals, and with flash a frame 0 far brighter than the rest.
            WindowFrames f = frames([&](int p, int k) {
                const int x = tables.pixel_column_offset(1, window, p), y = tables.pixel_row_offset(1, window, p);
                int value = base[size_t(p)] + int(random() % 9) - 4;
                if (x >= 20 + 2 * k && x < 26 + 2 * k && y >= 30 && y < 36) value += 70;
                if (flash && k == 0) value += 60;
                return std::clamp(value, 0, 255);
            });
            const PlainCounts plain = countPlainly(tables, 1, window, win.window_pixel_count, win.line_width, f);
            const WindowCounts counts = CountWindow(tables, win, f, 0);
            EXPECT_EQ(counts.well_level, plain.level) << format;
            for (int k = 0; k < kWindowFrames; ++k)
                EXPECT_EQ(counts.scores.replaced_by[size_t(k)], plain.replaced[size_t(k)]) << format << " frame " << k;
            // Frame 0 goes whenever frame 1 changed at all; after a flash frame 1 goes too.
            EXPECT_EQ(counts.scores.replaced_by[0], flash ? 2 : 1);
            int moving = 0;
            for (int p = 3; p <= win.window_pixel_count; ++p) {
                ASSERT_EQ(win.pixel_events[size_t(p)], plain.events[size_t(p)]) << format << " pixel " << p;
                ASSERT_EQ(win.pixel_activity[size_t(p)], plain.activity[size_t(p)]) << format << " pixel " << p;
                moving += plain.events[size_t(p)] > 0;
            }
            EXPECT_GT(moving, 20) << format;
            for (int well = 0; well < kCountedWells; ++well)
                EXPECT_EQ(counts.well_activity_sum[size_t(well)], plain.sum[size_t(well)]) << format << " well " << well;
        }
    }
}

TEST_F(CompletionTest, ShortFramesCountOnlyWhereTheyReachAndNeverFail)
{
    prepare("w6", 0, 0);
    WindowFrames f = frames([](int, int) { return 100; });
    f[3].resize(2);  // reaches no scored position
    f[7].resize(500);
    f[8].clear();
    const WindowCompletion done = complete(f, {});
    EXPECT_EQ(done.counts.scores.level[3], 0.0);
    EXPECT_EQ(done.counts.scores.change[3], 0.0);
    EXPECT_EQ(done.counts.scores.level[8], 0.0);
    EXPECT_EQ(done.counts.scores.level[7], 100.0);
    EXPECT_EQ(done.counts.scores.change[7], 0.0);
    EXPECT_EQ(done.counts.scores.change[9], 0.0) << "positions frame 8 misses count as unchanged";
    EXPECT_EQ(tables.well_accumulated_activity[0], 0.0);

    // Frames that all end inside the well, at any length: every position up to the end gives
    // the well's level, the last ones too.
    int first = 3;
    while (tables.pixel_well(0, 0, first) != 0) ++first;
    for (int end = first; end < first + 16; ++end) {
        WindowFrames g = frames([first](int p, int) { return p == first ? 250 : 10; });
        for (std::string& frame : g) frame.resize(size_t(end));
        int inWell = 0;
        for (int p = first; p <= end; ++p) inWell += tables.pixel_well(0, 0, p) == 0;
        EXPECT_EQ(CountWindow(tables, win, g, 0).well_level[0],
                  platform::RoundHalfEven((250.0 + 10.0 * (inWell - 1)) / inWell)) << end;
    }
}

TEST_F(CompletionTest, RowsCarryTheRunTotalAndTheAdjustedTotalInTheLocaleSeparator)
{
    prepare("w6", 0, 0);
    tables.well_accumulated_activity[0] = 37;
    const std::vector<double> factors{1.5};
    for (char decimal : {'.', ','}) {
        SetCameraWindow(tables, win, 0, 0, true, devices);
        WindowFrames f = frames([](int, int) { return 80; });
        CompletionInputs in;
        in.scan_counter = 3;
        in.elapsed_seconds = 750;
        in.reference_factors = factors;
        in.decimal = decimal;
        in.stage_temperature = 25.25;
        const WindowRecords r = complete(f, in).records;
        const std::string t = decimal == ',' ? "12,5" : "12.5";
        EXPECT_EQ(r.activity_rows, std::vector<std::string>{t + " \"A1\" 37"});
        EXPECT_EQ(r.adjusted_rows, std::vector<std::string>{t + " \"A1\" 56"});
        EXPECT_EQ(r.light_row, "3,\"12.5\",0") << "light.csv always has a point";
        EXPECT_EQ(r.temperature_row, t + " " + (decimal == ',' ? "25,3" : "25.3"));
        EXPECT_EQ(r.pixel_activity_lines[1], "time[m],\"" + t + "\"");
        EXPECT_EQ(r.raw_frame_lines.back(), std::string("Temperature,") + (decimal == ',' ? "25,3" : "25.3"));
    }
    // Camera 3 of w6 holds well B2 (well number 3), whose factor is not in the table: 1.0.
    SetCameraWindow(tables, win, 3, 0, true, devices);
    tables.well_accumulated_activity[3] = 4;
    WindowFrames f = frames([](int, int) { return 80; });
    CompletionInputs in;
    in.reference_factors = factors;
    EXPECT_EQ(complete(f, in).records.adjusted_rows, std::vector<std::string>{"0.0 \"B2\" 4"});

    // Four column slots, two windows: camera 1's second window is row D of columns 1 to 4,
    // wells 3, 9, 15 and 21, one row each.
    prepare("w48", 1, 1);
    for (int s = 0; s < 4; ++s) tables.well_accumulated_activity[size_t(6 * s + 3)] = 10 * s + 1;
    WindowFrames flat = frames([](int, int) { return 80; });
    EXPECT_EQ(complete(flat, {}).records.activity_rows,
              (std::vector<std::string>{"0.0 \"D1\" 1", "0.0 \"D2\" 11", "0.0 \"D3\" 21", "0.0 \"D4\" 31"}));
}

TEST_F(CompletionTest, AFinishedWindowLandsInTheRunFilesUnderTheirHeaders)
{
    prepare("w6", 0, 0);
    const std::string folder = platform::ProgramFolder() + "/reports/default_project/20250131_140512";
    platform::MakeFolder(folder);
    const auto stamp = WriteStartingFiles(folder, {0, "run", "30", "w6"});
    ASSERT_TRUE(stamp);
    ASSERT_TRUE(CreateLightLog(folder));
    tables.well_accumulated_activity[0] = 37;
    WindowFrames f = frames([](int, int) { return 90; });
    CompletionInputs in;
    in.scan_counter = 3;
    in.elapsed_seconds = 750;
    in.stage_temperature = 21.04;
    ASSERT_TRUE(WriteWindowRecords(folder, complete(f, in).records));

    auto read = [&folder](const char* name) {
        return tirmo::test::ReadProgramFile("reports/default_project/20250131_140512/" + std::string(name));
    };
    const std::string q = "\"";
    EXPECT_EQ(read("current_activity.txt"), q + *stamp + q + " \"<Raw_activity_file_without_internal_factor_correction>\"\r\n"
                                                "\"Time[m]\" \"Well\" \"Accumulated_activity\"\r\n12.5 \"A1\" 37\r\n");
    EXPECT_EQ(read("adjusted_activity.txt"), q + *stamp + q + " \"<activity_file_adjusted_by_internal_factor_correction>\"\r\n"
                                                 "\"Time[m]\" \"Well\" \"Accumulated_activity\"\r\n12.5 \"A1\" 37\r\n")
        << "no factors: every factor 1.0";
    EXPECT_EQ(read("current_temperature.txt"),
              q + *stamp + q + "\r\n\"Time[m]\" \"Temperature[C]\"\r\n12.5 21.0\r\n");
    EXPECT_EQ(read("light.csv"), "\"#scan\",\"time[m]\",\"light power[0=off]\"\r\n3,\"12.5\",0\r\n");
    const std::string pixels = read("wellactivity00.csv");
    EXPECT_EQ(pixels.substr(0, 29), "scan,3\r\ntime[m],\"12.5\"\r\nA1,0,");
    EXPECT_EQ(pixels.substr(pixels.size() - 4), "\r\n\r\n");
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), '\n'), 2 + 135 + 1) << "one row per column of the window";
    const std::string raw = read("lastread00.csv");
    EXPECT_EQ(raw.substr(0, 8), "A1,0,,,-");
    EXPECT_EQ(raw.substr(raw.size() - 22), "\r\n\r\nTemperature,21.0\r\n");
}

TEST_F(CompletionTest, ACameraNotInUseWritesOnlyItsLightZeroRowsAndTemperature)
{
    prepare("w24", 2, 0);
    tables.well_accumulated_activity[8] = 12;
    WindowFrames f = frames([](int p, int k) { return (p * 7 + k * 13) % 256; });
    const WindowFrames before = f;
    CompletionInputs in;
    in.camera_in_use = false;
    in.elapsed_seconds = 90;
    const WindowCompletion done = complete(f, in);
    const WindowRecords& r = done.records;
    EXPECT_FALSE(r.raw_frames);
    EXPECT_TRUE(r.raw_frame_lines.empty());
    EXPECT_TRUE(r.pixel_activity_lines.empty());
    EXPECT_EQ(r.activity_rows, (std::vector<std::string>{"1.5 \"A3\" 0", "1.5 \"A4\" 0"}));
    EXPECT_EQ(r.adjusted_rows, r.activity_rows);
    EXPECT_EQ(r.light_row, "0,\"1.5\",0");
    EXPECT_EQ(r.temperature_row, "1.5 0.0");
    EXPECT_EQ(f, before) << "nothing scored, nothing repaired";
    EXPECT_EQ(tables.well_accumulated_activity[8], 12);
    EXPECT_EQ(tables.well_scan_activity(8, 0), -1.0);
}

TEST_F(CompletionTest, ScanTemperatureTakesTheFirstReadingThenAveragesPositiveOnes)
{
    prepare("w6", 1, 0);
    const double readings[] = {20.0, 22.0, 0.0, -3.0};
    const double expected[] = {20.0, 21.0, 21.0, 21.0};
    for (int i = 0; i < 4; ++i) {
        CompletionInputs in;
        in.camera_in_use = false;
        in.stage_temperature = readings[i];
        WindowFrames f;
        EXPECT_EQ(complete(f, in).records.temperature_row, "0.0 " + Tenths(expected[i], '.'));
        EXPECT_EQ(tables.scan_temperature(0), expected[i]);
    }
}

TEST_F(CompletionTest, LightPulsesFollowTheScheduleAndTheLogShowsThemOneWindowLate)
{
    prepare("w6", 0, 0);
    struct Step {
        double elapsed;
        int loggedPower;
        std::vector<int> sent;
    };
    // One pulse: 1 minute dark, then 2 minutes lit (60 s to 180 s), power 3 sends level 5.
    const Step steps[] = {{30, 0, {0}}, {60, 0, {5}}, {120, 3, {5}}, {180, 3, {0, 0}}, {181, 0, {0}}};
    for (const Step& s : steps) {
        CompletionInputs in;
        in.camera_in_use = false;
        in.elapsed_seconds = s.elapsed;
        in.pulse = PulseBoxes{true, "1", "2", "1", "3"};
        devices.levels.clear();
        WindowFrames f;
        const WindowRecords r = complete(f, in).records;
        EXPECT_EQ(r.light_row.substr(r.light_row.rfind(',') + 1), std::to_string(s.loggedPower)) << s.elapsed;
        EXPECT_EQ(devices.levels, s.sent) << s.elapsed;
    }
}

TEST_F(CompletionTest, PulseBoxesThatAreNotWholeNumbersCountAsNoPulse)
{
    prepare("w6", 0, 0);
    struct Case {
        const char* what;
        PulseBoxes boxes;
        bool alreadyOn;
        int loggedPower;
        std::vector<int> sent;
    };
    const Case cases[] = {
        {"cycle count typed as text", {true, "two", "2", "1", "3"}, false, 0, {0}},
        {"cycle count past 16 bits", {true, "40000", "2", "1", "3"}, false, 0, {0}},
        {"cycle count 1.5 is 2 cycles", {true, "1.5", "2", "1", "3"}, false, 0, {5}},
        {"power typed as text while lit", {false, "", "", "", "x"}, true, 0, {}},
        {"power 8 while lit", {false, "", "", "", "8"}, true, 8, {}},
        {"power 7 while lit", {false, "", "", "", "7"}, true, 7, {1}},
        {"schedule switched off", {false, "1", "2", "1", "3"}, false, 0, {0}},
    };
    for (const Case& c : cases) {
        pulse_on = c.alreadyOn;
        pulse_end = 500;
        CompletionInputs in;
        in.camera_in_use = false;
        in.elapsed_seconds = 100;
        in.pulse = c.boxes;
        devices.levels.clear();
        WindowFrames f;
        const WindowRecords r = complete(f, in).records;
        EXPECT_EQ(r.light_row, "0,\"1.7\"," + std::to_string(c.loggedPower)) << c.what;
        EXPECT_EQ(devices.levels, c.sent) << c.what;
    }
    EXPECT_EQ(LightLogPower(true, "4"), 4);
    EXPECT_EQ(LightLogPower(false, "4"), 0);
    EXPECT_EQ(LightLogPower(true, ""), 0);
}

}  // namespace
}  // namespace tirmo::acquisition
