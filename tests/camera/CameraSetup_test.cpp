#include <gtest/gtest.h>

#include "app/Frm_acquire.h"
#include "app/Frm_advance.h"
#include "link/Session.h"
#include "plate/BandFiles.h"
#include "plate/PlateSpecFile.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "support/FakeClock.h"
#include "support/LinkFixture.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"

namespace tirmo::app {
namespace {

using Frames = std::vector<std::string>;

// The main window on the simulator as instrument SN 58 (generation 2, defaults 20 and 28),
// with the default "w6" band files of that instrument.
class CameraSetupTest : public test::LinkFixture {
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        platform::SetProgramFolder(folder.path());
        installed = std::make_unique<test::ScopedDialogs>(boxes);
        asInstrument(58);
        window = std::make_unique<Frm_acquire>(instrument);
        window->unloaded = true;
        window->camera->cmd_default_Click();
        ASSERT_TRUE(plate::WriteW6ColumnFile("\\config_SN58"));
        ASSERT_TRUE(plate::WriteW6RowFile("\\config_SN58"));
        ASSERT_TRUE(plate::WriteW6SpecFile("\\config"));
    }
    void TearDown() override
    {
        platform::setEventPump({});
        window.reset();
        installed.reset();
        LinkFixture::TearDown();
    }
    void asInstrument(int serial)
    {
        session.serial_number = serial;
        link::ApplyInstrumentDefaults(session);
    }
    int ledPower() { return sim->with([](sim::SimState& s) { return s.leds.power[100]; }); }

