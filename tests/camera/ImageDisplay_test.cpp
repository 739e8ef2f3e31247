#include <gtest/gtest.h>

#include "app/Frm_acquire.h"
#include "app/Frm_advance.h"
#include "camera/ImageDisplay.h"
#include "support/ScriptedDialogs.h"
#include "ui/Controls.h"
#include "ui/PictureBox.h"

namespace tirmo::camera {
namespace {

using ui::RGB;

TEST(ImageDisplay, ClearRealtimeBarPaintsTheTenUnitSlot)
{
    app::InstrumentState instrument;
    app::Frm_acquire window(instrument);
    window.unloaded = true;
    window.camera->Picrealtime->SetPixelSize(200, 100);
    window.camera->ResetRealtimePicture();
    window.camera->ClearRealtimeBar(3);
    const uint32_t bar = RGB(240, 240, 220);
    for (double x : {31.0, 35.0, 40.0})
        for (double y : {10.0, 50.0, 85.0}) EXPECT_EQ(window.camera->Picrealtime->Point(x, y), bar) << x << "," << y;
    EXPECT_NE(window.camera->Picrealtime->Point(30.4, 50), bar);
    EXPECT_NE(window.camera->Picrealtime->Point(40.6, 50), bar);
    EXPECT_NE(window.camera->Picrealtime->Point(35, 9.4), bar);
    EXPECT_NE(window.camera->Picrealtime->Point(35, 85.6), bar);
}

TEST(ImageDisplay, FrameCellsAreGreyAndEmptyCellsBlack)
{
    ui::PictureBox pic;
    pic.SetPixelSize(40, 40);
    SetFrameScale(pic, 0, 9, 1, 10);  // (0, 0)-(9, 9): 4 pixels a unit
    FrameStore store;
    store.Set(1, 1, 0, 200);
    store.Set(1, 2, 1, 30);
    DrawFrameCells(pic, store, 1, 2, 2, 1);
    EXPECT_EQ(pic.Point(1.5, 0.5), RGB(200, 200, 200));
    EXPECT_EQ(pic.Point(2.5, 1.5), RGB(30, 30, 30));
    EXPECT_EQ(pic.Point(2.5, 0.5), RGB(0, 0, 0)) << "an empty entry";
    EXPECT_EQ(pic.Point(5.5, 5.5), ui::colour::White) << "outside the window";
    pic.Cls();
    DrawFrameCells(pic, store, 1, 2, 2, 0);  // the deferred redraw: cells x 0 and 1
    EXPECT_EQ(pic.Point(0.5, 0.5), RGB(0, 0, 0));
    EXPECT_EQ(pic.Point(1.5, 0.5), RGB(200, 200, 200));
    EXPECT_EQ(pic.Point(2.5, 1.5), ui::colour::White);
}

TEST(ImageDisplay, AWindowFarLargerThanTheFrameTableIsDrawnBlackBeyondIt)
{
    // A line count typed into the window boxes by mistake must not leave the redraw drawing
    // a billion cells one at a time.
    ui::PictureBox pic;
    pic.SetPixelSize(500, 500);
    SetFrameScale(pic, 0, 250, 0, 250);  // two pixels a unit
    FrameStore store;
    store.Set(1, 0, 0, 200);
    store.Set(1, 192, 192, 90);
    DrawFrameCells(pic, store, 1, 1000000000L, 1000000000L, 0);
    EXPECT_EQ(pic.Point(0.5, 0.5), RGB(200, 200, 200));
    EXPECT_EQ(pic.Point(192.5, 192.5), RGB(90, 90, 90));
    EXPECT_EQ(pic.Point(100, 100), RGB(0, 0, 0));
    EXPECT_EQ(pic.Point(240, 50), RGB(0, 0, 0)) << "beyond the table across";
    EXPECT_EQ(pic.Point(50, 240), RGB(0, 0, 0)) << "beyond the table down";
    EXPECT_EQ(pic.Point(240, 240), RGB(0, 0, 0));
}

class LiveActivityTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pic.SetPixelSize(40, 40);
        pic.Scale(0, 0, 10, 10);
        pic.SetBackColor(ui::colour::Blue);
        in.camera = 2;
        in.pixels = 3;
        in.lines = 1;
        in.frame = std::string(9, char(100));
        in.difference = std::string(9, char(128));
        // The cell at x 2 (byte 3) changes by +50, its left neighbour (byte 2) by +30, on a
        // brightness of 100: a movement.
        in.difference[1] = char(128 + 30);
        in.difference[2] = char(128 + 50);
    }
    uint32_t cell(long x, long y) const { return pic.Point(double(x) - 0.5, double(y) + 0.5); }
    void draw() { DrawLiveActivity(pic, in, columns, rows, mask); }

