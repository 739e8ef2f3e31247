#include "support/LayoutChecks.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegion>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QWidget>

#include <algorithm>
#include <climits>
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

bool Plain(const QWidget* w) { return w->metaObject() == &QWidget::staticMetaObject && !w->autoFillBackground(); }

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
    // A borderless panel shows nothing of its own: what it holds is compared by itself.
    if (Plain(w)) return QRegion();
    return QRegion(InWindow(root, w, w->rect()));
}

// What a control hides of what lies under it: a label only its text, anything else all of it.
QRegion Covering(QWidget* root, QWidget* w)
{
    if (auto* label = qobject_cast<QLabel*>(w); label && !label->autoFillBackground())
        return QRegion(InWindow(root, w, LabelText(label)));
    if (Plain(w)) return QRegion();
    return QRegion(InWindow(root, w, w->rect()));
}

bool Within(const QWidget* w, const char* name)
{
    for (; w; w = w->parentWidget())
        if (w->objectName() == QLatin1String(name)) return true;
    return false;
}

// The panels the menus and buttons open over the working area lie over the plate map and the
// live picture, which are pictures under them; what else they cover is a fault.
bool OpensOverPictures(const QWidget* upper, const QWidget* lower)
{
    static const char* const panels[] = {"frmtempcal", "frame_flash", "Frm_report", "frameblank", "frm_confirmacq",
                                          "frame_offline", "Frame_tcycle", "frm_calibrate"};
    // The saved-data window's report panel opens over its list of recordings.
    if (Within(upper, "Frm_report") && Within(lower, "frame_offline")) return true;
    if (!Within(lower, "Picact") && !Within(lower, "Picact2")) return false;
    for (const char* panel : panels)
        if (Within(upper, panel)) return true;
    return false;
}

// Panels that take the same place, one of them shown at a time.
bool Alternatives(const QWidget* a, const QWidget* b)
{
    static const std::pair<const char*, const char*> shared[] = {
        {"frame_group", "Picact2"},    {"Picact", "frame_offline"},   {"Frame_menu", "Frame_calibration"},
        {"frmtempcal", "frame_flash"}, {"frmtempcal", "Frm_report"}, {"frame_flash", "Frm_report"},
    };
    for (const auto& [x, y] : shared)
        if ((Within(a, x) && Within(b, y)) || (Within(a, y) && Within(b, x))) return true;
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
            if (OpensOverPictures(upper, lower)) continue;
            const QRegion covered = ShownContent(root, lower) & Covering(root, upper);
            if (!covered.isEmpty())
                faults.push_back(Describe(upper) + " covers " + Describe(lower));
        }
    return faults;
}

namespace {

// The parts a composite control is built of are the control itself; what a scroll area holds are
// controls of their own.
bool PartOfAnother(const QWidget* w, const QWidget* root)
{
    if (w->objectName().startsWith(QLatin1String("qt_"))) return true;
    for (const QWidget* p = w->parentWidget(); p && p != root; p = p->parentWidget()) {
        auto* scroll = qobject_cast<const QScrollArea*>(p);
        if (scroll && scroll->widget() && (scroll->widget() == w || scroll->widget()->isAncestorOf(w))) return false;
        if (qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractScrollArea*>(p)) return true;
    }
    return false;
}

// Each line of text within room wide; one line's ascent to descent, whatever ink its text has (digits
// that fit in one face are cut in another), or several lines' spacing, within its height.
std::string Fits(const QFontMetrics& fm, const QString& text, const QRect& room, const char* what)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    int tall = lines.size() == 1 ? fm.height() : int(lines.size()) * fm.lineSpacing();
    for (const QString& line : lines)
        if (fm.horizontalAdvance(line) > room.width()) tall = INT_MAX;
    return tall > room.height() ? std::string(what) + " \"" + text.toStdString() + "\" cut" : std::string();
}

}  // namespace

std::vector<QWidget*> ShownControls(QWidget* root)
{
    std::vector<QWidget*> shown;
    for (QWidget* w : root->findChildren<QWidget*>())
        if (w->isVisibleTo(root) && !PartOfAnother(w, root) && InWindow(root, w, w->rect()).intersects(root->rect()))
            shown.push_back(w);
    return shown;
}

std::string Describe(const QWidget* w)
{
    if (!w->objectName().isEmpty()) return w->objectName().toStdString();
    auto* label = qobject_cast<const QLabel*>(w);
    return std::string(w->metaObject()->className()) + " " + (label ? label->text().toStdString() : std::string());
}

