#include <QApplication>

#include "app/Frm_acquire.h"
#include "app/Program.h"
#include "platform/ProgramFolder.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("tirmo");
    const std::string folder = tirmo::platform::ChooseProgramFolder(argc, argv);
    tirmo::platform::MakeFolder(folder);
    tirmo::platform::SetProgramFolder(folder);

    tirmo::app::Frm_acquire window;
    return tirmo::app::RunProgram(window);
}
