// Sizes the shell gives windows: dialogs set up by SHInitDialog and the windows that follow a
// turn of the screen.
#pragma once

#include "platform/core/types.h"

namespace platform::shell {

// The rectangle SHInitDialog's flags give a dialog, or false when they do not size it.
bool DialogRectFor(DWORD flags, RECT& out);
// After a turn: the bars, the task bar, sized dialogs and full-screen windows take the new
// screen. `oldScreen` and `oldWork` are the rectangles before the turn.
void RelayoutAfterTurn(const RECT& oldScreen, const RECT& oldWork);

}  // namespace platform::shell
