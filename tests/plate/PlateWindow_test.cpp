#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>

#include <fstream>
#include <functional>

#include "link/Session.h"
#include "plate/BandFiles.h"
#include "plate/PlateSpecFile.h"
#include "plate/WellGroups.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "support/AppFixture.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/PictureBox.h"
#include "ui/SimpleComboBox.h"
#include "ui/Timer.h"

namespace tirmo::app {
namespace {

using ui::MsgResult;

// The main window in a temporary program folder, offline, with the default band and
// plate layout files of "w6" and "w24" in config. Camera set-ups run in dummy mode, so they
// send nothing and take no time.
class PlateWindowTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        useFakeClock();
        window->session().dummy_mode = 1;
        for (auto* writer : {plate::WriteW6ColumnFile, plate::WriteW6RowFile, plate::WriteW24ColumnFile,
                             plate::WriteW24RowFile, plate::WriteW6SpecFile, plate::WriteW24SpecFile})
            ASSERT_TRUE(writer("\\config"));
        platform::MakeFolder(platform::ProgramPath("reports/proj"));
        window->camera->cmd_default_Click();
        window->plate->ReadPlateSpec("w6");
        window->plate->ReadFormatFiles("w6");
    }
    // Shows a plate format in both selectors without asking.
    void usePlate(const std::string& format)
    {
        window->plate->current_format = format;
        window->cmb_well->SetText(format);
        window->plate->cmb_formatplate->SetText(format);
        window->plate->ReadPlateSpec(format);
        window->plate->ReadFormatFiles(format);
        window->plate->DrawPlateLayout(format);
        window->plate->BuildGroupOptionMenu();
        window->plate->BuildGroupList(0);
    }
    // A press or release of a mouse button over the centre of a plate cell, through the picture.
    void mouse(QEvent::Type type, Qt::MouseButton button, double x, double y)
    {
        const QPointF at = window->camera->Picact->toPixels(x, y);
        QMouseEvent event(type, at, window->camera->Picact->mapToGlobal(at), button,
                          type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window->camera->Picact, &event);
    }
    void drag(const std::string& from, const std::string& to, Qt::MouseButton button = Qt::LeftButton)
    {
        auto centre = [&](const std::string& well, double& x, double& y) {
            const int row = well[0] - 'A', column = std::stoi(well.substr(1)) - 1;
            x = (column + 0.5) * 100.0 / window->plate->plate_columns;
            y = (row + 0.5) * 250.0 / window->plate->plate_rows;
        };
        double x = 0, y = 0;
        centre(from, x, y);
        mouse(QEvent::MouseButtonPress, button, x, y);
        centre(to, x, y);
        mouse(QEvent::MouseButtonRelease, button, x, y);
    }
    std::vector<int> groupedWells(int group) const
    {
        std::vector<int> wells;
        for (int w = 0; w < 384; ++w)
            if (window->plate->groups.well_group[size_t(w)] == group) wells.push_back(w);
        return wells;
    }
    std::vector<std::string> listItems() const
    {
        std::vector<std::string> items;
        for (int i = 0; i < window->plate->combogrup->ListCount(); ++i) items.push_back(window->plate->combogrup->List(i));
        return items;
    }
    void selectColumnBand(int camera)
    {
        window->camera->camera_index = camera;
        int c = camera, column = 0, row = 0;
        window->camera->InitRowColumnSelectors(c, column, row);
    }
};

// ---------------------------------------------------------------- band editor

TEST_F(PlateWindowTest, DefaultW6BandsShowSixEqualWellAreas)
{
    window->plate->ShowWellAreaPercent();
    EXPECT_EQ(window->plate->txt_well_percent->Text(),
              "w6\r\nWell(A1)=1.00\r\nWell(B1)=1.00\r\nWell(A2)=1.00\r\nWell(B2)=1.00\r\nWell(A3)=1.00\r\n"
              "Well(B3)=1.00\r\n");
    window->plate->cmb_formatplate->AddItem("p35");
    window->plate->current_format = "p35";
    window->plate->cmb_formatplate->SetText("p35");
    window->plate->ShowWellAreaPercent();
    EXPECT_EQ(window->plate->txt_well_percent->Text(), "");
}

