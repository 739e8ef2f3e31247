#include "app/ProductInfo.h"

#include "platform/Launcher.h"
#include "platform/ProgramFolder.h"

namespace tirmo::app {

std::string VersionText() { return std::string(kProductName) + " " + kVersionText; }

std::string AboutText()
{
    return std::string(kProductName) + "\r" + kVersionText + "\r" + "Instrument designed by Quelvano Instruments [Quelvania]" + "\r" +
           "Software by the Quelvano development team" + "\r" + "\r" + "support@quelvano.example";
}

bool AdministratorPassword(std::string_view answer) { return answer == "Tovel7391"; }

void OpenHelpFile()
{
    const std::string path = platform::ProgramPath("help_tirmo.pdf");
    if (!platform::FileExists(path)) return;
    platform::OpenWithDesktop(path);  // the path is one argument, whatever it holds
}

}  // namespace tirmo::app
