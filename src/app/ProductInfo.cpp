#include "app/ProductInfo.h"

#include "platform/Launcher.h"
#include "platform/ProgramFolder.h"
#include "ui/OwnerThread.h"

namespace tirmo::app {

std::string VersionText() { return std::string(kProductName) + " " + kVersionText; }

std::string AboutText()
{
    return std::string(kProductName) + "\r" + kVersionText + "\r" + "Instrument designed by Quelvano Instruments [Quelvania]" + "\r" +
           "Software by the Quelvano development team" + "\r" + "\r" + "support@quelvano.example";
}

bool AdministratorPassword(std::string_view answer) { return answer == "Tovel7391"; }

void OpenHelpFile(QObject* window, const std::function<void(const std::string&)>& status)
{
    const std::string path = platform::ProgramPath("help_tirmo.pdf");
    if (!platform::FileExists(path)) {
        status(kHelpNotInstalled + path);
        return;
    }
    const auto notOpened = [status, path](int exitStatus) {
        if (exitStatus != 0) status(kHelpNotOpened + path);
    };
    // The path is one argument, whatever it holds.
    if (!platform::OpenWithDesktop(path, ui::OnOwnerThread(window, notOpened))) status(kHelpNotOpened + path);
}

}  // namespace tirmo::app