TEST_F(PlateWindowTest, StartMinusAtZeroStaysAndStillRestartsTheRedraw)
{
    window->plate->column_bands.start[1][0] = 0;
    selectColumnBand(1);
    window->plate->txt_well_percent->SetText("stale");
    window->plate->col_start_menos->Click();
    EXPECT_EQ(window->plate->column_bands.start[1][0], 0);
    EXPECT_EQ(window->camera->txt_column_start->Text(), "0");
    EXPECT_TRUE(window->plate->Timer5->Enabled());
    EXPECT_EQ(window->plate->txt_well_percent->Text().substr(0, 4), "w6\r\n");
    window->plate->Timer5->Tick();
    EXPECT_FALSE(window->plate->Timer5->Enabled()) << "one redraw, then the timer stops";
    EXPECT_EQ(window->plate->Timer5->Interval(), 250);
}

TEST_F(PlateWindowTest, EndPlusAtTheLineLimitChangesNothingAndCancelsThePendingRedraw)
{
    selectColumnBand(0);
    window->plate->col_end_mas->Click();  // 140 -> 141
    window->plate->col_end_mas->Click();  // 141 -> 142 = 143 lines - 1
    EXPECT_EQ(window->camera->txt_column_end->Text(), "142");
    EXPECT_TRUE(window->plate->Timer5->Enabled());
    window->plate->txt_well_percent->SetText("stale");
    window->plate->col_end_mas->Click();
    EXPECT_EQ(window->plate->column_bands.end[0][0], 142);
    EXPECT_FALSE(window->plate->Timer5->Enabled());
    EXPECT_EQ(window->plate->txt_well_percent->Text().substr(0, 4), "w6\r\n");
}

TEST_F(PlateWindowTest, BandButtonsWithoutASelectedBandMoveNothing)
{
    selectColumnBand(0);
    window->camera->cmb_column->Clear();
    window->camera->cmb_row->Clear();
    for (ui::CommandButton* b : {window->plate->col_start_menos, window->plate->col_start_mas, window->plate->col_end_menos,
                                 window->plate->col_end_mas, window->plate->row_start_menos, window->plate->row_start_mas,
                                 window->plate->row_end_menos, window->plate->row_end_mas})
        b->Click();
    EXPECT_EQ(window->plate->column_bands.start[0][0], 5);
    EXPECT_EQ(window->plate->column_bands.end[0][0], 140);
    EXPECT_EQ(window->plate->row_bands.start[0][0], 10);
    EXPECT_EQ(window->plate->row_bands.end[0][0], 165);
    EXPECT_FALSE(window->plate->Timer5->Enabled());
}

TEST_F(PlateWindowTest, RowButtonsMoveTheSelectedRowBandUpToThePixelLimit)
{
    selectColumnBand(3);
    window->plate->row_start_mas->Click();
    EXPECT_EQ(window->plate->row_bands.start[3][0], 11);
    EXPECT_EQ(window->camera->txt_row_start->Text(), "11");
    window->plate->row_bands.end[3][0] = 182;  // 183 pixels - 1
    window->plate->row_end_mas->Click();
    EXPECT_EQ(window->plate->row_bands.end[3][0], 182);
    window->plate->row_end_menos->Click();
    EXPECT_EQ(window->camera->txt_row_end->Text(), "181");
}

TEST_F(PlateWindowTest, RowButtonsKeepTheNeighbouringRowBandInOrder)
{
    usePlate("w24");
    selectColumnBand(0);  // rows 10..90 and 90..170
    window->plate->row_end_mas->Click();
    EXPECT_EQ(window->plate->row_bands.end[0][0], 91);
    EXPECT_EQ(window->plate->row_bands.start[0][1], 91) << "the next band's start is pushed along";
    window->camera->cmb_row->SetListIndex(1);
    window->plate->row_start_menos->Click();
    window->plate->row_start_menos->Click();
    EXPECT_EQ(window->plate->row_bands.start[0][1], 89);
    EXPECT_EQ(window->plate->row_bands.end[0][0], 89) << "the previous band's end is pulled down";
    EXPECT_EQ(window->camera->txt_row_start->Text(), "89");
}

