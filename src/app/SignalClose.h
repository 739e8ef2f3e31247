#pragma once
// SIGTERM and SIGINT close the main window as its close box does, so the shutdown runs and the
// instrument is left at rest even when the program is stopped from outside. A message or input
// box open at that moment is closed too, and the event loop is told to end: a box left waiting
// would keep the program alive and let the code behind it go on after the shutdown.
class QWidget;

namespace tirmo::app {

// Installs the handlers; window is closed (once) when a signal arrives.
void CloseOnTerminationSignals(QWidget* window);

}  // namespace tirmo::app
