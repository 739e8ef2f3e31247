#include "app/MainLayoutApply.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QWidget>

#include "ui/Line.h"
#include "ui/PictureBox.h"
#include "ui/Shape.h"
#include "ui/Twips.h"

namespace tirmo::app {
namespace {

QWidget* Named(QWidget* root, const std::string& name)
{
    return root->findChild<QWidget*>(QString::fromStdString(name));
}

// Visible as a property: shown unless hidden itself, whether or not its container is shown
// (the start-up lays the window out while the working panels are still hidden).
bool Shown(const QWidget* w) { return w && !w->isHidden(); }

// The layout owns the size of what it places: size limits a control was built with (a picture's
// minimum, an indicator's fixed size) would otherwise keep it from taking its place.
void ReleaseSizeLimits(QWidget* w, const ControlPlacement& p)
{
    if (p.width) {
        w->setMinimumWidth(0);
        w->setMaximumWidth(QWIDGETSIZE_MAX);
    }
    if (p.height) {
        w->setMinimumHeight(0);
        w->setMaximumHeight(QWIDGETSIZE_MAX);
    }
}

void PlaceBox(QWidget* w, const ControlPlacement& p)
{
    if (!p.left && !p.top && !p.width && !p.height) return;
    ReleaseSizeLimits(w, p);
    // What the table leaves out keeps its current value; a current value is a whole number of
    // pixels, so converting it back and forth changes nothing.
    ui::setGeometryTwips(w, p.left.value_or(ui::leftTwips(w)), p.top.value_or(ui::topTwips(w)),
                         p.width.value_or(ui::widthTwips(w)), p.height.value_or(ui::heightTwips(w)));
}

// A control the table ends at its container's edge can end a pixel beyond it once the two are
// rounded to pixels from different origins; that pixel would cut its border off.
void KeepWithinContainer(QWidget* w)
{
    const QWidget* container = w->parentWidget();
    if (!container) return;
    QRect r = w->geometry();
    if (r.right() == container->width()) r.setRight(r.right() - 1);
    if (r.bottom() == container->height()) r.setBottom(r.bottom() - 1);
    if (r != w->geometry()) w->setGeometry(r);
}

void SetBorders(QWidget* w, const ControlPlacement& p)
{
    if (p.border_style) {
        if (auto* group = qobject_cast<QGroupBox*>(w))
            group->setFlat(*p.border_style == 0);
        else if (auto* frame = qobject_cast<QFrame*>(w))
            frame->setFrameShape(*p.border_style == 0 ? QFrame::NoFrame : QFrame::Box);
        // A plain panel and a picture box draw no border of their own.
    }
    if (p.border_width) {
        if (auto* line = qobject_cast<ui::Line*>(w))
            line->SetBorderWidth(*p.border_width);
        else if (auto* frame = qobject_cast<QFrame*>(w))
            frame->setLineWidth(*p.border_width);
    }
    if (p.back_color)
        if (auto* shape = qobject_cast<ui::Shape*>(w)) shape->SetFillColor(*p.back_color);
}

void CaretToStart(QWidget* w)
{
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (combo->lineEdit()) combo->lineEdit()->setCursorPosition(0);
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setCursorPosition(0);
    }
}

void Place(QWidget* w, const ControlPlacement& p)
{
    auto* picture = p.keeps_drawing ? qobject_cast<ui::PictureBox*>(w) : nullptr;
    // The pictures keep what is drawn on them while they move and are repainted at once.
    if (picture) picture->SetAutoRedraw(true);
    SetBorders(w, p);
    if (p.x1 && p.y1 && p.x2 && p.y2) {
        if (auto* line = qobject_cast<ui::Line*>(w)) ui::setLineTwips(line, *p.x1, *p.y1, *p.x2, *p.y2);
    } else {
        PlaceBox(w, p);
    }
    if (picture) {
        picture->SetAutoRedraw(true);
        picture->Refresh();
    }
    if (p.caret_to_start) CaretToStart(w);
    if (p.hidden) w->hide();
}

}  // namespace

bool PlateRedrawDue(const QWidget* root, int run_state)
{
    auto find = [root](const char* name) { return root->findChild<const QWidget*>(QString::fromLatin1(name)); };
    return run_state == 0 && Shown(find("Picact")) && Shown(find("Frame_menu")) && !Shown(find("frm_calibrate"));
}

LayoutResult ApplyMainLayout(QWidget* root, const std::optional<MainLayout>& layout, int run_state)
{
    LayoutResult result;
    if (!layout) return result;
    result.laid_out = true;
    for (const auto& [name, placement] : layout->controls) {
        QWidget* w = Named(root, name);
        if (!w) {
            result.missing.push_back(name);
            continue;
        }
        QWidget* expected = placement.container.empty() ? root : Named(root, placement.container);
        if (w->parentWidget() != expected) result.misplaced.push_back(name);
        Place(w, placement);
    }
    // Once every container has its size.
    for (const auto& [name, placement] : layout->controls)
        if (QWidget* w = Named(root, name); w && (placement.width || placement.height)) KeepWithinContainer(w);
    if (auto* plate = qobject_cast<ui::PictureBox*>(Named(root, "Picact"))) plate->SetAutoRedraw(true);
    result.redraw_plate = PlateRedrawDue(root, run_state);
    return result;
}

LayoutResult LayoutMainWindow(QWidget* root, bool minimised, int run_state)
{
    const auto layout = ComputeMainLayout(ui::pixelsToTwips(root->width()), ui::pixelsToTwips(root->height()), minimised);
    return ApplyMainLayout(root, layout, run_state);
}

}  // namespace tirmo::app