TEST_F(PlateWindowTest, QuickRowEditsGiveOneRedrawAndARefusedOneLeavesTheBandAndBox)
{
    selectColumnBand(3);
    int redraws = 0;
    window->plate->Timer5->onTick([&] {
        ++redraws;
        window->plate->Timer5_Timer();
    });
    EXPECT_EQ(window->plate->Timer5->Interval(), 500) << "the first redraw waits 500 ms";
    for (int i = 0; i < 5; ++i) window->plate->row_end_menos->Click();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 800) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(redraws, 1);

    const int start = window->plate->row_bands.start[3][0];
    window->plate->row_bands.end[3][0] = start;
    window->camera->txt_row_end->SetText("typed");
    window->plate->row_end_menos->Click();
    EXPECT_EQ(window->plate->row_bands.end[3][0], start);
    EXPECT_EQ(window->camera->txt_row_end->Text(), "typed");
    EXPECT_FALSE(window->plate->Timer5->Enabled());
}

TEST_F(PlateWindowTest, TypedColumnStartAppliesOnEnterAndOnLeavingTheBox)
{
    usePlate("w24");
    selectColumnBand(0);  // 143 lines; columns 5..75 and 75..142
    window->camera->cmb_column->SetListIndex(1);
    auto key = [&](Qt::Key k, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
        QCoreApplication::sendEvent(window->camera->txt_column_start, &press);
    };
    auto leave = [&](Qt::FocusReason reason) {
        QFocusEvent out(QEvent::FocusOut, reason);
        QCoreApplication::sendEvent(window->camera->txt_column_start, &out);
    };
    auto bands = [&] {
        const auto& b = window->plate->column_bands;
        return std::vector<int>{b.start[0][0], b.end[0][0], b.start[0][1], b.end[0][1]};
    };
    window->plate->txt_well_percent->SetText("untouched");
    window->camera->txt_column_start->SetText("80");
    key(Qt::Key_Return, "\r");
    EXPECT_EQ(bands(), (std::vector<int>{5, 80, 80, 142}));
    EXPECT_TRUE(window->plate->Timer5->Enabled());
    EXPECT_EQ(window->plate->txt_well_percent->Text(), "untouched") << "the typed entry does not recompute the areas";
    window->camera->txt_column_start->SetText("70");
    key(Qt::Key_Enter, "\r");
    EXPECT_EQ(bands(), (std::vector<int>{5, 70, 70, 142}));

    // Refused: 0, the last line (142) and text; the stored start is shown again and no
    // redraw stays pending.
    for (const char* typed : {"0", "142", "abc", "-4"}) {
        window->camera->txt_column_start->SetText(typed);
        key(Qt::Key_Return, "\r");
        EXPECT_EQ(bands(), (std::vector<int>{5, 70, 70, 142})) << typed;
        EXPECT_EQ(window->camera->txt_column_start->Text(), "70") << typed;
        EXPECT_FALSE(window->plate->Timer5->Enabled()) << typed;
    }
    window->camera->txt_column_start->SetText("14");
    key(Qt::Key_1, "1");  // any other key only types
    EXPECT_EQ(window->camera->txt_column_start->Text(), "141");
    EXPECT_EQ(bands(), (std::vector<int>{5, 70, 70, 142}));
    key(Qt::Key_Return, "\r");
    EXPECT_EQ(bands(), (std::vector<int>{5, 141, 141, 142})) << "the last line before the bound is taken";

    window->camera->txt_column_start->SetText("100");
    leave(Qt::ActiveWindowFocusReason);
    leave(Qt::OtherFocusReason);
    EXPECT_EQ(bands(), (std::vector<int>{5, 141, 141, 142})) << "switching windows is not leaving the box";
    leave(Qt::TabFocusReason);
    EXPECT_EQ(bands(), (std::vector<int>{5, 100, 100, 142}));
    window->camera->txt_column_start->SetText("");
    leave(Qt::MouseFocusReason);
    EXPECT_EQ(window->camera->txt_column_start->Text(), "100") << "an emptied box shows the stored start again";
    EXPECT_EQ(bands(), (std::vector<int>{5, 100, 100, 142}));

    // Slot 0 has no previous band: only its own start changes.
    window->camera->cmb_column->SetListIndex(0);
    window->camera->txt_column_start->SetText("9");
    key(Qt::Key_Return, "\r");
    EXPECT_EQ(bands(), (std::vector<int>{9, 100, 100, 142}));
}

