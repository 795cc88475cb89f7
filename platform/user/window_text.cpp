// Window text, and the publication of named top-level windows to other processes (a title
// change is published again, so FindWindow elsewhere finds the window by its present title).
#include "platform/user/internal/dispatch.h"
#include "platform/user/internal/lifecycle.h"
#include "platform/user/internal/text.h"
#include "platform/user/internal/tree.h"
#include "platform/user/internal/window_state.h"
#include "platform/user/remote.h"

namespace platform::wm {

void PublishIfNamed(Window& w) {
    if (w.published || !IsTopLevel(w) || (w.style & WS_CHILD) || w.destroying)
        return;
    if (w.windowClass->name.empty() || w.text.empty())
        return;
    PublishWindow(w.handle, w.windowClass->name, w.text);
    w.published = true;
}

void Unpublish(Window& w) {
    if (!w.published)
        return;
    UnpublishWindow(w.handle);
    w.published = false;
}

void StoreText(Window& w, LPCWSTR text) {
    std::u16string value = text ? text : u"";
    if (value == w.text)
        return;
    const bool republish = w.published;
    if (republish)
        Unpublish(w);
    w.text = std::move(value);
    if (republish)
        PublishIfNamed(w);
}

LRESULT CopyText(const Window& w, WPARAM capacity, LPARAM buffer) {
    auto* out = reinterpret_cast<LPWSTR>(buffer);
    if (!out || capacity == 0)
        return 0;
    const size_t count = std::min<size_t>(w.text.size(), capacity - 1);
    w.text.copy(out, count);
    out[count] = u'\0';
    return static_cast<LRESULT>(count);
}

}  // namespace platform::wm

using namespace platform::wm;

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text) {
    if (!Checked(hwnd, "SetWindowTextW"))
        return FALSE;
    return SendLocal(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

int GetWindowTextW(HWND hwnd, LPWSTR buffer, int maxCount) {
    if (!Checked(hwnd, "GetWindowTextW")) {
        if (buffer && maxCount > 0)
            buffer[0] = u'\0';
        return 0;
    }
    if (!buffer || maxCount <= 0)
        return 0;
    buffer[0] = u'\0';
    const LRESULT copied = SendLocal(hwnd, WM_GETTEXT, static_cast<WPARAM>(maxCount),
                                     reinterpret_cast<LPARAM>(buffer));
    // A window procedure answering more than fits is not believed.
    return static_cast<int>(std::clamp<LRESULT>(copied, 0, maxCount - 1));
}

int GetWindowTextLengthW(HWND hwnd) {
    if (!Checked(hwnd, "GetWindowTextLengthW"))
        return 0;
    return static_cast<int>(SendLocal(hwnd, WM_GETTEXTLENGTH, 0, 0));
}
