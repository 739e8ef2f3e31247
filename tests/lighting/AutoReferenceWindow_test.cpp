#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QGroupBox>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/Frm_acquire.h"
#include "lighting/LedMap.h"
#include "lighting/LedTestMaps.h"
#include "link/Session.h"
#include "plate/BandFiles.h"
#include "plate/PlateSpecFile.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "sim/SimLitPlate.h"
#include "support/FakeClock.h"
#include "support/LitW6Plate.h"
#include "support/W6WindowFixture.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Timer.h"

namespace tirmo::app {
namespace {

constexpr int kStartPower = 3;

// The main window on the simulator as instrument SN 58 with a "w6" plate lit by its LEDs.
class AutoReferenceWindowTest : public test::W6WindowFixture {
protected:
    void SetUp() override
    {
        W6WindowFixture::SetUp();
        if (HasFatalFailure()) return;
        lightSource = test::InstallLitW6Plate(*sim, "config_SN58", kStartPower);
        session.acquisition_folder = folder.path() + "/reports/default_project/run1";
        std::filesystem::create_directories(session.acquisition_folder);
        for (int c = 1; c < 7; ++c) window->session().run_settings.SetCameraInUse(c, false);
        sim->clearLog();
    }
    void TearDown() override
    {
        platform::setEventPump({});
        W6WindowFixture::TearDown();
    }
    std::string readFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The run as its start leaves it before the round.
    void startRun()
    {
        session.run_state = 1;
        ASSERT_EQ(window->run->PrepareAcquisition(), 1);
    }
    std::vector<std::string> lines(const std::string& text)
    {
        std::vector<std::string> out;
        size_t at = 0;
        for (size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) out.push_back(text.substr(at, end - at));
        return out;
    }
    long items(const std::string& line) { return long(std::count(line.begin(), line.end(), ',')); }
    // Frame requests: the camera command with a mode byte (a camera selection has 0 there).
    size_t frameRequests() const
    {
        size_t n = 0;
        for (const auto& f : sim->framesOf('C'))
            if (f.b != 0) ++n;
        return n;
    }
    std::array<int, lighting::kLedCount> simPowers()
    {
        return sim->with([](sim::SimState& s) { return s.leds.power; });
    }
    std::vector<int> savedPowers()
    {
        lighting::LedMap m;
        lighting::LoadLedTables(m, "", "config_SN58");
        return {m.power.begin(), m.power.end()};
    }

