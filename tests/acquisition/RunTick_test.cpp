#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "acquisition/AcquisitionTick.h"
#include "acquisition/RunFiles.h"
#include "app/Frm_acquire.h"
#include "app/MainContainers.h"
#include "link/Session.h"
#include "lighting/LightControls.h"
#include "plate/BandFiles.h"
#include "plate/PlateSpecFile.h"
#include "platform/Convert.h"
#include "platform/ProgramFolder.h"
#include "project/BlankStore.h"
#include "project/ProjectControls.h"
#include "sim/SimDeviceState.h"
#include "support/FakeClock.h"
#include "support/FileSizeLimit.h"
#include "support/W6WindowFixture.h"
#include "support/ProcessLocale.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "thermal/ThermalControls.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/PictureBox.h"

namespace tirmo::acquisition {
namespace {

using Frames = std::vector<std::string>;

// The main window on the simulator as instrument SN 58 with the default w6 files, a run armed in
// a fresh acquisition folder; ticks are called directly and the clock moves 200 ms per tick.
class RunTickTest : public test::W6WindowFixture {
protected:
    void SetUp() override
    {
        W6WindowFixture::SetUp();
        if (HasFatalFailure()) return;
        runFolder = folder.path() + "/reports/default_project/run1";
        std::filesystem::create_directories(runFolder);
    }
    void arm(const std::string& minutes)
    {
        window->txtlapse->SetText(minutes);
        ASSERT_EQ(window->run->ArmRun(runFolder, "run1"), 1);
        ASSERT_EQ(session.run_state, 1);
    }
    void tick()
    {
        clock.advanceMs(kTickIntervalMs);
        window->run->Timer2_Timer();
    }
    // Ticks until the run ends; the number of ticks.
    long runToEnd(long limit)
    {
        long n = 0;
        while (session.run_state == 1 && n < limit) {
            tick();
            ++n;
        }
        return n;
    }
    std::vector<std::string> lines(const std::string& name) const
    {
        std::ifstream in(runFolder + "/" + name, std::ios::binary);
        std::vector<std::string> out;
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            out.push_back(line);
        }
        return out;
    }
    int windowsPerScan() const
    {
        int n = 0;
        for (int c = 0; c < kRunCameras; ++c) n += window->run->tables.geometry.RowSlots(c);
        return n;
    }