TEST_F(PlateWindowTest, SixSavesVisitEveryCameraAndComeBackToTheFirst)
{
    selectColumnBand(0);
    std::vector<int> visited;
    for (int i = 0; i < 6; ++i) {
        window->plate->cmd_grabarconfig->Click();
        visited.push_back(window->camera->camera_index);
        EXPECT_EQ(window->camera->txt_cam->Text(), std::to_string(window->camera->camera_index));
    }
    EXPECT_EQ(visited, (std::vector<int>{1, 2, 3, 4, 5, 0}));
}

TEST_F(PlateWindowTest, RefusingAFormatChangeKeepsTheEditorOnItsFormat)
{
    const std::string w24Columns = readFile("config/w24_col.dat");
    const std::string w24Rows = readFile("config/w24_row.dat");
    boxes.expectMessage("Change Platew24?", MsgResult::No);
    window->plate->cmb_formatplate->SetText("w24");
    EXPECT_EQ(window->plate->cmb_formatplate->Text(), "w6") << "the refused code is not left on show";
    EXPECT_EQ(window->plate->current_format, "w6");
    window->plate->column_bands.end[0][0] = 100;
    window->plate->cmd_grabarconfig_Click();
    EXPECT_EQ(readFile("config/w24_col.dat"), w24Columns);
    EXPECT_EQ(readFile("config/w24_row.dat"), w24Rows);
    EXPECT_NE(readFile("config/w6_col.dat").find("\r\n0,0,5,100\r\n"), std::string::npos);
    EXPECT_EQ(boxes.shown().size(), 1u);
}

TEST_F(PlateWindowTest, AcceptingAFormatChangeSetsUpCameraZeroOnTheNewFormat)
{
    window->camera->camera_index = 4;
    boxes.expectMessage("Change Platew24?", MsgResult::Yes);
    window->plate->cmb_formatplate->SetText("w24");
    EXPECT_EQ(window->plate->current_format, "w24");
    EXPECT_EQ(window->cmb_well->Text(), "w24");
    EXPECT_EQ(window->camera->camera_index, 0);
    EXPECT_EQ(window->plate->column_bands.last[0], 1) << "the w24 bands were read";
    EXPECT_EQ(window->plate->txt_nrow->Text(), "4");
    EXPECT_EQ(window->plate->txt_ncol->Text(), "6");
    EXPECT_EQ(window->plate->txt_well_percent->Text().substr(0, 5), "w24\r\n");
}

TEST_F(PlateWindowTest, ProjectFormatChangeClearsTheGroupsOrRestoresTheList)
{
    window->plate->groups.well_group[3] = 1;
    window->cmb_well->AddItem("w96f");
    boxes.expectMessage("Change Plate to w96f?", MsgResult::No);
    window->cmb_well->SetText("w96f");
    EXPECT_EQ(window->cmb_well->Text(), "w6");
    EXPECT_EQ(window->plate->groups.well_group[3], 1);

    usePlate("w96f");
    window->cmb_well->RemoveItem(2);  // the entries "w6" and "w24" only
    boxes.expectMessage("Change Plate to w24?", MsgResult::No);
    window->cmb_well->SetText("w24");
    EXPECT_EQ(window->cmb_well->ListCount(), 3);
    EXPECT_EQ(window->cmb_well->List(2), "w96f");
    EXPECT_EQ(window->cmb_well->ListIndex(), 2);

    boxes.expectMessage("Change Plate to w24?", MsgResult::Yes);
    window->cmb_well->SetText("w24");
    EXPECT_EQ(window->plate->current_format, "w24");
    EXPECT_EQ(window->plate->cmb_formatplate->Text(), "w24");
    EXPECT_EQ(window->plate->groups.well_group[3], -1);
    EXPECT_EQ(window->project->label_blank->Caption(), "Using blank [w24]:");
    EXPECT_EQ(window->project->lbl_blanktime->Caption(), "none");
    EXPECT_TRUE(window->plate->mnopciongrup[11]->isVisible());
    EXPECT_FALSE(window->plate->mnopciongrup[12]->isVisible());
}

