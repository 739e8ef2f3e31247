// The camera and plate objects on their own, each handed recording needs instead of the window:
// what each asks of the others goes through those needs, in the order the sequences ask it.
#include <gtest/gtest.h>

#include <QGridLayout>
#include <QGroupBox>
#include <QMenu>
#include <QWidget>

#include <string>
#include <vector>

#include "camera/MainCameraControls.h"
#include "link/Session.h"
#include "plate/BandFiles.h"
#include "plate/PlateControls.h"
#include "platform/ProgramFolder.h"
#include "support/FakeClock.h"
#include "support/LinkFixture.h"
#include "support/TempFolder.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Make.h"
#include "ui/PictureBox.h"

namespace tirmo {
namespace {

class CameraNeedsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The w24 band files hold one column and one row band for each camera.
        platform::SetProgramFolder(folder.path());
        plate::ColumnBands columns;
        plate::RowBands rows;
        for (size_t c = 0; c < size_t(plate::kBandCameras); ++c) columns.first[c] = columns.last[c] = rows.first[c] = rows.last[c] = 0;
        ASSERT_TRUE(plate::WriteFormatFiles("w24", session.serial_number, columns, rows));
        session.dummy_mode = 1;  // no instrument: frames are random, settings go nowhere
        camera::MainCameraNeeds needs;
        needs.all_leds = [this](int level) { asked.push_back("leds " + std::to_string(level)); };
        needs.take_editor_format = [this] {
            asked.push_back("format");
            return std::string("w24");
        };
        label = ui::MakeLabel(&client, "lbl_lenrx", "");
        needs.transfer_label = [this] { return label; };
        cam = std::make_unique<camera::MainCameraControls>(console, plate, live, frames, &client, std::move(needs));
        cam->cmd_default_Click();
    }

    test::TempFolder folder;
    test::FakeClock clock;
    link::Session session;
    plate::PlateState plate;
    test::RecordingConsole console{session};
    QWidget client;
    ui::Label* label = nullptr;
    camera::LiveWindow live;
    camera::FrameStore frames;
    std::vector<std::string> asked;
    std::unique_ptr<camera::MainCameraControls> cam;
};

TEST_F(CameraNeedsTest, TheSetUpLightsThePlateGrabsThenDarkensItAndReadsTheEditorsFormat)
{
    cam->cmd_camselect_Click(2);
    EXPECT_EQ(asked, (std::vector<std::string>{"format", "leds 7", "leds 0"}));
    EXPECT_EQ(plate.bands_format, "w24");
    EXPECT_EQ(cam->camera_index, 2);
    EXPECT_EQ(cam->txt_cam->Text(), "2");
    EXPECT_FALSE(cam->CameraSetupRunning());
    // The band selectors are filled from the band files read into the plate state.
    EXPECT_EQ(cam->cmb_column->ListCount(), 1);
    EXPECT_EQ(cam->cmb_row->ListCount(), 1);
}

TEST_F(CameraNeedsTest, ACameraOutsideTheSixAsksNothingOfTheOthers)
{
    for (int index : {-1, 6}) {
        cam->cmd_camselect_Click(index);
        EXPECT_TRUE(asked.empty()) << index;
        EXPECT_EQ(plate.bands_format, "") << index;
        EXPECT_EQ(cam->camera_index, 0) << index;
    }
    cam->cmd_camselect_Click(5);  // the last valid one does
    EXPECT_EQ(asked.size(), 3u);
    EXPECT_EQ(cam->camera_index, 5);
}

TEST_F(CameraNeedsTest, ThePlateViewShownStopsTheSequenceBeforeTheBands)
{
    cam->plate_view_shown = true;
    cam->cmd_camselect_Click(1);
    // Nothing grabbed over the plate map and no bands read: the map stays as it is.
    EXPECT_EQ(asked, (std::vector<std::string>{"format", "leds 7"}));
    EXPECT_EQ(plate.bands_format, "");
}

class PlateNeedsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto* panel = new QGroupBox(&client);
        new QGridLayout(panel);
        plate::PlateNeeds needs;
        needs.map_picture = ui::MakePicture(&client, "Picact", 330, 500);
        needs.chart_picture = ui::MakePicture(&client, "Picact2", 200, 500);
        needs.calibration_panel = panel;
        needs.cmb_column = ui::MakeComboBox(panel, "cmb_column");
        needs.cmb_row = ui::MakeComboBox(panel, "cmb_row");
        needs.txt_column_start = ui::MakeTextBox(panel, "txt_column_start");
        needs.txt_column_end = ui::MakeTextBox(panel, "txt_column_end");
        needs.txt_row_start = ui::MakeTextBox(panel, "txt_row_start");
        needs.txt_row_end = ui::MakeTextBox(panel, "txt_row_end");
        needs.camera_index = [this] { return camera_index; };
        needs.set_camera_index = [this](int c) {
            camera_index = c;
            asked.push_back("index " + std::to_string(c));
        };
        session.camera.SetText(link::CameraSettings::Box::Lines, "100");
        session.camera.SetText(link::CameraSettings::Box::Pix, "120");
        needs.camera_setup = [this](int c) { asked.push_back("setup " + std::to_string(c)); };
        needs.setup_running = [this] { return running; };
        needs.set_setup_notice = [this](const std::string& n) { notice = n; };
        needs.init_band_selectors = [this](int&, int&, int&) { asked.push_back("selectors"); };
        needs.redraw_camera_view = [this] { asked.push_back("redraw"); };
        cmb_well = ui::MakeComboBox(&client, "cmb_well");
        cmb_well->AddItem("w6");
        cmb_well->AddItem("w24");
        cmb_well->SetText("w6");
        needs.cmb_well = cmb_well;
        needs.menu_view = &menu;
        needs.show_blank_of = [this](const std::string& f) { asked.push_back("blank " + f); };
        needs.fill_activity = [](plate::WindowActivity&, int, int) {};
        plate = std::make_unique<plate::PlateControls>(console, plate_state, &client, std::move(needs));
    }

    link::Session session;
    plate::PlateState plate_state;
    test::RecordingConsole console{session};
    QWidget client;
    QMenu menu;
    ui::ComboBox* cmb_well = nullptr;
    int camera_index = 0;
    bool running = false;
    std::string notice;
    std::vector<std::string> asked;
    std::unique_ptr<plate::PlateControls> plate;
};

TEST_F(PlateNeedsTest, SaveNextAreaStepsTheCameraThroughItsSetUpAndWrapsAfterTheLast)
{
    struct Case {
        int from, to;
    };
    for (const Case c : {Case{0, 1}, Case{4, 5}, Case{5, 0}}) {
        asked.clear();
        camera_index = c.from;
        plate->cmd_grabarconfig_Click();
        const std::string to = std::to_string(c.to);
        EXPECT_EQ(asked, (std::vector<std::string>{"index " + to, "setup " + to})) << c.from;
    }
}

TEST_F(PlateNeedsTest, SaveNextAreaDuringASetUpLeavesTheCameraAndLeavesANotice)
{
    running = true;
    camera_index = 3;
    plate->cmd_grabarconfig_Click();
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(camera_index, 3);
    EXPECT_EQ(notice, "Save->Next Area not done while a camera set-up runs: the bands were not saved");
    EXPECT_EQ(console.lastStatus(), notice);
}

TEST_F(PlateNeedsTest, TheCameraEntriesChangeTheWindowsMaskOnly)
{
    plate->cam_disabled_Click(5);
    EXPECT_FALSE(session.run_settings.CameraInUse(5));
    EXPECT_TRUE(plate->cam_disabled[5]->isChecked());
    plate->cam_disabled_Click(6);  // no seventh entry: nothing changes
    EXPECT_TRUE(session.run_settings.CameraInUse(6));
    plate->cam_disabled_Click(5);
    EXPECT_TRUE(session.run_settings.CameraInUse(5));
}

}  // namespace
}  // namespace tirmo