    test::FakeClock clock;
    std::string runFolder;
};

TEST_F(RunTickTest, ADummyRunOfHalfAnHourFinishesWithCompleteRecords)
{
    test::ScopedDecimalSeparator dot(".");
    session.dummy_mode = 1;
    ASSERT_NO_FATAL_FAILURE(arm("30"));
    window->run->Timer2_Timer();  // the first tick comes at once: no time has passed
    EXPECT_EQ(window->txt_status->Text(), "[Scan1_C1.0] Frame #0/10");
    EXPECT_EQ(window->containers.txt_timepass->Text(), "[00] 00:00.00");
    EXPECT_EQ(window->txt_in->Text(), std::to_string(window->run->window_tables.window_pixel_count) + "bytes");
    runToEnd(20000);
    ASSERT_EQ(session.run_state, 0);
    EXPECT_EQ(window->txt_status->Text(), kRunDone);
    EXPECT_FALSE(window->run->Timer2.Enabled());
    EXPECT_EQ(window->camera->txt_cam->Text(), "6");
    EXPECT_TRUE(sim->framesOf('C').empty()) << "no camera is asked for a frame or selected";
    EXPECT_TRUE(sim->framesOf('G').empty());

    const RunGeometry& g = window->run->tables.geometry;
    const std::vector<std::string> raw = lines(kRawActivityFile), adjusted = lines(kAdjustedActivityFile);
    const std::vector<std::string> temps = lines(kTemperatureFile), light = lines(kLightLogFile);
    const long scans = window->run->scan_counter + 1;
    const long windows = scans * windowsPerScan();
    long rowsPerScan = 0;
    for (int c = 0; c < kRunCameras; ++c) rowsPerScan += long(g.RowSlots(c)) * g.ColumnSlots(c);
    ASSERT_EQ(long(raw.size()), 2 + scans * rowsPerScan);
    ASSERT_EQ(adjusted.size(), raw.size());
    EXPECT_EQ(long(temps.size()), 2 + windows);
    EXPECT_EQ(long(light.size()), 1 + windows);
    // The thermostat reads the stage on the ticks that leave 3, 6 and 9 frames: three a window.
    long readings = 0;
    for (const auto& f : sim->framesOf('T')) readings += f.a == 255;
    EXPECT_EQ(readings, 3 * windows);
    double last = -1;
    for (size_t i = 2; i < raw.size(); ++i) {
        const auto r = ParseActivityRow(raw[i]);
        ASSERT_TRUE(r) << raw[i];
        EXPECT_GE(r->minutes, last) << i;
        last = r->minutes;
        EXPECT_EQ(adjusted[i], raw[i]) << "factors 1.0";
    }
    EXPECT_GE(last, 30.0);
    // The temperature rows carry the thermostat's temperature, not the stage's raw reading.
    const auto lastTemperature = ParseTemperatureRow(temps.back());
    ASSERT_TRUE(lastTemperature);
    EXPECT_EQ(platform::Format(lastTemperature->temperature, "0.0"), window->thermal->txt_current->Text());
    const auto lastRow = ParseActivityRow(raw.back());
    std::set<std::string> camera5;
    for (int w = 0; w < g.RowSlots(5); ++w)
        for (int i = 0; i < g.ColumnSlots(5); ++i) camera5.insert(g.WellLabel(5, i, w));
    EXPECT_TRUE(camera5.count(lastRow->well)) << lastRow->well;
    // Every well has its read time in the last scan, those of the run's last window included.
    for (int c = 0; c < kRunCameras; ++c)
        for (int w = 0; w < g.RowSlots(c); ++w)
            for (int i = 0; i < g.ColumnSlots(c); ++i) {
                const int well = g.well_table.at(c, i, w).dataindex;
                EXPECT_GE(window->run->tables.well_scan_seconds(well, scans - 1), 30 * 60) << g.WellLabel(c, i, w);
            }
    // Elapsed whole seconds of each scan's start, in order.
    for (long s = 1; s < scans; ++s)
        EXPECT_GT(window->run->tables.scan_start_seconds(s), window->run->tables.scan_start_seconds(s - 1));

    // The tick after the end leaves everything as it is.
    const std::string status = window->txt_status->Text();
    tick();
    EXPECT_EQ(window->txt_status->Text(), status);
    EXPECT_EQ(lines(kRawActivityFile).size(), raw.size());
}

TEST_F(RunTickTest, AMovingSpotGivesActivityOnlyInItsWellAndOnTheLiveChart)
{
    test::ScopedDecimalSeparator dot(".");
    session.dummy_mode = 1;
    window->show();  // the live chart is drawn only in a shown window
    ASSERT_NO_FATAL_FAILURE(arm("1"));
    RunControls& run = *window->run;
    // The spot: a block in the middle of the well of camera 1 (its camera and window numbers
    // differ) that lights up on every other frame, on a steady background with seeded noise too
    // small to count.
    const RunGeometry& g = run.tables.geometry;
    const int span = g.RowEnd(1, 0) - g.RowStart(1, 0), middle = (g.ColumnEnd(1, 0) - g.ColumnStart(1, 0)) / 2;
    std::vector<int> spot, outside;
    for (int p = 1; p <= run.window_tables.window_pixel_count; ++p)
        if (!run.tables.pixel_in_well(1, 0, p))
            outside.push_back(p);
        else if (std::abs(run.tables.pixel_column_offset(1, 0, p) - middle) <= 2 &&
                 std::abs(run.tables.pixel_row_offset(1, 0, p) - span / 2) <= 3)
            spot.push_back(p);
    ASSERT_EQ(spot.size(), 35u);
    std::mt19937 noise(12);
    long calls = 0;
    run.dummy_frames = [&](int camera, int window, int pixels) {
        std::string f(size_t(pixels), char(120));
        for (char& c : f) c = char(120 + int(noise() % 2));
        if (camera == 1 && window == 0 && calls % 2)
            for (int p : spot) f[size_t(p) - 1] = char(250);
        ++calls;
        return f;
    };
    while (!(run.camera_index == 1 && run.frame_counter == kWindowFrames - 1)) tick();
    // The chart as the window's last frame left it: frame byte i on line i / (span + 1), in the
    // cell left of i modulo (span + 1), and every spot byte but the first moves with a neighbour
    // drawn before it; pixel p outside the well white in the cell (its row offset, its line).
    const ui::PictureBox& chart = *window->camera->Picact2;
    for (size_t k = 1; k < spot.size(); ++k)
        ASSERT_EQ(chart.Point((spot[k] - 1) % (span + 1) - 0.5, (spot[k] - 1) / (span + 1) + 0.5), ui::RGB(55, 55, 0));
    for (int p : outside)
        ASSERT_EQ(chart.Point(run.tables.pixel_row_offset(1, 0, p) + 0.5, run.tables.pixel_column_offset(1, 0, p) + 0.5),
                  ui::colour::White);
    window->hide();

    runToEnd(5000);
    ASSERT_EQ(session.run_state, 0);
    const std::string spotName = g.WellLabel(1, 0, 0);
    std::map<std::string, double> final;
    for (const std::string& line : lines(kRawActivityFile))
        if (const auto r = ParseActivityRow(line)) final[r->well] = r->value;
    ASSERT_EQ(final.size(), 6u);
    for (const auto& [well, value] : final) {
        if (well == spotName)
            EXPECT_GT(value, 0) << well;
        else
            EXPECT_EQ(value, 0) << well;
    }
}

TEST_F(RunTickTest, TheElapsedTimeComesFromTheMonotonicClockAndShowsDays)
{
    session.dummy_mode = 1;
    // Long enough that a day passes mid-run.
    ASSERT_NO_FATAL_FAILURE(arm("3000"));
    clock.setWall(std::chrono::system_clock::now() - std::chrono::hours(5));  // a clock change: no effect
    clock.advanceMs(86399.0 * 1000 - kTickIntervalMs);
    tick();
    EXPECT_EQ(window->containers.txt_timepass->Text(), "[00] 23:59.59");
    tick();
    EXPECT_EQ(window->containers.txt_timepass->Text(), "[00] 23:59.59");
    clock.advanceMs(600);
    tick();
    EXPECT_EQ(window->containers.txt_timepass->Text(), "[01] 00:00.00");
    EXPECT_NEAR(session.elapsed_seconds, 86400.0, 1e-6);
    window->run->StopPlayRun();
}

TEST_F(RunTickTest, TheRunEndsOnlyAfterCameraFiveOnceTheTimeIsUp)
{
    ASSERT_NO_FATAL_FAILURE(chooseW48());
    session.dummy_mode = 1;
    ASSERT_NO_FATAL_FAILURE(arm("1"));
    RunControls& run = *window->run;
    // Time runs out while the second window of camera 2 is scanned: cameras 3, 4 and 5 are
    // still done.
    while (run.camera_index < 2 || run.window_index < 1) tick();
    clock.advanceMs(61000);
    tick();
    EXPECT_TRUE(run.time_up);
    EXPECT_EQ(run.scan_counter, 0);
    long n = runToEnd(1000);
    EXPECT_EQ(session.run_state, 0);
    EXPECT_EQ(run.camera_index, 5);
    EXPECT_EQ(run.scan_counter, 0);
    EXPECT_EQ(n, 7 * kWindowFrames - 1) << "the rest of this window, then six more";
    EXPECT_EQ(run.frame_counter, kWindowFrames);
    // Each well was read when its own window was done: before the time ran out or after.
    const RunGeometry& g = run.tables.geometry;
    for (int c = 0; c < kRunCameras; ++c)
        for (int w = 0; w < g.RowSlots(c); ++w)
            for (int i = 0; i < g.ColumnSlots(c); ++i)
                EXPECT_EQ(run.tables.well_scan_seconds(g.well_table.at(c, i, w).dataindex, 0) >= 61,
                          c > 2 || (c == 2 && w == 1))
                    << g.WellLabel(c, i, w);
}

TEST_F(RunTickTest, ABlankRunBecomesTheStoreBlankAndTheMarkIsCleared)
{
    test::ScopedDecimalSeparator dot(".");
    session.dummy_mode = 1;
    window->session().run_settings.SetBlankRun(true);
    ASSERT_NO_FATAL_FAILURE(arm("1"));
    boxes.expectMessage(project::kBlankOk);
    runToEnd(5000);
    ASSERT_EQ(session.run_state, 0);
    EXPECT_FALSE(window->session().run_settings.BlankRun());
    const std::string header = window->project->ReadBlankHeader("w6");
    EXPECT_EQ(header, "run1");
    EXPECT_EQ(window->project->blank_header, header) << "the run panel shows the new blank";
}

// The disk fills at the run's first window or at its last (the one that would say "DONE!"): the
// run stops as a failed run with a message box and no report, its cut appends left whole lines.
class RunTickFullDiskTest : public RunTickTest, public ::testing::WithParamInterface<bool> {};

TEST_P(RunTickFullDiskTest, TheRunStopsWithAMessageAndNeverSaysDone)
{
    session.dummy_mode = 1;
    ASSERT_NO_FATAL_FAILURE(arm("1"));
    RunControls& run = *window->run;
    const int lastWindow = run.tables.geometry.RowSlots(kRunCameras - 1) - 1;
    while (run.frame_counter != kWindowFrames - 1 ||
           (GetParam() && !(run.time_up && run.camera_index == kRunCameras - 1 && run.window_index == lastWindow)))
        tick();
    const std::string message = std::string(kRecordsNotWritten) + runFolder + kRunStopped;
    boxes.expectMessage(message);
    {
        test::ScopedFileSizeLimit full(std::filesystem::file_size(runFolder + "/" + kRawActivityFile) + 5);
        tick();
    }
    EXPECT_EQ(session.run_state, 0);
    EXPECT_EQ(window->txt_status->Text(), message);
    EXPECT_EQ(run.cmdPlay->Caption(), "Play") << "stopped, not finished: no report";
    EXPECT_EQ(window->camera->txt_cam->Text(), "6") << "the instrument at rest";
    for (const auto& file : std::filesystem::directory_iterator(runFolder)) {
        std::ifstream in(file.path(), std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), {});
        EXPECT_TRUE(text.empty() || text.ends_with("\r\n")) << file.path();
    }
}
INSTANTIATE_TEST_SUITE_P(Windows, RunTickFullDiskTest, ::testing::Values(false, true));