TEST_F(PlateWindowTest, SaveAfterAProjectFormatChangeKeepsTheNewFormatsBandFiles)
{
    // The project's format changes to w24 while the editor still holds the w6 bands: saving
    // them would overwrite the w24 calibration with the w6 one.
    const std::string w24Columns = readFile("config/w24_col.dat");
    const std::string w24Rows = readFile("config/w24_row.dat");
    selectColumnBand(0);
    boxes.expectMessage("Change Plate to w24?", MsgResult::Yes);
    window->cmb_well->SetText("w24");
    ASSERT_EQ(window->plate->cmb_formatplate->Text(), "w24");
    window->plate->cmd_grabarconfig_Click();
    EXPECT_EQ(readFile("config/w24_col.dat"), w24Columns);
    EXPECT_EQ(readFile("config/w24_row.dat"), w24Rows);
    EXPECT_EQ(window->camera->camera_index, 1) << "the editor still steps on";
    EXPECT_EQ(window->plate->column_bands.last[1], 1) << "and the set-up has read the w24 bands";

    window->plate->column_bands.end[1][0] = 70;
    window->plate->cmd_grabarconfig_Click();
    EXPECT_NE(readFile("config/w24_col.dat").find("\r\n1,0,5,70\r\n"), std::string::npos)
        << "bands read for the format are saved as before";
}

TEST_F(PlateWindowTest, TakingACameraOutOfUseTicksItsEntryAndMarksItsWells)
{
    usePlate("w24");
    window->plate->cam_disabled[3]->trigger();
    EXPECT_TRUE(window->plate->cam_disabled[3]->isChecked());
    EXPECT_FALSE(window->session().run_settings.CameraInUse(3));
    // Wells 10, 11, 14 and 15 (C3, D3, C4, D4) are redrawn with "[OFF]", no other.
    auto offMark = [&](int well) {
        const plate::PlateMap& map = *window->plate->plate_map;
        const double x = map.CellX(well / 4) + 0.2 * map.CellWidth(), y = map.CellY(well % 4) + 0.4 * map.CellHeight();
        const QPointF a = window->camera->Picact->toPixels(x, y);
        const QPointF b = window->camera->Picact->toPixels(x + 0.6 * map.CellWidth(), y + 0.15 * map.CellHeight());
        int dark = 0;
        for (int px = int(a.x()); px <= int(b.x()); ++px)
            for (int py = int(a.y()); py <= int(b.y()); ++py) {
                const uint32_t c = window->camera->Picact->PixelAt(px, py);
                dark += ui::redOf(c) < 90 && ui::greenOf(c) < 90 && ui::blueOf(c) < 90;
            }
        return dark;
    };
    for (int well : {10, 11, 14, 15}) EXPECT_GT(offMark(well), 3) << well;
    for (int well : {0, 6, 9, 16, 23}) EXPECT_EQ(offMark(well), 0) << well;
    window->plate->cam_disabled[3]->trigger();
    EXPECT_FALSE(window->plate->cam_disabled[3]->isChecked());
    EXPECT_TRUE(window->session().run_settings.CameraInUse(3));
    EXPECT_EQ(offMark(10), 0) << "cleared again";
}

TEST_F(PlateWindowTest, SaveAndNextAreaWaitsForARunningSetUp)
{
    selectColumnBand(0);
    const std::string before = readFile("config/w6_col.dat");
    window->plate->column_bands.end[0][0] = 100;
    int pumped = 0;
    platform::setEventPump([&] {
        if (pumped++ == 0) window->plate->cmd_grabarconfig->Click();
    });
    window->camera->cmd_camselect_Click(2);
    platform::setEventPump({});
    EXPECT_GT(pumped, 0);
    EXPECT_EQ(window->camera->camera_index, 2) << "not stepped on by a save that could not set up its camera";
    EXPECT_EQ(readFile("config/w6_col.dat"), before) << "nothing written in the middle of a set-up";
}

