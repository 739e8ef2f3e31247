// The real main window laid out: after the start-up every control the layout names sits where
// the grid puts it, in the container it is measured from, on screen and clear of the others.
#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPixmap>

#include <cmath>
#include <string>
#include <vector>

#include "app/MainLayout.h"
#include "support/AppFixture.h"
#include "support/LayoutChecks.h"
#include "ui/Controls.h"
#include "ui/SimpleComboBox.h"
#include "ui/Twips.h"

namespace tirmo::app {
namespace {

class MainWindowLayoutTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        useFakeClock();
        attachSimulator(4, 57);
        window->Form_Load();
        window->show();
    }

    QWidget* client() const { return window->centralWidget(); }
    QWidget* Find(const std::string& name) const
    {
        return client()->findChild<QWidget*>(QString::fromStdString(name));
    }
    // The window resized so that its client area is width x height pixels (the menu bar above).
    void ResizeClient(int width, int height) { window->resize(width, height + window->menuBar()->height()); }
};

// At 640 x 480 twips, at the design size and at 600 x 5000 twips (under the floor, so on the
// 640 x 480 grid) every placed control of the real window is where the table puts it, to the
// pixel, in the container the table measures it from.
TEST_F(MainWindowLayoutTest, ListedControlsSitWhereTheGridPutsThem)
{
    struct Case {
        double width, height;  // twips of the client area
    } cases[] = {{640, 480}, {kMainDesignWidth, kMainDesignHeight}, {600, 5000}};
    for (const Case& c : cases) {
        // The menu bar keeps the window wider than a few pixels: the client area itself is
        // given the size, as the window's own layout gives it its size on a resize.
        client()->resize(ui::twipsToPixels(c.width), ui::twipsToPixels(c.height));
        window->LayoutMainWindow();
        const MainLayout table = *ComputeMainLayout(c.width, c.height, false);
        const std::string at = std::to_string(int(c.width)) + " x " + std::to_string(int(c.height));
        int checked = 0;
        for (const auto& [name, p] : table.controls) {
            const QWidget* w = Find(name);
            if (!w) continue;  // controls of later work (the run's buttons, the blank panel)
            const QWidget* container = p.container.empty() ? client() : Find(p.container);
            EXPECT_EQ(w->parentWidget(), container) << at << ": " << name;
            auto near = [](double placed, std::optional<double> wanted) {
                return !wanted || std::fabs(placed - *wanted) <= 15.0;  // one pixel of rounding
            };
            if (p.x1) continue;  // lines are checked by their ends in the layout's own tests
            EXPECT_TRUE(near(ui::leftTwips(w), p.left)) << at << ": " << name << " left " << ui::leftTwips(w);
            EXPECT_TRUE(near(ui::topTwips(w), p.top)) << at << ": " << name << " top " << ui::topTwips(w);
            EXPECT_TRUE(near(ui::widthTwips(w), p.width)) << at << ": " << name << " width " << ui::widthTwips(w);
            EXPECT_TRUE(near(ui::heightTwips(w), p.height)) << at << ": " << name << " height " << ui::heightTwips(w);
            ++checked;
        }
        EXPECT_GE(checked, 35) << at;
    }
}

// The group list stays open: at the design size its entries fill the height the layout gives it
// under the line, and the start-up's group is shown in the line and marked in the list.
TEST_F(MainWindowLayoutTest, TheGroupListIsOpenUnderItsLineInTheLaidOutHeight)
{
    auto* groups = qobject_cast<ui::SimpleComboBox*>(Find("combogrup"));
    ASSERT_NE(groups, nullptr);
    const QRect line = groups->editPart()->geometry(), list = groups->listPart()->geometry();
    EXPECT_GT(groups->height(), 3 * line.height()) << "five rows high";
    EXPECT_EQ(list.top(), line.bottom() + 1);
    EXPECT_EQ(list.bottom(), groups->height() - 1);
    EXPECT_TRUE(groups->listPart()->isVisible());
    EXPECT_EQ(groups->Text(), "000_Free");
    EXPECT_EQ(groups->ListIndex(), 0);
    EXPECT_TRUE(groups->listPart()->item(0)->isSelected());
}

