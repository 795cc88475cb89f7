// The window tree as the program sees it: parents, owners, siblings, enumeration and search.
#include <functional>

#include "platform/core/wstring.h"
#include "platform/user/internal/geometry.h"
#include "platform/user/internal/paint_internal.h"
#include "platform/user/internal/tree.h"
#include "platform/user/internal/window_state.h"
#include "platform/user/remote.h"

namespace platform::wm {
namespace {

HWND Sibling(const Window& w, UINT relation) {
    if (!w.parent)
        return nullptr;
    const auto& siblings = w.parent->children;
    const auto it = std::find(siblings.begin(), siblings.end(), &w);
    switch (relation) {
        case GW_HWNDFIRST:
            return siblings.front()->handle;
        case GW_HWNDLAST:
            return siblings.back()->handle;
        case GW_HWNDNEXT:
            return it + 1 == siblings.end() ? nullptr : (*(it + 1))->handle;
        default:  // GW_HWNDPREV
            return it == siblings.begin() ? nullptr : (*(it - 1))->handle;
    }
}

// Calls `proc` for each live window of `handles` and below each, depth first; false as soon as
// `proc` answers FALSE.
bool EnumerateDepthFirst(const std::vector<HWND>& handles, WNDENUMPROC proc, LPARAM lParam) {
    for (HWND hwnd : handles) {
        if (!Lookup(hwnd))
            continue;
        if (!proc(hwnd, lParam))
            return false;
        Window* w = Lookup(hwnd);
        if (w && !EnumerateDepthFirst(ChildHandles(*w), proc, lParam))
            return false;
    }
    return true;
}

bool MatchesClass(const WindowClass& c, LPCWSTR className) {
    if (!className)
        return true;
    if (IS_INTRESOURCE(className))
        return c.atom == reinterpret_cast<uintptr_t>(className);
    return EqualsNoCase(c.name, className);
}

bool Matches(const Window& w, LPCWSTR className, LPCWSTR title) {
    return MatchesClass(*w.windowClass, className) && (!title || EqualsNoCase(w.text, title));
}

}  // namespace
}  // namespace platform::wm

using namespace platform::wm;

HWND GetParent(HWND hwnd) {
    Window* w = Checked(hwnd, "GetParent");
    if (!w || IsDesktop(*w))
        return nullptr;
    if (!IsTopLevel(*w))
        return w->parent->handle;
    return (w->style & WS_POPUP) ? w->owner : nullptr;
}

HWND SetParent(HWND child, HWND newParent) {
    Window* w = Checked(child, "SetParent");
    if (!w)
        return nullptr;
    Window* p = newParent ? Checked(newParent, "SetParent") : &Desktop();
    if (!p)
        return nullptr;
    if (IsDesktop(*w) || IsSelfOrAncestor(*w, *p) || w->destroying || p->destroying) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const HWND previous = w->parent->handle;
    const RECT before = VisibleOnScreen(*w, true);
    Unlink(*w);
    LinkNew(*p, *w);
    BringToTop(*w);
    if (IsTopLevel(*w))
        w->owner = nullptr;
    InvalidateScreenArea(before);
    InvalidateScreenArea(VisibleOnScreen(*w, true));
    return previous;
}

HWND GetWindow(HWND hwnd, UINT relation) {
    Window* w = Checked(hwnd, "GetWindow");
    if (!w)
        return nullptr;
    switch (relation) {
        case GW_HWNDFIRST:
        case GW_HWNDLAST:
        case GW_HWNDNEXT:
        case GW_HWNDPREV:
            return Sibling(*w, relation);
        case GW_OWNER:
            return w->owner;
        case GW_CHILD:
            return w->children.empty() ? nullptr : w->children.front()->handle;
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
    }
}

BOOL IsChild(HWND parent, HWND hwnd) {
    Window* p = Checked(parent, "IsChild");
    Window* w = p ? Lookup(hwnd) : nullptr;
    return w && w != p && !IsTopLevel(*w) && IsSelfOrAncestor(*p, *w) ? TRUE : FALSE;
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
    if (!OnUiThread("EnumWindows"))
        return FALSE;
    if (!proc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (HWND hwnd : TopLevelHandles()) {
        if (Lookup(hwnd) && !proc(hwnd, lParam))
            return FALSE;
    }
    return TRUE;
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
    if (!parent)
        return EnumWindows(proc, lParam);
    Window* p = Checked(parent, "EnumChildWindows");
    if (!p || !proc) {
        if (p)
            SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return EnumerateDepthFirst(ChildHandles(*p), proc, lParam) ? TRUE : FALSE;
}

HWND GetDlgItem(HWND dialog, int id) {
    Window* d = Checked(dialog, "GetDlgItem");
    if (!d)
        return nullptr;
    for (const Window* c : d->children) {
        if (c->id == id)
            return c->handle;
    }
    SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
    Window* w = Checked(hwnd, "GetDlgCtrlID");
    return w && !IsTopLevel(*w) && !IsDesktop(*w) ? static_cast<int>(w->id) : 0;
}

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName) {
    if (!OnUiThread("FindWindowW"))
        return nullptr;
    for (const Window* w : Desktop().children) {
        if (!w->destroying && Matches(*w, className, windowName))
            return w->handle;
    }
    std::u16string_view classView;
    std::u16string_view titleView;
    if (className && !IS_INTRESOURCE(className))
        classView = className;
    if (windowName)
        titleView = windowName;
    return platform::FindRemoteWindow(classView, titleView);
}
