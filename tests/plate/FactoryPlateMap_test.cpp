// The factory window's plate map: its own size, tables and drag over the shared group tables, so
// what is selected there is what the main window groups; and the saved-data reader's tables,
// which are nobody else's.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>

#include <fstream>
#include <iterator>

#include "app/Frm_advance.h"
#include "plate/PlateSelection.h"
#include "platform/ProgramFolder.h"
#include "support/AppFixture.h"
#include "ui/ComboBox.h"
#include "ui/PictureBox.h"
#include "ui/SimpleComboBox.h"

namespace tirmo::app {
namespace {

class FactoryPlateMapTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        factory = std::make_unique<Frm_advance>(window->instrument, window->plate->groups);
        factory->plate->group_to_assign = [this] { return plate::WellGroups::ItemGroup(window->plate->combogrup->Text()); };
        factory->resize(900, 700);
    }
    void TearDown() override
    {
        factory.reset();
        AppFixture::TearDown();
    }
    // A press or release over a point of the plate, through the factory window's picture.
    void mouse(QEvent::Type type, Qt::MouseButton button, double x, double y)
    {
        ui::PictureBox* pic = factory->Picact;
        const QPointF at = pic->toPixels(x, y);
        QMouseEvent event(type, at, pic->mapToGlobal(at), button,
                          type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(pic, &event);
    }
    void drag(double x1, double y1, double x2, double y2, Qt::MouseButton button)
    {
        mouse(QEvent::MouseButtonPress, button, x1, y1);
        mouse(QEvent::MouseButtonRelease, button, x2, y2);
    }
    std::unique_ptr<Frm_advance> factory;
};

TEST_F(FactoryPlateMapTest, ARightDragShowsInTheMainWindowsGroups)
{
    auto& shared = window->plate->groups;
    for (int well = 0; well < 24; ++well) shared.well_group[size_t(well)] = 3;
    factory->plate->DrawPlateLayout("w24");  // 4 rows x 6 columns
    ASSERT_EQ(factory->plate->plate_rows, 4);
    ASSERT_EQ(factory->plate->plate_columns, 6);
    // From the lower right of B2 to the upper left of A1: wells 0, 1, 4 and 5.
    drag(30, 110, 5, 5, Qt::RightButton);
    for (int well : {0, 1, 4, 5}) EXPECT_EQ(shared.well_group[size_t(well)], -1) << well;
    for (int well : {2, 3, 6, 8, 23}) EXPECT_EQ(shared.well_group[size_t(well)], 3) << well;
    EXPECT_FALSE(factory->plate->selection.active);
    EXPECT_EQ(window->plate->plate_rows, 2) << "the main window's plate size is its own";
}

TEST_F(FactoryPlateMapTest, ALeftReleaseGivesTheGroupTheMainListShows)
{
    factory->plate->DrawPlateLayout("w24");
    window->plate->BuildGroupList(0);
    window->plate->combogrup->SetText("002_Free");
    // No press before: the single cell under the release; the edges belong to the last cell.
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, 100, 250);
    EXPECT_EQ(window->plate->groups.well_group[23], 2);
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, 0, 0);
    EXPECT_EQ(window->plate->groups.well_group[0], 2);
    EXPECT_EQ(window->plate->groups.well_group[1], -1);
}

TEST_F(FactoryPlateMapTest, ClicksBeforeTheFirstLayoutOrDuringItsCalibrationChangeNothing)
{
    auto& shared = window->plate->groups;
    ASSERT_EQ(factory->plate->plate_rows, 0);
    // Before any layout: no plate to divide.
    factory->plate->Picact_MouseDown(2, 0, 10, 10);
    factory->plate->Picact_MouseUp(2, 0, 10, 10);
    factory->Picact->Scale(plate::kMapLeft, plate::kMapTop, plate::kMapRight, plate::kMapBottom);
    factory->plate->Picact_MouseDown(2, 0, 10, 10);
    EXPECT_FALSE(factory->plate->selection.active);
    factory->plate->Picact_MouseUp(2, 0, 10, 10);
    for (int g : shared.well_group) ASSERT_EQ(g, -1);

    for (int well = 0; well < 24; ++well) shared.well_group[size_t(well)] = 1;
    factory->plate->DrawPlateLayout("w24");
    factory->plate->run_state = -1;
    window->session().run_state = 0;
    drag(5, 5, 95, 245, Qt::RightButton);
    for (int well = 0; well < 24; ++well) EXPECT_EQ(shared.well_group[size_t(well)], 1) << well;
    EXPECT_FALSE(factory->plate->selection.active);
    // The main window's run does not stop the factory window's map.
    factory->plate->run_state = 0;
    window->session().run_state = 1;
    drag(5, 5, 5, 5, Qt::RightButton);
    EXPECT_EQ(shared.well_group[0], -1);
}