// ---- with the instrument

TEST_F(RunTickTest, TwoFailedFramesResendTheSettingsOnceAndAGoodFrameResetsTheCount)
{
    test::QuickTimeouts quick;
    ASSERT_NO_FATAL_FAILURE(arm("30"));
    sim->clearLog();
    sim->with([](sim::SimState& s) { return s.cameras.silentBlocks = 3; });
    tick();
    EXPECT_EQ(window->run->failed_frames, 1);
    EXPECT_EQ(window->txt_in->Text(), "0bytes");
    EXPECT_TRUE(sim->framesOf('G').empty());
    tick();
    EXPECT_EQ(window->run->failed_frames, 2);
    EXPECT_EQ(sim->framesOf('G').size(), 1u) << "the settings once";
    tick();
    EXPECT_EQ(window->run->failed_frames, 3);
    EXPECT_EQ(sim->framesOf('G').size(), 1u) << "not again at three";
    tick();
    EXPECT_EQ(window->run->failed_frames, 0);
    EXPECT_EQ(window->run->frame_counter, 1);
    EXPECT_EQ(window->txt_status->Text(), "[Scan1_C1.0] Frame #0/10");
    EXPECT_EQ(session.run_state, 1);
    window->run->StopPlayRun();
}

TEST_F(RunTickTest, FramesKeepTheWindowAndBandsTheRunWasPreparedWith)
{
    ASSERT_NO_FATAL_FAILURE(arm("30"));
    tick();
    const size_t first = window->run->frame_store[0][0].size();
    ASSERT_GT(first, 0u);
    // Bands and window boxes edited during the run change nothing of its frames.
    window->plate->column_bands.end[0][0] -= 10;
    window->plate->row_bands.end[0][0] -= 10;
    window->camera->txt_pix->SetText("7");
    tick();
    EXPECT_EQ(window->run->frame_store[0][1].size(), first);
    window->run->StopPlayRun();
}

