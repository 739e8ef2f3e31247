#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "plate/PlateMap.h"
#include "ui/PictureBox.h"

namespace tirmo::plate {
namespace {

using ui::RGB;

constexpr uint32_t kBackground = RGB(212, 208, 200);

bool isRed(uint32_t c) { return ui::redOf(c) > 200 && ui::greenOf(c) < 80 && ui::blueOf(c) < 80; }
bool isBlue(uint32_t c) { return ui::blueOf(c) > 200 && ui::redOf(c) < 80 && ui::greenOf(c) < 80; }
bool isDark(uint32_t c) { return ui::redOf(c) < 90 && ui::greenOf(c) < 90 && ui::blueOf(c) < 90; }
bool isOrange(uint32_t c) { return c == RGB(255, 85, 0); }

// A 600 x 1400 picture: five pixels to a plate unit in both directions.
class PlateMapTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (ui::PictureBox* p : {&pic, &reference}) {
            p->SetPixelSize(600, 1400);
            p->SetBackColor(kBackground);
        }
    }
    PlateMapTables tables()
    {
        return {rows, columns, inUse, groups, wellTable, columnBands, rowBands, columnLabels, rowLabels};
    }
    // Pixels of the user rectangle that pass a test.
    int count(const ui::PictureBox& p, double x1, double y1, double x2, double y2,
              const std::function<bool(uint32_t)>& test) const
    {
        const QPointF a = p.toPixels(x1, y1), b = p.toPixels(x2, y2);
        int n = 0;
        // Both corners included, rounded as the picture rounds them.
        for (int px = int(std::floor(a.x() + 0.5)); px <= int(std::floor(b.x() + 0.5)); ++px)
            for (int py = int(std::floor(a.y() + 0.5)); py <= int(std::floor(b.y() + 0.5)); ++py)
                n += test(p.PixelAt(px, py)) ? 1 : 0;
        return n;
    }
    int count(double x1, double y1, double x2, double y2, const std::function<bool(uint32_t)>& test) const
    {
        return count(pic, x1, y1, x2, y2, test);
    }
    // The well's "[OFF]" area and label area as dark or coloured pixel counts.
    int offMark(const PlateMap& map, int column, int row) const
    {
        const double x = map.CellX(column) + 0.2 * map.CellWidth(), y = map.CellY(row) + 0.4 * map.CellHeight();
        return count(x, y, x + 0.6 * map.CellWidth(), y + 0.18 * map.CellHeight(), isDark);
    }

    ui::PictureBox pic, reference;
    int rows = 0, columns = 0;
    std::array<bool, 7> inUse{true, true, true, true, true, true, true};
    WellGroups groups;
    WellTable wellTable;
    ColumnBands columnBands;
    RowBands rowBands;
    ColumnLabels columnLabels;
    RowLabels rowLabels;
};

TEST_F(PlateMapTest, W48CellCornersRoundHalvesToEvenAndTheGridIsExact)
{
    PlateMap map(pic, tables());
    map.DrawPlateLayout("w48", "w48");
    EXPECT_EQ(rows, 6);
    EXPECT_EQ(columns, 8);
    EXPECT_EQ(map.CellX(1), 12);
    EXPECT_EQ(map.CellX(3), 38);
    EXPECT_EQ(map.CellX(5), 62);
    EXPECT_EQ(map.CellX(7), 88);
    // The grid line of column 1 lies at 12.5 (pixel 112.5 -> 113), not on the rounded corner.
    EXPECT_EQ(pic.PixelAt(113, 300), ui::colour::Yellow);
    EXPECT_NE(pic.PixelAt(110, 300), ui::colour::Yellow);
    // The cleared label area of a well starts 0.1 of a cell right of the rounded corner.
    for (int c : {1, 3, 5, 7}) map.DrawWell(c * 6, "w48");
    for (int c : {1, 3, 5, 7}) {
        const double left = map.CellX(c) + 1.25;
        const int px = int(std::lround(pic.toPixels(left, 0).x()));
        const int py = int(pic.toPixels(0, 0.5 * map.CellHeight()).y());
        EXPECT_EQ(pic.PixelAt(px + 1, py), ui::colour::White) << "column " << c;
        EXPECT_NE(pic.PixelAt(px - 2, py), ui::colour::White) << "column " << c;
    }
}

