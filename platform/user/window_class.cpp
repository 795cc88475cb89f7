// Window classes: registered by name (compared without regard to case) or found by atom.
#include <map>

#include "platform/core/no_destructor.h"
#include "platform/core/wstring.h"
#include "platform/user/internal/class_table.h"
#include "platform/user/internal/window_state.h"

namespace platform::wm {
namespace {

struct ClassTable {
    std::map<std::u16string, std::shared_ptr<WindowClass>> byKey;
    // Atoms count up from the first one the handheld hands out for a registered class.
    ATOM nextAtom = 0xC000;
};

ClassTable& Classes() {
    static NoDestructor<ClassTable> table;
    return *table;
}

std::u16string KeyOf(std::u16string_view name) {
    std::u16string key(name);
    for (char16_t& c : key)
        c = ToUpperChar(c);
    return key;
}

}  // namespace

std::shared_ptr<WindowClass> FindClass(LPCWSTR nameOrAtom) {
    if (!nameOrAtom)
        return nullptr;
    ClassTable& table = Classes();
    if (IS_INTRESOURCE(nameOrAtom)) {
        const auto atom = static_cast<ATOM>(reinterpret_cast<uintptr_t>(nameOrAtom));
        for (const auto& [key, c] : table.byKey) {
            if (c->atom == atom)
                return c;
        }
        return nullptr;
    }
    auto it = table.byKey.find(KeyOf(nameOrAtom));
    return it == table.byKey.end() ? nullptr : it->second;
}

}  // namespace platform::wm

using platform::wm::FindClass;

ATOM RegisterClassW(const WNDCLASSW* wc) {
    if (!platform::wm::OnUiThread("RegisterClassW"))
        return 0;
    if (!wc || !wc->lpfnWndProc || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName) ||
        !wc->lpszClassName[0] || wc->cbWndExtra < 0 || wc->cbClsExtra < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto& table = platform::wm::Classes();
    const std::u16string key = platform::wm::KeyOf(wc->lpszClassName);
    if (table.byKey.count(key) || table.nextAtom == 0) {
        SetLastError(table.nextAtom == 0 ? ERROR_NOT_ENOUGH_MEMORY : ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    auto c = std::make_shared<platform::wm::WindowClass>();
    c->atom = table.nextAtom++;
    c->name = wc->lpszClassName;
    c->style = wc->style;
    c->proc = wc->lpfnWndProc;
    c->classExtra = wc->cbClsExtra;
    c->windowExtra = wc->cbWndExtra;
    c->instance = wc->hInstance;
    c->icon = wc->hIcon;
    c->cursor = wc->hCursor;
    c->background = wc->hbrBackground;
    if (IS_INTRESOURCE(wc->lpszMenuName)) {
        c->menuName = wc->lpszMenuName;
    } else {
        c->menuNameText = wc->lpszMenuName;
        c->menuName = c->menuNameText.c_str();
    }
    table.byKey.emplace(key, c);
    return c->atom;
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE /*instance*/) {
    if (!platform::wm::OnUiThread("UnregisterClassW"))
        return FALSE;
    std::shared_ptr<platform::wm::WindowClass> c = FindClass(className);
    if (!c) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if (c->liveWindows > 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    platform::wm::Classes().byKey.erase(platform::wm::KeyOf(c->name));
    return TRUE;
}

BOOL GetClassInfoW(HINSTANCE /*instance*/, LPCWSTR className, WNDCLASSW* wc) {
    if (!platform::wm::OnUiThread("GetClassInfoW"))
        return FALSE;
    std::shared_ptr<platform::wm::WindowClass> c = FindClass(className);
    if (!c || !wc) {
        SetLastError(c ? ERROR_INVALID_PARAMETER : ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    *wc = WNDCLASSW{c->style, c->proc,   c->classExtra, c->windowExtra, c->instance,
                    c->icon,  c->cursor, c->background, c->menuName,    c->name.c_str()};
    return TRUE;
}

int GetClassNameW(HWND hwnd, LPWSTR buffer, int maxCount) {
    platform::wm::Window* w = platform::wm::Checked(hwnd, "GetClassNameW");
    if (!w)
        return 0;
    if (!buffer || maxCount <= 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    const std::u16string& name = w->windowClass->name;
    const size_t count = std::min(name.size(), static_cast<size_t>(maxCount - 1));
    name.copy(buffer, count);
    buffer[count] = u'\0';
    return static_cast<int>(count);
}
