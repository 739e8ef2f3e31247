#include <gtest/gtest.h>

#include <cmath>

#include "camera/CameraCommands.h"
#include "camera/CameraSelect.h"
#include "camera/FrameTransfer.h"
#include "support/FakeClock.h"
#include "support/LinkFixture.h"

namespace tirmo::camera {
namespace {

class SimCamerasTest : public test::LinkFixture {
protected:
    std::string fetch(int camera, char mode, long long expected)
    {
        EXPECT_TRUE(SendRequest(session, CameraRequest(camera, mode), YieldPoint::AfterEach));
        return ReadReply(session, mode, expected);
    }
    test::FakeClock clock;
};

TEST_F(SimCamerasTest, EachCameraKeepsTheWindowSentWhileItWasSelected)
{
    sim->with([](sim::SimState& s) { return s.cameras.source = sim::MakePlatePattern(sim::DefaultWells("w6"), 0); });
    ASSERT_TRUE(SelectCamera("2", console));
    SendWindowPair('y', 10, 19, console);
    SendWindowPair('x', 30, 36, console);
    ASSERT_TRUE(SelectCamera("3", console));
    const auto windows = sim->with([](sim::SimState& s) { return s.cameras.windows; });
    EXPECT_EQ(windows[2].lines(), 10);
    EXPECT_EQ(windows[2].pix(), 7);
    EXPECT_EQ(windows[3].lines(), 143) << "the others keep the full window";

    const std::string block = fetch(2, '+', ExpectedLength('+', 7, 10));
    ASSERT_EQ(block.size(), 71u);
    EXPECT_TRUE(CheckOf(block).matches());
    const std::string reduced = fetch(2, 'A', ExpectedLength('A', 7, 10));
    EXPECT_EQ(reduced.size(), size_t((7 / 5 + 2) * (10 / 5) + 3));
    EXPECT_TRUE(CheckOf(reduced).matches());
    long long expected = 0;
    SendRequest(session, CameraRequest(2, '0'), YieldPoint::AfterEach);
    const std::string prefixed = ReadReply(session, '0', expected);
    EXPECT_EQ(expected, 73);
    EXPECT_EQ(prefixed.substr(2, 70), block.substr(0, 70));
}

TEST_F(SimCamerasTest, FaultSwitchesSpoilShortenOrSilenceBlocks)
{
    test::QuickTimeouts quick;
    sim->with([](sim::SimState& s) { return s.cameras.windows[0] = sim::SimWindow{0, 4, 1, 5}; });
    sim->corruptCheckNext(1);
    EXPECT_FALSE(CheckOf(fetch(0, '+', 26)).matches());
    EXPECT_TRUE(CheckOf(fetch(0, '+', 26)).matches()) << "only the next K blocks";
    sim->with([](sim::SimState& s) {
        s.cameras.shortBlocks = 1;
        return s.cameras.shortBy = 6;
    });
    EXPECT_EQ(fetch(0, '+', 26).size(), 20u);
    sim->with([](sim::SimState& s) { return s.cameras.silentBlocks = 1; });
    EXPECT_EQ(fetch(0, '+', 26), "");
    EXPECT_EQ(fetch(0, '+', 26).size(), 26u);
}

TEST_F(SimCamerasTest, TheStillPlateShowsTheWellsWhereTheDefaultBandsPutThem)
{
    const auto wells = sim::DefaultWells("w24");
    ASSERT_EQ(wells.size(), 24u);
    const auto source = sim::MakePlatePattern(sim::DefaultWells("w6"), 0);
    // w6, camera 0: lines 5..140 and row band 10..165 (sensor pixels 18..173).
    EXPECT_GT(source->pixel(0, 72, 95, 0), 60);
    EXPECT_LT(source->pixel(0, 2, 95, 0), 60);
    EXPECT_LT(source->pixel(0, 72, 180, 0), 60);
    const auto noisy = sim::MakePlatePattern(sim::DefaultWells("w6"), 2);
    int changed = 0;
    for (int p = 0; p < 50; ++p) {
        const int d = noisy->pixel(0, 72, p + 50, 1) - noisy->pixel(0, 72, p + 50, 2);
        EXPECT_LE(std::abs(d), 4);
        changed += d != 0;
    }
    EXPECT_GT(changed, 0) << "the noise changes from frame to frame";
}

TEST_F(SimCamerasTest, MovingSpotsMoveInsideTheirWell)
{
    const auto wells = sim::DefaultWells("w24");
    const sim::SimWell& d6 = wells.back();
    sim::SimSpot spot;
    spot.camera = d6.camera;
    spot.line = d6.line;
    spot.pixel = d6.pixel;
    const auto source = sim::MakeMovingSpots(wells, {spot}, 0);
    sim->with([&](sim::SimState& s) { return s.cameras.source = source; });
    const auto [l0, p0] = sim::SpotCentre(spot, 0);
    const auto [l1, p1] = sim::SpotCentre(spot, 2);
    EXPECT_EQ(source->pixel(spot.camera, int(l0), int(p0), 0), 250);
    EXPECT_NE(source->pixel(spot.camera, int(l0), int(p0), 2), 250);
    EXPECT_EQ(source->pixel(spot.camera, int(std::lround(l1)), int(std::lround(p1)), 2), 250);
    EXPECT_LT(std::hypot(l0 - d6.line, p0 - d6.pixel) + spot.radius, d6.radius);

    // Two blocks of the spot's camera differ where the spot was.
    const std::string a = fetch(spot.camera, '+', 26170), b = fetch(spot.camera, '+', 26170);
    const size_t at = size_t(183 * int(l0) + (int(p0) - 1));
    EXPECT_EQ(static_cast<unsigned char>(a[at]), 250);
    EXPECT_NE(a[at], b[at]);
}

}  // namespace
}  // namespace tirmo::camera
