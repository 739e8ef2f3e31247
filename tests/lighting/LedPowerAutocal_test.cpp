#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/Session.h"
#include "camera/CameraCommands.h"
#include "camera/CameraSelect.h"
#include "lighting/CalibrationFrame.h"
#include "lighting/LedCommands.h"
#include "lighting/LedPowerApply.h"
#include "lighting/LedPowerAutocal.h"
#include "lighting/LedTestMaps.h"
#include "platform/ProgramFolder.h"
#include "sim/SimLitPlate.h"
#include "support/FakeClock.h"
#include "support/LinkFixture.h"
#include "support/ProgramFiles.h"
#include "support/TempFolder.h"

namespace tirmo::lighting {
namespace {

using test::Rect;

// The instrument side of the calibration as the main window will give it: the real LED
// senders, camera commands and frame transfer on the link to the simulator.
class LinkedHost : public LedCalibrationHost {
public:
    LinkedHost(link::Console& console, sim::InstrumentSimulator& sim, const LedMap& map, int camera)
        : console_(console), sim_(sim), map_(map), camera_(camera)
    {}

    void SendAllLedPower(int level) override { lighting::SendAllLedPower(level, console_); }
    void SendLedPower(int led, int power) override { lighting::SendLedPower(led, power, console_); }
    void ApplyLedPower(int camera) override
    {
        ApplyLedPowerFile(
            platform::ProgramPath("config/ledpower.dat"), [&](int led) { return map_.camera[size_t(led)] == camera; },
            {}, [this](int led, int power, const std::string&) { SendLedCommand(led, power, console_); });
    }
    void SetCalibrationCamera() override
    {
        camera::SelectCamera(std::to_string(camera_), console_);
        camera::SendGain(console_.session().default_gain, console_);
        camera::SendExposure(240, console_);
        camera::SendSpeed(1, console_);
        camera::SendWindowPair('y', camera::kDefaultXini, camera::kDefaultXfin, console_);
        camera::SendWindowPair('x', camera::kDefaultYini, camera::kDefaultYfin, console_);
    }
    bool GrabFrame() override
    {
        if (stopInGrab && grabs == stopAfterGrab) return !(stopSeen = true);  // refused, as the windows do
        ++grabs;
        if (grabs == spoilGrab) spoil(sim_);
        const long lines = camera::kDefaultXfin - camera::kDefaultXini + 1;
        const long pix = camera::kDefaultYfin - camera::kDefaultYini + 1;
        return GrabCheckedFrame(console_.session(), camera_, lines, pix, frames).good();
    }
    const camera::FrameStore& Frames() const override { return frames; }
    bool PositionCounts(int camera, int x, int y) const override { return !counts || counts(camera, x, y); }
    void Status(const std::string& text) override { statuses.push_back(text); }
    void Label(const std::string& text) override { labels.push_back(text); }
    void Progress(double percent) override { progress.push_back(percent); }
    bool StopRequested() override
    {
        ++stopChecks;
        return stopAfterGrab > 0 && grabs >= stopAfterGrab && (!stopInGrab || stopSeen);
    }
    bool ConfirmSecondRound() override
    {
        ++questions;
        return secondRound;
    }

    camera::FrameStore frames;
    int grabs = 0;
    int spoilGrab = 0;  // the grab (from 1) whose reply the simulator spoils with `spoil`
    std::function<void(sim::InstrumentSimulator&)> spoil;
    int stopAfterGrab = 0;  // the user's Stop once this many grabs were made
    int stopChecks = 0;
    bool stopInGrab = false, stopSeen = false;  // the Stop comes while the next grab is asked for
    bool secondRound = false;
    int questions = 0;
    std::function<bool(int, int, int)> counts;
    std::vector<std::string> statuses, labels;
    std::vector<double> progress;

private:
    link::Console& console_;
    sim::InstrumentSimulator& sim_;
    const LedMap& map_;
    int camera_;
};

class LedAutocalTest : public ::tirmo::test::LinkFixture {
protected:
    static constexpr int kStartPower = 3;

