#include "support/LayoutChecks.h"

#include <QLabel>
#include <QRegion>
#include <QStyle>
#include <QWidget>

#include <utility>

#include "ui/Line.h"
#include "ui/Shape.h"

namespace tirmo::test {
namespace {

QWidget* CommonAncestor(QWidget* a, QWidget* b)
{
    for (QWidget* p = a->parentWidget(); p; p = p->parentWidget())
        if (p->isAncestorOf(b)) return p;
    return nullptr;
}

QWidget* ChildOf(QWidget* ancestor, QWidget* w)
{
    while (w->parentWidget() != ancestor) w = w->parentWidget();
    return w;
}

// Siblings stack in the order of their parent's children, the last on top.
bool StacksAbove(QWidget* upper, QWidget* lower)
{
    QWidget* common = CommonAncestor(upper, lower);
    const QObjectList& order = common->children();
    return order.indexOf(ChildOf(common, upper)) > order.indexOf(ChildOf(common, lower));
}

}  // namespace

QRect InWindow(QWidget* root, const QWidget* w, const QRect& r) { return QRect(w->mapTo(root, r.topLeft()), r.size()); }

namespace {

// Where a label's text stands: labels draw nothing else, the rest of them is see-through.
QRect LabelText(const QLabel* label)
{
    const QSize text(label->fontMetrics().horizontalAdvance(label->text()), label->fontMetrics().height());
    return QStyle::alignedRect(label->layoutDirection(), label->alignment(), text, label->contentsRect()) & label->rect();
}

bool Drawing(const QWidget* w) { return qobject_cast<const ui::Shape*>(w) || qobject_cast<const ui::Line*>(w); }

// What a control shows of its own, which nothing stacked above it may cover: a drawn box its
// border, a label its text, a borderless panel the controls it holds, anything else all of it.
QRegion ShownContent(QWidget* root, QWidget* w)
{
    if (auto* shape = qobject_cast<ui::Shape*>(w)) {
        const int border = shape->lineWidth();
        return QRegion(InWindow(root, w, w->rect())) -
               QRegion(InWindow(root, w, w->rect().adjusted(border, border, -border, -border)));
    }
    if (auto* label = qobject_cast<QLabel*>(w)) return QRegion(InWindow(root, w, LabelText(label)));
    if (w->metaObject() == &QWidget::staticMetaObject) {
        QRegion held;
        for (QWidget* child : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child->isVisibleTo(root)) held += InWindow(root, child, child->rect());
        return held;
    }
    return QRegion(InWindow(root, w, w->rect()));
}

// What a control hides of what lies under it: a label only its text, anything else all of it.
QRegion Covering(QWidget* root, QWidget* w)
{
    if (auto* label = qobject_cast<QLabel*>(w); label && !label->autoFillBackground())
        return QRegion(InWindow(root, w, LabelText(label)));
    return QRegion(InWindow(root, w, w->rect()));
}

// Panels that take the same place, one of them shown at a time.
bool Alternatives(const QWidget* a, const QWidget* b)
{
    static const std::pair<const char*, const char*> shared[] = {
        {"frame_group", "Picact2"},    {"Picact", "frame_offline"},   {"Frame_menu", "Frame_calibration"},
        {"frmtempcal", "frame_flash"}, {"frmtempcal", "Frm_report"}, {"frame_flash", "Frm_report"},
    };
    auto within = [](const QWidget* w, const char* name) {
        for (; w; w = w->parentWidget())
            if (w->objectName() == QLatin1String(name)) return true;
        return false;
    };
    for (const auto& [x, y] : shared)
        if ((within(a, x) && within(b, y)) || (within(a, y) && within(b, x))) return true;
    return false;
}

}  // namespace

std::vector<std::string> CoveredControls(QWidget* root, const std::vector<QWidget*>& shown)
{
    std::vector<std::string> faults;
    for (size_t i = 0; i < shown.size(); ++i)
        for (size_t j = i + 1; j < shown.size(); ++j) {
            QWidget* a = shown[i];
            QWidget* b = shown[j];
            if (a->isAncestorOf(b) || b->isAncestorOf(a) || Alternatives(a, b)) continue;
            if (Drawing(a) && Drawing(b)) continue;  // the rule runs from one side of the frame to the other
            QWidget* upper = StacksAbove(a, b) ? a : b;
            QWidget* lower = upper == a ? b : a;
            const QRegion covered = ShownContent(root, lower) & Covering(root, upper);
            if (!covered.isEmpty())
                faults.push_back(upper->objectName().toStdString() + " covers " + lower->objectName().toStdString());
        }
    return faults;
}

}  // namespace tirmo::test
