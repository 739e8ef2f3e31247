#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lighting/LedCentring.h"
#include "lighting/LedTestMaps.h"

namespace tirmo::lighting {
namespace {

using Z = LedZone;

// A window built pixel by pixel: each run of pixels has a well, a quarter (0..3: first or
// second column half, then first or second row half) and a grey. Bands 0..20 on both axes,
// so the half extents are 10 and the offsets 5 and 15 lie in the first and second half.
struct TestWindow {
    std::string frame;
    std::vector<PixelPlace> places{PixelPlace{}};  // pixel 0 unused
    void add(int well, int quarter, int count, int grey, int columnOffset = -1, int rowOffset = -1)
    {
        for (int i = 0; i < count; ++i) {
            frame += char(grey);
            places.push_back({well, columnOffset >= 0 ? columnOffset : (quarter % 2 ? 15 : 5),
                              rowOffset >= 0 ? rowOffset : (quarter / 2 ? 15 : 5)});
        }
    }
    CentringWindow view(int camera = 0, int window = 0) const
    {
        CentringWindow w;
        w.camera = camera;
        w.window = window;
        w.frame = frame;
        w.pixelCount = long(places.size()) - 1;
        w.place = [this](long p) { return places[size_t(p)]; };
        return w;
    }
};

// Bands of every camera: `columns` column bands of 20 sensor positions and `rows` row bands.
struct Bands {
    plate::ColumnBands columns;
    plate::RowBands rows;
    Bands(int columnCount, int rowCount, int firstColumn = 0, int firstRow = 0)
    {
        for (int c = 0; c < 7; ++c) {
            columns.first[size_t(c)] = firstColumn;
            columns.last[size_t(c)] = firstColumn + columnCount - 1;
            rows.first[size_t(c)] = firstRow;
            rows.last[size_t(c)] = firstRow + rowCount - 1;
            for (int k = 0; k < columnCount; ++k) {
                columns.start[size_t(c)][size_t(k)] = 20 * k;
                columns.end[size_t(c)][size_t(k)] = 20 * k + 20;
            }
            for (int r = 0; r < rowCount; ++r) {
                rows.start[size_t(c)][size_t(r)] = 20 * r;
                rows.end[size_t(c)][size_t(r)] = 20 * r + 20;
            }
        }
    }
};

// Quarters Q1..Q4 of 100 pixels each at the given greys.
TestWindow quarters(int well, int q1, int q2, int q3, int q4)
{
    TestWindow t;
    t.add(well, 0, 100, q1);
    t.add(well, 1, 100, q2);
    t.add(well, 2, 100, q3);
    t.add(well, 3, 100, q4);
    return t;
}

std::string letters(const std::vector<ZoneCall>& calls)
{
    std::string s;
    for (const ZoneCall& c : calls) s += ZoneLetter(c.zone) + std::to_string(c.step) + " ";
    return s;
}

TEST(LedCentring, StepIsTheMeanDistanceFromTheMiddleTimesTenAtLeastOne)
{
    struct Case {
        double fc, fr;
        int step;
    };
    const Case cases[] = {
        {0.6, 0.5, 1},   // 0.5 rounds to the even 0, then at least 1
        {0.8, 0.2, 3},
        {0.5, 0.5, 1},
        {0.75, 0.25, 2}, // 2.5 rounds to the even 2
        {0.85, 0.5, 2},  // 1.75
        {1.0, 0.25, 4},  // 3.75
        {1.0, 0.0, 5},
        {0.0, 1.0, 5},
    };
    for (const Case& c : cases) EXPECT_EQ(CentringStep(c.fc, c.fr), c.step) << c.fc << " " << c.fr;
}

TEST(LedCentring, TheSharesChooseTheDimmingZones)
{
    const WellLight even;
    struct Case {
        double fc, fr;
        const char* calls;
    };
    const Case cases[] = {
        {0.6, 0.6, "A1 "},     {0.6, 0.5, "A1 E1 "}, {0.6, 0.4, "E1 "},
        {0.5, 0.6, "A1 C1 "},  {0.5, 0.5, ""},       {0.5, 0.4, "E1 G1 "},
        {0.4, 0.6, "C1 "},     {0.4, 0.5, "C1 G1 "}, {0.4, 0.4, "G1 "},
        // The dead band's own limits are inside it.
        {0.45, 0.55, ""},      {0.55, 0.45, ""},
        {0.8, 0.2, "E3 "},
    };
    for (const Case& c : cases) EXPECT_EQ(letters(CentringCalls(c.fc, c.fr, even)), c.calls) << c.fc << " " << c.fr;
}

TEST(LedCentring, BrightAndDarkCountsCallTheirQuartersZones)
{
    struct Case {
        int count;
        int brightStep;  // -1: no call
        int darkStep;
    };
    const Case cases[] = {
        {50, -1, -1}, {51, 2, -1},  {100, 2, -1}, {101, 3, 1}, {200, 3, 1},
        {201, 4, 2},  {400, 4, 2},  {401, 5, 2},
    };
    for (int q = 0; q < 4; ++q) {
        for (const Case& c : cases) {
            WellLight bright, dark;
            bright.bright[q] = c.count;
            dark.dark[q] = c.count;
            std::vector<ZoneCall> expectBright, expectDark;
            if (c.brightStep >= 0) expectBright.push_back({kDimmingZone[q], c.brightStep});
            if (c.darkStep >= 0) expectDark.push_back({kBrighteningZone[q], c.darkStep});
            EXPECT_EQ(CentringCalls(0.5, 0.5, bright), expectBright) << "Q" << q + 1 << " bright " << c.count;
            EXPECT_EQ(CentringCalls(0.5, 0.5, dark), expectDark) << "Q" << q + 1 << " dark " << c.count;
        }
    }
}

TEST(LedCentring, CallsComeCentringFirstThenBrightThenDarkQuarters)
{
    WellLight light;
    light.bright[3] = 60;
    light.bright[0] = 300;
    light.dark[1] = 150;
    light.dark[0] = 250;
    EXPECT_EQ(letters(CentringCalls(0.6, 0.5, light)), "A1 E1 A4 G2 B2 D1 ");
}

TEST(LedCentring, MeasuringSortsPixelsIntoHalvesAndQuarters)
{
    TestWindow t;
    t.add(0, 0, 3, 240);           // 240 is not bright
    t.add(0, 1, 2, 241);           // bright, second column half
    t.add(0, 2, 4, 40);            // 40 is not dark
    t.add(0, 3, 5, 39);            // dark
    t.add(0, 0, 1, 100, 10, 10);   // an offset equal to the half extent lies in the second half
    t.add(1, 0, 7, 200);           // another well's pixels
    t.add(-1, 0, 7, 200);          // no well
    const WellLight light = MeasureWell(t.view(), 0, 10.0, 10.0);
    EXPECT_EQ(light.pixels, 15);
    EXPECT_DOUBLE_EQ(light.columnHalf[0], 3 * 240 + 4 * 40);
    EXPECT_DOUBLE_EQ(light.columnHalf[1], 2 * 241 + 5 * 39 + 100);
    EXPECT_DOUBLE_EQ(light.rowHalf[0], 3 * 240 + 2 * 241);
    EXPECT_DOUBLE_EQ(light.rowHalf[1], 4 * 40 + 5 * 39 + 100);
    EXPECT_EQ(light.bright[0], 0);
    EXPECT_EQ(light.bright[1], 2);
    EXPECT_EQ(light.dark[2], 0);
    EXPECT_EQ(light.dark[3], 5);
}

TEST(LedCentring, PixelsBeyondTheFramesEndAreNotRead)
{
    TestWindow t = quarters(0, 100, 100, 100, 100);
    CentringWindow view = t.view();
    view.frame = std::string_view(t.frame).substr(0, 150);  // a frame shorter than the window
    const WellLight light = MeasureWell(view, 0, 10.0, 10.0);
    EXPECT_EQ(light.pixels, 150);
    EXPECT_DOUBLE_EQ(light.columnHalf[0] + light.columnHalf[1], 150 * 100.0);
}

// The LEDs of camera 0 of a first board with colcam 1..4 (the first column half's zones).
bool firstColumnHalf(const LedMap& map, int led)
{
    return map.camera[size_t(led)] == 0 && map.colcam[size_t(led)] >= 1 && map.colcam[size_t(led)] <= 4;
}

TEST(LedCentring, ExampleSixTenthsAndAHalfDimsBothFirstColumnZonesByTwo)
{
    const Bands bands(1, 1);
    LedMap map = test::LayoutMap(1, 5);
    // fc = (60 + 60) / 200 = 0.6, fr = (60 + 40) / 200 = 0.5; no grey below 40 or above 240.
    const TestWindow t = quarters(0, 60, 40, 60, 40);
    const CentringReport report = CentreLedMap(map, {"w6", 1, bands.columns, bands.rows}, t.view());
    ASSERT_EQ(report.wells.size(), 1u);
    EXPECT_DOUBLE_EQ(report.wells[0].columnShare, 0.6);
    EXPECT_DOUBLE_EQ(report.wells[0].rowShare, 0.5);
    EXPECT_EQ(letters(report.wells[0].calls), "A1 E1 ");
    for (int led = 0; led < kLedCount; ++led)
        EXPECT_EQ(map.power[size_t(led)], firstColumnHalf(map, led) ? 3 : 5) << "LED " << led;
}

TEST(LedCentring, ExampleEightAndTwoTenthsDimsZoneEByFour)
{
    const Bands bands(1, 1);
    LedMap map = test::LayoutMap(1, 5);
    // Q3 holds seven times the pixels of the others: fc = 0.8, fr = 0.2.
    TestWindow t;
    t.add(0, 0, 100, 100);
    t.add(0, 1, 100, 100);
    t.add(0, 2, 700, 100);
    t.add(0, 3, 100, 100);
    const CentringReport report = CentreLedMap(map, {"w6", 1, bands.columns, bands.rows}, t.view());
    EXPECT_EQ(letters(report.wells.at(0).calls), "E3 ");
    for (int led = 0; led < kLedCount; ++led) {
        const bool e = firstColumnHalf(map, led) && map.filcam[size_t(led)] >= 5;
        EXPECT_EQ(map.power[size_t(led)], e ? 1 : 5) << "LED " << led;
    }
}

TEST(LedCentring, ABlackOrEmptyWellIsSkippedWithoutChange)
{
    const Bands bands(1, 1);
    const LedMap before = test::LayoutMap(1, 5);
    // Black: 400 pixels of grey 0 would otherwise also raise every quarter as dark.
    const TestWindow black = quarters(0, 0, 0, 0, 0);
    TestWindow none;  // no pixel of the well in the window
    none.add(3, 0, 50, 120);
    for (const TestWindow* t : std::initializer_list<const TestWindow*>{&black, &none}) {
        LedMap map = before;
        const CentringReport report = CentreLedMap(map, {"w6", 1, bands.columns, bands.rows}, t->view());
        EXPECT_EQ(report.SkippedWells(), std::vector<int>{0});
        EXPECT_TRUE(report.wells.at(0).calls.empty());
        EXPECT_EQ(map.power, before.power);
    }
}

TEST(LedCentring, FormatsWithoutZonesChangeNothing)
{
    const Bands bands(1, 1);
    const TestWindow t = quarters(0, 250, 10, 250, 10);
    for (const char* format : {"w96f", "w48", "w12", "w96u", "bogus", ""}) {
        LedMap map = test::LayoutMap(1, 5);
        const CentringReport report = CentreLedMap(map, {format, 1, bands.columns, bands.rows}, t.view());
        EXPECT_FALSE(report.zones) << format;
        EXPECT_TRUE(report.wells.empty()) << format;
        EXPECT_EQ(map.power, test::LayoutMap(1, 5).power) << format;
    }
}

TEST(LedCentring, EachW24WellOfTheWindowMovesItsOwnZones)
{
    // Camera 0 of "w24": plate columns 0 and 1, rows 0 and 1; window 1 holds wells 1 and 5.
    const Bands bands(2, 2);
    LedMap map = test::LayoutMap(1, 5);
    TestWindow t = quarters(1, 100, 100, 100, 100);  // well 1 (column 0) evenly lit
    t.add(5, 0, 100, 60);                             // well 5 (column 1): fc 0.6, fr 0.5
    t.add(5, 1, 100, 40);
    t.add(5, 2, 100, 60);
    t.add(5, 3, 100, 40);
    const CentringReport report = CentreLedMap(map, {"w24", 1, bands.columns, bands.rows}, t.view(0, 1));
    ASSERT_EQ(report.wells.size(), 2u);
    EXPECT_EQ(report.wells[0].well, 1);
    EXPECT_TRUE(report.wells[0].calls.empty());
    EXPECT_EQ(report.wells[1].well, 5);
    EXPECT_EQ(letters(report.wells[1].calls), "A1 E1 ");
    // First board, cameras 0 and 1, w 1 k 1: A is colcam 5-6 / filcam 5-6, E colcam 5-6 / 7-8.
    for (int led = 0; led < kLedCount; ++led) {
        const size_t i = size_t(led);
        const bool moved = map.camera[i] == 0 && map.colcam[i] >= 5 && map.colcam[i] <= 6 && map.filcam[i] >= 5;
        EXPECT_EQ(map.power[i], moved ? 3 : 5) << "LED " << led;
    }
}

TEST(LedCentring, AWindowOutsideTheBandTablesChangesNothing)
{
    const Bands bands(1, 1);
    LedMap map = test::LayoutMap(1, 5);
    const TestWindow t = quarters(0, 60, 40, 60, 40);
    for (auto [camera, window] : {std::pair{7, 0}, {-1, 0}, {0, 9}, {0, -1}}) {
        const CentringReport report = CentreLedMap(map, {"w6", 1, bands.columns, bands.rows}, t.view(camera, window));
        EXPECT_TRUE(report.wells.empty()) << camera << " " << window;
    }
    EXPECT_EQ(map.power, test::LayoutMap(1, 5).power);
}

}  // namespace
}  // namespace tirmo::lighting
