// The factory window's layout: the grid with its size held in 16 bits, the table of its
// controls, and the table put onto the real window (tools reachable, the hidden Rx label, the
// circle-selection frame and the pixel-mask panel's close button).
#include "app/FactoryLayout.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QGroupBox>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QMouseEvent>

#include <set>

#include "app/Frm_advance.h"
#include "support/AppFixture.h"
#include "ui/Controls.h"
#include "ui/PictureBox.h"
#include "ui/Shape.h"
#include "ui/Twips.h"

namespace tirmo::app {
namespace {

struct GridCase {
    double width, height;
    long long w, h, lm, tm, cu, ru;
};

TEST(FactoryLayout, GridFloorsAtVgaAndClampsTo16Bits)
{
    const GridCase cases[] = {
        {640, 480, 640, 480, 32, 12, 96, 21},
        {639, 5000, 640, 480, 32, 12, 96, 21},  // below the floor in one direction: both replaced
        {16500, 12000, 16500, 12000, 825, 300, 2475, 525},
        {32767, 32767, 32767, 32767, 1638, 819, 4915, 1434},  // the last size taken as it is
        {32768, 32768, 32767, 32767, 1638, 819, 4915, 1434},  // the first one clamped
        {1e7, 40000, 32767, 32767, 1638, 819, 4915, 1434},
    };
    for (const GridCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        const LayoutGrid g = ComputeFactoryGrid(c.width, c.height);
        EXPECT_EQ(g.width, c.w);
        EXPECT_EQ(g.height, c.h);
        EXPECT_EQ(g.left_margin, c.lm);
        EXPECT_EQ(g.top_margin, c.tm);
        EXPECT_EQ(g.column_unit, c.cu);
        EXPECT_EQ(g.row_unit, c.ru);
        EXPECT_LE(g.ColumnSpan(), kFactorySizeLimit);
        EXPECT_LE(g.RowSpan(), kFactorySizeLimit);
    }
}

TEST(FactoryLayout, PlacesOnlyItsOwnControlsWhereTheGridSays)
{
    for (const auto& [w, h] : {std::pair{640.0, 480.0}, {16500.0, 12000.0}, {90000.0, 90000.0}}) {
        SCOPED_TRACE(testing::Message() << w << " x " << h);
        const MainLayout l = ComputeFactoryLayout(w, h);
        const double lm = double(l.grid.left_margin), tm = double(l.grid.top_margin);
        const double cu = double(l.grid.column_unit), ru = double(l.grid.row_unit);
        std::set<std::string> names;
        for (const auto& [name, p] : l.controls) names.insert(name);
        EXPECT_EQ(names, (std::set<std::string>{"Shape5", "Line5", "lbl_status", "txt_status", "txt_timepass", "frame_main",
                                                "Picact2", "Picact", "Picrealtime", "Frame2", "cmd_menu", "frame_advanced", "lblrx",
                                                "lbl_lenrx", "txt_in", "frame_peltier", "frame_ledcal"}));
        const auto& c = l.controls;
        EXPECT_EQ(c.at("Shape5").width, 6 * cu + 4);
        EXPECT_EQ(c.at("Shape5").height, 19.5 * ru + 4);
        EXPECT_EQ(c.at("Line5").x2, 6 * cu + lm - 8);
        EXPECT_EQ(c.at("Line5").y1, 1.4 * ru + tm + 2);
        EXPECT_EQ(c.at("txt_status").left, lm + 0.575 * cu);
        EXPECT_EQ(c.at("txt_status").width, 3.65 * cu);
        EXPECT_EQ(c.at("frame_advanced").left, lm + 4.5 * cu);
        EXPECT_EQ(c.at("frame_advanced").top, tm + 2.05 * ru);
        EXPECT_EQ(c.at("frame_advanced").width, 1.35 * cu);
        EXPECT_EQ(c.at("frame_advanced").height, 16 * ru);
        EXPECT_EQ(c.at("Picact").container, "frame_main");
        EXPECT_EQ(c.at("Picact").left, 0.925 * cu);
        EXPECT_EQ(c.at("Picrealtime").top, 14 * ru);
        EXPECT_EQ(c.at("Picrealtime").border_style, 1);
        EXPECT_EQ(c.at("lbl_lenrx").top, 18 * ru + tm);
        EXPECT_TRUE(c.at("lblrx").hidden);
        EXPECT_FALSE(c.at("lblrx").left.has_value());
        // The widest positions stay within 16 bits even for the huge window.
        EXPECT_LE(*c.at("Line5").x2, 32767.0);
        EXPECT_GT(*c.at("frame_advanced").left, 0.0);
    }
}

class FactoryWindowLayoutTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        factory = std::make_unique<Frm_advance>(window->instrument, window->plate->groups);
    }
    void TearDown() override
    {
        factory.reset();
        AppFixture::TearDown();
    }
    // Gives the client area w x h twips and lays the window out.
    void ResizeClient(double w, double h)
    {
        factory->centralWidget()->resize(ui::twipsToPixels(w), ui::twipsToPixels(h));
        factory->ArrangeControls();
    }
    std::unique_ptr<Frm_advance> factory;
};

