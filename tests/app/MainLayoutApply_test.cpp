#include "app/MainLayoutApply.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegion>
#include <QStyle>
#include <QImage>
#include <QListWidget>
#include <QVBoxLayout>
#include <QWidget>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/MainContainers.h"
#include "support/LayoutChecks.h"
#include "ui/ComboBox.h"
#include "ui/Controls.h"
#include "ui/Line.h"
#include "ui/Make.h"
#include "ui/PictureBox.h"
#include "ui/Shape.h"
#include "ui/Twips.h"

using namespace tirmo;
using namespace tirmo::app;

namespace {

// The controls the subsystems put into the window's containers, as stand-ins of the kind each
// one is, at the height such a control has on its own.
enum class Kind { Label, Text, Combo, List, Button, Check, Shape };
struct StandIn {
    const char* name;
    const char* container;
    Kind kind;
    const char* caption;  // as the window shows it
};
const StandIn kStandIns[] = {
    {"cmd_load_recording", "frame_group", Kind::Button, "LOAD RECORDED EXPERIMENTS"},
    {"Label_pj", "Frame_project", Kind::Label, "Project:"},
    {"cmd_renpj", "Frame_project", Kind::Button, "Rename"},
    {"cmd_loadpj", "Frame_project", Kind::Button, "New"},
    {"cmb_project", "Frame_project", Kind::Combo, ""},
    {"Label_groupsname", "Frame_project", Kind::Label, "Group Names:"},
    {"combogrup", "Frame_project", Kind::List, ""},
    {"Cmd_clear", "Frame_project", Kind::Button, "CLEAR LIST"},
    {"cmd_goset", "Frame_project", Kind::Button, "AUTO-ARRANGE"},
    {"Listpj", "frame_offline", Kind::List, ""},
    {"Label_acqlapse", "Frame_menu", Kind::Label, "Acquisition lapse:"},
    {"txtlapse", "Frame_menu", Kind::Text, ""},
    {"Label_minutes", "Frame_menu", Kind::Label, "min"},
    {"Label_microformat", "Frame_menu", Kind::Label, "MicroPlate Format:"},
    {"cmb_well", "Frame_menu", Kind::Combo, ""},
    {"chk_temp", "Frame_menu", Kind::Check, "Temperature"},
    {"txttemp", "Frame_menu", Kind::Combo, ""},
    {"Shape_temp", "Frame_menu", Kind::Shape, ""},
    {"Label_grad", "Frame_menu", Kind::Label, "\xB0" "C"},
    {"label_blank", "Frame_menu", Kind::Label, "Using blank [w6]:"},
    {"lbl_blanktime", "Frame_menu", Kind::Label, ""},
    {"lbl_blankname", "Frame_menu", Kind::Label, "none"},
    {"cmd_blank", "Frame_menu", Kind::Button, "Read Blank"},
    {"cmdPlay", "Frame_menu", Kind::Button, "Start"},
    {"cmdreport", "Frame_menu", Kind::Button, "Report"},
    {"lst_blank", "frameblank", Kind::List, ""},
    {"lblblankname", "frameblank", Kind::Label, "Name:"},
    {"txt_blankname", "frameblank", Kind::Text, ""},
    {"lbl_timeblank", "frameblank", Kind::Label, "Acq lapse[m]:"},
    {"txt_blanklapse", "frameblank", Kind::Text, ""},
    {"lbl_blankdescription", "frameblank", Kind::Label, ""},
    {"cmd_okblank", "frameblank", Kind::Button, "Start"},
    {"cmd_cancelblank", "frameblank", Kind::Button, "Cancel"},
    {"txt_well_percent", "Frame_calibration", Kind::Text, ""},
};

QWidget* MakeStandIn(const StandIn& s, QWidget* parent)
{
    const QString name = QString::fromLatin1(s.name);
    QWidget* w = nullptr;
    switch (s.kind) {
    case Kind::Label: w = ui::MakeLabel(parent, name, s.caption); break;
    case Kind::Text: w = ui::MakeTextBox(parent, name, "0"); break;
    case Kind::Combo: {
        auto* c = ui::MakeComboBox(parent, name);
        c->setEditable(true);
        w = c;
        break;
    }
    case Kind::List: w = new QListWidget(parent); break;
    case Kind::Button: w = ui::MakeButton(parent, name, s.caption); break;
    case Kind::Check: w = ui::MakeCheckBox(parent, name, s.caption); break;
    case Kind::Shape: w = ui::MakeShape(parent, name); break;
    }
    w->setObjectName(name);
    w->resize(w->sizeHint());
    if (s.kind == Kind::Shape) w->setFixedSize(16, 16);  // as the indicators are built today
    return w;
}

// The window's client area with its whole tree: the containers the window builds and the
// subsystems' controls inside them.
class MainLayoutWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = std::make_unique<QWidget>();
        root->setObjectName("client");
        // The picture as the camera code makes it today, with a minimum size of its own.
        ui::MakePicture(root.get(), "Picact", 330, 500);
        containers = BuildMainContainers(root.get());
        AdoptIntoContainers(root.get());
        for (const StandIn& s : kStandIns) MakeStandIn(s, Find(s.container));
    }

    QWidget* Find(const std::string& name) const
    {
        return root->findChild<QWidget*>(QString::fromStdString(name));
    }

    LayoutResult LayOut(int widthPixels, int heightPixels, int runState = 0)
    {
        root->resize(widthPixels, heightPixels);
        return LayoutMainWindow(root.get(), false, runState);
    }

    std::unique_ptr<QWidget> root;
    MainContainers containers;
};

