#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "acquisition/RunPreparation.h"
#include "app/Frm_acquire.h"
#include "link/Session.h"
#include "lighting/LightControls.h"
#include "plate/BandFiles.h"
#include "plate/PlateSpecFile.h"
#include "platform/ProgramFolder.h"
#include "support/FakeClock.h"
#include "support/LinkFixture.h"
#include "support/ProcessLocale.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "thermal/ThermalControls.h"
#include "project/ProjectControls.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"

namespace tirmo::acquisition {
namespace {

using Frames = std::vector<std::string>;

// The main window on the simulator as instrument SN 58 (generation 2, gain 20, exposure 28 by
// default) with the default band files of "w6" and "w24" for that instrument.
class RunControlsTest : public test::LinkFixture {
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        platform::SetProgramFolder(folder.path());
        installed = std::make_unique<test::ScopedDialogs>(boxes);
        asInstrument(58);
        window = std::make_unique<app::Frm_acquire>(instrument);
        window->unloaded = true;
        for (const std::string& f : {std::string("\\config_SN58"), std::string("\\config_SN12")}) {
            ASSERT_TRUE(plate::WriteW6ColumnFile(f));
            ASSERT_TRUE(plate::WriteW6RowFile(f));
            ASSERT_TRUE(plate::WriteW24ColumnFile(f));
            ASSERT_TRUE(plate::WriteW24RowFile(f));
        }
        ASSERT_TRUE(plate::WriteW6SpecFile("\\config"));
        ASSERT_TRUE(plate::WriteW24SpecFile("\\config"));
        window->txtlapse->SetText("30");
        session.acquisition_folder = folder.path() + "/reports/default_project/run1";
        std::filesystem::create_directories(session.acquisition_folder);
        sim->clearLog();
    }
    void TearDown() override
    {
        window.reset();
        installed.reset();
        LinkFixture::TearDown();
    }
    void asInstrument(int serial)
    {
        session.serial_number = serial;
        link::ApplyInstrumentDefaults(session);
    }
    std::string runFile(const std::string& name) const
    {
        std::ifstream in(session.acquisition_folder + "/" + name, std::ios::binary);
        if (!in) return "<missing>";
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The plate format chosen as a user does, answering Yes to the change.
    void choosePlate(const std::string& format)
    {
        if (format != window->plate->current_format) boxes.expectMessage("Change Plate to " + format + "?", ui::MsgResult::Yes);
        window->cmb_well->SetText(format);
    }
    // Prepares a run of the format and sets window w of camera 0.
    void prepareAndSet(const std::string& format, int w)
    {
        choosePlate(format);
        ASSERT_EQ(window->run->PrepareAcquisition(), 1);
        ASSERT_EQ(window->run->SetCameraWindow(0, w), 1);
    }
    std::vector<std::string> boxesOfWindow() const
    {
        const camera::CameraControls& c = *window->camera;
        return {c.txt_xini->Text(), c.txt_xfin->Text(), c.txt_yini->Text(),
                c.txt_yfin->Text(), c.txt_lines->Text(), c.txt_pix->Text()};
    }

    test::TempFolder folder;
    test::FakeClock clock;  // the set-up's pauses take no time
    test::ScriptedDialogs boxes;
    std::unique_ptr<test::ScopedDialogs> installed;
    std::unique_ptr<app::Frm_acquire> window;
};

TEST_F(RunControlsTest, PreparationShowsItsStatusAndPutsTheRunSpeedAndExposureIntoTheCameraBoxes)
{
    // W = 155 for w6, 80 for w24; generation 1 (SN 12) and 2 (SN 58) differ only for w6.
    const struct {
        int serial;
        std::string format;
        std::string speed, exposure;
    } cases[] = {{58, "w6", "7", "28"}, {12, "w6", "6", "40"}, {58, "w24", "3", "140"}, {12, "w24", "3", "100"}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.format + " SN" + std::to_string(k.serial));
        asInstrument(k.serial);
        choosePlate(k.format);
        EXPECT_EQ(window->run->PrepareAcquisition(), 1);
        EXPECT_EQ(window->txt_status->Text(), kSettingUpCamera);
        EXPECT_EQ(window->camera->txt_speed->Text(), k.speed);
        EXPECT_EQ(window->camera->txt_exposure->Text(), k.exposure);
        EXPECT_EQ(window->run->tables.scans, 300);
    }
    EXPECT_EQ(boxes.shown(), (std::vector<std::string>{"Change Plate to w24?"})) << "and no other box";
    EXPECT_TRUE(sim->frames().empty()) << "preparation sends nothing";
}

TEST_F(RunControlsTest, ARefusedGeometryShowsTheEnginesMessageAndLeavesTheCameraBoxesAlone)
{
    choosePlate("w6");
    ASSERT_EQ(window->run->PrepareAcquisition(), 1);
    window->camera->txt_speed->SetText("2");
    window->camera->txt_exposure->SetText("33");

    // Camera 3's row band reaches past the sensor's last row (183): 184 is refused.
    plate::ColumnBands columns = window->plate->column_bands;
    plate::RowBands rows = window->plate->row_bands;
    rows.end[3][0] = 184;
    ASSERT_TRUE(plate::WriteFormatFiles("w6", 58, columns, rows));
    boxes.expectMessage("Configuration error: ");
    EXPECT_EQ(window->run->PrepareAcquisition(), -1);
    EXPECT_EQ(window->camera->txt_speed->Text(), "2");
    EXPECT_EQ(window->camera->txt_exposure->Text(), "33");

    // 183 is the last row a band may end on.
    rows.end[3][0] = 183;
    ASSERT_TRUE(plate::WriteFormatFiles("w6", 58, columns, rows));
    EXPECT_EQ(window->run->PrepareAcquisition(), 1);
}

TEST_F(RunControlsTest, SettingACameraWindowFillsTheBoxesAndSendsTheCameraSetUp)
{
    window->camera->txt_gain->SetText("20");
    prepareAndSet("w6", 0);
    EXPECT_EQ(boxesOfWindow(), (std::vector<std::string>{"5", "140", "18", "173", "136", "156"}));
    EXPECT_EQ(window->run->window_tables.window_pixel_count, 21060);
    EXPECT_EQ(window->run->window_tables.pixel_events.size(), 21061u);
    EXPECT_EQ(window->camera->cmd_camselect[0]->BackColor(), 0x808080u);
    for (int c = 1; c < 6; ++c) EXPECT_EQ(window->camera->cmd_camselect[size_t(c)]->BackColor(), 0xFFFFFFu);
    // Camera, gain, the run's exposure and speed, then the read-out window from the boxes.
    EXPECT_EQ(frameList(), (Frames{"C,0,0", "G,0,20", "E,0,28", "S,0,7", "y,0,5", "Y,0,140", "x,0,18", "X,0,173"}));

    sim->clearLog();
    prepareAndSet("w24", 1);
    EXPECT_EQ(boxesOfWindow(), (std::vector<std::string>{"5", "142", "13", "93", "138", "81"}));
    EXPECT_EQ(window->run->window_tables.window_pixel_count, 81 * 137);
    EXPECT_EQ(window->run->window_index, 1);
}

TEST_F(RunControlsTest, InDummyModeTheWindowIsSetUpButNothingIsSent)
{
    session.dummy_mode = 1;
    window->run->window_tables.pixel_events.assign(5, 7);
    ASSERT_NO_FATAL_FAILURE(prepareAndSet("w6", 0));
    window->run->SetCameraWindow(2, 0);
    EXPECT_TRUE(sim->frames().empty());
    EXPECT_EQ(boxesOfWindow(), (std::vector<std::string>{"5", "140", "18", "173", "136", "156"}));
    EXPECT_EQ(window->camera->cmd_camselect[2]->BackColor(), 0x808080u);
    EXPECT_EQ(window->camera->cmd_camselect[0]->BackColor(), 0xFFFFFFu);
    EXPECT_EQ(window->run->window_tables.pixel_events, std::vector<int32_t>(21061, 0));
}

// A w6 window of camera 0 completed on eleven identical frames: no new activity, so the rows
// show the accumulated value the run already had.
class RunCompletionTest : public RunControlsTest, public ::testing::WithParamInterface<bool> {};

TEST_P(RunCompletionTest, CompletionAppendsTheRecordsInTheLocalesLayout)
{
    const bool comma = GetParam();
    std::unique_ptr<test::ScopedProcessLocale> locale;
    std::unique_ptr<test::ScopedDecimalSeparator> dot;
    if (comma) {
        locale = std::make_unique<test::ScopedProcessLocale>(test::kCommaLocale);
        if (!locale->active()) GTEST_SKIP() << test::kCommaLocale << " is not installed";
    } else {
        dot = std::make_unique<test::ScopedDecimalSeparator>(".");
    }
    const std::string d = comma ? "," : ".";

    ASSERT_NO_FATAL_FAILURE(prepareAndSet("w6", 0));
    RunControls& run = *window->run;
    const int well = run.tables.geometry.well_table.at(0, 0, 0).dataindex;
    const std::string name = run.tables.geometry.WellLabel(0, 0, 0);
    run.tables.well_accumulated_activity[size_t(well)] = 12.4;
    window->project->reference_factor[size_t(well)] = 1.5;
    run.stage_temperature = 36.5;
    for (std::string& f : run.frame_store[0]) f.assign(21060, char(100));
    lighting::LightControls& light = *window->lighting;
    light.Chk_lenabled->SetValue(1);
    light.txt_pulsetimes->SetText("1");
    light.txt_pulseoff->SetText("1");
    light.txt_pulseon->SetText("2");
    light.txt_power->SetText("3");
    sim->clearLog();

    session.elapsed_seconds = 90;  // inside the pulse (60 s .. 180 s)
    ASSERT_TRUE(run.CompleteWindow());
    EXPECT_EQ(frameList(), (Frames{"T,15,5"})) << "light level 8 - power";
    EXPECT_TRUE(light.pulse_on);
    EXPECT_GT(run.last_completion.counts.counted_pixels, 0) << "every in-well pixel is bright enough";

    session.elapsed_seconds = 120;
    run.stage_temperature = 37.5;
    run.scan_counter = 1;
    ASSERT_TRUE(run.CompleteWindow());

    const std::string row1 = "1" + d + "5 \"" + name + "\" ", row2 = "2" + d + "0 \"" + name + "\" ";
    EXPECT_EQ(runFile(kRawActivityFile), row1 + "12\r\n" + row2 + "12\r\n");
    EXPECT_EQ(runFile(kAdjustedActivityFile), row1 + "19\r\n" + row2 + "19\r\n");
    EXPECT_EQ(runFile(kTemperatureFile), "1" + d + "5 36" + d + "5\r\n2" + d + "0 37" + d + "5\r\n");
    // The light row shows the state the completion before left: off, then on with power 3.
    EXPECT_EQ(runFile(kLightLogFile), "0,\"1.5\",0\r\n1,\"2.0\",3\r\n");
    EXPECT_NE(runFile(PixelActivityFileName(0, 0)), "<missing>");
    EXPECT_NE(runFile(RawFrameFileName(0, 0)), "<missing>");
}

INSTANTIATE_TEST_SUITE_P(Locales, RunCompletionTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Comma" : "Point"; });

TEST_F(RunControlsTest, ACameraNotInUseRecordsZerosAndAFailedWriteIsReported)
{
    test::ScopedDecimalSeparator dot(".");
    ASSERT_NO_FATAL_FAILURE(prepareAndSet("w6", 0));
    RunControls& run = *window->run;
    const std::string name = run.tables.geometry.WellLabel(0, 0, 0);
    run.tables.well_accumulated_activity[size_t(run.tables.geometry.well_table.at(0, 0, 0).dataindex)] = 12.4;
    window->session().run_settings.SetCameraInUse(0, false);
    session.elapsed_seconds = 30;
    ASSERT_TRUE(run.CompleteWindow());
    EXPECT_EQ(runFile(kRawActivityFile), "0.5 \"" + name + "\" 0\r\n");
    EXPECT_EQ(runFile(RawFrameFileName(0, 0)), "<missing>");

    session.acquisition_folder = folder.path() + "/no such folder";
    EXPECT_FALSE(run.CompleteWindow());
    EXPECT_EQ(window->txt_status->Text(), std::string(kRecordsNotWritten) + session.acquisition_folder);
}

}  // namespace
}  // namespace tirmo::acquisition
