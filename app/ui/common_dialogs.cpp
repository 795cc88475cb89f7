// Message boxes from string ids and the soft-key bar.
#include "app/globals.h"
#include "app/ui/common_utils.h"
#include "platform/controls/message_box/message_box.h"
#include "platform/shell/menu_bar.h"
#include "platform/user/resource.h"
#include "resources/resource_ids.h"

namespace {

constexpr int kTextUnits = 256;

int ShowStrings(HINSTANCE instance, HWND owner, UINT titleId, UINT textId) {
    WCHAR title[kTextUnits] = {};
    WCHAR text[kTextUnits] = {};
    LoadStringW(instance, titleId, title, kTextUnits);
    LoadStringW(instance, textId, text, kTextUnits);
    return MessageBoxW(owner, text, title, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

namespace CCommonUtils {

int CheckFreeStore(HINSTANCE instance, HWND owner, DWORD neededMB, UINT titleId, UINT textId) {
    if (GetFreeStoreMB() >= neededMB)
        return 0;
    ShowStrings(instance, owner, titleId, textId);
    return 1;
}

int ShowOutOfMemory(HWND owner) {
    return ShowStrings(g_hInstance, owner, IDS_ERROR, IDS_NOT_ENOUGH_MEMORY);
}

int ShowMessage(HWND owner, UINT titleId, UINT textId) {
    return ShowStrings(g_hInstance, owner, titleId, textId);
}

HWND FindOrCreateMenuBar(HINSTANCE instance, HWND hwnd, UINT resource) {
    if (HWND bar = SHFindMenuBar(hwnd)) {
        SHEnableSoftkey(bar, 0, TRUE, TRUE);
        SHEnableSoftkey(bar, 1, TRUE, TRUE);
        return bar;
    }
    SHMENUBARINFO info{};
    info.cbSize = sizeof(info);
    info.hwndParent = hwnd;
    info.dwFlags = resource == IDR_MENUBAR_WITH_SIP ? 0 : SHCMBF_HIDESIPBUTTON;
    info.nToolBarId = resource;
    info.hInstRes = instance;
    return SHCreateMenuBar(&info) ? info.hwndMB : nullptr;
}

}  // namespace CCommonUtils
