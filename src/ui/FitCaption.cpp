#include "ui/FitCaption.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFontMetrics>
#include <QVariant>

namespace tirmo::ui {
namespace {
constexpr const char* kDesignPoints = "tirmo_design_points";
constexpr int kSmallestPoints = 6;
// The room a push button's frame and margins take from its width.
constexpr int kFramePixels = 10;

class CaptionFitter : public QObject {
public:
    explicit CaptionFitter(QAbstractButton* button) : QObject(button), button_(button) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == button_ && event->type() == QEvent::Resize) FitCaption(button_);
        return false;
    }

private:
    QAbstractButton* button_;
};
}  // namespace

void KeepCaptionFitted(QAbstractButton* button)
{
    if (!button || button->findChild<CaptionFitter*>(QString(), Qt::FindDirectChildrenOnly)) return;
    button->installEventFilter(new CaptionFitter(button));
    FitCaption(button);
}

void FitCaption(QAbstractButton* button)
{
    if (!button || button->text().isEmpty()) return;
    QFont font = button->font();
    if (!button->property(kDesignPoints).isValid()) button->setProperty(kDesignPoints, font.pointSize());
    const int design = button->property(kDesignPoints).toInt();
    if (design <= 0) return;  // a pixel-sized font is left alone
    const int room = button->width() - kFramePixels;
    int points = design;
    for (; points > kSmallestPoints; --points) {
        font.setPointSize(points);
        if (QFontMetrics(font).horizontalAdvance(button->text()) <= room) break;
    }
    font.setPointSize(points);
    if (font != button->font()) button->setFont(font);
}

}  // namespace tirmo::ui
