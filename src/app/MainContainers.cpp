#include "app/MainContainers.h"

#include <QGroupBox>
#include <QRectF>
#include <QWidget>

#include <map>
#include <optional>
#include <vector>

#include "app/MainLayout.h"
#include "ui/Controls.h"
#include "ui/Line.h"
#include "ui/Make.h"
#include "ui/PictureBox.h"
#include "ui/Shape.h"
#include "ui/Twips.h"

namespace tirmo::app {
namespace {

enum class Kind { Plain, Frame, Picture, Shape, Line, Label, TextBox, Button };

// A part of the tree: its kind, its container ("" the window), its caption, whether the window
// starts with it hidden, and, for parts the layout only moves or does not touch, the place and
// size it was designed with (twips).
struct TreePart {
    const char* name;
    Kind kind;
    const char* container;
    const char* caption;
    bool hidden;
    std::optional<QRectF> design = std::nullopt;
};

// In creation order, containers before what they hold. The status row and the monitor belong to
// the window itself; the captions are those the window shows.
const std::vector<TreePart>& Tree()
{
    static const std::vector<TreePart> tree = {
        {"Shape5", Kind::Shape, "", "", false},
        {"Line5", Kind::Line, "", "", false},
        {"lbl_myserial", Kind::Label, "", "", false},
        {"lbl_status", Kind::Label, "", "Status:", false},
        {"txt_status", Kind::TextBox, "", "", false},
        {"txt_timepass", Kind::TextBox, "", "", false},
        {"frame_main", Kind::Plain, "", "", false},
        {"Picact2", Kind::Picture, "frame_main", "", false},
        // The pixel-mask tools, on the live picture, designed to fill its column.
        {"Frame_select", Kind::Frame, "Picact2", "Select", true, QRectF(0, 0, 2400, 6000)},
        {"frame_group", Kind::Plain, "frame_main", "", false},
        {"Frame_project", Kind::Frame, "frame_group", "", false},
        {"Picact", Kind::Picture, "frame_main", "", false},
        {"frame_offline", Kind::Plain, "frame_main", "", true},
        {"Picrealtime", Kind::Picture, "frame_main", "", false},
        {"Picturehide", Kind::Picture, "frame_main", "", true, QRectF(0, 0, 1500, 1500)},
        {"Frame_menu", Kind::Frame, "", "", false},
        {"Shape8", Kind::Shape, "Frame_menu", "", false},
        {"Line1", Kind::Line, "Frame_menu", "", false},
        {"Frame_light", Kind::Frame, "Frame_menu", "", true},
        // Shown only with the calibration view, which it closes.
        {"cmd_menu", Kind::Button, "", "Close", true},
        {"Frame_calibration", Kind::Frame, "", "Well Calibration", true},
        {"frameblank", Kind::Frame, "", "Blank Measurement", true},
        {"Frame_tcycle", Kind::Frame, "", "Temperature Cycle", true},
        // The panels below are only moved by the layout, so their designed size is their size.
        // Its title and one line of progress, low enough to end above the progress bar it
        // reports on (the grid puts it just over it) at the size the window opens with.
        {"frm_calibrate", Kind::Frame, "", "Autocalibration....", true, QRectF(0, 0, 6000, 900)},
        {"frmtempcal", Kind::Frame, "", "Temperature Calibration", true, QRectF(0, 0, 5250, 2400)},
        {"frame_flash", Kind::Frame, "", "Send to / Receive from Flash", true, QRectF(0, 0, 5250, 3600)},
        {"Frm_report", Kind::Frame, "", "", true, QRectF(0, 0, 7500, 5700)},
        {"frm_confirmacq", Kind::Frame, "", "", true, QRectF(0, 0, 6000, 2700)},
        {"Frame9", Kind::Frame, "", "", true, QRectF(0, 0, 1500, 1000)},
        {"Frame1", Kind::Frame, "", "", true, QRectF(0, 0, 1500, 1000)},
        // The communication monitor starts hidden; its menu entry shows it.
        {"lblrx", Kind::Label, "", "Rx", true},
        {"lbl_lenrx", Kind::Label, "", "Len(Rx) = 0", true},
        {"txt_in", Kind::TextBox, "", "", true},
    };
    return tree;
}

// Controls of frame_offline that stay where they were designed; they still live in it.
constexpr const char* kOfflineUnmoved[] = {"txt_search", "cmd_lupa", "lblback", "lbl_search", "cmd_closeoffline"};

const std::map<std::string, std::string>& Containers()
{
    static const std::map<std::string, std::string> containers = [] {
        std::map<std::string, std::string> c;
        for (const TreePart& part : Tree()) c[part.name] = part.container;
        const MainLayout layout = *ComputeMainLayout(kMainDesignWidth, kMainDesignHeight, false);
        for (const auto& [name, placement] : layout.controls) c[name] = placement.container;
        for (const char* name : kOfflineUnmoved) c[name] = "frame_offline";
        return c;
    }();
    return containers;
}

QWidget* Named(QWidget* window, const std::string& name)
{
    if (name.empty()) return window;
    return window->findChild<QWidget*>(QString::fromStdString(name));
}

QWidget* Create(const TreePart& part, QWidget* parent)
{
    const QString name = QString::fromLatin1(part.name);
    QWidget* w = nullptr;
    switch (part.kind) {
    case Kind::Plain: w = new QWidget(parent); break;
    case Kind::Frame: w = new QGroupBox(QString::fromLatin1(part.caption), parent); break;
    case Kind::Picture: w = new ui::PictureBox(parent); break;
    case Kind::Shape: w = ui::MakeShape(parent, name); break;
    case Kind::Line: w = new ui::Line(parent); break;
    case Kind::Label: w = ui::MakeLabel(parent, name, part.caption); break;
    case Kind::TextBox: w = ui::MakeTextBox(parent, name); break;
    case Kind::Button: w = ui::MakeButton(parent, name, part.caption); break;
    }
    w->setObjectName(name);
    if (part.design)
        ui::setGeometryTwips(w, part.design->left(), part.design->top(), part.design->width(), part.design->height());
    else if (part.kind == Kind::Label || part.kind == Kind::TextBox || part.kind == Kind::Button)
        w->resize(w->sizeHint());  // the layout gives most of them a width; the height is their own
    // Drawn boxes and rules lie under the controls they frame, as drawings on a surface do.
    if (part.kind == Kind::Shape || part.kind == Kind::Line) w->lower();
    // The box around the blank information is an outline; the labels in it keep the panel behind.
    if (part.kind == Kind::Shape && std::string(part.name) == "Shape8") w->setAutoFillBackground(false);
    if (part.hidden) w->hide();
    return w;
}

// The panels of frame_main that share a place stack so that the one the window opens with lies
// on top when both are shown (the project column over the live picture), and the recordings
// list over the plate map; the plate map lies over the project column's empty right edge, which
// reaches under it, so the whole map takes clicks.
void StackMainFrame(QWidget* window)
{
    QWidget* frame = Named(window, "frame_main");
    if (!frame) return;
    for (const char* name : {"Picact2", "frame_group", "Picact", "frame_offline"})
        if (QWidget* w = Named(window, name); w && w->parentWidget() == frame) w->raise();
}

template <class T>
T* As(QWidget* window, const char* name)
{
    return qobject_cast<T*>(Named(window, name));
}

}  // namespace

MainContainers BuildMainContainers(QWidget* window)
{
    for (const TreePart& part : Tree()) {
        if (Named(window, part.name)) continue;
        QWidget* parent = Named(window, part.container);
        if (!parent) continue;  // its container exists under another kind of widget's name
        Create(part, parent);
    }
    // Shapes go below the rules drawn over them.
    for (const char* shape : {"Shape5", "Shape8"})
        if (QWidget* w = Named(window, shape)) w->lower();
    StackMainFrame(window);

    MainContainers c;
    c.Shape5 = As<ui::Shape>(window, "Shape5");
    c.Line5 = As<ui::Line>(window, "Line5");
    c.lbl_myserial = As<ui::Label>(window, "lbl_myserial");
    c.lbl_status = As<ui::Label>(window, "lbl_status");
    c.txt_status = As<ui::TextBox>(window, "txt_status");
    c.txt_timepass = As<ui::TextBox>(window, "txt_timepass");
    c.frame_main = Named(window, "frame_main");
    c.Frame_menu = Named(window, "Frame_menu");
    c.cmd_menu = As<ui::CommandButton>(window, "cmd_menu");
    c.Frame_calibration = Named(window, "Frame_calibration");
    c.frameblank = Named(window, "frameblank");
    c.Frame_tcycle = Named(window, "Frame_tcycle");
    c.frm_calibrate = Named(window, "frm_calibrate");
    c.frmtempcal = Named(window, "frmtempcal");
    c.frame_flash = Named(window, "frame_flash");
    c.Frm_report = Named(window, "Frm_report");
    c.frm_confirmacq = Named(window, "frm_confirmacq");
    c.Frame9 = Named(window, "Frame9");
    c.Frame1 = Named(window, "Frame1");
    c.lblrx = As<ui::Label>(window, "lblrx");
    c.lbl_lenrx = As<ui::Label>(window, "lbl_lenrx");
    c.txt_in = As<ui::TextBox>(window, "txt_in");
    c.frame_group = Named(window, "frame_group");
    c.Frame_project = Named(window, "Frame_project");
    c.Picact2 = As<ui::PictureBox>(window, "Picact2");
    c.Frame_select = Named(window, "Frame_select");
    c.Picact = As<ui::PictureBox>(window, "Picact");
    c.frame_offline = Named(window, "frame_offline");
    c.Picrealtime = As<ui::PictureBox>(window, "Picrealtime");
    c.Picturehide = As<ui::PictureBox>(window, "Picturehide");
    c.Line1 = As<ui::Line>(window, "Line1");
    c.Shape8 = As<ui::Shape>(window, "Shape8");
    c.Frame_light = Named(window, "Frame_light");
    return c;
}

const std::string* ContainerOf(const std::string& name)
{
    const auto& containers = Containers();
    const auto it = containers.find(name);
    return it == containers.end() ? nullptr : &it->second;
}

int AdoptIntoContainers(QWidget* window)
{
    int moved = 0;
    for (const auto& [name, container] : Containers()) {
        QWidget* w = Named(window, name);
        QWidget* target = Named(window, container);
        if (!w || !target || w->parentWidget() == target) continue;
        if (w == target || w->isAncestorOf(target)) continue;  // a container cannot go inside itself
        const bool hidden = w->isHidden();
        const QRect place = w->geometry();
        w->setParent(target);
        w->setGeometry(place);
        w->setVisible(!hidden);  // a new parent hides what it receives
        ++moved;
    }
    StackMainFrame(window);
    return moved;
}

}  // namespace tirmo::app