    ui::PictureBox pic;
    LiveActivity in;
    plate::ColumnBands columns;
    plate::RowBands rows;
    WindowPixelMask mask;
};

TEST_F(LiveActivityTest, TheFirstFrameOfAWindowShowsGrey)
{
    draw();
    EXPECT_EQ(cell(1, 0), RGB(100, 100, 100));
    EXPECT_EQ(cell(3, 1), RGB(100, 100, 100));
}

TEST_F(LiveActivityTest, AMovingPixelGetsTheEventColourAndTheFirstDifferenceRepaintsTheRest)
{
    in.haveDifference = true;
    in.frameCounter = 1;
    draw();
    EXPECT_EQ(cell(2, 0), RGB(55, 55, 0)) << "m = min(5 x 50, 200)";
    EXPECT_EQ(cell(1, 0), RGB(255, 255, 200));
    EXPECT_EQ(cell(3, 0), RGB(255, 255, 200)) << "a neighbour moving alone is no event";
}

TEST_F(LiveActivityTest, LaterDifferencesChangeOnlyEventCells)
{
    in.haveDifference = true;
    in.frameCounter = 4;
    in.difference[2] = char(128 + 10);  // +10 with +30 beside it: m = 50
    draw();
    EXPECT_EQ(cell(2, 0), RGB(205, 205, 150));
    EXPECT_EQ(cell(1, 0), ui::colour::Blue);
    EXPECT_EQ(cell(3, 1), ui::colour::Blue);
}

TEST_F(LiveActivityTest, ChangesBelowTheThresholdOrAgainstEachOtherAreNoEvent)
{
    in.haveDifference = true;
    in.frameCounter = 4;
    in.difference[1] = char(128 - 30);
    draw();
    EXPECT_EQ(cell(2, 0), ui::colour::Blue) << "opposite directions";
    EXPECT_EQ(
        LiveCellColour(std::string(3, char(100)), std::string({char(128 + 4), char(128 + 4), 0}), true, 2, 2, 2, 0, 3),
        0u)
        << "a change of 4 is not above 4";
}

TEST_F(LiveActivityTest, AWindowFarLargerThanTheFrameDrawsOnlyTheFrame)
{
    in.lines = 1000000000L;  // window boxes set far beyond the frame of 9 bytes
    draw();
    EXPECT_EQ(cell(1, 0), RGB(100, 100, 100));
    EXPECT_EQ(cell(3, 1), RGB(100, 100, 100));
    EXPECT_EQ(cell(1, 3), ui::colour::Blue) << "past the frame nothing is drawn";
}

TEST_F(LiveActivityTest, PixelsOutsideTheWellsArePaintedWhite)
{
    columns.first[2] = columns.last[2] = 0;
    columns.start[2][0] = 0;
    columns.end[2][0] = 1;
    rows.first[2] = rows.last[2] = 0;
    rows.start[2][0] = 0;
    rows.end[2][0] = 2;
    in.window = 0;
    mask.Resize(2, 0, 6);
    for (long o : {1, 3, 4, 5, 6}) mask.Set(2, 0, o, true);
    draw();
    // Ordinal 2 is line 0, pixel 1 (each line counted from its last pixel).
    EXPECT_EQ(pic.Point(1.5, 0.5), ui::colour::White);
    EXPECT_EQ(pic.Point(0.5, 0.5), RGB(100, 100, 100));
    EXPECT_EQ(pic.Point(2.5, 1.5), RGB(100, 100, 100));
}

TEST_F(LiveActivityTest, BandSeparatorEndsAtTheRowBandWidth)
{
    // Two column bands of two lines each under a row band of width 3: the separator before the
    // second band is the box (-1, 1)-(3, 3), not one unit wider.
    columns.first[2] = 0;
    columns.last[2] = 1;
    columns.start[2] = {0, 2};
    columns.end[2] = {2, 4};
    rows.first[2] = rows.last[2] = 0;
    rows.start[2][0] = 0;
    rows.end[2][0] = 3;
    in.window = 0;
    draw();  // no mask: every pixel lies outside the wells and turns white
    EXPECT_EQ(pic.Point(2.5, 1.5), RGB(200, 200, 200));
    EXPECT_EQ(pic.Point(3.5, 1.5), ui::colour::White);
}

class CameraGridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pic.SetPixelSize(143, 183);
        SetFrameScale(pic, 0, 142, 1, 183);
        // The default w6 bands of camera 0 and its well A1.
        columns.first[0] = columns.last[0] = 0;
        columns.start[0][0] = 5;
        columns.end[0][0] = 140;
        rows.first[0] = rows.last[0] = 0;
        rows.start[0][0] = 10;
        rows.end[0][0] = 165;
        columnLabels[0][0] = "1";
        rowLabels[0][0] = "A";
        WellCell& a1 = wells.at(0, 0, 0);
        a1.name = "A1";
        a1.col_end = a1.row_end = 100;
    }
    using WellCell = plate::WellCell;
    void draw() { DrawCameraGrid(pic, GridTables{columns, rows, columnLabels, rowLabels, wells}, 0, 143, 183); }

    ui::PictureBox pic;
    plate::ColumnBands columns;
    plate::RowBands rows;
    plate::ColumnLabels columnLabels;
    plate::RowLabels rowLabels;
    plate::WellTable wells;
};

TEST_F(CameraGridTest, BandLinesAndTheWellOutlineAreRed)
{
    draw();
    EXPECT_EQ(pic.Point(5, 50), ui::colour::Red);
    EXPECT_EQ(pic.Point(140, 50), ui::colour::Red);
    EXPECT_EQ(pic.Point(50, 10), ui::colour::Red);
    EXPECT_EQ(pic.Point(50, 165), ui::colour::Red);
    // The widest point of the outline: 68 - 64 lines from the band start, 78 pixels down.
    EXPECT_EQ(pic.Point(9.5, 88), ui::colour::Red);
    EXPECT_EQ(pic.Point(136.5, 88), ui::colour::Red);
    EXPECT_EQ(pic.Point(30, 88), ui::colour::White);
}

TEST_F(CameraGridTest, AWellWithEqualPercentagesHasNoOutlineButKeepsItsBands)
{
    wells.at(0, 0, 0).row_ini = wells.at(0, 0, 0).row_end = 50;
    draw();
    EXPECT_EQ(pic.Point(5, 50), ui::colour::Red);
    EXPECT_EQ(pic.Point(9.5, 88), ui::colour::White);
    wells.at(0, 0, 0).row_end = 100;
    wells.at(0, 0, 0).col_ini = wells.at(0, 0, 0).col_end = 0;
    SetFrameScale(pic, 0, 142, 1, 183);
    draw();
    EXPECT_EQ(pic.Point(136.5, 88), ui::colour::White);
}

TEST_F(CameraGridTest, TheFactoryGridComesFromItsOwnTablesWithTheCrossWhileTicked)
{
    app::InstrumentState instrument;
    app::Frm_advance factory(instrument);
    factory.plate->column_bands = columns;
    factory.plate->row_bands = rows;
    factory.plate->column_labels = columnLabels;
    factory.plate->row_labels = rowLabels;
    factory.plate->well_table = wells;
    factory.Picact->SetPixelSize(143, 183);
    for (auto [box, value] : {std::pair{factory.camera->txt_xini, "0"}, std::pair{factory.camera->txt_xfin, "142"},
                              std::pair{factory.camera->txt_yini, "1"}, std::pair{factory.camera->txt_yfin, "183"},
                              std::pair{factory.camera->txt_lines, "143"}, std::pair{factory.camera->txt_pix, "183"}})
        box->SetText(value);
    const ui::PictureBox& p = *factory.Picact;
    factory.camera->SetFrameScale();
    factory.camera->DrawCameraGrid(0);
    EXPECT_EQ(p.Point(5, 50), ui::colour::Red) << "the factory window's own band tables";
    EXPECT_EQ(p.Point(50, 91.5), ui::colour::White) << "no cross while the box is clear";

    factory.camera->chk_cross->SetValue(1);
    factory.camera->SetFrameScale();
    factory.camera->DrawCameraGrid(0);
    EXPECT_EQ(p.Point(5, 50), ui::colour::Red);
    // Across at 183 / 2 from 0.3 x 143 = 42.9 to 0.7 x 143 = 100.1; down at 143 / 2 from
    // 0.3 x 183 = 54.9 to 0.7 x 183 = 128.1.
    for (double x : {44.0, 71.5, 99.0}) EXPECT_EQ(p.Point(x, 91.5), ui::colour::Green) << x;
    for (double x : {41.0, 102.0}) EXPECT_EQ(p.Point(x, 91.5), ui::colour::White) << x;
    for (double y : {56.0, 91.5, 127.0}) EXPECT_EQ(p.Point(71.5, y), ui::colour::Green) << y;
    for (double y : {53.0, 130.0}) EXPECT_EQ(p.Point(71.5, y), ui::colour::White) << y;
}

}  // namespace
}  // namespace tirmo::camera
