// The standard controls, message boxes and dialogs, as the handheld's one header gives them.
#pragma once

#include "platform/controls/button/button.h"
#include "platform/controls/combo/combo_box.h"
#include "platform/controls/dialog/dialog.h"
#include "platform/controls/edit/edit.h"
#include "platform/controls/menu.h"
#include "platform/controls/message_box/message_box.h"
#include "platform/controls/scroll_bar/scroll_bar.h"
#include "platform/controls/static/static.h"

namespace platform {

// Registers "button", "static", "scrollbar", "combobox", "edit" and the dialog class. Safe to
// call more than once; DialogBoxParamW and MessageBoxW call it themselves.
void RegisterControlClasses();

}  // namespace platform
