#include "app/Program.h"

#include <QApplication>

#include "app/Frm_acquire.h"
#include "app/SignalClose.h"

namespace tirmo::app {
namespace {
bool loopRunning = false;
}  // namespace

int RunProgram(Frm_acquire& window)
{
    CloseOnTerminationSignals(&window);
    window.Form_Load();
    // Closed during the start-up (its close box, or a signal): the shutdown has already run.
    if (window.unloaded) return 0;
    // Closing the main window ends the program: its unload handler has shut the instrument down.
    QApplication::setQuitOnLastWindowClosed(true);
    loopRunning = true;
    const int code = QApplication::exec();
    loopRunning = false;
    return code;
}

void EndProgramLoop()
{
    // Asked before the loop runs, an exit would make every later event loop, the boxes' too,
    // return at once.
    if (loopRunning) QCoreApplication::exit(0);
}

}  // namespace tirmo::app