    void SetUp() override
    {
        LinkFixture::SetUp();
        platform::SetProgramFolder(folder.path());
        session.hardware_generation = 2;  // the simulator answers as serial number 57
        ASSERT_TRUE(WriteLedSetup2File("\\config"));
        LedMap layout;
        LoadLedTables(layout, platform::ProgramPath("config/ldsetup2.dat"), "config");
        std::string xy = "\"Led control: 16rows x  26col. Per cam: 8 x 9+8+9\"\r\n\"led\",\"x1\",\"x2\",\"y1\",\"y2\"\r\n";
        std::string power = "\"Led control: 16rows x  26col. Per cam: 8 x 9+8+9\"\r\n\"led\",\"power\"\r\n";
        std::vector<sim::SimLed> simLeds;
        for (int led = 0; led < kLedCount; ++led) {
            const Rect r = test::W6LedRect(layout.colcam[size_t(led)], layout.filcam[size_t(led)]);
            rects.push_back(r);
            xy += std::to_string(led) + "," + std::to_string(r.x1) + "," + std::to_string(r.x2) + "," +
                  std::to_string(r.y1) + "," + std::to_string(r.y2) + "\r\n";
            power += std::to_string(led) + "," + std::to_string(kStartPower) + "\r\n";
            if (r.x1 >= 0) simLeds.push_back({led, layout.camera[size_t(led)], r.x1, r.x2, r.y1, r.y2});
        }
        ::tirmo::test::WriteProgramFile("config/ledxy.dat", xy);
        ::tirmo::test::WriteProgramFile("config/ledpower.dat", power);
        powerFileBefore = ::tirmo::test::ReadProgramFile("config/ledpower.dat");
        this->simLeds = simLeds;
    }

    // A plate whose every position of every camera is lit: the grey is k x the power of the LED
    // whose rectangle covers it.
    std::shared_ptr<sim::LitPlate> litPlate(double k)
    {
        std::vector<sim::SimWell> wells;
        for (int c = 0; c < 6; ++c) wells.push_back({c, 72.5, 95.5, 1000});
        return sim->with([&](sim::SimState& s) { return sim::InstallLitPlate(s, wells, simLeds, k); });
    }

    LedCalibrationSetup setup(int camera, const std::string& format = "w6")
    {
        LedCalibrationSetup s;
        s.camera = camera;
        s.plateFormat = format;
        s.layoutPath = platform::ProgramPath("config/ldsetup2.dat");
        s.folder = "config";
        return s;
    }

