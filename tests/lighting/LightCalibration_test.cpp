#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "lighting/LedTestMaps.h"
#include "lighting/LightCalibration.h"
#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "support/FakeClock.h"
#include "support/TempFolder.h"

namespace tirmo::lighting {
namespace {

TEST(FindBandTest, StartsAtTheFirstRiseAndEndsAtTheFallAfterTheLast)
{
    struct Case {
        const char* name;
        std::vector<std::pair<int, int>> high;  // index ranges at 100, the rest 0
        Band band;
    };
    const int n = 100;
    for (const Case& c : std::vector<Case>{
             {"two rises", {{20, 34}, {40, 51}}, {20, 52}},
             {"from index 0", {{0, 50}}, {0, 51}},
             {"to the last index", {{90, 100}}, {90, 100}},
             {"nothing", {}, {-1, -1}},
         }) {
        std::vector<double> v(size_t(n + 1), 0.0);
        for (auto [a, b] : c.high)
            for (int i = a; i <= b; ++i) v[size_t(i)] = 100;
        EXPECT_EQ(FindBand(v, n, 1.3), c.band) << c.name;
    }
    // A value equal to the threshold neither starts nor ends a band.
    std::vector<double> v(11, 0.0);
    v[3] = v[4] = 5;
    v[5] = 1.0;  // sum 11 over n = 10: threshold 1.1 x 1.0 = 1.1 with factor 1
    EXPECT_EQ(FindBand(v, 10, 1.0), (Band{3, 5}));
    EXPECT_EQ(FindBand(v, 0, 1.0), (Band{-1, -1})) << "no mean over no values";
}

TEST(SaturationLevelTest, TakesTheLastLevelAtOrBelowTheLimit)
{
    EXPECT_EQ(SaturationLevel({150, 170, 181, 176, 200, 200, 200, 200, 200}), 3);
    EXPECT_EQ(SaturationLevel({0, 10, 20, 30, 40, 50, 60, 178, 179}), 7);
    EXPECT_EQ(SaturationLevel({179, 179, 179, 179, 179, 179, 179, 179, 179}), 0);
    EXPECT_EQ(SaturationLevel({0, 0, 0, 0, 0, 0, 0, 0, 0}), 8);
}

// An empty stage as a camera sees it: grey 10, and each lit LED adds 20 per power level over
// its rectangle (the layout's 9 x 7 block of camera 0 over the default window).
class StageHost : public LightCalibrationHost {
public:
    explicit StageHost(const LedMap& layout) : layout_(layout) {}
    static test::Rect Rect(int colcam, int filcam)
    {
        if (colcam < 1 || colcam > 9 || filcam < 1 || filcam > 7) return {};
        return {(colcam - 1) * 16, (colcam - 1) * 16 + 12, (filcam - 1) * 26, (filcam - 1) * 26 + 20};
    }
    void SendAllLedPower(int level) override
    {
        power.fill(level);
        sent.push_back("all " + std::to_string(level));
    }
    void SendLedPower(int led, int p) override
    {
        power[size_t(led)] = p;
        sent.push_back("led " + std::to_string(led));
    }
    void SelectCamera() override {}
    void SetDefaultCamera() override {}
    bool GrabFrame() override
    {
        if (++grabs == stopAtGrab) stop = true;
        if (grabs == loseGrab || stop) return false;
        for (int x = 1; x <= kLines; ++x)
            for (int y = 0; y < kPix; ++y) {
                int g = 10;
                for (int led = 0; led < kLedCount; ++led) {
                    if (layout_.camera[size_t(led)] != 0) continue;
                    const test::Rect r = Rect(layout_.colcam[size_t(led)], layout_.filcam[size_t(led)]);
                    if (x >= r.x1 && x <= r.x2 && y >= r.y1 && y <= r.y2) g += perLevel * power[size_t(led)];
                }
                frames.Set(0, x, y, std::min(g, 255));
            }
        return true;
    }
    const camera::FrameStore& Frames() const override { return frames; }
    int LineCount() override { return kLines; }
    int PixelCount() override { return kPix; }
    void Status(const std::string& text) override { status = text; }
    void Progress(double) override {}
    bool StopRequested() override { return stop; }

    static constexpr int kLines = 143, kPix = 183;
    const LedMap& layout_;
    std::array<int, kLedCount> power{};
    camera::FrameStore frames;
    std::vector<std::string> sent;
    std::string status;
    int grabs = 0, loseGrab = 0, stopAtGrab = 0, perLevel = 20;
    bool stop = false;
};

class LightCalibrationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::SetProgramFolder(folder.path());
        const auto lines = LedSetup2Lines();
        ASSERT_TRUE(platform::WriteLines(folder.path() + "/ledsetup.dat", lines));
        layout = test::LayoutMap(2, 0);
        setup.layoutPath = folder.path() + "/ledsetup.dat";
        setup.loadFolder = setup.saveFolder = "config";
        LedMap old = layout;
        old.x1.fill(7);
        old.power.fill(5);
        ASSERT_TRUE(WriteLedPositions(old, "config"));
        ASSERT_TRUE(WriteLedPower(old, "config"));
        before = files();
    }
    std::string files() const
    {
        std::ostringstream text;
        text << std::ifstream(folder.path() + "/config/ledxy.dat").rdbuf() << "|"
             << std::ifstream(folder.path() + "/config/ledpower.dat").rdbuf();
        return text.str();
    }
    tirmo::test::TempFolder folder;
    tirmo::test::FakeClock clock;
    LedMap layout, map;
    LightCalibrationSetup setup;
    std::string before;
};