TEST_F(FactoryWindowLayoutTest, ControlsTakeTheirPlacesAtEachSize)
{
    for (const auto& [w, h] : {std::pair{640.0, 480.0}, {16500.0, 12000.0}, {60000.0, 45000.0}}) {
        SCOPED_TRACE(testing::Message() << w << " x " << h);
        ResizeClient(w, h);
        const LayoutGrid g = ComputeFactoryGrid(ui::pixelsToTwips(ui::twipsToPixels(w)), ui::pixelsToTwips(ui::twipsToPixels(h)));
        const double lm = double(g.left_margin), tm = double(g.top_margin);
        const double cu = double(g.column_unit), ru = double(g.row_unit);
        const auto px = [](double twips) { return ui::twipsToPixels(twips); };
        const QRect adv = factory->frame_advanced->geometry();
        EXPECT_NEAR(adv.x(), px(lm + 4.5 * cu), 1);
        EXPECT_NEAR(adv.y(), px(tm + 2.05 * ru), 1);
        EXPECT_NEAR(adv.width(), px(1.35 * cu), 1);
        EXPECT_NEAR(adv.height(), px(16 * ru), 1);
        EXPECT_EQ(factory->Picact->parentWidget(), factory->frame_main);
        EXPECT_NEAR(factory->Picact->x(), px(0.925 * cu), 1);
        EXPECT_NEAR(factory->Picact->width(), px(3.3 * cu), 1);
        EXPECT_NEAR(factory->Picact2->height(), px(14.5 * ru), 1);
        EXPECT_NEAR(factory->txt_in->y(), px(tm + 18.5 * ru), 1);
        EXPECT_NEAR(factory->Shape5->width(), px(6 * cu + 4), 1);
        EXPECT_TRUE(factory->Picact->AutoRedraw());
        // The huge window stops growing its layout at 32767 twips.
        EXPECT_LE(adv.right(), px(32767) + 1);
    }
}

TEST_F(FactoryWindowLayoutTest, RxLabelStaysHiddenWhateverShowedIt)
{
    factory->lblrx->show();
    ResizeClient(16500, 12000);
    EXPECT_TRUE(factory->lblrx->isHidden());
    EXPECT_FALSE(factory->lbl_lenrx->isHidden());
}

TEST_F(FactoryWindowLayoutTest, EveryToolCanBeScrolledIntoView)
{
    factory->show();
    QScrollArea* scroll = factory->frame_advanced_scroll;
    ASSERT_NE(scroll, nullptr);
    for (const auto& [w, h] : {std::pair{9600.0, 7200.0}, {16500.0, 12000.0}}) {
        ResizeClient(w, h);
        QCoreApplication::processEvents();
        // The tall tool column scrolls inside the frame of a small window, which keeps its
        // place; at the designed size every tool is in view at once.
        EXPECT_EQ(scroll->verticalScrollBar()->maximum() > 0, w < 16500) << w;
        for (QWidget* tool : std::initializer_list<QWidget*>{factory->link->cmdopen, factory->link->chkdummy, factory->link->cmd_reset, factory->camera->cmd_setcamera,
                                                             factory->camera->chk_cross, factory->lighting->Cmd_bluelight, factory->lighting->cmd_frqled,
                                                             factory->lighting->cmd_ledpower}) {
            SCOPED_TRACE(tool->objectName().toStdString() + " at " + std::to_string(int(w)));
            EXPECT_TRUE(scroll->widget()->isAncestorOf(tool));
            scroll->ensureWidgetVisible(tool, 0, 0);
            const QRect inView(tool->mapTo(scroll->viewport(), QPoint(0, 0)), tool->size());
            EXPECT_TRUE(scroll->viewport()->rect().intersects(inView));
            EXPECT_GE(inView.top(), 0);
            EXPECT_LE(inView.top(), scroll->viewport()->height() - 1);
        }
    }
}

TEST_F(FactoryWindowLayoutTest, CircleSelectionFrameTogglesBetweenSolidAndTransparent)
{
    struct Step {
        int mode;
        int fill_style;
    };
    // Loaded: mode 0, transparent; then one step per click.
    const Step steps[] = {{0, 1}, {2, 0}, {0, 1}, {2, 0}};
    factory->Frame2->show();
    for (size_t clicks = 0; clicks < std::size(steps); ++clicks) {
        SCOPED_TRACE(clicks);
        if (clicks > 0) {
            const QPointF at(5, 5);
            QMouseEvent press(QEvent::MouseButtonPress, at, factory->Frame8->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
            QCoreApplication::sendEvent(factory->Frame8, &press);
        }
        EXPECT_EQ(factory->circle_selection_mode, steps[clicks].mode);
        EXPECT_EQ(factory->Shape_circle_selection->FillStyle(), steps[clicks].fill_style);
        EXPECT_EQ(factory->Shape_circle_selection->autoFillBackground(), steps[clicks].fill_style == 0);
    }
    // A mode set elsewhere to something other than 2 is switched on by the next click.
    factory->circle_selection_mode = 1;
    factory->Frame8_Click();
    EXPECT_EQ(factory->circle_selection_mode, 2);
}

TEST_F(FactoryWindowLayoutTest, TheSelectPanelIsShownAtOpeningAndClosesWithItsButton)
{
    EXPECT_FALSE(factory->Frame2->isHidden());
    EXPECT_FALSE(factory->Frame_select->isHidden());
    EXPECT_FALSE(factory->frame_main->isHidden());
    EXPECT_EQ(factory->Frame_select->parentWidget(), factory->Picact2);
    EXPECT_EQ(factory->cmd_close_frame2->Caption(), "X");
    factory->Frame_select->show();
    factory->cmd_close_frame2->Click();
    EXPECT_TRUE(factory->Frame_select->isHidden());
    EXPECT_FALSE(factory->Picact2->isHidden()) << "only the panel closes";
}

TEST_F(FactoryWindowLayoutTest, OpensWithinTheScreen)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QSize avail = screen->availableGeometry().size();
    EXPECT_LE(factory->width(), avail.width());
    EXPECT_LE(factory->height(), avail.height());
    // Laid out at that size already: the tool frame lies inside the client area.
    EXPECT_LE(factory->frame_advanced->geometry().right(), factory->centralWidget()->width());
    EXPECT_GT(factory->frame_advanced->width(), 20);
}

}  // namespace
}  // namespace tirmo::app
