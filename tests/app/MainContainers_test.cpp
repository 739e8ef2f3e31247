#include "app/MainContainers.h"

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <string>

#include "app/MainLayoutApply.h"
#include "ui/Controls.h"
#include "ui/Line.h"
#include "ui/Make.h"
#include "ui/PictureBox.h"
#include "ui/Shape.h"

using namespace tirmo;
using namespace tirmo::app;

namespace {

QWidget* Find(QWidget* root, const char* name) { return root->findChild<QWidget*>(QString::fromLatin1(name)); }

std::string ParentName(QWidget* root, const char* name)
{
    QWidget* parent = Find(root, name)->parentWidget();
    return parent == root ? "" : parent->objectName().toStdString();
}

}  // namespace

// The window opens with the working panels shown and every panel that a menu, a button or a run
// opens hidden, each in its container.
TEST(MainContainers, TreeStartsAsTheWindowOpens)
{
    QWidget root;
    const MainContainers c = BuildMainContainers(&root);
    struct Case {
        const char* name;
        const char* container;
        bool hidden;
    };
    const Case cases[] = {
        {"frame_main", "", false},         {"frame_group", "frame_main", false}, {"Frame_project", "frame_group", false},
        {"Picact2", "frame_main", false},  {"Picact", "frame_main", false},      {"Picrealtime", "frame_main", false},
        {"Frame_menu", "", false},         {"Shape5", "", false},                {"Line5", "", false},
        {"txt_status", "", false},         {"lbl_status", "", false},            {"Shape8", "Frame_menu", false},
        {"Line1", "Frame_menu", false},    {"frmtempcal", "", true},             {"frame_flash", "", true},
        {"Frm_report", "", true},          {"frm_confirmacq", "", true},         {"frameblank", "", true},
        {"frm_calibrate", "", true},       {"Frame_tcycle", "", true},           {"frame_offline", "frame_main", true},
        {"Frame_calibration", "", true},   {"Frame_light", "Frame_menu", true},  {"Frame9", "", true},
        {"Frame1", "", true},              {"Picturehide", "frame_main", true},  {"Frame_select", "Picact2", true},
        {"cmd_menu", "", true},            {"lblrx", "", true},                  {"lbl_lenrx", "", true},
        {"txt_in", "", true},
    };
    for (const Case& k : cases) {
        ASSERT_NE(Find(&root, k.name), nullptr) << k.name;
        EXPECT_EQ(ParentName(&root, k.name), k.container) << k.name;
        EXPECT_EQ(Find(&root, k.name)->isHidden(), k.hidden) << k.name;
        EXPECT_EQ(*ContainerOf(k.name), k.container) << k.name;
    }
    EXPECT_EQ(c.cmd_menu->Caption(), "Close");
    EXPECT_EQ(c.lbl_status->Caption(), "Status:");
    EXPECT_EQ(c.lbl_lenrx->Caption(), "Len(Rx) = 0");
    EXPECT_EQ(qobject_cast<QGroupBox*>(c.frm_calibrate)->title(), "Autocalibration....");
    EXPECT_EQ(qobject_cast<QGroupBox*>(c.frame_flash)->title(), "Send to / Receive from Flash");
    // Drawn boxes lie under everything on their surface.
    EXPECT_EQ(root.children().indexOf(c.Shape5), 0);
    EXPECT_EQ(c.Frame_menu->children().indexOf(c.Shape8), 0);
    const QObjectList& stack = c.frame_main->children();
    EXPECT_LT(stack.indexOf(c.Picact2), stack.indexOf(c.frame_group)) << "the project column shows over the live picture";
    EXPECT_LT(stack.indexOf(c.frame_group), stack.indexOf(c.Picact)) << "the whole plate map takes clicks";
    EXPECT_LT(stack.indexOf(c.Picact), stack.indexOf(c.frame_offline)) << "the recordings list opens over the map";
}

// Controls a subsystem made before the tree was built are used where they are, never doubled;
// a second build finds everything and creates nothing.
TEST(MainContainers, ExistingControlsAreKeptAndBuildingTwiceAddsNothing)
{
    QWidget root;
    auto* picture = ui::MakePicture(&root, "Picact", 330, 500);
    auto* wrongKind = new QWidget(&root);
    wrongKind->setObjectName("Picrealtime");

    const MainContainers first = BuildMainContainers(&root);
    EXPECT_EQ(first.Picact, picture);
    EXPECT_EQ(picture->parentWidget(), &root) << "moved only by AdoptIntoContainers";
    EXPECT_EQ(first.Picrealtime, nullptr) << "a widget of another kind holds the name";
    EXPECT_EQ(root.findChildren<QWidget*>("Picrealtime").size(), 1);

    const int widgets = int(root.findChildren<QWidget*>().size());
    const MainContainers second = BuildMainContainers(&root);
    EXPECT_EQ(int(root.findChildren<QWidget*>().size()), widgets);
    EXPECT_EQ(second.frame_main, first.frame_main);
    EXPECT_EQ(second.Line5, first.Line5);
}

// Controls the window built in its old column of panels move into their containers and keep
// whether they were shown; once there, nothing more moves.
TEST(MainContainers, AdoptionMovesControlsIntoTheirContainers)
{
    QWidget root;
    auto* column = new QVBoxLayout(&root);
    auto* lapse = ui::MakeTextBox(&root, "txtlapse", "30");
    auto* light = new QGroupBox(&root);
    light->setObjectName("Frame_light");
    light->setVisible(false);
    auto* groups = new QGroupBox(&root);
    groups->setObjectName("frame_group");
    auto* clear = ui::MakeButton(groups, "Cmd_clear", "CLEAR LIST");
    auto* status = ui::MakeTextBox(groups, "txt_status");
    auto* stray = ui::MakeLabel(&root, "not_in_the_tree", "x");
    for (QWidget* w : {static_cast<QWidget*>(lapse), static_cast<QWidget*>(light), static_cast<QWidget*>(groups)})
        column->addWidget(w);

    const MainContainers c = BuildMainContainers(&root);
    EXPECT_EQ(c.frame_group, groups);
    EXPECT_EQ(c.Frame_light, light);
    EXPECT_EQ(c.Frame_project->parentWidget(), groups) << "created in the container that existed";

    EXPECT_EQ(AdoptIntoContainers(&root), 5);  // txtlapse, Frame_light, frame_group, Cmd_clear, txt_status
    EXPECT_EQ(lapse->parentWidget(), c.Frame_menu);
    EXPECT_FALSE(lapse->isHidden());
    EXPECT_EQ(light->parentWidget(), c.Frame_menu);
    EXPECT_TRUE(light->isHidden());
    EXPECT_EQ(groups->parentWidget(), c.frame_main);
    EXPECT_LT(c.frame_main->children().indexOf(groups), c.frame_main->children().indexOf(c.Picact))
        << "moved in last, still stacked under the plate map";
    EXPECT_EQ(clear->parentWidget(), c.Frame_project);
    EXPECT_EQ(status->parentWidget(), &root);
    EXPECT_EQ(stray->parentWidget(), &root);
    EXPECT_EQ(column->indexOf(lapse), -1) << "no longer stacked in the old column";
    EXPECT_EQ(AdoptIntoContainers(&root), 0);

    // The layout then finds every container it measures from.
    root.resize(1350, 709);
    const LayoutResult r = LayoutMainWindow(&root, false, 0);
    for (const char* name : {"txtlapse", "Frame_light", "frame_group", "Cmd_clear", "txt_status"})
        EXPECT_EQ(std::count(r.misplaced.begin(), r.misplaced.end(), std::string(name)), 0) << name;
}
