// The system cursors. Only the wait cursor shows anything: the busy indicator.
#include "platform/shell/cursor.h"

#include "platform/core/error.h"
#include "platform/shell/internal/busy_indicator.h"
#include "platform/user/window.h"

namespace {

HCURSOR g_cursor = nullptr;

HCURSOR CursorHandle(LPCWSTR id) {
    return reinterpret_cast<HCURSOR>(const_cast<WCHAR*>(id));
}

}  // namespace

HCURSOR LoadCursorW(HINSTANCE /*instance*/, LPCWSTR cursorName) {
    if (cursorName == IDC_ARROW || cursorName == IDC_WAIT)
        return CursorHandle(cursorName);
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
    const HCURSOR previous = g_cursor;
    g_cursor = cursor;
    if (cursor == CursorHandle(IDC_WAIT)) {
        platform::shell::ShowBusyIndicator();
    } else {
        platform::shell::HideBusyIndicator();
    }
    return previous;
}

HCURSOR GetCursor() {
    return g_cursor;
}