    // The powers ledpower.dat holds now, by LED.
    std::vector<int> savedPowers()
    {
        LedMap m;
        LoadLedTables(m, "", "config");
        return {m.power.begin(), m.power.end()};
    }
    // The b byte of every all-LED frame the simulator received, in order.
    std::vector<int> allLedLevels()
    {
        std::vector<int> out;
        for (const auto& f : sim->framesOf('L'))
            if (f.a == 255) out.push_back(f.b);
        return out;
    }
    // The single-LED frames the simulator received, as (LED, power).
    std::vector<std::pair<int, int>> singleLeds()
    {
        std::vector<std::pair<int, int>> out;
        for (const auto& f : sim->frames()) {
            if (f.letter == 'L' && f.a != 255) out.push_back({f.a, f.b});
            if (f.letter == 'l') out.push_back({f.a + 192, f.b});
        }
        return out;
    }
    std::vector<std::string> powerLines(const std::string& text)
    {
        std::vector<std::string> out;
        size_t at = 0;
        for (size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
            out.push_back(text.substr(at, end - at));
        return out;
    }
    bool cameraLed(const LedMap& m, int led, int camera) { return m.camera[size_t(led)] == camera; }

    ::tirmo::test::FakeClock clock;
    ::tirmo::test::TempFolder folder;
    std::vector<Rect> rects;
    std::vector<sim::SimLed> simLeds;
    std::string powerFileBefore;
};

TEST_F(LedAutocalTest, SelectionAndCheckFollowTheGreyPerPowerOfTheSimulatedPlate)
{
    struct Case {
        double k;
        int selected, adjusted;
    };
    // Selection: min(8, floor(178 / k)); the check frame then reads k x selected against 166.
    const Case cases[] = {
        {25, 7, 6},  // 175: above 166, below 199.2
        {22, 8, 7},  // 176
        {20, 8, 8},  // 160
        {17, 8, 8},
        {30, 5, 5},  // 150
        {35, 5, 4},  // 175
        {200, 0, 2}, // level 1 already reads 200; the check reads 0, far below 33.2
    };
    for (const Case& c : cases) {
        ::tirmo::test::WriteProgramFile("config/ledpower.dat", powerFileBefore);
        sim->clearLog();
        litPlate(c.k);
        LedMap map;
        LinkedHost host(console, *sim, map, 3);
        const auto outcome = AutoCalibrateLedPower(host, map, setup(3));
        ASSERT_EQ(outcome.end, LedCalibrationOutcome::End::Done) << c.k << " " << outcome.message;
        // The powers lit for the check frame are the selected ones, sent from ledpower.dat.
        int lit = 0;
        for (auto [led, power] : singleLeds()) {
            if (!cameraLed(map, led, 3) || rects[size_t(led)].x1 < 0) continue;
            EXPECT_EQ(power, c.selected) << "k " << c.k << " LED " << led;
            ++lit;
        }
        EXPECT_EQ(lit, 63) << "k " << c.k;
        const auto saved = savedPowers();
        for (int led = 256; led <= 318; ++led) EXPECT_EQ(saved[size_t(led)], c.adjusted) << "k " << c.k << " LED " << led;
        for (int led = 256; led <= 318; ++led) EXPECT_EQ(map.power[size_t(led)], c.adjusted);
    }
}

TEST_F(LedAutocalTest, AllLedLevelsZeroToEightAndOnlyTheCamerasRowsOfThePowerFileChange)
{
    litPlate(25);
    LedMap map;
    LinkedHost host(console, *sim, map, 3);
    const auto outcome = AutoCalibrateLedPower(host, map, setup(3));
    ASSERT_EQ(outcome.end, LedCalibrationOutcome::End::Done) << outcome.message;
    EXPECT_EQ(allLedLevels(), (std::vector<int>{0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 0, 0}));
    EXPECT_EQ(host.grabs, 2 + 9 + 1) << "two settling frames, one per level, the check frame";

    const auto before = powerLines(powerFileBefore);
    const auto after = powerLines(::tirmo::test::ReadProgramFile("config/ledpower.dat"));
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 2; i < after.size(); ++i) {
        const int led = int(i) - 2;
        const bool calibrated = led >= 256 && led <= 318;  // camera 3's LEDs with a rectangle
        EXPECT_EQ(after[i], calibrated ? std::to_string(led) + ",6" : before[i]) << "LED " << led;
    }
    // LED 319 (the block's 64th number) lights nothing: it keeps its power and is named.
    EXPECT_EQ(outcome.unmeasured, std::vector<int>{319});
    // The instrument's LEDs are all off again: the last command set every LED to 0.
    const auto simPowers = sim->with([](sim::SimState& s) { return s.leds.power; });
    for (int p : simPowers) ASSERT_EQ(p, 0);
    // Progress runs from camera 3's share (50 %) by eighths of a sixth.
    ASSERT_EQ(host.progress.size(), 9u);
    EXPECT_DOUBLE_EQ(host.progress.front(), 50.0);
    EXPECT_NEAR(host.progress.back(), 100.0 / 6 * 4, 1e-9);
    EXPECT_EQ(host.labels.front(), "CAM[3]: zero1");
    EXPECT_EQ(host.statuses.front(), "Autocalibration status = 50%");
}

TEST_F(LedAutocalTest, FormatsWithoutTargetsOfTheirOwnAimAtTheW24Levels)
{
    litPlate(25);
    LedMap map;
    LinkedHost host(console, *sim, map, 3);
    ASSERT_EQ(AutoCalibrateLedPower(host, map, setup(3, "w12")).end, LedCalibrationOutcome::End::Done);
    // 128 / 25 -> level 5; the check reads 125 against 115 (above, below 138): 4.
    EXPECT_EQ(savedPowers()[300], 4);
}

TEST_F(LedAutocalTest, RefusedWithoutTargetsOrWithoutLedsSendingNothing)
{
    litPlate(25);
    struct Case {
        const char* format;
        int camera;
        bool layout;
        const char* status;
    };
    const Case cases[] = {
        {"w96u", 3, true, "Autocalibration: no target grey level for plate format [w96u]: LED powers unchanged"},
        {"", 3, true, "Autocalibration: no target grey level for plate format []: LED powers unchanged"},
        {"w6", 6, true, "CAM[6]: no LED serves this camera: LED powers unchanged"},
        {"w6", -1, true, "CAM[-1]: no LED serves this camera: LED powers unchanged"},
        // Without a layout file every LED reads as camera 0's, none as camera 3's.
        {"w6", 3, false, "CAM[3]: no LED serves this camera: LED powers unchanged"},
    };
    for (const Case& c : cases) {
        sim->clearLog();
        LedMap map;
        LinkedHost host(console, *sim, map, c.camera);
        auto s = setup(c.camera, c.format);
        if (!c.layout) s.layoutPath.clear();
        const auto outcome = AutoCalibrateLedPower(host, map, s);
        EXPECT_EQ(outcome.end, LedCalibrationOutcome::End::Refused) << c.format << " " << c.camera;
        EXPECT_EQ(host.statuses.back(), c.status);
        EXPECT_TRUE(sim->frames().empty()) << "nothing goes to the instrument";
        EXPECT_EQ(host.grabs, 0);
        EXPECT_EQ(::tirmo::test::ReadProgramFile("config/ledpower.dat"), powerFileBefore);
    }
}

TEST_F(LedAutocalTest, AFrameThatDoesNotComeWholeIsNeverMeasured)
{
    ::tirmo::test::QuickTimeouts quick;
    struct Case {
        const char* fault;
        std::function<void(sim::InstrumentSimulator&)> spoil;
    };
    const Case cases[] = {
        {"silent", [](sim::InstrumentSimulator& s) { s.with([](sim::SimState& st) { return st.cameras.silentBlocks = 1; }); }},
        {"short",
         [](sim::InstrumentSimulator& s) {
             s.with([](sim::SimState& st) {
                 st.cameras.shortBy = 40;
                 return st.cameras.shortBlocks = 1;
             });
         }},
        {"bad check", [](sim::InstrumentSimulator& s) { s.corruptCheckNext(1); }},
    };
    for (const Case& c : cases) {
        litPlate(25);
        sim->clearLog();
        LedMap map;
        LinkedHost host(console, *sim, map, 3);
        host.spoilGrab = 2 + 5;  // the frame of level 4
        host.spoil = c.spoil;
        const auto outcome = AutoCalibrateLedPower(host, map, setup(3));
        EXPECT_EQ(outcome.end, LedCalibrationOutcome::End::NoFrame) << c.fault;
        EXPECT_EQ(outcome.message, "CAM[3]: no frame at level 4: LED powers unchanged") << c.fault;
        EXPECT_EQ(host.grabs, 7) << c.fault << ": no frame after the one that failed";
        EXPECT_EQ(allLedLevels(), (std::vector<int>{0, 0, 1, 2, 3, 4, 0})) << c.fault << ": the LEDs go dark";
        EXPECT_EQ(::tirmo::test::ReadProgramFile("config/ledpower.dat"), powerFileBefore) << c.fault;
        EXPECT_FALSE(host.frames.Has(3, 6, 178)) << c.fault << ": no earlier frame is left to be read";
        for (int led = 256; led <= 318; ++led) ASSERT_EQ(map.power[size_t(led)], kStartPower) << c.fault;
    }
}

TEST_F(LedAutocalTest, AMissingCheckFrameKeepsTheSelectedPowers)
{
    ::tirmo::test::QuickTimeouts quick;
    litPlate(25);
    LedMap map;
    LinkedHost host(console, *sim, map, 3);
    host.spoilGrab = 12;
    host.spoil = [](sim::InstrumentSimulator& s) { s.with([](sim::SimState& st) { return st.cameras.silentBlocks = 1; }); };
    const auto outcome = AutoCalibrateLedPower(host, map, setup(3));
    EXPECT_EQ(outcome.end, LedCalibrationOutcome::End::NoFrame);
    EXPECT_EQ(outcome.message, "CAM[3]: no check frame: the chosen LED powers are kept");
    EXPECT_EQ(savedPowers()[256], 7) << "the selection was saved before the check frame";
    EXPECT_EQ(allLedLevels().back(), 0);
}

TEST_F(LedAutocalTest, TheUsersStopEndsItAtTheNextCheckSavingNoFurther)
{
    struct Case {
        int stopAfterGrab;
        std::vector<int> levels;
        int savedPower;  // camera 3's LEDs in ledpower.dat afterwards
        const char* message; bool inGrab = false;
    };
    const Case cases[] = {
        {2, {0}, kStartPower, "CAM[3]: stopped at level 0: LED powers unchanged"},  // after the settling frames
        {2 + 5, {0, 0, 1, 2, 3, 4}, kStartPower, "CAM[3]: stopped at level 5: LED powers unchanged"},
        {2 + 2, {0, 0, 1, 2, 0}, kStartPower, "CAM[3]: stopped at level 2: LED powers unchanged", true},
        {2 + 9, {0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 0}, kStartPower, "CAM[3]: stopped: LED powers unchanged"},
        {12, {0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 0, 0}, 7, "CAM[3]: stopped: the chosen LED powers are kept"},  // after the check frame
        {11, {0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 0, 0}, 7, "CAM[3]: stopped: the chosen LED powers are kept", true},
    };
    for (const Case& c : cases) {
        ::tirmo::test::WriteProgramFile("config/ledpower.dat", powerFileBefore);
        litPlate(25);
        sim->clearLog();
        LedMap map;
        LinkedHost host(console, *sim, map, 3);
        host.stopAfterGrab = c.stopAfterGrab;
        host.stopInGrab = c.inGrab;
        const auto outcome = AutoCalibrateLedPower(host, map, setup(3));
        EXPECT_EQ(outcome.end, LedCalibrationOutcome::End::Stopped) << c.stopAfterGrab;
        EXPECT_EQ(host.statuses.back(), c.message) << "not blamed on the camera, nor left at a share of the round";
        EXPECT_EQ(host.grabs, c.stopAfterGrab) << "no frame is asked for after the Stop";
        EXPECT_EQ(allLedLevels(), c.levels) << c.stopAfterGrab;
        EXPECT_EQ(savedPowers()[256], c.savedPower) << c.stopAfterGrab;
        EXPECT_EQ(savedPowers()[100], kStartPower);
    }
}

TEST_F(LedAutocalTest, LedsLightingNothingCountedKeepTheirPowerAndAreNamed)
{
    litPlate(25);
    // Camera 3's LED 300 lights a rectangle beyond the frame; LED 301's lies outside the mask.
    std::string xy = ::tirmo::test::ReadProgramFile("config/ledxy.dat");
    const std::string row300 = "300," + std::to_string(rects[300].x1) + "," + std::to_string(rects[300].x2) + "," +
                               std::to_string(rects[300].y1) + "," + std::to_string(rects[300].y2) + "\r\n";
    xy.replace(xy.find(row300), row300.size(), "300,195,260,200,32767\r\n");
    ::tirmo::test::WriteProgramFile("config/ledxy.dat", xy);
    LedMap map;
    LinkedHost host(console, *sim, map, 3);
    const Rect r301 = rects[301];
    host.counts = [r301](int, int x, int y) { return !(x >= r301.x1 && x <= r301.x2 && y >= r301.y1 && y <= r301.y2); };
    const auto outcome = AutoCalibrateLedPower(host, map, setup(3));
    ASSERT_EQ(outcome.end, LedCalibrationOutcome::End::Done) << outcome.message;
    EXPECT_EQ(outcome.unmeasured, (std::vector<int>{300, 301, 319}));
    const auto saved = savedPowers();
    EXPECT_EQ(saved[300], kStartPower);
    EXPECT_EQ(saved[301], kStartPower);
    EXPECT_EQ(saved[302], 6);
    bool named = false;
    for (const auto& s : host.statuses)
        named |= s == "CAM[3]: 3 LEDs light no counted pixel (300, 301, 319): their powers are kept";
    EXPECT_TRUE(named);
}

TEST_F(LedAutocalTest, FactoryVariantSendsEachLedAndAsksForTheSecondRound)
{
    for (bool secondRound : {false, true}) {
        ::tirmo::test::WriteProgramFile("config/ledpower.dat", powerFileBefore);
        litPlate(25);
        sim->clearLog();
        LedMap map;
        LinkedHost host(console, *sim, map, 3);
        host.secondRound = secondRound;
        host.stopAfterGrab = 1;  // the factory window has no Stop: it is never looked at
        auto s = setup(3, "w24");  // aims at 178 whatever the format
        s.variant = CalibrationVariant::Factory;
        s.sendPowers = true;
        const auto outcome = AutoCalibrateLedPower(host, map, s);
        ASSERT_EQ(outcome.end, LedCalibrationOutcome::End::Done) << outcome.message;
        EXPECT_EQ(host.stopChecks, 0);
        EXPECT_EQ(host.questions, 1);
        EXPECT_TRUE(host.progress.empty());
        EXPECT_TRUE(host.labels.empty());
        EXPECT_EQ(host.grabs, 2 + 9 + 1) << "no check frame, one result frame";
        EXPECT_EQ(allLedLevels(), (std::vector<int>{0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 0}));
        // Every LED reads 25 per level: 175 at 7. The second round lowers LEDs reading the mean
        // while they stay at or above 0.7 of it: 150, 125, then 100 stops at 4.
        const int expected = secondRound ? 4 : 7;
        EXPECT_EQ(savedPowers()[256], expected);
        EXPECT_EQ(savedPowers()[319], kStartPower);
        const auto simPowers = sim->with([](sim::SimState& st) { return st.leds.power; });
        EXPECT_EQ(simPowers[256], expected) << "sent LED by LED";
        EXPECT_EQ(simPowers[319], kStartPower) << "the LED without a reading is sent at its kept power";
        EXPECT_EQ(simPowers[100], 0);
        EXPECT_EQ(host.statuses.back(), "1er ajuste; CAM[3]: 1 LEDs light no counted pixel (319): their powers are kept");
    }
}

TEST_F(LedAutocalTest, TheSavedPowersFailingToBeWrittenAreNotSent)
{
    litPlate(25);
    // A folder standing where ledpower.dat must be written.
    LedMap map;
    LinkedHost host(console, *sim, map, 3);
    auto s = setup(3);
    std::remove(platform::ProgramPath("config/ledpower.dat").c_str());
    platform::MakeFolder(platform::ProgramPath("config/ledpower.dat"));
    const auto outcome = AutoCalibrateLedPower(host, map, s);
    EXPECT_EQ(outcome.end, LedCalibrationOutcome::End::NotSaved);
    EXPECT_EQ(outcome.message, "Could not write config/ledpower.dat: LED powers not sent");
    EXPECT_TRUE(singleLeds().empty());
    EXPECT_EQ(host.grabs, 11) << "no check frame";
}

}  // namespace
}  // namespace tirmo::lighting

namespace tirmo::lighting {
namespace {

TEST_F(LedAutocalTest, ACheckedFrameComesWholeOrLeavesNothingToRead)
{
    litPlate(25);
    SendAllLedPower(4, console);
    camera::FrameStore store;
    // (6, 163) is a cell of the reduced image inside the rectangle of (colcam 1, filcam 7).
    ASSERT_TRUE(GrabCheckedFrame(session, 3, 143, 183, store).good());
    EXPECT_EQ(store.Value(3, 6, 163), 100);
    EXPECT_FALSE(GrabCheckedFrame(session, 3, 193, 183, store).good()) << "a window beyond the frame table";
    EXPECT_EQ(store.Value(3, 6, 163), 100) << "nothing was asked, nothing forgotten";
    sim->clearLog();
    session.port_open = false;
    const auto grab = GrabCheckedFrame(session, 3, 143, 183, store);
    EXPECT_EQ(grab.outcome, CalibrationGrab::Outcome::NoLink);
    EXPECT_FALSE(store.Has(3, 6, 163));
    EXPECT_TRUE(sim->frames().empty());
}

}  // namespace
}  // namespace tirmo::lighting
