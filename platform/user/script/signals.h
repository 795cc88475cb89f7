// Ctrl+C and `kill` close the program the way its own Close does: the first SIGINT or SIGTERM
// posts WM_CLOSE to every top-level window, so shutdown runs in its normal order; a second one
// while that is under way ends the process at once (status 130 or 143, as a shell user expects).
#pragma once

namespace platform {

// Blocks SIGINT and SIGTERM in the calling thread. Called first thing in main, before any thread
// exists, so that every later thread inherits the mask and only the watcher receives them.
void BlockTerminationSignals();

// Starts the thread that waits for the signals (once; later calls do nothing). It also blocks
// them in the calling thread.
void StartTerminationWatcher();

// Stops and joins the watcher; main calls it after its message loop ends. Safe to call when no
// watcher runs; also done at exit for a watcher still running then.
void StopTerminationWatcher();

}  // namespace platform
