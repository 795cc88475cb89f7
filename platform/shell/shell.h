// The handheld shell as the program sees it: task bar with title and OK button, soft-key menu
// bars, full-screen switching, tap and hold, dialog and activation helpers, the input panel and
// the busy cursor. Including this header gives all of it, as the handheld's one header does.
#pragma once

#include "platform/shell/activate.h"
#include "platform/shell/cursor.h"
#include "platform/shell/dialog_init.h"
#include "platform/shell/full_screen.h"
#include "platform/shell/gesture.h"
#include "platform/shell/menu_bar.h"
#include "platform/shell/sip.h"
#include "platform/shell/task_bar.h"