// Where each control is expected, in pixels of its container, worked out from the layout's
// definition on the grid and rounded edge by edge as the twips layer does; -1 is a size the
// layout leaves as the control had it.
struct Expected {
    const char* name;
    int x, y, width, height;
};

// At the floor, one control of each kind and container (the design size below has them all).
const Expected kAt640x480Twips[] = {
    {"Shape5", 2, 1, 39, 27},
    {"txt_status", 9, 1, 21, -1},
    {"frmtempcal", 15, 5, -1, -1},
    {"frame_main", 3, 3, 27, 21},
    {"Frame_tcycle", 3, 21, 6, 6},
    {"frm_calibrate", 13, 20, -1, -1},
    {"frameblank", 11, 6, 17, 10},
    {"Frame_menu", 31, 3, 8, 21},
    {"frm_confirmacq", 12, 6, -1, -1},
    {"lbl_lenrx", 3, 26, -1, 1},
    {"frame_group", 0, 0, 6, 21},
    {"Picact", 6, 0, 21, 18},
    {"Picrealtime", 7, 20, 19, 1},
    {"Frame_project", 0, 0, 6, 15},
    {"combogrup", 0, 4, 5, 7},
    {"Listpj", 0, 2, 21, 15},
    {"cmb_well", 1, 5, 3, -1},
    {"chk_temp", 1, 7, 6, -1},
    {"cmdPlay", 1, 15, 6, 3},
    {"cmd_cancelblank", 10, 8, 6, 1},
    {"txt_well_percent", 5, 1, 3, 19},
};

