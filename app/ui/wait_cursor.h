// The busy cursor for as long as the object lives: for work done on the UI thread that the user
// waits for (loading a folder, decoding thumbnails), with the arrow back on every way out.
#pragma once

#include "platform/shell/cursor.h"

class CWaitCursor {
  public:
    CWaitCursor() { SetCursor(LoadCursorW(nullptr, IDC_WAIT)); }
    ~CWaitCursor() { SetCursor(LoadCursorW(nullptr, IDC_ARROW)); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};