TEST_F(PlateMapTest, AGroupedWellIsLabelledInItsGroupColour)
{
    PlateMap map(pic, tables());
    map.DrawPlateLayout("w6", "w6");
    groups.well_group[0] = 13;
    map.DrawWell(0, "w6");
    // The same label drawn by hand where the map puts it: "G13" in red.
    reference.Scale(kMapLeft, kMapTop, kMapRight, kMapBottom);
    const double w = map.CellWidth(), h = map.CellHeight();
    reference.FilledBox(0.1 * w, 0.2 * h, 0.9 * w, 0.9 * h, ui::colour::White);
    reference.SetFontName("Arial");
    reference.SetFontSize(10);
    reference.SetFontBold(true);
    reference.SetForeColor(ui::colour::Red);
    reference.SetCurrentX(0.5 * w - reference.TextWidth("G13") / 2);  // centred in the cell
    reference.SetCurrentY(0.6 * h);
    reference.Print("G13");
    const QPointF a = pic.toPixels(0.1 * w, 0.2 * h), b = pic.toPixels(0.9 * w, 0.9 * h);
    int differing = 0;
    for (int px = int(a.x()); px <= int(b.x()); ++px)
        for (int py = int(a.y()); py <= int(b.y()); ++py) differing += pic.PixelAt(px, py) != reference.PixelAt(px, py);
    EXPECT_EQ(differing, 0);
    EXPECT_GT(count(0, 0.6 * h, w, 0.9 * h, isRed), 10);

    groups.well_group[1] = 12;  // blue
    groups.well_group[2] = 5;   // black
    map.DrawWell(1, "w6");
    map.DrawWell(2, "w6");
    map.DrawWell(3, "w6");  // no group: the label area only cleared
    EXPECT_GT(count(0, h + 0.6 * h, w, h + 0.9 * h, isBlue), 10);
    EXPECT_GT(count(w, 0.6 * h, 2 * w, 0.9 * h, isDark), 10);
    const double x3 = map.CellX(1), y3 = map.CellY(1);
    EXPECT_EQ(count(x3 + 0.1 * w, y3 + 0.2 * h, x3 + 0.9 * w, y3 + 0.9 * h,
                    [](uint32_t c) { return c != ui::colour::White; }),
              0);
}

TEST_F(PlateMapTest, WellsOfACameraOutOfUseShowOff)
{
    inUse[3] = false;
    PlateMap map(pic, tables());
    map.DrawPlateLayout("p35", "p35");
    EXPECT_GT(offMark(map, 1, 1), 10) << "B2 belongs to camera 3";
    for (int well : {0, 1, 2, 4, 5}) EXPECT_EQ(offMark(map, well / 2, well % 2), 0) << well;
    map.DrawWell(3, "p35");
    EXPECT_GT(offMark(map, 1, 1), 10) << "drawn again after the label area was cleared";

    inUse[3] = true;
    inUse[4] = false;
    map.DrawPlateLayout("w24", "w24");
    for (int well : {16, 17, 20, 21}) EXPECT_GT(offMark(map, well / 4, well % 4), 10) << well;
    for (int well : {0, 10, 18, 23}) EXPECT_EQ(offMark(map, well / 4, well % 4), 0) << well;
}

TEST_F(PlateMapTest, OffMarkOfOtherFormatsFollowsTheCameraOfTheWellTable)
{
    // w48: well 20 (column 3, row 2) lies in camera 2's field, well 0 in camera 0's.
    wellTable.at(2, 0, 0) = WellCell{20, 20, "C4", 0, 100, 0, 100};
    wellTable.at(0, 0, 0) = WellCell{0, 0, "A1", 0, 100, 0, 100};
    PlateMap map(pic, tables());
    map.DrawPlateLayout("w48", "w48");
    inUse[0] = false;
    map.DrawWell(20, "w48");
    map.DrawWell(0, "w48");
    EXPECT_EQ(offMark(map, 3, 2), 0) << "camera 0 out of use does not mark camera 2's well";
    EXPECT_GT(offMark(map, 0, 0), 5);
    inUse[2] = false;
    map.DrawWell(20, "w48");
    EXPECT_GT(offMark(map, 3, 2), 5);
}