    test::TempFolder folder;
    test::FakeClock clock;  // the sequence's many pauses take no time
    test::ScriptedDialogs boxes;
    std::unique_ptr<test::ScopedDialogs> installed;
    std::unique_ptr<Frm_acquire> window;
};

const Frames kCamera0SetUp{"L,255,7", "C,0,0",   "G,0,40", "E,0,42", "S,0,8",  "y,0,0",
                           "Y,0,142", "x,0,1",   "X,0,183", "C,0,43", "C,0,43", "L,255,0"};

TEST_F(CameraSetupTest, SetUpOfAnSN58InstrumentSendsTheWholeSequenceInOrder)
{
    window->camera->cmd_camselect[0]->Click();
    EXPECT_EQ(frameList(), kCamera0SetUp);
    EXPECT_EQ(ledPower(), 0);
    EXPECT_EQ(window->txt_status->Text(), "Ready");
    EXPECT_EQ(window->camera->txt_cam->Text(), "0");
    EXPECT_EQ(window->camera->txt_lines->Text(), "143");
    EXPECT_EQ(window->camera->txt_pix->Text(), "183");
    EXPECT_EQ(window->camera->cmd_camselect[0]->BackColor(), 0x808080u);
    for (int i = 1; i < 6; ++i) EXPECT_EQ(window->camera->cmd_camselect[size_t(i)]->BackColor(), 0xFFFFFFu);
    // The band files were read and the selectors show camera 0's bands.
    ASSERT_EQ(window->camera->cmb_column->ListCount(), 1);
    EXPECT_EQ(window->camera->cmb_column->List(0), "1");
    EXPECT_EQ(window->camera->txt_column_start->Text(), "5");
    EXPECT_EQ(window->camera->txt_column_end->Text(), "140");
    ASSERT_EQ(window->camera->cmb_row->ListCount(), 1);
    EXPECT_EQ(window->camera->cmb_row->List(0), "A");
    EXPECT_EQ(window->camera->txt_row_start->Text(), "10");
    EXPECT_EQ(window->camera->txt_row_end->Text(), "165");
}

TEST_F(CameraSetupTest, ASecondClickWhileASetUpYieldsIsRefused)
{
    int pumped = 0;
    platform::setEventPump([&] {
        if (pumped++ == 0) window->camera->cmd_camselect[3]->Click();
    });
    window->camera->cmd_camselect_Click(0);
    EXPECT_GT(pumped, 5);
    EXPECT_EQ(frameList(), kCamera0SetUp) << "nothing of a second sequence in between";
    EXPECT_EQ(window->camera->camera_index, 0);
    EXPECT_FALSE(window->camera->CameraSetupRunning());

    // Once the first has finished, the next click is a set-up of its own.
    sim->clearLog();
    window->camera->cmd_camselect_Click(3);
    const Frames frames = frameList();
    ASSERT_GE(frames.size(), 2u);
    EXPECT_EQ(frames[1], "C,3,0");
    EXPECT_EQ(window->camera->camera_index, 3);
    EXPECT_EQ(window->txt_status->Text(), "Ready");
}

TEST_F(CameraSetupTest, WithThePlateOnShowOnlyTheSettingsGoOutAndTheLedsStayOn)
{
    window->camera->plate_view_shown = true;
    window->camera->cmb_column->AddItem("old");
    window->camera->cmd_camselect_Click(2);
    EXPECT_EQ(frameList(), (Frames{"L,255,7", "C,2,0", "G,0,40", "E,0,42", "S,0,8", "y,0,0", "Y,0,142", "x,0,1",
                                   "X,0,183"}));
    EXPECT_EQ(window->txt_status->Text(), "Ready");
    EXPECT_EQ(ledPower(), 7);
    ASSERT_EQ(window->camera->cmb_column->ListCount(), 1);
    EXPECT_EQ(window->camera->cmb_column->List(0), "old") << "the selectors are left as they were";
}

TEST_F(CameraSetupTest, GainAndExposureAreScaledByInstrument)
{
    window->camera->plate_view_shown = true;
    struct Case {
        int serial;
        const char* sentGain;
        const char* sentExposure;
    };
    for (const Case& c : {Case{12, "G,0,20", "E,0,40"}, Case{60, "G,0,30", "E,0,30"}, Case{58, "G,0,40", "E,0,42"}}) {
        asInstrument(c.serial);
        sim->clearLog();
        window->camera->cmd_camselect_Click(1);
        const Frames frames = frameList();
        ASSERT_GE(frames.size(), 4u);
        EXPECT_EQ(frames[2], c.sentGain) << c.serial;
        EXPECT_EQ(frames[3], c.sentExposure) << c.serial;
    }
}

TEST_F(CameraSetupTest, ApplyCameraSettingsSendsTheBoxesUnscaled)
{
    window->camera->txt_cam->SetText("4");
    window->camera->txt_gain->SetText("33");
    window->camera->txt_exposure->SetText("300");
    const double before = clock.sleptMs();
    window->camera->ApplyCameraSettings();
    EXPECT_EQ(frameList(), (Frames{"C,4,0", "G,0,33", "E,1,44", "S,0,8", "y,0,0", "Y,0,142", "x,0,1", "X,0,183"}));
    EXPECT_GE(clock.sleptMs() - before, 500);
    EXPECT_EQ(window->txt_status->Text(), "") << "no status of its own";

    // A speed beyond a byte, or beyond 16 bits (65544 would wrap to 8), is said and left out; the rest goes out.
    for (const char* speed : {"256", "65544"}) {
        sim->clearLog();
        window->camera->txt_speed->SetText(speed);
        boxes.expectMessage("error");
        window->camera->ApplyCameraSettings();
        boxes.verifyAllShown();
        EXPECT_EQ(frameList(), (Frames{"C,4,0", "G,0,33", "E,1,44", "y,0,0", "Y,0,142", "x,0,1", "X,0,183"})) << speed;
    }
}

TEST_F(CameraSetupTest, ApplyCameraSettingsSendsNothingInDummyModeOrWithABadValue)
{
    session.dummy_mode = 1;
    window->camera->txt_lines->SetText("7");
    window->camera->ApplyCameraSettings();
    EXPECT_TRUE(sim->rawReceived().empty());
    EXPECT_EQ(window->camera->txt_lines->Text(), "7") << "no box changes";
    session.dummy_mode = 0;
    for (const char* bad : {"abc", "40000", "-1"}) {
        window->camera->txt_gain->SetText(bad);
        window->camera->ApplyCameraSettings();
        EXPECT_TRUE(sim->rawReceived().empty()) << bad;
        EXPECT_NE(window->txt_status->Text().find("not sent"), std::string::npos);
    }
}

TEST_F(CameraSetupTest, SelectorsListTheBandsOfTheCamera)
{
    window->camera->camera_index = 2;
    window->plate->column_bands.first[2] = 4;
    window->plate->column_bands.last[2] = 6;
    for (int k = 0; k < 3; ++k) {
        window->plate->column_labels[2][size_t(k)] = std::to_string(5 + k);
        window->plate->column_bands.start[2][size_t(k)] = 10 + 40 * k;
        window->plate->column_bands.end[2][size_t(k)] = 45 + 40 * k;
    }
    int camera = 2, column = 1, row = 0;
    EXPECT_EQ(window->camera->InitRowColumnSelectors(camera, column, row), "ok");
    ASSERT_EQ(window->camera->cmb_column->ListCount(), 3);
    EXPECT_EQ(window->camera->cmb_column->List(2), "7");
    EXPECT_EQ(window->camera->cmb_column->ListIndex(), 1);
    EXPECT_EQ(window->camera->txt_column_start->Text(), "50");
    EXPECT_EQ(window->camera->txt_column_end->Text(), "85");
    window->camera->cmb_column->SetListIndex(2);
    EXPECT_EQ(window->camera->txt_column_start->Text(), "90");
    EXPECT_EQ(window->camera->cmb_row->ListCount(), 0) << "camera 2 has no row bands here";
}

TEST_F(CameraSetupTest, FactorySetCameraSendsItsOwnBoxesInOrder)
{
    Frm_advance factory(instrument);
    factory.camera->txt_cam->SetText("1");
    factory.camera->txt_gain->SetText("25");
    factory.camera->txt_exposure->SetText("30");
    factory.camera->cmd_default_Click();
    factory.camera->cmd_setcamera_Click();
    EXPECT_EQ(frameList(), (Frames{"C,1,0", "G,0,25", "E,0,30", "S,0,8", "y,0,0", "Y,0,142", "x,0,1", "X,0,183"}));
    sim->clearLog();
    session.dummy_mode = 1;
    factory.camera->cmd_setcamera_Click();
    EXPECT_TRUE(sim->rawReceived().empty());
}

}  // namespace
}  // namespace tirmo::app