    test::FakeClock clock;
    std::shared_ptr<sim::LitPlate> lightSource;
};

TEST_F(AutoReferenceWindowTest, RoundWithOneCameraRecordsItsWindowAndLeavesTheLedsAsSaved)
{
    startRun();
    EXPECT_TRUE(window->autoreference->AutoCalibrateCameras());
    const auto& round = window->autoreference->last_round;
    EXPECT_FALSE(round.stopped);
    EXPECT_EQ(round.windows, 1) << "a w6 camera sees one well row";
    EXPECT_EQ(std::filesystem::path(round.path).parent_path(), std::filesystem::path(session.acquisition_folder));
    const auto file = lines(readFile(round.path));
    ASSERT_EQ(file.size(), 6u);
    EXPECT_EQ(file[0], "\"Calibration Results:\"");
    const auto& g = window->run->window_geometry;
    EXPECT_EQ(file[1], "\"X:\"," + std::to_string(g.xini) + "," + std::to_string(g.xfin) + ",\" Y:\"," +
                           std::to_string(g.yini) + "," + std::to_string(g.yfin));
    for (size_t i : {2u, 4u}) {
        EXPECT_EQ(file[i].rfind("\"led_power\",", 0), 0u);
        EXPECT_EQ(items(file[i]), lighting::kLedCount);
    }
    for (size_t i : {3u, 5u}) {
        EXPECT_EQ(file[i].rfind("\"C0R0\",", 0), 0u);
        EXPECT_EQ(items(file[i]), g.window_pixel_count) << "one value per window pixel";
    }
    EXPECT_GT(g.window_pixel_count, 0);

    // The instrument's LEDs are those of ledpower.dat, camera 0's calibrated, the others as saved.
    const auto saved = savedPowers();
    const auto lit = simPowers();
    EXPECT_EQ(std::vector<int>(lit.begin(), lit.end()), saved);
    lighting::LedMap layout;
    lighting::LoadLedTables(layout, platform::ProgramPath("config/ldsetup2.dat"), "config_SN58");
    bool changed = false;
    for (int led = 0; led < lighting::kLedCount; ++led) {
        if (layout.camera[size_t(led)] != 0) {
            EXPECT_EQ(saved[size_t(led)], kStartPower) << led;
        } else if (saved[size_t(led)] != kStartPower) {
            changed = true;
        }
    }
    EXPECT_TRUE(changed) << "camera 0's LEDs were calibrated";
    EXPECT_FALSE(window->containers.frm_calibrate->isVisible());
    EXPECT_EQ(window->run->camera_index, 6);

    // The power setting ran on the window: dark, every level 0 to 8 with a frame, dark again
    // before and after its check frame; its label in the calibration frame.
    std::vector<int> levels;
    for (const auto& f : sim->framesOf('L'))
        if (f.a == 255) levels.push_back(f.b);
    EXPECT_EQ(levels, (std::vector<int>{0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 0, 0}));
    EXPECT_EQ(window->autoref->lbl_autocalibra->text().toStdString(), "CAM[0]: zero2");
    EXPECT_EQ(window->autoref->lbl_autocalibra->parentWidget(), window->containers.frm_calibrate);
}

// The first or the last camera alone in use: the round greys its button alone and records its window.
TEST_F(AutoReferenceWindowTest, TheRoundMarksTheButtonOfTheCameraItWorksOn)
{
    auto marks = [this] {  // g: grey, w: white
        std::string shade;
        for (const auto* b : window->camera->cmd_camselect)
            shade += b->BackColor() == 0x808080u ? 'g' : b->BackColor() == 0xFFFFFFu ? 'w' : '?';
        EXPECT_EQ(shade.find('?'), std::string::npos) << shade;
        return shade;
    };
    for (const int camera : {0, 5}) {
        SCOPED_TRACE(camera);
        for (int c = 0; c < 6; ++c) window->session().run_settings.SetCameraInUse(c, c == camera);
        window->camera->cmd_camselect[3]->SetBackColor(0x808080u);  // as a camera set-up left it
        std::vector<std::string> seen;
        platform::setEventPump([&] {
            if (window->containers.frm_calibrate->isVisibleTo(window.get()) && (seen.empty() || seen.back() != marks()))
                seen.push_back(marks());
        });
        startRun();
        EXPECT_TRUE(window->autoreference->AutoCalibrateCameras());
        platform::setEventPump({});
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.front(), "gwwwww") << "the round begins on camera 0's button";
        EXPECT_EQ(seen.back(), std::string(size_t(camera), 'w') + "g" + std::string(size_t(5 - camera), 'w'));
        const auto file = lines(readFile(window->autoreference->last_round.path));
        ASSERT_EQ(file.size(), 6u);
        EXPECT_EQ(file[3].rfind("\"C" + std::to_string(camera) + "R0\",", 0), 0u);
    }
}

TEST_F(AutoReferenceWindowTest, StopDuringTheRoundSendsNoFurtherFrameRequest)
{
    startRun();
    // The user's Stop comes in the events of the power setting once it has asked for frames.
    size_t requestsAtStop = 0;
    platform::setEventPump([&] {
        if (session.run_state == 1 && frameRequests() >= 4) {
            session.run_state = 0;
            requestsAtStop = frameRequests();
        }
    });
    EXPECT_FALSE(window->autoreference->AutoCalibrateCameras());
    platform::setEventPump({});
    EXPECT_TRUE(window->autoreference->last_round.stopped);
    EXPECT_TRUE(window->containers.frm_calibrate->isHidden());
    EXPECT_GT(requestsAtStop, 0u);
    EXPECT_EQ(frameRequests(), requestsAtStop);
    EXPECT_EQ(window->txt_status->Text(), "CAM[0]: stopped at level 2: LED powers unchanged");
    EXPECT_EQ(lines(readFile(window->autoreference->last_round.path)), (std::vector<std::string>{"\"Calibration Results:\""}));
}

TEST_F(AutoReferenceWindowTest, StopAfterTheFirstWindowFrameKeepsItsLinesAndAsksNoMore)
{
    startRun();
    // Stop once the round's own window scans began (the power setting asks for 12 frames).
    size_t requestsAtStop = 0;
    platform::setEventPump([&] {
        if (session.run_state == 1 && frameRequests() >= 14) {
            session.run_state = 0;
            requestsAtStop = frameRequests();
        }
    });
    EXPECT_FALSE(window->autoreference->AutoCalibrateCameras());
    platform::setEventPump({});
    EXPECT_EQ(frameRequests(), requestsAtStop);
    const auto file = lines(readFile(window->autoreference->last_round.path));
    EXPECT_GE(file.size(), 1u);
    EXPECT_LE(file.size(), 6u);
}

TEST_F(AutoReferenceWindowTest, DummyRoundSendsNothingAndWritesFullSizeFrames)
{
    session.dummy_mode = 1;
    startRun();
    EXPECT_TRUE(window->autoreference->AutoCalibrateCameras());
    // Only the power setting's all-LED levels go out: no frame request, no camera set-up and no
    // saved power is sent.
    for (const auto& f : sim->frames()) EXPECT_TRUE(f.letter == 'L' && f.a == 255) << f.letter << int(f.a);
    const auto file = lines(readFile(window->autoreference->last_round.path));
    ASSERT_EQ(file.size(), 6u);
    EXPECT_EQ(items(file[3]), window->run->window_geometry.window_pixel_count);
    EXPECT_EQ(file[5], "\"C0R0\"");

    // A camera's round covers each of its windows: two on w48, whose column slots are four.
    session.run_state = 0;
    ASSERT_NO_FATAL_FAILURE(chooseW48());
    startRun();
    EXPECT_TRUE(window->autoreference->AutoCalibrateCameras());
    EXPECT_EQ(window->autoreference->last_round.windows, 2);
}

// ---------------------------------------------------------------- "Calibrate position"

TEST_F(AutoReferenceWindowTest, CalibratePositionOpensThePanelOnCameraZero)
{
    window->cmb_well->SetText("w6");
    window->Timer3->SetEnabled(true);  // a thermostat at work
    session.run_state = -1;            // a light calibration that owns the cameras
    auto* menu = qobject_cast<QMenu*>(window->autoref->mncalibratewell->parent());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), "Well Format Calibration");
    EXPECT_EQ(window->autoref->mncalibratewell->text(), "Calibrate position");
    window->autoref->mncalibratewell->trigger();
    EXPECT_EQ(session.run_state, 0) << "the light calibration stops at its next check";
    EXPECT_TRUE(window->Timer3->Enabled()) << "the thermostat goes on regulating";
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_FALSE(window->camera->Frame_calibration->isHidden());
    EXPECT_TRUE(window->containers.Frame_menu->isHidden());
    EXPECT_EQ(window->plate->cmb_formatplate->Text(), "w6");
    EXPECT_FALSE(window->plate->cmb_formatplate->isEnabled());
    EXPECT_EQ(window->containers.cmd_menu->Caption(), "Close");
    EXPECT_EQ(window->camera->txt_cam->Text(), "0");
    EXPECT_EQ(window->camera->txt_xfin->Text(), "142") << "the default window";
    EXPECT_GT(frameRequests(), 0u) << "camera 0 was set up with its frames";
}

