// Turning the display's input events into messages.
#pragma once

namespace platform::wm {

// Takes one event from the display and handles it: stylus and keys become queued messages,
// a turn lays out and notifies the top-level windows, a quit request posts WM_CLOSE to them.
// False when the display had no event.
bool ConvertNextInput();

}  // namespace platform::wm