const Expected kAtDesignSize[] = {
    {"Shape5", 67, 18, 1216, 604},
    {"lbl_myserial", 73, 20, 60, -1},
    {"lbl_status", 169, 26, 101, -1},
    {"txt_status", 300, 26, 659, -1},
    {"txt_timepass", 979, 26, 253, -1},
    {"frmtempcal", 473, 111, -1, -1},
    {"frame_flash", 473, 111, -1, -1},
    {"Frm_report", 473, 111, -1, -1},
    {"frame_main", 93, 72, 871, 465},
    {"Frame_tcycle", 105, 471, 170, 121},
    {"frm_calibrate", 405, 445, -1, -1},
    {"frameblank", 344, 130, 547, 225},
    {"Frame_menu", 979, 72, 253, 465},
    {"frm_confirmacq", 371, 134, -1, -1},
    {"cmd_menu", 979, 67, 253, 11},
    {"Frame_calibration", 979, 81, 253, 465},
    {"lbl_lenrx", 98, 576, -1, 15},  // down to the monitor box
    {"txt_in", 93, 591, 830, 27},    // down to the frame's lower border
    {"frame_group", 10, 6, 182, 450},
    {"Picact2", 10, 6, 162, 450},
    {"Picact", 187, 6, 669, 388},
    {"frame_offline", 187, 16, 669, 387},
    {"Picrealtime", 223, 434, 607, 31},
    {"Frame_project", 0, 6, 174, 326},
    {"cmd_load_recording", 2, 343, 170, 46},
    {"Label_pj", 10, 14, 101, -1},
    {"cmd_renpj", 65, 14, 46, -1},
    {"cmd_loadpj", 111, 14, 47, -1},
    {"cmb_project", 10, 37, 152, -1},
    {"Label_groupsname", 10, 74, 152, -1},
    {"combogrup", 10, 96, 152, 155},
    {"Cmd_clear", 10, 251, 152, 31},
    {"cmd_goset", 10, 282, 152, 31},
    {"Listpj", 10, 47, 648, 340},  // within its frame, whose lower edge rounds a pixel higher
    {"Label_acqlapse", 20, 16, 213, -1},
    {"txtlapse", 20, 43, 112, 28},
    {"Label_minutes", 142, 43, 81, -1},
    {"Label_microformat", 20, 81, 213, -1},
    {"cmb_well", 20, 105, 112, -1},
    {"chk_temp", 20, 155, 213, -1},
    {"txttemp", 20, 181, 112, -1},
    {"Shape_temp", 132, 181, 14, 24},
    {"Label_grad", 152, 181, 81, -1},
    {"Shape8", 20, 219, 213, 69},
    {"label_blank", 26, 222, 122, 23},
    {"lbl_blanktime", 26, 246, 122, 19},
    {"lbl_blankname", 26, 265, 122, 19},
    {"cmd_blank", 152, 233, 71, 46},
    {"Frame_light", 20, 288, 213, 53},
    {"cmdPlay", 20, 341, 213, 62},
    {"cmdreport", 20, 403, 213, 47},
    {"lst_blank", 101, 16, 355, 124},
    {"lblblankname", 101, 31, 102, 31},
    {"txt_blankname", 203, 31, 303, 31},
    {"lbl_timeblank", 101, 68, 102, 31},
    {"txt_blanklapse", 203, 68, 101, 31},
    {"lbl_blankdescription", 101, 140, 355, 31},
    {"cmd_okblank", 101, 178, 203, 31},
    {"cmd_cancelblank", 304, 178, 202, 31},
    {"txt_well_percent", 162, 16, 81, 434},
};

struct LineEnds {
    const char* name;
    int x1, x2, y;
};

struct GeometryCase {
    const char* what;
    double width, height;  // twips
    const Expected* expected;
    size_t count;
    LineEnds lines[2];
};

}  // namespace

// 640 x 480 twips is the floor; a window 600 wide and 5000 high falls under it and is laid out
// on the same grid, both of its values replaced.
TEST_F(MainLayoutWindow, ControlsSitWhereTheGridPutsThem)
{
    const GeometryCase cases[] = {
        {"640 x 480", 640, 480, kAt640x480Twips, std::size(kAt640x480Twips), {{"Line5", 2, 40, 3}, {"Line1", 1, 4, 6}}},
        {"600 x 5000", 600, 5000, kAt640x480Twips, std::size(kAt640x480Twips), {{"Line5", 2, 40, 3}, {"Line1", 1, 4, 6}}},
        {"design", kMainDesignWidth, kMainDesignHeight, kAtDesignSize, std::size(kAtDesignSize),
         {{"Line5", 67, 1282, 61}, {"Line1", 20, 132, 140}}},
    };
    for (const GeometryCase& c : cases) {
        SetUp();  // every case from the controls' designed sizes
        std::map<std::string, QSize> before;
        for (size_t i = 0; i < c.count; ++i) before[c.expected[i].name] = Find(c.expected[i].name)->size();

        const LayoutResult r = ApplyMainLayout(root.get(), ComputeMainLayout(c.width, c.height, false), 0);
        EXPECT_TRUE(r.laid_out) << c.what;
        EXPECT_TRUE(r.missing.empty()) << c.what << ": " << (r.missing.empty() ? "" : r.missing.front());
        EXPECT_TRUE(r.misplaced.empty()) << c.what << ": " << (r.misplaced.empty() ? "" : r.misplaced.front());

        for (size_t i = 0; i < c.count; ++i) {
            const Expected& e = c.expected[i];
            const QWidget* w = Find(e.name);
            const QSize kept = before[e.name];
            EXPECT_EQ(w->geometry(), QRect(e.x, e.y, e.width < 0 ? kept.width() : e.width,
                                           e.height < 0 ? kept.height() : e.height))
                << c.what << ": " << e.name;
        }
        for (const LineEnds& l : c.lines) {
            const auto* line = qobject_cast<ui::Line*>(Find(l.name));
            ASSERT_NE(line, nullptr) << l.name;
            EXPECT_EQ(line->X1(), l.x1) << c.what << ": " << l.name;
            EXPECT_EQ(line->X2(), l.x2) << c.what << ": " << l.name;
            EXPECT_EQ(line->Y1(), l.y) << c.what << ": " << l.name;
            EXPECT_EQ(line->Y2(), l.y) << c.what << ": " << l.name;
        }
    }
}