std::string Unreadable(const QWidget* w)
{
    const QFontMetrics fm = w->fontMetrics();
    const QStyle* style = w->style();
    if (auto* label = qobject_cast<const QLabel*>(w); label && !label->wordWrap())
        return Fits(fm, label->text(), label->contentsRect(), "caption");
    if (auto* button = qobject_cast<const QPushButton*>(w)) {
        QStyleOptionButton opt;
        opt.initFrom(button);
        return Fits(fm, button->text(), style->subElementRect(QStyle::SE_PushButtonContents, &opt, button), "caption");
    }
    if (auto* box = qobject_cast<const QAbstractButton*>(w)) {  // a check box or option: square, spacing, caption
        if (style->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, box) > box->height() || box->sizeHint().width() > box->width())
            return "check box \"" + box->text().toStdString() + "\" cut";
        return Fits(fm, box->text(), box->rect(), "caption");
    }
    if (auto* combo = qobject_cast<const QComboBox*>(w)) {
        // The open list is as wide as the box or as its own least width, whichever is more.
        const QAbstractItemView* list = combo->view();
        for (int i = 0; i < combo->count(); ++i)
            if (std::string cut = Fits(list->fontMetrics(), combo->itemText(i), QRect(0, 0, std::max(combo->width(), list->minimumWidth()) - 8, INT_MAX), "entry"); !cut.empty()) return cut;
        QStyleOptionComboBox opt;
        opt.initFrom(combo);
        opt.editable = combo->isEditable();
        return Fits(fm, combo->currentText(), style->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, combo).adjusted(2, 0, -2, 0), "text");
    }
    if (auto* edit = qobject_cast<const QLineEdit*>(w)) {
        QStyleOptionFrame opt;
        opt.initFrom(edit);
        opt.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, edit);
        QRect room = style->subElementRect(QStyle::SE_LineEditContents, &opt, edit).adjusted(2, 0, -2, 0);
        // A message longer than its line is read from its start.
        if (edit->isReadOnly() && edit->cursorPosition() == 0) room.setWidth(1 << 24);
        return Fits(fm, edit->displayText(), room, "text");
    }
    if (auto* list = qobject_cast<const QListWidget*>(w)) {
        if (list->count() > 0 && fm.height() > list->viewport()->height()) return "no entry in view";
        for (int i = 0; i < list->count(); ++i)
            if (std::string cut = Fits(fm, list->item(i)->text(), list->viewport()->rect().adjusted(3, 0, -3, 0), "entry"); !cut.empty()) return cut;
    }
    if (auto* area = qobject_cast<const QPlainTextEdit*>(w)) {
        const int margin = int(area->document()->documentMargin());
        return Fits(fm, area->toPlainText(), QRect(0, 0, area->viewport()->width() - 2 * margin, INT_MAX), "line");
    }
    return {};
}

std::vector<std::string> Uncaptioned(QWidget* root, const std::vector<QWidget*>& shown)
{
    std::vector<QRect> captions;
    std::vector<QWidget*> boxes;  // left to right: a captioned box captions those after it in its row
    for (QWidget* w : shown) {
        if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().trimmed().isEmpty()) captions.push_back(InWindow(root, w, LabelText(label)));
        if (auto* button = qobject_cast<QAbstractButton*>(w); button && !button->text().isEmpty()) captions.push_back(InWindow(root, w, w->rect()));
        if (auto* edit = qobject_cast<QLineEdit*>(w); edit && !edit->isReadOnly() && !PartOfAnother(w, root)) boxes.push_back(w);
    }
    std::sort(boxes.begin(), boxes.end(), [root](QWidget* a, QWidget* b) { return a->mapTo(root, QPoint()).x() < b->mapTo(root, QPoint()).x(); });
    std::vector<std::string> faults;
    for (QWidget* w : boxes) {
        // A caption before the box in its row, or within a line above it.
        const QRect box = InWindow(root, w, w->rect()), row(0, box.top(), box.left(), box.height());
        const QRect above(box.left(), box.top() - w->fontMetrics().height(), box.width(), w->fontMetrics().height());
        const bool captioned = std::any_of(captions.begin(), captions.end(), [&](const QRect& c) { return c.intersects(row) || c.intersects(above); });
        captioned ? captions.push_back(box) : faults.push_back(Describe(w) + " has no caption");
    }
    return faults;
}

bool OutOfView(QWidget* root, const QWidget* w)
{
    const QRect whole = InWindow(root, w, w->rect());
    QRect seen = whole & root->rect();
    for (const QWidget* p = w->parentWidget(); p && p != root; p = p->parentWidget()) seen &= InWindow(root, p, p->rect());
    return seen != whole;
}

}  // namespace tirmo::test