// ---------------------------------------------------------------- groups

TEST_F(PlateWindowTest, DraggingFromC4ToA2GroupsThatRectangle)
{
    usePlate("w24");
    drag("C4", "A2");
    std::vector<int> expected;
    for (int column = 1; column <= 3; ++column)
        for (int row = 0; row <= 2; ++row) expected.push_back(column * 4 + row);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(groupedWells(0), expected);
    EXPECT_EQ(window->plate->groups.group_names[0], "Group0");
    EXPECT_FALSE(window->plate->drag_active);

    ASSERT_TRUE(window->plate->SaveWellGroups("proj"));
    std::string file = "#Well, Group, name\r\n";
    for (int w = 0; w < 384; ++w)
        file += std::to_string(w) +
                (std::find(expected.begin(), expected.end(), w) != expected.end() ? ",0,\"Group0\"\r\n" : ",-1,\"Free\"\r\n");
    EXPECT_EQ(readFile("reports/proj/chgroup.dat"), file);

    // The right button takes wells out again, whichever corner comes first; the name stays.
    drag("A2", "B3", Qt::RightButton);
    EXPECT_EQ(groupedWells(0), (std::vector<int>{6, 10, 12, 13, 14}));
    EXPECT_EQ(window->plate->groups.group_names[0], "Group0");
}

TEST_F(PlateWindowTest, AClickWithANewGroupSelectedNamesTheGroupOnTheNextRebuild)
{
    usePlate("w6");
    window->plate->groups.well_group[0] = 3;
    window->plate->BuildGroupList(4);
    EXPECT_EQ(window->plate->combogrup->Text(), "004_Free");
    drag("B2", "B2");
    EXPECT_EQ(window->plate->groups.well_group[3], 4);
    EXPECT_EQ(window->plate->groups.group_names[4], "Group4");
    EXPECT_EQ(window->plate->combogrup->List(4), "004_Free") << "the item keeps its old text until the next rebuild";
    window->plate->BuildGroupList(4);
    EXPECT_EQ(window->plate->combogrup->List(4), "004_Group4");
    EXPECT_EQ(listItems().back(), "005_Free");
}

TEST_F(PlateWindowTest, MouseSelectionNeedsAnIdleWindowAndAReleaseOnThePlate)
{
    usePlate("w6");
    window->session().run_state = 1;
    drag("A1", "B3");
    EXPECT_TRUE(groupedWells(0).empty());
    window->session().run_state = 0;
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, 10, 10);
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, 105, 10);  // in the margin
    EXPECT_TRUE(groupedWells(0).empty());
    EXPECT_FALSE(window->plate->drag_active);
    mouse(QEvent::MouseButtonPress, Qt::MiddleButton, 10, 10);
    EXPECT_FALSE(window->plate->drag_active);
}

TEST_F(PlateWindowTest, AnUnknownFormatTakesNoClicksAndNoBlocks)
{
    usePlate("x9");
    EXPECT_EQ(window->plate->plate_rows, 0);
    drag("A1", "A1");
    window->plate->GroupWellsInBlocks("01x01 [RowsxColumn]");
    EXPECT_TRUE(groupedWells(0).empty());
    for (QAction* item : window->plate->mnopciongrup) EXPECT_FALSE(item->isVisible());
}

TEST_F(PlateWindowTest, BlockMenuGroupsAW24PlateInTwoByTwoBlocks)
{
    usePlate("w24");
    ASSERT_EQ(window->plate->mnopciongrup[4]->text().toStdString(), "02x02 [RowsxColumn]");
    window->plate->mnopciongrup[4]->trigger();
    EXPECT_EQ(groupedWells(0), (std::vector<int>{0, 1, 4, 5}));
    EXPECT_EQ(groupedWells(1), (std::vector<int>{2, 3, 6, 7}));
    EXPECT_EQ(groupedWells(2), (std::vector<int>{8, 9, 12, 13}));
    EXPECT_EQ(groupedWells(5), (std::vector<int>{18, 19, 22, 23}));
    EXPECT_TRUE(window->plate->mnopciongrup[4]->isChecked());
    EXPECT_FALSE(window->plate->mnopciongrup[0]->isChecked());
    EXPECT_EQ(listItems().size(), 7u);
    EXPECT_EQ(window->plate->combogrup->Text(), "000_Group0");
}