TEST_F(RunTickTest, ACameraNotInUseTakesElevenTicksWithoutAFetch)
{
    window->session().run_settings.SetCameraInUse(0, false);
    ASSERT_NO_FATAL_FAILURE(arm("30"));
    sim->clearLog();
    const std::string status = window->txt_status->Text();
    for (int i = 0; i < 10; ++i) tick();
    EXPECT_EQ(window->run->frame_counter, 10);
    EXPECT_EQ(window->run->failed_frames, 0);
    EXPECT_TRUE(sim->framesOf('C').empty()) << "no frame asked for";
    EXPECT_EQ(window->txt_status->Text(), status);
    tick();  // the eleventh counts the last frame and completes the window
    EXPECT_EQ(window->run->camera_index, 1) << "completed and moved on";
    EXPECT_EQ(window->run->frame_counter, 0);
    Frames sent = frameList();
    std::erase_if(sent, [](const std::string& f) { return f[0] != 'C'; });
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front(), "C,1,0") << "camera 1 selected first";
    EXPECT_EQ(sim->framesOf('G').size(), 1u) << "then its window set up";
    EXPECT_EQ(sim->framesOf('C').size(), 3u) << "select, set-up and the activity read";
    window->run->StopPlayRun();
}

TEST_F(RunTickTest, MoreThanTwentyFailedFramesStopTheRunWithTheCameraNumber)
{
    test::QuickTimeouts quick;
    ASSERT_NO_FATAL_FAILURE(arm("30"));
    window->session().run_settings.SetBlankRun(true);
    // Camera 2 (the third): the message gives its 0-based number.
    while (window->run->camera_index < 2 && session.run_state == 1) tick();
    ASSERT_EQ(window->run->frame_counter, 0);
    sim->with([](sim::SimState& s) { return s.cameras.silentBlocks = 100; });
    for (int i = 0; i < 20; ++i) tick();
    EXPECT_EQ(session.run_state, 1) << "twenty failures are still tolerated";
    EXPECT_TRUE(boxes.shown().empty());
    boxes.expectMessage("Communication Error CAM2 [00] 00:");
    tick();
    EXPECT_EQ(session.run_state, 0);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].substr(0, 28), "Communication Error CAM2 [00") << boxes.shown()[0];
    EXPECT_EQ(boxes.shown()[0].size(), std::string("Communication Error CAM2 [00] 00:00.10").size());
    EXPECT_FALSE(window->session().run_settings.BlankRun()) << "a failed blank run is no blank";
    EXPECT_FALSE(window->run->Timer2.Enabled());
    EXPECT_TRUE(window->containers.frame_group->isVisibleTo(window.get()));
    EXPECT_FALSE(window->camera->Picact2->isVisibleTo(window.get()));
    EXPECT_EQ(window->run->frame_counter, 0);
}