TEST_F(LightCalibrationTest, AlignmentFindsEachLedsRectangleAndSavesIt)
{
    StageHost host(layout);
    ASSERT_EQ(CalibrateLightAlignment(host, map, setup), LightCalibrationEnd::Done);
    LedMap saved;
    LoadLedTables(saved, setup.layoutPath, "config");
    for (int led = 0; led < kLedCount; ++led) {
        const test::Rect r = StageHost::Rect(layout.colcam[size_t(led)], layout.filcam[size_t(led)]);
        if (layout.camera[size_t(led)] != 0 || r.x1 < 0) {
            if (layout.camera[size_t(led)] != 0) {
                EXPECT_EQ(saved.x1[size_t(led)], 7) << "other camera kept, LED " << led;
            }
            continue;
        }
        // x = 0 is never a stored position: the first column's band starts at 1.
        EXPECT_NEAR(saved.x1[size_t(led)], std::max(r.x1, 1), 1) << led;
        EXPECT_NEAR(saved.x2[size_t(led)], r.x2 + 1, 1) << led;
        EXPECT_NEAR(saved.y1[size_t(led)], r.y1, 1) << led;
        EXPECT_NEAR(saved.y2[size_t(led)], r.y2 + 1, 1) << led;
    }
    EXPECT_EQ(host.status, "CAM[0]: OK; no band in ledxy.dat for LED 63") << "the block's tenth LED lights nothing";
    EXPECT_EQ(host.sent.back(), "all 0");
}

TEST_F(LightCalibrationTest, AnUnfinishedCalibrationSavesNothingAndEndsDark)
{
    struct Case {
        const char* name;
        bool alignment;
        int loseGrab, stopAtGrab;
        LightCalibrationEnd end;
        bool noLayout = false;  // the layout file missing: every LED counts as camera 0, place 0
    };
    for (const Case& c : std::vector<Case>{
             {"alignment, lost reference", true, 2, 0, LightCalibrationEnd::NoFrame},
             {"alignment, lost row frame", true, 14, 0, LightCalibrationEnd::NoFrame},
             {"alignment, stopped in the rows", true, 0, 15, LightCalibrationEnd::Stopped},
             {"saturation, lost level frame", false, 6, 0, LightCalibrationEnd::NoFrame},
             {"saturation, stopped at a level", false, 0, 9, LightCalibrationEnd::Stopped},
             {"alignment, no layout", true, 0, 0, LightCalibrationEnd::NoLeds, true},
         }) {
        setup.layoutPath = folder.path() + (c.noLayout ? "/config/ledsetup.dat" : "/ledsetup.dat");
        StageHost host(layout);
        host.loseGrab = c.loseGrab;
        host.stopAtGrab = c.stopAtGrab;
        const auto end = c.alignment ? CalibrateLightAlignment(host, map, setup) : CalibrateSaturationLevel(host, map, setup);
        EXPECT_EQ(end, c.end) << c.name;
        EXPECT_EQ(files(), before) << c.name;
        EXPECT_EQ(host.sent.back(), "all 0") << c.name;
        EXPECT_EQ(host.grabs, std::max(c.loseGrab, c.stopAtGrab)) << c.name << ": nothing asked after the failure";
        EXPECT_TRUE(!c.noLayout || host.status == "CAM[0]: LED layout ledsetup.dat not found in " + folder.path() + "/config: ledxy.dat unchanged") << host.status;
    }
}

TEST_F(LightCalibrationTest, SaturationGivesEachLedOfTheCameraItsLastLevelBelowTheLimit)
{
    // With the stage's own rectangles saved, 10 + 40 x level reads 170 at level 4 and 210 at 5:
    // level 4. Other cameras keep their saved 5; an LED lighting nothing measurable (the block's
    // tenth, and the LEDs beyond the layout, which count as camera 0) gets 8.
    LedMap aligned = layout;
    for (int led = 0; led < kLedCount; ++led) {
        const test::Rect r = StageHost::Rect(layout.colcam[size_t(led)], layout.filcam[size_t(led)]);
        aligned.x1[size_t(led)] = r.x1, aligned.x2[size_t(led)] = r.x2, aligned.y1[size_t(led)] = r.y1, aligned.y2[size_t(led)] = r.y2;
    }
    ASSERT_TRUE(WriteLedPositions(aligned, "config"));
    StageHost host(layout);
    host.perLevel = 40;
    ASSERT_EQ(CalibrateSaturationLevel(host, map, setup), LightCalibrationEnd::Done);
    LedMap saved;
    LoadLedTables(saved, setup.layoutPath, "config");
    for (int led = 0; led < kLedCount; ++led)
        EXPECT_EQ(saved.power[size_t(led)], layout.camera[size_t(led)] != 0                           ? 5
                                            : aligned.x1[size_t(led)] < 0 ? 8 : 4)
            << led;
    EXPECT_EQ(host.power[64], 8);
    EXPECT_EQ(host.sent.back(), "led 415") << "camera 0's LEDs sent last, in order";
    EXPECT_EQ(host.status, "CAM[0]: OK");
}

}  // namespace
}  // namespace tirmo::lighting