// A name reads back from chgroup.dat as typed; an empty one is "Free"; a double quote (the file has none) is refused.
TEST_F(PlateWindowTest, NamingAndClearingGroups)
{
    const struct { std::string typed, kept; bool refused; } names[] = {
        {"Mutants", "Mutants", false}, {"wild, type", "wild, type", false}, {"", "Free", false},
        {"Mutants", "Mutants", false}, {"q\"uote", "Mutants", true},       {"\"", "Mutants", true},
    };
    usePlate("w6");
    ASSERT_TRUE(platform::MakeFolder(platform::ProgramPath("reports/default_project")));
    window->plate->groups.well_group[2] = 1;
    window->plate->BuildGroupList(1);
    for (const auto& n : names) {
        SCOPED_TRACE(n.typed);
        boxes.expectInput("Enter Group Name", n.typed);
        if (n.refused) boxes.expectMessage(plate::kGroupNameQuote);
        window->plate->combogrup_KeyPress(13);
        boxes.verifyAllShown();
        EXPECT_EQ(window->plate->combogrup->List(1), "001_" + n.kept);
        EXPECT_EQ(window->plate->groups.group_names[1], n.kept);
        ASSERT_TRUE(window->plate->SaveWellGroups("default_project"));
        window->plate->LoadWellGroups("default_project");
        EXPECT_EQ(window->plate->groups.group_names[1], n.kept) << "read back from the file";
    }
    boxes.expectInput("Enter Group Name", "");
    window->plate->combogrup_DblClick();

    boxes.expectMessage("Do you like to Clear Group lists?", MsgResult::No);
    window->plate->Cmd_clear->Click();
    EXPECT_EQ(window->plate->groups.well_group[2], 1);
    boxes.expectMessage("Do you like to Clear Group lists?", MsgResult::Yes);
    window->plate->Cmd_clear->Click();
    EXPECT_EQ(window->plate->groups.well_group[2], -1);
    EXPECT_EQ(listItems(), std::vector<std::string>{"000_Free"});
}