// The window lays itself out from its client area's size in pixels, converted at the twips
// layer's fixed 15 twips to the pixel: the design client area is 1350 x 709 pixels.
TEST_F(MainLayoutWindow, LaysOutFromTheClientAreaSize)
{
    EXPECT_EQ(ui::twipsToPixels(kMainDesignWidth), 1350);
    EXPECT_EQ(ui::twipsToPixels(kMainDesignHeight), 709);
    EXPECT_TRUE(LayOut(1350, 709).laid_out);
    EXPECT_EQ(Find("frame_main")->geometry(), QRect(93, 72, 871, 465));
    EXPECT_EQ(Find("Picact")->geometry(), QRect(187, 6, 669, 388));
    EXPECT_EQ(Find("cmdPlay")->geometry(), QRect(20, 341, 213, 62));
}

// A window far past the 16-bit range (3000 pixels are 45000 twips) is laid out as the largest
// that fits: the controls keep that window's places, none wraps to a negative place.
TEST_F(MainLayoutWindow, HugeWindowKeepsTheLargestLayoutThatFits)
{
    ApplyMainLayout(root.get(), ComputeMainLayout(double(LargestGridWidth()), double(LargestGridHeight()), false), 0);
    std::map<QWidget*, QRect> largest;
    for (QWidget* w : root->findChildren<QWidget*>()) largest[w] = w->geometry();
    EXPECT_EQ(containers.Shape5->geometry(), QRect(115, 67, 2069, 2294));

    LayOut(3000, 3000);
    for (const auto& [w, rect] : largest) {
        EXPECT_EQ(w->geometry(), rect) << w->objectName().toStdString();
        EXPECT_GE(w->x(), 0) << w->objectName().toStdString();
        EXPECT_GE(w->y(), 0) << w->objectName().toStdString();
    }
}

TEST_F(MainLayoutWindow, RawReplyLabelIsHiddenAfterEveryLayout)
{
    for (const QSize& size : {QSize(1350, 709), QSize(1366, 768), QSize(40, 30), QSize(1350, 709)}) {
        containers.lblrx->show();
        LayOut(size.width(), size.height());
        EXPECT_TRUE(containers.lblrx->isHidden()) << size.width() << " x " << size.height();
    }
}

// A minimised window keeps every place, and the raw-reply label stays shown or hidden as it was.
TEST_F(MainLayoutWindow, MinimisedWindowChangesNothing)
{
    LayOut(1350, 709);
    containers.lblrx->show();
    std::map<QWidget*, QRect> before;
    for (QWidget* w : root->findChildren<QWidget*>()) before[w] = w->geometry();

    root->resize(700, 400);
    const LayoutResult r = LayoutMainWindow(root.get(), true, 0);
    EXPECT_FALSE(r.laid_out);
    EXPECT_FALSE(r.redraw_plate);
    EXPECT_FALSE(containers.lblrx->isHidden());
    for (const auto& [w, rect] : before) EXPECT_EQ(w->geometry(), rect) << w->objectName().toStdString();
}

// The plate map is drawn again only when it is on view in the run panel's company, the
// auto-calibration is not running over it, and no run or light calibration draws it instead.
TEST_F(MainLayoutWindow, PlateMapIsRedrawnOnlyWhenNothingElseDrawsIt)
{
    struct Case {
        const char* what;
        int runState;
        bool plateShown, runPanelShown, autoCalibrationShown;
        bool redraw;
    };
    const Case cases[] = {
        {"idle, plate map with the run panel", 0, true, true, false, true},
        {"during a run", 1, true, true, false, false},
        {"during a light calibration", -1, true, true, false, false},
        {"auto-calibration shown", 0, true, true, true, false},
        {"plate map hidden", 0, false, true, false, false},
        {"run panel hidden (calibration view)", 0, true, false, false, false},
    };
    for (const Case& c : cases) {
        containers.Picact->setVisible(c.plateShown);
        containers.Frame_menu->setVisible(c.runPanelShown);
        containers.frm_calibrate->setVisible(c.autoCalibrationShown);
        const LayoutResult r = LayOut(1350, 709, c.runState);
        EXPECT_EQ(r.redraw_plate, c.redraw) << c.what;
        EXPECT_EQ(PlateRedrawDue(root.get(), c.runState), c.redraw) << c.what;
        // The controls move whether or not the map is redrawn.
        EXPECT_EQ(containers.frame_main->geometry(), QRect(93, 72, 871, 465)) << c.what;
    }
    // What the start-up sees: the working panels' container still hidden, the map and the run
    // panel themselves not, so the map is drawn for the first layout.
    containers.Picact->show();
    containers.Frame_menu->show();
    containers.frm_calibrate->hide();
    containers.frame_main->hide();
    EXPECT_TRUE(LayOut(1350, 709).redraw_plate);
}