TEST_F(AutoReferenceWindowTest, CalibratePositionRefusalsLeaveEverythingAsItWas)
{
    const struct {
        std::string format;
        bool portOpen;
        int dummy;
        int runState;
        std::string message;
    } cases[] = {
        {"w96u", true, 0, 0, "Microplate format error"},
        {"w384", true, 0, 0, "Microplate format error"},
        {"W6", true, 0, 0, "Microplate format error"},
        {"w6", false, 0, 0, "Operation not possible in OFFLINE Mode"},
        {"w6", true, 0, 1, kCalibrateDuringRun},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.format + " " + k.message);
        window->cmb_well->SetText(k.format);
        session.port_open = k.portOpen;
        session.dummy_mode = k.dummy;
        session.run_state = k.runState;
        boxes.expectMessage(k.message, ui::MsgResult::Ok);
        window->autoref->mncalibratewell_Click();
        EXPECT_EQ(session.run_state, k.runState) << "a run goes on";
        EXPECT_TRUE(window->camera->Frame_calibration->isHidden());
        EXPECT_TRUE(window->plate->cmb_formatplate->isEnabled());
        session.port_open = true;
    }
    EXPECT_EQ(frameRequests(), 0u);
    EXPECT_TRUE(sim->frames().empty());
}

TEST_F(AutoReferenceWindowTest, CalibratePositionInDummyModeWithoutPortOpens)
{
    session.port_open = false;
    session.dummy_mode = 1;
    window->cmb_well->SetText("w6");
    window->autoref->mncalibratewell_Click();
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_FALSE(window->camera->Frame_calibration->isHidden());
    session.port_open = true;
}

}  // namespace
}  // namespace tirmo::app
