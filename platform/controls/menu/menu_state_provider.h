// The "popupMenu" section of the state dump: the open menus with their items, or null.
#pragma once

namespace platform::menu {

// Registers the section once; called when the first menu is made.
void EnsureStateProvider();

}  // namespace platform::menu