// The group list's line and list take the user's naming gestures; a plain click or another key
// only selects or types.
TEST_F(PlateWindowTest, DoubleClickAndEnterOnTheGroupListNameTheGroup)
{
    ui::SimpleComboBox* list = window->plate->combogrup;
    auto send = [](QWidget* to, QEvent::Type type, QPoint at) {
        QMouseEvent event(type, at, to->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(to, &event);
    };
    auto onEntry1 = [list] { return list->listPart()->visualItemRect(list->listPart()->item(1)).center(); };
    auto key = [list](int k, const QString& text) {
        QKeyEvent event(QEvent::KeyPress, k, Qt::NoModifier, text);
        QCoreApplication::sendEvent(list->editPart(), &event);
    };
    struct Case {
        const char* what;
        std::function<void()> act;
        bool asks;
    } cases[] = {
        {"a double click on an entry",
         [&] {
             QWidget* viewport = list->listPart()->viewport();
             send(viewport, QEvent::MouseButtonPress, onEntry1());
             send(viewport, QEvent::MouseButtonRelease, onEntry1());
             send(viewport, QEvent::MouseButtonDblClick, onEntry1());
             send(viewport, QEvent::MouseButtonRelease, onEntry1());
         },
         true},
        {"a double click on the line", [&] { send(list->editPart(), QEvent::MouseButtonDblClick, {5, 5}); }, true},
        {"Return in the line", [&] { key(Qt::Key_Return, "\r"); }, true},
        {"Enter of the keypad in the line", [&] { key(Qt::Key_Enter, "\r"); }, true},
        {"a single click on an entry",
         [&] {
             send(list->listPart()->viewport(), QEvent::MouseButtonPress, onEntry1());
             send(list->listPart()->viewport(), QEvent::MouseButtonRelease, onEntry1());
         },
         false},
        {"a letter in the line", [&] { key(Qt::Key_A, "a"); }, false},
    };
    usePlate("w6");
    for (const Case& c : cases) {
        window->plate->groups.well_group[2] = 1;
        window->plate->groups.group_names[1] = "Free";
        window->plate->BuildGroupList(1);
        if (c.asks) boxes.expectInput("Enter Group Name", "Mutants");
        c.act();
        EXPECT_EQ(boxes.pending(), 0u) << c.what;
        EXPECT_EQ(window->plate->groups.group_names[1], c.asks ? "Mutants" : "Group1") << c.what;
        EXPECT_EQ(list->List(1), c.asks ? "001_Mutants" : "001_Free") << c.what;
    }
}

// The entry the user picks in the list is the group the next click on the plate fills.
TEST_F(PlateWindowTest, AnEntryPickedInTheListIsTheGroupAClickOnThePlateFills)
{
    usePlate("w6");
    window->plate->groups.well_group[0] = 2;
    window->plate->BuildGroupList(0);
    QListWidget* items = window->plate->combogrup->listPart();
    const QPoint at = items->visualItemRect(items->item(3)).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, items->viewport()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(items->viewport(), &press);
    EXPECT_EQ(window->plate->combogrup->Text(), "003_Free");
    drag("A2", "A2");
    EXPECT_EQ(groupedWells(3), std::vector<int>{2});
    EXPECT_EQ(window->plate->combogrup->ListIndex(), 3) << "the rebuilt list keeps the group picked";
}

TEST_F(PlateWindowTest, AFailedSaveOfTheGroupsIsReported)
{
    EXPECT_FALSE(window->plate->SaveWellGroups("no_such_project"));
    EXPECT_EQ(window->txt_status->Text(), "Could not save the well groups to reports\\no_such_project\\chgroup.dat");
}

TEST_F(PlateWindowTest, LoadingGroupsReportsTheRowsItSkipped)
{
    std::ofstream(platform::ProgramPath("reports/proj/chgroup.dat"), std::ios::binary)
        << "#Well, Group, name\r\n1,2,\"Two\"\r\n\r\n500,1,\"x\"\r\n";
    window->plate->LoadWellGroups("proj");
    EXPECT_EQ(window->plate->groups.well_group[1], 2);
    EXPECT_EQ(window->txt_status->Text(),
              "reports\\proj\\chgroup.dat: line 4 skipped (not a well and group of the tables)");
    window->plate->ReadWellGroups("proj");
    EXPECT_EQ(window->plate->report_groups.group_names[2], "Two");
}

// ---------------------------------------------------------------- start-up

TEST_F(PlateWindowTest, StartUpLoadsTheProjectGroupsAndTicksDisabledCameras)
{
    window->session().dummy_mode = 0;
    platform::MakeFolder(platform::ProgramPath("reports/default_project"));
    std::ofstream(platform::ProgramPath("reports/default_project/chgroup.dat"), std::ios::binary)
        << "#Well, Group, name\r\n0,1,\"Wild\"\r\n";
    // A project folder made by hand has no set-up file; this one has the one the start-up writes.
    std::ofstream(platform::ProgramPath("reports/default_project/pjsetup.dat"), std::ios::binary)
        << "acq_time=30\r\nplate_format=w6\r\ntemperature=20\r\n";
    std::ofstream(platform::ProgramPath("config/camconf.dat"), std::ios::binary) << "110111\r\n";
    boxes.expectInput("PORT ERROR", "");
    window->Form_Load();
    EXPECT_EQ(window->txt_status->Text(), "Offline Mode");
    EXPECT_EQ(window->plate->groups.well_group[0], 1);
    EXPECT_EQ(listItems(), (std::vector<std::string>{"000_Free", "001_Wild", "002_Free"}));
    EXPECT_TRUE(window->plate->cam_disabled[2]->isChecked());
    EXPECT_FALSE(window->plate->cam_disabled[1]->isChecked());
    EXPECT_EQ(window->plate->cmb_formatplate->Text(), "w6");
    EXPECT_EQ(window->plate->txt_nrow->Text(), "2");
    EXPECT_TRUE(window->plate->mnopciongrup[3]->isVisible());
    EXPECT_EQ(window->plate->colour_table[1], ui::RGB(255, 85, 0));
}

}  // namespace
}  // namespace tirmo::app
