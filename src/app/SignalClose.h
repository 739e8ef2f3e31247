#pragma once
// SIGTERM and SIGINT close the main window as its close box does, so the shutdown runs and the
// instrument is left at rest even when the program is stopped from outside.
class QWidget;

namespace tirmo::app {

// Installs the handlers; window is closed (once) when a signal arrives.
void CloseOnTerminationSignals(QWidget* window);

}  // namespace tirmo::app
