#include <gtest/gtest.h>

#include <string_view>

#include "lighting/LedTestMaps.h"
#include "lighting/LedZones.h"

namespace tirmo::lighting {
namespace {

using Z = LedZone;
constexpr Z kAllZones[] = {Z::A, Z::B, Z::C, Z::D, Z::E, Z::F, Z::G, Z::H};

struct ZoneCase {
    const char* format;
    int generation, camera, window, column;
    Z zone;
    int colcam, filcam;
    bool inside;
};

TEST(LedZones, TellingCellsOfTheZoneTables)
{
    const ZoneCase cases[] = {
        // One well per camera: the block split after colcam 4 and filcam 4.
        {"w6", 1, 0, 0, 0, Z::A, 4, 4, true},
        {"w6", 1, 0, 0, 0, Z::A, 5, 4, false},
        {"w6", 1, 0, 0, 0, Z::A, 4, 5, false},
        {"w6", 1, 0, 0, 0, Z::C, 5, 1, true},
        {"w6", 1, 0, 0, 0, Z::C, 9, 4, true},
        {"w6", 1, 0, 0, 0, Z::E, 1, 8, true},
        {"w6", 2, 0, 0, 0, Z::G, 10, 8, true},   // a later board's 64th LED
        {"w6", 2, 0, 0, 0, Z::A, 0, 0, false},   // LEDs 384..415 of a later board: no block place
        {"w6", 1, 0, 0, 0, Z::B, 3, 1, true},
        {"w6", 1, 0, 0, 0, Z::B, 3, 2, false},
        {"w6", 1, 0, 0, 0, Z::D, 9, 3, true},
        {"w6", 1, 2, 0, 0, Z::D, 9, 3, false},   // the first board's narrower middle blocks
        {"w6", 1, 3, 0, 0, Z::D, 8, 3, true},
        {"w6", 2, 2, 0, 0, Z::D, 9, 3, true},
        {"w6", 1, 0, 0, 0, Z::F, 1, 8, true},
        {"w6", 2, 0, 0, 0, Z::F, 1, 8, false},
        {"w6", 2, 0, 0, 0, Z::F, 3, 7, true},
        {"w6", 1, 0, 0, 0, Z::F, 3, 7, false},
        {"w6", 1, 5, 0, 0, Z::H, 9, 6, true},
        {"w6", 1, 3, 0, 0, Z::H, 8, 6, true},
        {"w6", 1, 3, 0, 0, Z::H, 9, 6, false},
        {"w6", 2, 3, 0, 0, Z::H, 9, 6, true},
        {"w6", 2, 3, 0, 0, Z::H, 8, 8, false},
        {"w6", 7, 3, 0, 0, Z::H, 9, 6, true},    // any generation but 1 reads the later boards' zones
        // "w24", first board.
        {"w24", 1, 0, 0, 0, Z::A, 3, 2, true},
        {"w24", 1, 2, 0, 0, Z::A, 3, 2, false},
        {"w24", 1, 1, 1, 1, Z::A, 6, 6, true},
        {"w24", 1, 4, 0, 1, Z::G, 9, 3, true},
        {"w24", 1, 2, 0, 1, Z::G, 9, 3, false},
        {"w24", 1, 4, 0, 0, Z::H, 5, 4, true},
        {"w24", 1, 4, 1, 0, Z::H, 5, 8, false},  // w 1, k 0 of cameras 4 and 5 is one column only
        {"w24", 1, 4, 1, 0, Z::H, 4, 8, true},
        {"w24", 1, 1, 1, 1, Z::B, 6, 5, true},
        {"w24", 1, 3, 1, 0, Z::D, 4, 5, true},
        {"w24", 1, 5, 0, 1, Z::F, 6, 4, true},
        {"w24", 1, 5, 0, 1, Z::F, 6, 3, false},
        // "w24", later boards: the blocks shift one colcam right per camera pair.
        {"w24", 2, 4, 1, 1, Z::A, 7, 5, true},
        {"w24", 2, 4, 1, 1, Z::A, 8, 5, false},
        {"w24", 2, 2, 0, 0, Z::C, 5, 2, true},
        {"w24", 2, 0, 1, 0, Z::E, 2, 7, true},
        {"w24", 2, 5, 1, 1, Z::H, 9, 7, true},
        // No zone for a window or column beyond the two of "w24", nor for a camera beyond 5.
        {"w24", 1, 0, 0, 0, Z::A, 1, 1, true},
        {"w24", 1, 0, 2, 0, Z::A, 1, 1, false},
        {"w24", 1, 0, 0, 2, Z::A, 1, 1, false},
        {"w24", 2, 6, 0, 0, Z::A, 1, 1, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(InLedZone(c.zone, {c.format, c.generation}, c.camera, c.window, c.column, c.colcam, c.filcam), c.inside)
            << c.format << " gen " << c.generation << " cam " << c.camera << " w" << c.window << " k" << c.column
            << " zone " << ZoneLetter(c.zone) << " (" << c.colcam << "," << c.filcam << ")";
}

// Every place of a block, (colcam, filcam) 0..10 x 0..9.
template <class F>
void forEachPlace(F f)
{
    for (int colcam = 0; colcam <= 10; ++colcam)
        for (int filcam = 0; filcam <= 9; ++filcam) f(colcam, filcam);
}

TEST(LedZones, SingleWellFormatsAlikeForEveryWindowAndColumn)
{
    int differences = 0, members = 0;
    for (int generation : {1, 2})
        for (int camera = 0; camera < 6; ++camera)
            for (Z zone : kAllZones)
                forEachPlace([&](int colcam, int filcam) {
                    const bool w6 = InLedZone(zone, {"w6", generation}, camera, 0, 0, colcam, filcam);
                    members += w6;
                    for (int window = 0; window < 3; ++window)
                        for (int column = 0; column < 3; ++column)
                            differences +=
                                InLedZone(zone, {"p35", generation}, camera, window, column, colcam, filcam) != w6;
                });
    EXPECT_EQ(differences, 0);
    EXPECT_GT(members, 0);
}

// The tables whole: a well's dimming zones share no LED, each brightening corner lies in its quarter, a single well
// splits after colcam 4 and filcam 4, the later boards' w24 zones are the 2 x 2 blocks the formula below places.
TEST(LedZones, EveryZoneTableFollowsItsRule)
{
    int broken = 0, members = 0;
    for (const char* format : {"w6", "p35", "w24"})
        for (int generation : {1, 2})
            for (int camera = 0; camera < 6; ++camera)
                for (int window = 0; window < 2; ++window)
                    for (int column = 0; column < 2; ++column)
                        forEachPlace([&](int colcam, int filcam) {
                            const ZoneBoard board{format, generation};
                            int dims = 0;
                            for (int q = 0; q < 4; ++q) {
                                const bool dim = InLedZone(kDimmingZone[q], board, camera, window, column, colcam, filcam);
                                const bool bright =
                                    InLedZone(kBrighteningZone[q], board, camera, window, column, colcam, filcam);
                                dims += dim;
                                members += dim;
                                // One corner LED past its quarter: first board, w24, H of cameras 4 and 5 at (5, 4).
                                const bool pastItsQuarter = generation == 1 && camera >= 4 && window + column == 0 &&
                                                            q == 3 && colcam == 5 && filcam == 4;
                                broken += bright && !dim && !pastItsQuarter;
                                const bool right = q % 2 == 1, below = q >= 2;
                                if (std::string_view(format) != "w24") {
                                    broken += dim != ((colcam >= 1 && colcam <= 4) != right && colcam >= 1 &&
                                                      (filcam >= 1 && filcam <= 4) != below && filcam >= 1);
                                } else if (generation == 2) {
                                    const int col = 1 + camera / 2 + 2 * right + 3 * column, fil = 1 + 2 * below + 3 * window;
                                    broken += dim != (colcam >= col && colcam <= col + 1 && filcam >= fil && filcam <= fil + 1);
                                }
                            }
                            broken += dims > 1;
                        });
    EXPECT_EQ(broken, 0);
    EXPECT_GT(members, 0);
}

TEST(LedZones, LaterBoardsBrightenTheLedsTheyDimOnW24)
{
    int differences = 0;
    for (int camera = 0; camera < 6; ++camera)
        for (int window = 0; window < 2; ++window)
            for (int column = 0; column < 2; ++column)
                for (int q = 0; q < 4; ++q)
                    forEachPlace([&](int colcam, int filcam) {
                        differences += InLedZone(kDimmingZone[q], {"w24", 2}, camera, window, column, colcam, filcam) !=
                                       InLedZone(kBrighteningZone[q], {"w24", 2}, camera, window, column, colcam, filcam);
                    });
    EXPECT_EQ(differences, 0);
}

TEST(LedZones, OtherFormatsHaveNoZoneAtAll)
{
    for (const char* format : {"w96f", "w96u", "w48", "w12", "", "W6", "w6 "}) {
        EXPECT_FALSE(HasLedZones(format)) << format;
        int members = 0;
        for (int camera = 0; camera < 6; ++camera)
            for (Z zone : kAllZones)
                forEachPlace([&](int colcam, int filcam) {
                    members += InLedZone(zone, {format, 1}, camera, 0, 0, colcam, filcam);
                });
        EXPECT_EQ(members, 0) << format;
    }
    for (const char* format : {"w6", "p35", "w24"}) EXPECT_TRUE(HasLedZones(format));
}

TEST(LedZones, DimmingStopsAtZeroAndBrighteningAtEight)
{
    struct Case {
        Z zone;
        int power, step, expected;
    };
    const Case cases[] = {
        {Z::A, 5, 2, 2}, {Z::A, 1, 2, 0}, {Z::A, 0, 0, 0}, {Z::A, 15, 0, 14},  // dimming: step + 1 down
        {Z::B, 7, 0, 8}, {Z::B, 7, 3, 8}, {Z::B, 0, 1, 2},                     // brightening: step + 1 up, to 8
        {Z::B, 8, 2, 8}, {Z::B, 9, 0, 9}, {Z::B, 15, 4, 15},                   // above 8 stays as it is
        {Z::A, 5, -1, 5},                                                       // no negative step
    };
    for (const Case& c : cases) {
        LedMap map = test::LayoutMap(1, c.power);
        // LED 0 is (1,1) of camera 0: in A and B of "w6". LED 208 is (1,1) of camera 1.
        AdjustLedZone(map, c.zone, {"w6", 1}, 0, 0, 0, c.step);
        EXPECT_EQ(map.power[0], c.expected) << ZoneLetter(c.zone) << " power " << c.power << " step " << c.step;
        EXPECT_EQ(map.power[208], c.power) << "another camera's LED at the same block place is left alone";
    }
}

TEST(LedZones, TheRoutineReachesExactlyTheCamerasLedsOfTheZone)
{
    LedMap map = test::LayoutMap(2, 5);
    // Camera 4 of a later board: LEDs 128..190, LED = 128 + (colcam - 1) x 7 + (filcam - 1).
    EXPECT_EQ(AdjustLedZone(map, Z::C, {"w24", 2}, 4, 1, 0, 0), 4);  // colcam 5..6, filcam 4..5
    for (int led = 0; led < kLedCount; ++led) {
        const bool zone = map.camera[size_t(led)] == 4 && map.colcam[size_t(led)] >= 5 &&
                          map.colcam[size_t(led)] <= 6 && map.filcam[size_t(led)] >= 4 && map.filcam[size_t(led)] <= 5;
        EXPECT_EQ(map.power[size_t(led)], zone ? 4 : 5) << "LED " << led;
    }
    EXPECT_EQ(map.power[128 + 4 * 7 + 3], 4);
}

}  // namespace
}  // namespace tirmo::lighting