// The layout owns the geometry of what it places: a picture built with a minimum size still
// takes the smaller place the grid gives it, keeps what is drawn on it, and keeps drawing.
TEST_F(MainLayoutWindow, PicturesAndDecorationsTakeTheirPlaceAndLooks)
{
    ASSERT_EQ(containers.Picact->minimumHeight(), 500);
    containers.Picact->image().setPixelColor(3, 4, Qt::red);
    containers.Picact->SetAutoRedraw(false);
    containers.Picact2->SetAutoRedraw(false);
    auto* well = qobject_cast<ui::ComboBox*>(Find("cmb_well"));
    well->SetText("w24 a long format text");
    well->lineEdit()->setCursorPosition(10);

    LayOut(1350, 709);
    EXPECT_EQ(containers.Picact->height(), 388);
    EXPECT_EQ(containers.Picact->PixelHeight(), 388);
    EXPECT_EQ(containers.Picact->image().pixelColor(3, 4), QColor(Qt::red));
    EXPECT_TRUE(containers.Picact->AutoRedraw());
    EXPECT_TRUE(containers.Picact2->AutoRedraw());
    EXPECT_EQ(well->lineEdit()->cursorPosition(), 0);
    EXPECT_EQ(containers.Shape5->lineWidth(), 4);
    EXPECT_EQ(containers.Shape5->FillColor(), ui::colour::White);
    EXPECT_EQ(containers.Line5->BorderWidth(), 4);
    // The indicator was built at a fixed 16 x 16; the layout sizes it from the grid.
    EXPECT_EQ(Find("Shape_temp")->size(), QSize(14, 24));
}


// On the design size and on a 1366 x 768 screen (in twips at the twips layer's 15 to the pixel)
// every control the layout places, shown or not, lies inside the window, and none of those
// shown covers what another shows: drawn boxes lie under the controls they frame, labels under
// buttons beside their text, and panels under others only where they hold nothing.
TEST_F(MainLayoutWindow, NothingLiesOutsideTheWindowOrOverAnotherControl)
{
    const MainLayout table = *ComputeMainLayout(kMainDesignWidth, kMainDesignHeight, false);
    const QSize sizes[] = {{ui::twipsToPixels(kMainDesignWidth), ui::twipsToPixels(kMainDesignHeight)},
                           {ui::twipsToPixels(ui::pixelsToTwips(1366)), ui::twipsToPixels(ui::pixelsToTwips(768))}};
    for (const QSize& size : sizes) {
        LayOut(size.width(), size.height());
        const std::string at = std::to_string(size.width()) + " x " + std::to_string(size.height());
        std::vector<QWidget*> shown;
        for (const auto& [name, p] : table.controls) {
            QWidget* w = Find(name);
            ASSERT_NE(w, nullptr) << name;
            EXPECT_TRUE(root->rect().contains(test::InWindow(root.get(), w, w->rect()))) << at << ": " << name;
            if (w->isVisibleTo(root.get())) shown.push_back(w);
        }
        ASSERT_GE(shown.size(), 39u);  // the working window as it opens
        for (const std::string& fault : test::CoveredControls(root.get(), shown)) ADD_FAILURE() << at << ": " << fault;
    }
}

// Pictures of the laid-out tree for a person to look at, in the folder the tests run in.
TEST_F(MainLayoutWindow, SavesPicturesOfTheLayout)
{
    root->show();
    for (const QSize& size : {QSize(1350, 709), QSize(1366, 768)}) {
        LayOut(size.width(), size.height());
        const QImage picture = root->grab().toImage();
        EXPECT_EQ(picture.size(), size);
        const QString file = QString("main_layout_%1x%2.png").arg(size.width()).arg(size.height());
        EXPECT_TRUE(picture.save(file)) << file.toStdString();
    }
}
