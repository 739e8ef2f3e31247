#pragma once
// The program's run: the main window's start-up, then the event loop until the window closes.
// A termination signal (SignalClose.h) ends it as well, wherever it comes: during the start-up
// the start-up stops at the closed window; in the event loop the loop ends.
namespace tirmo::app {

class Frm_acquire;

// Runs the start-up of window and then the event loop; the program's exit code.
int RunProgram(Frm_acquire& window);

// Ends the event loop of RunProgram when it is running; otherwise does nothing (a loop that
// has not started yet is never entered, since the start-up stops at the closed window).
void EndProgramLoop();

}  // namespace tirmo::app