TEST_F(FactoryPlateMapTest, PressesOutsideThePlateStartNoDrag)
{
    factory->plate->DrawPlateLayout("w24");
    struct Case {
        double x, y;
        bool inside;
    };
    // Both sides of each edge: the last point that is on the plate and the first that is not.
    for (Case c : {Case{0, 0, true}, Case{-0.5, 10, false}, Case{100, 10, true}, Case{100.5, 10, false},
                   Case{10, 250, true}, Case{10, 250.5, false}, Case{10, -0.5, false}}) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        factory->plate->selection.Cancel();
        factory->plate->Picact_MouseDown(1, 0, c.x, c.y);
        EXPECT_EQ(factory->plate->selection.active, c.inside);
    }
    // A release outside still ends a drag and changes no well.
    factory->plate->Picact_MouseDown(2, 0, 5, 5);
    window->plate->groups.well_group[0] = 4;
    factory->plate->Picact_MouseUp(2, 0, 120, 5);
    EXPECT_FALSE(factory->plate->selection.active);
    EXPECT_EQ(window->plate->groups.well_group[0], 4);
}

TEST(PlateSelection, CellsAndRectanglesOfTheRubberBand)
{
    int column = -1, row = -1;
    EXPECT_FALSE(plate::PlateCell(0, 6, 10, 10, column, row)) << "no plate";
    EXPECT_FALSE(plate::PlateCell(4, 0, 10, 10, column, row));
    ASSERT_TRUE(plate::PlateCell(4, 6, 100, 250, column, row));
    EXPECT_EQ(column, 5);
    EXPECT_EQ(row, 3);
    plate::PlateSelection s;
    EXPECT_FALSE(s.Press(3, 10, 10, 4, 6)) << "the middle button starts nothing";
    ASSERT_TRUE(s.Press(1, 99, 249, 4, 6));
    EXPECT_EQ(s.Release(1, 70, 140, 4, 6), (std::vector<int>{18, 22, 19, 23})) << "row by row";
    EXPECT_EQ(s.Release(1, 0, 0, 4, 6), (std::vector<int>{0})) << "no drag: the cell alone";
    ASSERT_TRUE(s.Press(2, 0, 0, 4, 6));
    EXPECT_TRUE(s.Release(3, 0, 0, 4, 6).empty());
    EXPECT_FALSE(s.active) << "every release ends the drag";
}

TEST_F(FactoryPlateMapTest, TheSavedDataReaderCreatesAMissingGroupFileAndLeavesTheMainGroupsAlone)
{
    platform::MakeFolder(platform::ProgramPath("reports/proj/run1"));
    window->plate->groups.well_group[7] = 5;
    window->plate->groups.group_names[5] = "Mine";
    window->plate->report_groups.well_group[9] = 2;  // what the last recording left
    window->plate->ReadWellGroups("proj\\run1");
    std::ifstream in(platform::ProgramPath("reports/proj/run1/chgroup.dat"), std::ios::binary);
    const std::string file{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 385);
    EXPECT_EQ(std::count(file.begin(), file.end(), '\r'), 385) << "CR LF lines";
    EXPECT_EQ(file.substr(0, 20), "#Well, Group, name\r\n");
    EXPECT_EQ(window->plate->report_groups.well_group[9], -1);
    EXPECT_EQ(window->plate->groups.well_group[7], 5);
    EXPECT_EQ(window->plate->groups.group_names[5], "Mine");
}

}  // namespace
}  // namespace tirmo::app
