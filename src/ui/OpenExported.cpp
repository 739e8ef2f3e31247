#include "ui/OpenExported.h"

#include "platform/Launcher.h"
#include "ui/OwnerThread.h"

namespace tirmo::ui {

void OpenExported(QObject* owner, const std::string& path, const ExportTexts& texts,
                  std::function<void(const std::string&)> tell, const std::string& note)
{
    if (!tell) tell = [](const std::string&) {};
    // The note stays beside the path also when the opener tells late that no program took it.
    const std::string tail = note.empty() ? "" : " (" + note + ")";
    const std::string notOpened = texts.not_opened + path + tail;
    const bool started = platform::OpenWithDesktop(path, OnOwnerThread(owner, [tell, notOpened](int status) {
                                                       if (status != 0) tell(notOpened);
                                                   }));
    tell(started ? texts.opened + path + tail : notOpened);
}

}  // namespace tirmo::ui
