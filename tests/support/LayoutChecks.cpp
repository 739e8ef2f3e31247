#include "support/LayoutChecks.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegion>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QStyleOptionGroupBox>
#include <QTextEdit>
#include <QWidget>

#include <algorithm>
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

// The parts a composite control is built of are seen as the control itself; only what a scroll
// area holds are controls of their own.
bool PartOfAnother(const QWidget* w, const QWidget* root)
{
    if (w->objectName().startsWith(QLatin1String("qt_"))) return true;
    for (const QWidget* p = w->parentWidget(); p && p != root; p = p->parentWidget()) {
        if (qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractSpinBox*>(p)) return true;
        if (auto* area = qobject_cast<const QAbstractScrollArea*>(p)) {
            auto* scroll = qobject_cast<const QScrollArea*>(area);
            if (!scroll || !scroll->widget() || !(scroll->widget() == w || scroll->widget()->isAncestorOf(w))) return true;
        }
    }
    return false;
}

QStringList Lines(const QString& text) { return text.split(QLatin1Char('\n')); }

int Widest(const QFontMetrics& fm, const QStringList& lines)
{
    int widest = 0;
    for (const QString& line : lines) widest = std::max(widest, fm.horizontalAdvance(line));
    return widest;
}

// The ink of one line of text: what must fit the height a control gives it.
int InkHeight(const QFontMetrics& fm, const QString& text) { return fm.tightBoundingRect(text).height(); }

std::string Quoted(const QString& text) { return "\"" + text.toStdString() + "\""; }

std::string Fits(const QFontMetrics& fm, const QString& text, const QRect& room, const char* what)
{
    const QStringList lines = Lines(text);
    if (Widest(fm, lines) > room.width()) return std::string(what) + " " + Quoted(text) + " wider than its room";
    const int tall = lines.size() == 1 ? InkHeight(fm, text) : int(lines.size()) * fm.lineSpacing();
    if (tall > room.height()) return std::string(what) + " " + Quoted(text) + " taller than its room";
    return {};
}

std::string LabelFault(const QLabel* label)
{
    if (label->text().isEmpty() || label->textFormat() == Qt::RichText) return {};
    const QRect room = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(), -label->margin());
    if (label->wordWrap())
        return label->heightForWidth(label->width()) > label->height() ? "text " + Quoted(label->text()) + " cut" : std::string();
    return Fits(label->fontMetrics(), label->text(), room, "caption");
}

std::string ButtonFault(const QAbstractButton* button)
{
    if (button->text().isEmpty()) return {};
    const QFontMetrics fm = button->fontMetrics();
    if (qobject_cast<const QPushButton*>(button)) {
        QStyleOptionButton opt;
        opt.initFrom(button);
        opt.text = button->text();
        // Within the button's border: the caption may use the room its margins leave.
        return Fits(fm, button->text(), button->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, button), "caption");
    }
    // A check box or option: indicator, spacing and caption side by side.
    if (button->sizeHint().width() > button->width()) return "caption " + Quoted(button->text()) + " wider than its room";
    if (InkHeight(fm, button->text()) > button->height()) return "caption " + Quoted(button->text()) + " taller than its room";
    const QStyle::PixelMetric square =
        qobject_cast<const QRadioButton*>(button) ? QStyle::PM_ExclusiveIndicatorHeight : QStyle::PM_IndicatorHeight;
    if (button->style()->pixelMetric(square, nullptr, button) > button->height()) return "its square is cut";
    return {};
}

QRect LineEditRoom(const QLineEdit* edit)
{
    QStyleOptionFrame opt;
    opt.initFrom(edit);
    opt.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, edit) : 0;
    const QMargins margins = edit->textMargins();
    // The box keeps two pixels on either side of its text.
    return edit->style()->subElementRect(QStyle::SE_LineEditContents, &opt, edit).marginsRemoved(margins).adjusted(2, 0, -2, 0);
}

std::string LineEditFault(const QLineEdit* edit)
{
    const QString text = edit->displayText();
    if (text.isEmpty()) return {};
    const std::string fault = Fits(edit->fontMetrics(), text, LineEditRoom(edit), "text");
    // A message longer than its line is read from its start.
    if (!fault.empty() && edit->isReadOnly() && edit->cursorPosition() == 0 &&
        InkHeight(edit->fontMetrics(), text) <= LineEditRoom(edit).height())
        return {};
    return fault;
}