TEST_F(MainWindowLayoutTest, RawReplyLabelIsHiddenAfterEveryLayoutAndResize)
{
    QWidget* lblrx = Find("lblrx");
    ASSERT_NE(lblrx, nullptr);
    EXPECT_TRUE(lblrx->isHidden()) << "after the start-up";
    lblrx->show();
    ResizeClient(1000, 600);
    EXPECT_TRUE(lblrx->isHidden()) << "after a resize";
    lblrx->show();
    window->LayoutMainWindow();
    EXPECT_TRUE(lblrx->isHidden()) << "after a layout";
}

TEST_F(MainWindowLayoutTest, TheMenuEntryShowsAndHidesTheSerialMonitor)
{
    for (bool shown : {true, false}) {
        window->mn_showcomm->trigger();
        EXPECT_EQ(window->txt_in->isVisible(), shown);
        EXPECT_EQ(window->lbl_lenrx->isVisible(), shown);
        EXPECT_EQ(window->ShowComm(), shown);
        EXPECT_TRUE(Find("lblrx")->isHidden());
    }
}

// A resize moves the controls in every case; the plate map is drawn again only while neither a
// run nor the auto-calibration draws on it.
TEST_F(MainWindowLayoutTest, ResizeRedrawsThePlateMapOnlyWhenNothingElseDrawsIt)
{
    struct Case {
        const char* what;
        int run_state;
        bool calibrating;
        int draws;
    } cases[] = {
        {"idle", 0, false, 1},
        {"during a run", 1, false, 0},
        {"during a light calibration", -1, false, 0},
        {"with the auto-calibration shown", 0, true, 0},
    };
    int width = 900;
    for (const Case& c : cases) {
        window->session().run_state = c.run_state;
        window->containers.frm_calibrate->setVisible(c.calibrating);
        const QRect before = Find("Picact")->geometry();
        const int draws = window->layout_plate_draws;
        width += 100;
        ResizeClient(width, 600);
        EXPECT_NE(Find("Picact")->geometry(), before) << c.what << ": the map still moves";
        EXPECT_EQ(window->layout_plate_draws - draws, c.draws) << c.what;
    }
    window->session().run_state = 0;
}

// The window opens at its design size; at that size and on a 1366 x 768 screen nothing the
// layout places lies outside the window or over another shown control. The pictures are left in
// the folder the tests run in for a person to look at.
TEST_F(MainWindowLayoutTest, FitsTheScreenWithNothingCoveredAndSavesPictures)
{
    EXPECT_EQ(client()->size(), QSize(ui::twipsToPixels(kMainDesignWidth), ui::twipsToPixels(kMainDesignHeight)))
        << "opened at the design size";
    const MainLayout table = *ComputeMainLayout(kMainDesignWidth, kMainDesignHeight, false);
    struct Size {
        const char* file;
        QSize window;
    } sizes[] = {{"main_window_design.png", window->size()}, {"main_window_1366x768.png", QSize(1366, 768)}};
    for (const Size& s : sizes) {
        window->resize(s.window);
        EXPECT_EQ(window->size(), s.window);
        std::vector<QWidget*> shown;
        for (const auto& [name, p] : table.controls) {
            QWidget* w = Find(name);
            if (!w) continue;
            EXPECT_TRUE(client()->rect().contains(test::InWindow(client(), w, w->rect()))) << s.file << ": " << name;
            if (w->isVisibleTo(client())) shown.push_back(w);
        }
        EXPECT_GE(shown.size(), 25u) << s.file;
        for (const std::string& fault : test::CoveredControls(client(), shown)) ADD_FAILURE() << s.file << ": " << fault;
        const QImage picture = window->grab().toImage();
        EXPECT_EQ(picture.size(), s.window);
        EXPECT_TRUE(picture.save(QString::fromLatin1(s.file))) << s.file;
    }
}

}  // namespace
}  // namespace tirmo::app