TEST_F(RunTickTest, TheRunsThermostatReadsWithTheSetPointOnlyWhileTheTemperatureBoxIsTicked)
{
    ASSERT_NO_FATAL_FAILURE(arm("30"));
    window->thermal->txttemp->SetText("30");
    // Unticked the reading command carries the stage's own power byte, ticked the set point.
    for (const auto& [ticked, power] : {std::pair{0, 45}, std::pair{1, 30}, std::pair{0, 45}}) {
        window->thermal->chk_temp->SetValue(ticked);
        sim->clearLog();
        for (int i = 0; i < 6; ++i) tick();
        std::set<int> powers;
        for (const auto& f : sim->framesOf('T'))
            if (f.a == 255) powers.insert(f.b);
        EXPECT_EQ(powers, std::set<int>{power}) << "ticked " << ticked;
    }
}

TEST_F(RunTickTest, TheStopPutsTheInstrumentAtRestInOrder)
{
    ASSERT_NO_FATAL_FAILURE(arm("30"));
    window->lighting->txt_pulseon->setReadOnly(true);
    window->thermal->chk_temp->SetValue(1);
    sim->clearLog();
    window->run->StopPlayRun();
    // Peltier off, fan at half, pulse light off, then the temperature box's own switch-off as
    // it is unticked, and no camera.
    EXPECT_EQ(frameList(), (Frames{"T,1,0", "T,2,128", "T,15,0", "T,1,0", "T,2,128", "C,6,0"}));
    EXPECT_EQ(session.run_state, 0);
    EXPECT_FALSE(window->run->Timer2.Enabled());
    EXPECT_FALSE(window->Timer3->Enabled());
    EXPECT_EQ(window->thermal->chk_temp->Value(), 0);
    EXPECT_FALSE(window->lighting->txt_pulseon->isReadOnly());
    EXPECT_EQ(window->camera->txt_cam->Text(), "6");
}

}  // namespace
}  // namespace tirmo::acquisition
