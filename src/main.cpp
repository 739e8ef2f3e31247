#include <QApplication>

#include "app/Frm_acquire.h"
#include "app/SignalClose.h"
#include "platform/ProgramFolder.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("tirmo");
    const std::string folder = tirmo::platform::ChooseProgramFolder(argc, argv);
    tirmo::platform::MakeFolder(folder);
    tirmo::platform::SetProgramFolder(folder);

    tirmo::app::Frm_acquire window;
    tirmo::app::CloseOnTerminationSignals(&window);
    window.Form_Load();
    // Closing the main window ends the program: its unload handler has shut the instrument down.
    QApplication::setQuitOnLastWindowClosed(true);
    if (window.unloaded) return 0;
    return app.exec();
}