class PlateActivityTest : public PlateMapTest {
protected:
    void SetUp() override
    {
        PlateMapTest::SetUp();
        // w6: camera 0 sees A1, camera 1 sees B1, each through one column band and one row band.
        for (int c : {0, 1}) {
            columnBands.first[size_t(c)] = columnBands.last[size_t(c)] = 0;
            columnBands.start[size_t(c)][0] = 5;
            columnBands.end[size_t(c)][0] = 140;
            rowBands.first[size_t(c)] = rowBands.last[size_t(c)] = c;
            rowBands.start[size_t(c)][0] = 10;
            rowBands.end[size_t(c)][0] = 165;
            wellTable.at(c, 0, 0) = WellCell{c, c, c == 0 ? "A1" : "B1", 0, 100, 0, 100};
        }
        activity[1] = 42;
        // Pixel 1 of B1 moved, pixel 2 of B1 did not, pixel 3 moved in another well (A1).
        pixelWell = {0, 1, 1, 0};
        pixelActivity = {0, 3, 0, 5};
        pixelColumn = {0, 67, 20, 110};
        pixelRow = {0, 77, 20, 120};
        run.window_pixel_count = 3;
        run.pixel_activity = &pixelActivity;
        run.pixel_well = &pixelWell;
        run.pixel_column = &pixelColumn;
        run.pixel_row = &pixelRow;
        run.well_activity = &activity;
        run.reference_factor = &factor;
        run.blank_values = &blank;
    }
    // The window marker of cell (column, row): a black dot at 0.8 w, 0.1 h.
    uint32_t marker(const PlateMap& map, int column, int row) const
    {
        return pic.Point(map.CellX(column) + 0.8 * map.CellWidth(), map.CellY(row) + 0.1 * map.CellHeight());
    }
    std::vector<double> activity = std::vector<double>(97);
    std::vector<double> factor = std::vector<double>(385, 1.0);
    std::vector<int> blank = std::vector<int>(385);
    std::vector<int> pixelWell, pixelColumn, pixelRow;
    std::vector<long> pixelActivity;
    WindowActivity run;
};

TEST_F(PlateActivityTest, ACountedWindowShowsItsStrokesAndValue)
{
    PlateMap map(pic, tables());
    map.DrawPlateLayout("w6", "w6");
    map.DrawPlateActivity(run, 1, 0, 1, "w6", "w6");
    EXPECT_EQ(marker(map, 0, 1), ui::colour::Black);
    map.DrawPlateActivity(run, 1, 0, 0, "w6", "w6");
    EXPECT_EQ(marker(map, 0, 1), ui::colour::White) << "the marker is erased";
    // Pixel 1 moved: its stroke at 67/135 of the cell width and 77/155 of its height.
    const double px = 67.0 / 135 * map.CellWidth(), py = 125 + 77.0 / 155 * map.CellHeight();
    EXPECT_GT(count(px - 0.5, py - 0.5, px + 1.5, py + 1.5, isOrange), 2);
    const double sx = 20.0 / 135 * map.CellWidth(), sy = 125 + 20.0 / 155 * map.CellHeight();
    EXPECT_EQ(count(sx - 0.5, sy - 0.5, sx + 1.5, sy + 1.5, isOrange), 0) << "pixel 2 saw no movement";
    EXPECT_EQ(count(0, 125, map.CellWidth(), 250, isOrange), count(px - 0.5, py - 0.5, px + 1.5, py + 1.5, isOrange))
        << "the well shows the strokes of its own moved pixels only";
    EXPECT_GT(count(0.05 * map.CellWidth(), 125 + 0.05 * 125, 0.5 * map.CellWidth(), 125 + 0.12 * 125, isDark), 5)
        << "the value 42";
}

TEST_F(PlateActivityTest, AnEmptyBandLeavesItsWellAsItIs)
{
    columnBands.end[0][0] = columnBands.start[0][0];  // camera 0's column band has no width
    pixelWell = {0, 0, 0};
    pixelActivity = {0, 3, 3};
    PlateMap map(pic, tables());
    map.DrawPlateLayout("w6", "w6");
    map.DrawPlateActivity(run, 0, 0, 1, "w6", "w6");
    map.DrawPlateActivity(run, 0, 0, 0, "w6", "w6");
    EXPECT_EQ(marker(map, 0, 0), ui::colour::Black) << "the well was skipped, marker and all";
    EXPECT_EQ(count(0, 0, map.CellWidth(), map.CellHeight(), isOrange), 0);
    rowBands.end[1][0] = rowBands.start[1][0];  // and an empty row band the same
    map.DrawPlateActivity(run, 1, 0, 1, "w6", "w6");
    map.DrawPlateActivity(run, 1, 0, 0, "w6", "w6");
    EXPECT_EQ(marker(map, 0, 1), ui::colour::Black);
}

TEST_F(PlateActivityTest, ACameraOutOfUseGetsNoMarkerNorValues)
{
    inUse[1] = false;
    PlateMap map(pic, tables());
    map.DrawPlateLayout("w6", "w6");
    map.DrawPlateActivity(run, 1, 0, 1, "w6", "w6");
    EXPECT_EQ(marker(map, 0, 1), kBackground) << "nothing drawn";
    map.DrawPlateWells(1, 0, "w6");
    EXPECT_EQ(marker(map, 0, 1), ui::colour::Black) << "the window marker is drawn all the same";
    map.DrawPlateActivity(run, 1, 0, 0, "w6", "w6");
    EXPECT_EQ(marker(map, 0, 1), ui::colour::Black);
}

