// What the plate side of the main window refuses, and what a refusal leaves alone: clicks on a
// camera picture, block layouts that do not tile the plate, and a save during a camera set-up.
// The window comes from the real offline start-up; camera set-ups then run in dummy mode.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QMouseEvent>

#include "link/Session.h"
#include "plate/BandFiles.h"
#include "platform/Clock.h"
#include "support/AppFixture.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/PictureBox.h"
#include "ui/SimpleComboBox.h"

namespace tirmo::app {
namespace {

using ui::MsgResult;

class PlateWindowRefusalsTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        useFakeClock();
        for (auto* writer : {plate::WriteW6ColumnFile, plate::WriteW6RowFile, plate::WriteW24ColumnFile,
                             plate::WriteW24RowFile})
            ASSERT_TRUE(writer("\\config"));
        boxes.expectInput("PORT ERROR", "");
        window->Form_Load();
        ASSERT_EQ(window->plate->current_format, "w6");
        window->session().dummy_mode = 1;
    }
    void TearDown() override
    {
        platform::setEventPump({});
        AppFixture::TearDown();
    }
    // The pixel of Picact under the centre of a well, as the plate map lays it out now.
    QPointF wellPixel(const std::string& well) const
    {
        const int row = well[0] - 'A', column = std::stoi(well.substr(1)) - 1;
        return window->camera->Picact->toPixels((column + 0.5) * 100.0 / window->plate->plate_columns,
                                        (row + 0.5) * 250.0 / window->plate->plate_rows);
    }
    void click(QPointF at, Qt::MouseButton button = Qt::LeftButton)
    {
        for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, window->camera->Picact->mapToGlobal(at), button,
                              type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(window->camera->Picact, &event);
        }
    }
    std::vector<std::string> visibleBlocks() const
    {
        std::vector<std::string> out;
        for (QAction* item : window->plate->mnopciongrup)
            if (item->isVisible()) out.push_back(item->text().toStdString().substr(0, 5));
        return out;
    }
};

TEST_F(PlateWindowRefusalsTest, ClicksGroupWellsOnlyWhileThePlateMapIsShown)
{
    const QPointF a2 = wellPixel("A2"), b3 = wellPixel("B3");
    click(a2);
    EXPECT_EQ(window->plate->groups.well_group[2], 0) << "the start-up leaves the plate map on show";

    window->camera->cmd_camselect_Click(1);  // the camera's picture now fills Picact
    const auto before = window->plate->groups.well_group;
    click(b3);
    click(a2, Qt::RightButton);
    EXPECT_EQ(window->plate->groups.well_group, before) << "a click on the camera picture is no plate cell";
    EXPECT_FALSE(window->plate->drag_active);

    window->plate->DrawPlateLayout(window->plate->current_format);
    click(b3);
    EXPECT_EQ(window->plate->groups.well_group[5], 0) << "the plate map back on show takes clicks again";
}

TEST_F(PlateWindowRefusalsTest, TheEditorsFormatChangeRebuildsTheBlockMenu)
{
    const std::vector<std::string> w6Blocks{"01x01", "02x01", "01x03", "02x03"};
    EXPECT_EQ(visibleBlocks(), w6Blocks);
    boxes.expectMessage("Change Platew24?", MsgResult::Yes);
    window->plate->cmb_formatplate->SetText("w24");
    EXPECT_EQ(visibleBlocks().size(), 12u);
    EXPECT_EQ(visibleBlocks()[2], "04x01");

    boxes.expectMessage("Change Platew6?", MsgResult::No);
    window->plate->cmb_formatplate->SetText("w6");
    EXPECT_EQ(visibleBlocks().size(), 12u) << "a refused change leaves the menu of the format kept";

    boxes.expectMessage("Change Platew6?", MsgResult::Yes);
    window->plate->cmb_formatplate->SetText("w6");
    EXPECT_EQ(visibleBlocks(), w6Blocks);
}

TEST_F(PlateWindowRefusalsTest, ABlockThatDoesNotDivideThePlateIsRefusedAndChangesNothing)
{
    window->plate->groups.well_group[3] = 7;
    window->plate->BuildGroupList(7);
    window->plate->mnopciongrup[1]->trigger();  // 02x01: the last row count that divides two rows
    EXPECT_EQ(window->plate->groups.well_group[1], 0);
    EXPECT_EQ(window->plate->groups.well_group[5], 2);
    EXPECT_TRUE(window->plate->mnopciongrup[1]->isChecked());

    const auto grouped = window->plate->groups.well_group;
    const std::string list = window->plate->combogrup->Text();
    EXPECT_FALSE(window->plate->GroupWellsInBlocks("04x01 [RowsxColumn]"));
    EXPECT_EQ(window->txt_status->Text(),
              "Blocks of 04x01 do not divide the 2 x 3 plate: the groups are left as they were");
    EXPECT_EQ(window->plate->groups.well_group, grouped);
    EXPECT_EQ(window->plate->combogrup->Text(), list);

    // A stale caption chosen from the menu: its tick goes, the layout in use keeps its own.
    window->plate->mnopciongrup[2]->setText("01x02 [RowsxColumn]");
    window->plate->mnopciongrup[2]->trigger();
    EXPECT_EQ(window->plate->groups.well_group, grouped);
    EXPECT_FALSE(window->plate->mnopciongrup[2]->isChecked());
    EXPECT_TRUE(window->plate->mnopciongrup[1]->isChecked());
}

TEST_F(PlateWindowRefusalsTest, SaveDuringACameraSetUpSaysItWasNotDone)
{
    window->camera->cmd_camselect_Click(0);
    const std::string before = readFile("config/w6_col.dat");
    window->plate->column_bands.end[0][0] = 100;
    std::string shownAtTheClick;
    bool clicked = false;
    platform::setEventPump([&] {
        if (clicked) return;
        clicked = true;
        window->plate->cmd_grabarconfig->Click();
        shownAtTheClick = window->txt_status->Text();
    });
    window->camera->cmd_camselect_Click(2);
    platform::setEventPump({});
    const std::string notice = "Save->Next Area not done while a camera set-up runs: the bands were not saved";
    EXPECT_EQ(shownAtTheClick, notice);
    EXPECT_EQ(window->txt_status->Text(), notice) << "said again once the set-up is over";
    EXPECT_EQ(window->camera->camera_index, 2);
    EXPECT_EQ(readFile("config/w6_col.dat"), before);

    window->camera->cmd_camselect_Click(3);
    EXPECT_NE(window->txt_status->Text(), notice) << "the notice belongs to the set-up it was refused in";
}

}  // namespace
}  // namespace tirmo::app