std::string ComboFault(const QComboBox* combo)
{
    QStyleOptionComboBox opt;
    opt.initFrom(combo);
    opt.editable = combo->isEditable();
    opt.frame = combo->hasFrame();
    const QRect field =
        combo->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, combo).adjusted(2, 0, -2, 0);
    // The open list: as wide as the box or as its own least width, whichever is more.
    const QAbstractItemView* list = combo->view();
    const int listWidth = std::max(combo->width(), list->minimumWidth()) - 8;
    for (int i = 0; i < combo->count(); ++i)
        if (list->fontMetrics().horizontalAdvance(combo->itemText(i)) > listWidth)
            return "entry " + Quoted(combo->itemText(i)) + " wider than the open list";
    return Fits(combo->fontMetrics(), combo->currentText(), field, "text");
}

std::string ListFault(const QListWidget* list)
{
    const QRect room = list->viewport()->rect().adjusted(3, 0, -3, 0);  // an entry's own margins
    if (list->count() > 0 && list->fontMetrics().height() > room.height()) return "no entry in view";
    for (int i = 0; i < list->count(); ++i)
        if (list->fontMetrics().horizontalAdvance(list->item(i)->text()) > room.width())
            return "entry " + Quoted(list->item(i)->text()) + " wider than the list";
    return {};
}

std::string TextAreaFault(const QWidget* area, const QString& text, const QWidget* viewport, qreal margin)
{
    const QRect room = viewport->rect().adjusted(int(margin), 0, -int(margin), 0);
    for (const QString& line : Lines(text))
        if (area->fontMetrics().horizontalAdvance(line) > room.width()) return "line " + Quoted(line) + " wider than its box";
    return {};
}

std::string GroupTitleFault(const QGroupBox* group)
{
    if (group->title().isEmpty()) return {};
    QStyleOptionGroupBox opt;
    opt.initFrom(group);
    opt.text = group->title();
    opt.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    opt.lineWidth = 1;
    opt.features = group->isFlat() ? QStyleOptionFrame::Flat : QStyleOptionFrame::None;
    const QRect label = group->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, group);
    return group->rect().contains(label) ? std::string() : "title " + Quoted(group->title()) + " cut";
}

}  // namespace

std::vector<QWidget*> ShownControls(QWidget* root)
{
    std::vector<QWidget*> shown;
    const QRect area = root->rect();
    for (QWidget* w : root->findChildren<QWidget*>())
        if (w->isVisibleTo(root) && !PartOfAnother(w, root) && InWindow(root, w, w->rect()).intersects(area))
            shown.push_back(w);
    return shown;
}

std::string Describe(const QWidget* w)
{
    if (!w->objectName().isEmpty()) return w->objectName().toStdString();
    std::string text;
    if (auto* label = qobject_cast<const QLabel*>(w)) text = label->text().toStdString();
    if (auto* button = qobject_cast<const QAbstractButton*>(w)) text = button->text().toStdString();
    return std::string(w->metaObject()->className()) + " \"" + text + "\"";
}

std::string Unreadable(const QWidget* w)
{
    if (auto* label = qobject_cast<const QLabel*>(w)) return LabelFault(label);
    if (auto* button = qobject_cast<const QAbstractButton*>(w)) return ButtonFault(button);
    if (auto* combo = qobject_cast<const QComboBox*>(w)) return ComboFault(combo);
    if (auto* edit = qobject_cast<const QLineEdit*>(w)) return LineEditFault(edit);
    if (auto* list = qobject_cast<const QListWidget*>(w)) return ListFault(list);
    if (auto* plain = qobject_cast<const QPlainTextEdit*>(w))
        return TextAreaFault(plain, plain->toPlainText(), plain->viewport(), plain->document()->documentMargin());
    if (auto* rich = qobject_cast<const QTextEdit*>(w))
        return TextAreaFault(rich, rich->toPlainText(), rich->viewport(), rich->document()->documentMargin());
    if (auto* group = qobject_cast<const QGroupBox*>(w)) return GroupTitleFault(group);
    return {};
}

bool OutOfView(QWidget* root, const QWidget* w)
{
    const QRect whole = InWindow(root, w, w->rect());
    QRect seen = whole & root->rect();
    for (const QWidget* p = w->parentWidget(); p && p != root; p = p->parentWidget()) seen &= InWindow(root, p, p->rect());
    return seen != whole;
}

}  // namespace tirmo::test
