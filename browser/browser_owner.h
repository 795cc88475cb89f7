// What the browser asks of the window it is attached to, beyond the window messages it sends it:
// the main window prepares the "Send" and "Set as" sub-menus of the browser's context menu with
// the same rules as its own menus, follows folder changes, and owns the header's two areas (the folder name, which opens
// the folder path menu when tapped, and the sort name it draws).
#pragma once

#include "platform/core/types.h"

class IBrowserOwner {
  public:
    virtual void PrepareSendMenu(HMENU menu) = 0;
    virtual void PrepareSetAsMenu(HMENU menu) = 0;
    // The part of the 20-pixel header band where the browser draws the folder name.
    virtual RECT GetFolderNameRect() const = 0;
    // Draws the sort name into the header band the browser has just painted.
    virtual void DrawSortName(HDC dc) = 0;
    // The browser now shows another folder: the owner updates what depends on it (the "Up" soft
    // key), so that one rule decides it whoever changed the folder.
    virtual void OnFolderChanged() = 0;

  protected:
    ~IBrowserOwner() = default;
};
