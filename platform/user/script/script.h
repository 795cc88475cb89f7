// Scripted runs (`pictarium --headless --script FILE`): commands, one per line, run while the
// program pumps messages, one step each time the UI thread has nothing else to do.
//
//   tap X Y               stylus down and up at (X, Y), device screen pixels
//   hold X Y MS           down, MS milliseconds of message pumping, up
//   drag X1 Y1 X2 Y2 MS   down at 1, a move about every 16 ms for MS milliseconds, up at 2
//   key NAME              key down and up: up, down, left, right, enter, escape, f1, f2,
//                         softleft, softright, back, delete, home, end, pageup, pagedown, space,
//                         tab, a..z, 0..9
//   rotate                turns the device
//   wait MS               MS milliseconds of message pumping (timers fire)
//   idle                  continues once earlier input has been handled and nothing is pending
//   screenshot FILE.png   the screen after all pending painting
//   state FILE.json       the program's state (see state.h)
//   quit                  asks every top-level window to close; the end of the script does too
//
// Blank lines and lines starting with # are ignored. A failing command prints "FILE:LINE: error"
// on stderr, closes the program and makes the exit code 2.
#pragma once

#include <string>

namespace platform {

// Reads and checks the whole script; on success installs it as the UI thread's idle handler.
// A bad line gives false and "FILE:LINE: message" in `error`, and nothing runs. Loading another
// script replaces the current one.
bool LoadScript(const std::string& hostPath, std::string& error);

// True once every command has run or one has failed.
bool ScriptFinished();
// The program's exit status in a scripted run, read when its message loop has ended: 0 when
// every command ran, 2 when one failed or the program ended before the script did (also 2
// while the script is still running). 0 when no script is loaded.
int ScriptExitCode();

// Removes the loaded script and its idle handler (tests run several scripts in one process).
void UnloadScript();

}  // namespace platform
