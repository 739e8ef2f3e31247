#include "ui/FitCaption.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QVariant>

#include <algorithm>

namespace tirmo::ui {
namespace {
constexpr const char* kDesignPoints = "tirmo_design_points";
constexpr const char* kFitted = "tirmo_kept_fitted";
constexpr int kSmallestPoints = 6;
// The room a push button's frame and margins take from its width.
constexpr int kFramePixels = 10;
// The room a combo box's text keeps free on either side, and an entry of its open list.
constexpr int kEntryMargin = 2;
constexpr int kListMargin = 4;

// The largest size from the design size down to the smallest readable one at which text fits
// width pixels (the smallest when none does); also the height when one is given: the line's
// whole height, ascent and descent, where the button centres it, whatever ink the text has.
int FittingPoints(QFont font, int design, const QString& text, int width, int height = -1)
{
    int points = design;
    for (; points > kSmallestPoints; --points) {
        font.setPointSize(points);
        const QFontMetrics metrics(font);
        if (metrics.horizontalAdvance(text) <= width && (height < 0 || metrics.height() <= height))
            break;
    }
    return points;
}

// True the first time a control is asked to be kept fitted: one watcher per control. (The
// watchers have no meta-object of their own, so a search among the control's children could
// not tell them from its scroll bars.)
bool FirstFitter(QWidget* w)
{
    if (w->property(kFitted).toBool()) return false;
    w->setProperty(kFitted, true);
    return true;
}

int DesignPoints(QWidget* w)
{
    if (!w->property(kDesignPoints).isValid()) w->setProperty(kDesignPoints, w->font().pointSize());
    return w->property(kDesignPoints).toInt();
}

// Refits the control it watches at every resize.
template <class Control, void (*Fit)(Control*)>
class ResizeFitter : public QObject {
public:
    explicit ResizeFitter(Control* control) : QObject(control), control_(control) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == control_ && event->type() == QEvent::Resize) Fit(control_);
        return false;
    }

private:
    Control* control_;
};
using CaptionFitter = ResizeFitter<QAbstractButton, FitCaption>;
using EntryFitter = ResizeFitter<QComboBox, FitEntries>;
using LineFitter = ResizeFitter<QPlainTextEdit, FitLines>;
}  // namespace

void KeepCaptionFitted(QAbstractButton* button)
{
    if (!button || !FirstFitter(button)) return;
    button->installEventFilter(new CaptionFitter(button));
    FitCaption(button);
}

void RefitCaption(QAbstractButton* button)
{
    if (button && button->property(kFitted).toBool()) FitCaption(button);
}

void FitCaption(QAbstractButton* button)
{
    if (!button || button->text().isEmpty()) return;
    QFont font = button->font();
    const int design = DesignPoints(button);
    if (design <= 0) return;  // a pixel-sized font is left alone
    // A button lower than its caption (a strip of a button) takes the type that fits its height
    // too: the caption's ink within the button's frame.
    QStyleOptionButton opt;
    opt.initFrom(button);
    const int height = button->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, button).height();
    font.setPointSize(FittingPoints(font, design, button->text(), button->width() - kFramePixels, height));
    if (font != button->font()) button->setFont(font);
}

void FitEntries(QComboBox* combo)
{
    if (!combo) return;
    const int design = DesignPoints(combo);
    if (design <= 0) return;
    QStyleOptionComboBox opt;
    opt.initFrom(combo);
    opt.editable = combo->isEditable();
    opt.frame = combo->hasFrame();
    const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, combo);
    QFont font = combo->font();
    font.setPointSize(FittingPoints(font, design, combo->currentText(), field.width() - 2 * kEntryMargin));
    if (font != combo->font()) combo->setFont(font);

    // The open list keeps the design type, wide enough for every entry and its scroll bar.
    QFont listFont = font;
    listFont.setPointSize(design);
    QAbstractItemView* list = combo->view();
    if (list->font() != listFont) list->setFont(listFont);
    const QFontMetrics metrics(listFont);
    int widest = 0;
    for (int i = 0; i < combo->count(); ++i) widest = std::max(widest, metrics.horizontalAdvance(combo->itemText(i)));
    const int scrollBar = combo->count() > combo->maxVisibleItems() ? list->verticalScrollBar()->sizeHint().width() : 0;
    list->setMinimumWidth(widest + 2 * kListMargin + scrollBar);
}

void KeepEntriesFitted(QComboBox* combo)
{
    if (!combo || !FirstFitter(combo)) return;
    auto* fitter = new EntryFitter(combo);
    combo->installEventFilter(fitter);
    auto refit = [combo] { FitEntries(combo); };
    QObject::connect(combo, &QComboBox::currentTextChanged, fitter, refit);
    QObject::connect(combo->model(), &QAbstractItemModel::rowsInserted, fitter, refit);
    QObject::connect(combo->model(), &QAbstractItemModel::rowsRemoved, fitter, refit);
    QObject::connect(combo->model(), &QAbstractItemModel::modelReset, fitter, refit);
    QObject::connect(combo->model(), &QAbstractItemModel::dataChanged, fitter, refit);
    FitEntries(combo);
}

}  // namespace tirmo::ui

namespace tirmo::ui {

void FitLines(QPlainTextEdit* box)
{
    if (!box) return;
    const int design = DesignPoints(box);
    if (design <= 0) return;
    const QStringList lines = box->toPlainText().split(QLatin1Char('\n'));
    // The room beside the scroll bar the box shows when its lines are more than its height.
    const int margin = int(box->document()->documentMargin());
    const QRect inside = box->contentsRect();
    QFont font = box->font();
    int points = design;
    for (; points > kSmallestPoints; --points) {
        font.setPointSize(points);
        const QFontMetrics metrics(font);
        const bool scrolls = int(lines.size()) * metrics.lineSpacing() + 2 * margin > inside.height();
        const int room = inside.width() - 2 * margin - (scrolls ? box->verticalScrollBar()->sizeHint().width() : 0);
        if (std::all_of(lines.begin(), lines.end(), [&](const QString& line) { return metrics.horizontalAdvance(line) <= room; }))
            break;
    }
    font.setPointSize(points);
    if (font != box->font()) box->setFont(font);
}

void KeepLinesFitted(QPlainTextEdit* box)
{
    if (!box || !FirstFitter(box)) return;
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->document()->setDocumentMargin(kEntryMargin);
    auto* fitter = new LineFitter(box);
    box->installEventFilter(fitter);
    QObject::connect(box, &QPlainTextEdit::textChanged, fitter, [box] { FitLines(box); });
    FitLines(box);
}

}  // namespace tirmo::ui