TEST_F(PlateActivityTest, TheBlankIsSubtractedPerMinuteAndANegativeValueShowsZero)
{
    blank[1] = 600;
    run.blank_lapse = 30;
    run.minutes = 3;  // 600 / 30 x 3 = 60 to subtract from 42: shown as 0
    PlateMap map(pic, tables());
    map.DrawPlateLayout("w6", "w6");
    map.DrawPlateActivity(run, 1, 0, 0, "w6", "w6");
    reference.Scale(kMapLeft, kMapTop, kMapRight, kMapBottom);
    const double w = map.CellWidth(), h = map.CellHeight();
    reference.FilledBox(0.05 * w, 125 + 0.05 * h, 0.9 * w, 125 + 0.9 * h, ui::colour::White);
    reference.SetFontName("Arial");
    reference.SetFontSize(10);
    reference.SetFontBold(true);
    reference.SetForeColor(ui::colour::Black);
    reference.SetCurrentX(0.5 * w - reference.TextWidth("0") / 2);  // centred in the cell
    reference.SetCurrentY(125 + 0.05 * h);
    reference.Print("0");
    const QPointF a = pic.toPixels(0.05 * w, 125 + 0.05 * h), b = pic.toPixels(0.9 * w, 125 + 0.2 * h);
    int differing = 0;
    for (int px = int(a.x()); px <= int(b.x()); ++px)
        for (int py = int(a.y()); py <= int(b.y()); ++py) differing += pic.PixelAt(px, py) != reference.PixelAt(px, py);
    EXPECT_EQ(differing, 0);
}

TEST_F(PlateMapTest, TheWindowChartStacksTheWellsOfTheWindowInBandOrder)
{
    columnBands.first[2] = 2;
    columnBands.last[2] = 3;
    columnBands.start[2] = {5, 75};
    columnBands.end[2] = {75, 142};
    rowBands.first[2] = 0;
    rowBands.last[2] = 1;
    rowBands.start[2] = {10, 90};
    rowBands.end[2] = {90, 170};
    rowLabels[2] = {"A", "B"};
    columnLabels[2] = {"3", "4"};
    ui::PictureBox chart;
    chart.SetPixelSize(200, 500);
    PlateMap map(pic, tables());
    map.DrawActivityChart(chart, 2, 1);
    // H = 80 (row band 1), W = 70 + 67: scale (-5, -2)-(112, 140).
    EXPECT_DOUBLE_EQ(chart.ScaleWidth(), 117);
    EXPECT_DOUBLE_EQ(chart.ScaleHeight(), 142);
    EXPECT_EQ(chart.Point(40, 70), kChartLines) << "the separator after the first band";
    EXPECT_EQ(chart.Point(40, 100), ui::colour::White);
    EXPECT_EQ(chart.Point(40, 0), kChartLines) << "the frame";
    // The names "B3" and "B4" in red right of the frame, near the end of each band.
    int red = 0;
    for (int px = int(chart.toPixels(83, 0).x()); px < 200; ++px)
        for (int py = int(chart.toPixels(0, 62).y()); py < int(chart.toPixels(0, 72).y()); ++py)
            red += isRed(chart.PixelAt(px, py)) ? 1 : 0;
    EXPECT_GT(red, 5);
}

TEST(PlateColours, ScaleAndGroupColours)
{
    const auto scale = BuildColorScale();
    const uint32_t expected[7] = {RGB(210, 0, 0),   RGB(255, 85, 0),  RGB(255, 170, 0), RGB(255, 255, 0),
                                  RGB(170, 255, 0), RGB(0, 210, 0),   0};
    for (size_t i = 0; i < 7; ++i) EXPECT_EQ(scale[i], expected[i]) << i;
    EXPECT_EQ(GroupColour(13), ui::colour::Red);
    EXPECT_EQ(GroupColour(0), ui::colour::Black);
    EXPECT_EQ(GroupColour(5), ui::colour::Black);
    EXPECT_EQ(GroupColour(6), ui::colour::Green);
    EXPECT_EQ(GroupColour(27), ui::colour::Blue);
    EXPECT_EQ(GroupColour(9), ui::colour::Yellow);
}

}  // namespace
}  // namespace tirmo::plate
