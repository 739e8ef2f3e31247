#include "ui/Dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QPointer>
#include <QMessageBox>

#include "platform/Clock.h"

namespace tirmo::ui {
namespace {

QString fromBytes(const std::string& s) { return QString::fromLatin1(s.data(), qsizetype(s.size())); }

class QtDialogs : public Dialogs {
public:
    // A box runs its own event loop: timer ticks and other windows' handlers run inside it.
    MsgResult messageBox(const std::string& text, MsgButtons buttons, const std::string& title,
                         std::optional<MsgResult> defaultButton) override
    {
        platform::NestedEventLoop nested;
        QMessageBox::StandardButtons b = QMessageBox::Ok;
        switch (buttons) {
        case MsgButtons::Ok: b = QMessageBox::Ok; break;
        case MsgButtons::OkCancel: b = QMessageBox::Ok | QMessageBox::Cancel; break;
        case MsgButtons::YesNo: b = QMessageBox::Yes | QMessageBox::No; break;
        case MsgButtons::YesNoCancel: b = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
        }
        QMessageBox::StandardButton enter = QMessageBox::Ok;
        switch (DefaultButton(buttons, defaultButton)) {
        case MsgResult::Ok: enter = QMessageBox::Ok; break;
        case MsgResult::Cancel: enter = QMessageBox::Cancel; break;
        case MsgResult::Yes: enter = QMessageBox::Yes; break;
        case MsgResult::No: enter = QMessageBox::No; break;
        }
        QString caption = title.empty() ? QApplication::applicationName() : fromBytes(title);
        switch (QMessageBox::information(QApplication::activeWindow(), caption, fromBytes(text), b, enter)) {
        case QMessageBox::Yes: return MsgResult::Yes;
        case QMessageBox::No: return MsgResult::No;
        case QMessageBox::Cancel: return MsgResult::Cancel;
        default: return MsgResult::Ok;
        }
    }
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultAnswer) override
    {
        platform::NestedEventLoop nested;
        bool ok = false;
        QString caption = title.empty() ? QApplication::applicationName() : fromBytes(title);
        QString answer = QInputDialog::getText(QApplication::activeWindow(), caption, fromBytes(prompt),
                                               QLineEdit::Normal, fromBytes(defaultAnswer), &ok);
        if (!ok) return {};
        QByteArray bytes = answer.toLatin1();
        return std::string(bytes.constData(), size_t(bytes.size()));
    }
};

QtDialogs qtDialogs;
Dialogs* current = nullptr;

}  // namespace

MsgResult DefaultButton(MsgButtons buttons, std::optional<MsgResult> chosen)
{
    if (chosen) return *chosen;
    return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgResult::Yes : MsgResult::Ok;
}

bool ConfirmOverwrite(const std::string& question, MsgButtons buttons)
{
    return dialogs().messageBox(question, buttons, {}, MsgResult::No) == MsgResult::Yes;
}

Dialogs& dialogs() { return current ? *current : qtDialogs; }
void setDialogs(Dialogs* d) { current = d; }

void CloseOpenBoxes()
{
    // Rejecting a box ends its loop, and the code that waited on it may close another widget:
    // hold guarded pointers while going through the list. A box is taken whether or not it is
    // visible: closing its parent window hides it while its loop still waits.
    QList<QPointer<QDialog>> boxes;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMessageBox*>(w) || qobject_cast<QInputDialog*>(w)) boxes.append(static_cast<QDialog*>(w));
    for (const QPointer<QDialog>& box : boxes)
        if (box) box->reject();
}

}  // namespace tirmo::ui
