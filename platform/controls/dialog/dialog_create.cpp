// Dialogs from templates: the font and its base units, the window placed as the template says,
// the controls in dialog units, then WM_INITDIALOG.
#include <algorithm>

#include "platform/controls/button/button.h"
#include "platform/controls/controls.h"
#include "platform/controls/dialog/dialog_state.h"
#include "platform/controls/internal/control_base.h"
#include "platform/controls/internal/text_kit.h"
#include "platform/core/debug.h"
#include "platform/core/muldiv.h"
#include "platform/core/wstring.h"
#include "platform/gdi/text.h"

namespace platform::controls {
namespace {

const DialogResource* TemplateOf(LPCWSTR name) {
    if (!IS_INTRESOURCE(name)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    const DialogResource* found =
        FindDialogResource(static_cast<UINT>(reinterpret_cast<uintptr_t>(name)));
    if (!found)
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return found;
}

// The template's font, or null for the system font.
ScopedGdiObject TemplateFont(const DialogResource& t) {
    if (!t.fontFace || !t.pointSize)
        return ScopedGdiObject();
    LOGFONTW log = SystemFontLog();
    log.lfHeight = -MulDiv(t.pointSize, ScaleForDpi(96), 72);
    log.lfWeight = FW_NORMAL;
    std::fill(std::begin(log.lfFaceName), std::end(log.lfFaceName), u'\0');
    const std::u16string_view face(t.fontFace);
    std::copy_n(face.begin(), std::min<size_t>(face.size(), LF_FACESIZE - 1), log.lfFaceName);
    return ScopedGdiObject(CreateFontIndirectW(&log));
}

RECT ToPixels(SIZE units, short x, short y, short cx, short cy) {
    return RECT{MulDiv(x, units.cx, 4), MulDiv(y, units.cy, 8), MulDiv(x + cx, units.cx, 4),
                MulDiv(y + cy, units.cy, 8)};
}

// Where the dialog goes on screen: centred in the work area (DS_CENTER), at screen
// coordinates (DS_ABSALIGN), else relative to the owner's client area.
RECT PlaceDialog(const DialogResource& t, RECT r, HWND owner) {
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    POINT origin{r.left, r.top};
    if (t.style & DS_CENTER) {
        const RECT work = WorkArea();
        origin = {work.left + (work.right - work.left - w) / 2,
                  work.top + (work.bottom - work.top - h) / 2};
    } else if (owner && !(t.style & DS_ABSALIGN)) {
        ClientToScreen(owner, &origin);
    }
    // A dialog larger than the screen keeps its top-left corner on it.
    origin.x = std::max<LONG>(origin.x, 0);
    origin.y = std::max<LONG>(origin.y, 0);
    return RECT{origin.x, origin.y, origin.x + w, origin.y + h};
}

bool CreateItems(HWND dialog, const DialogResource& t, SIZE units, HFONT font) {
    for (const DialogItemResource& item : t.items) {
        const RECT r = ToPixels(units, item.x, item.y, item.cx, item.cy);
        const HWND control = CreateWindowExW(
            item.exStyle, item.className, item.text ? item.text : u"", item.style | WS_CHILD,
            r.left, r.top, r.right - r.left, r.bottom - r.top, dialog,
            reinterpret_cast<HMENU>(static_cast<intptr_t>(item.id)), nullptr, nullptr);
        if (!control) {
            OutputDebugStringW(u"Dialog: a control of the template could not be created\n");
            return false;
        }
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if ((item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON && item.className &&
            lstrcmpiW(item.className, WC_BUTTONW) == 0) {
            SendMessageW(dialog, DM_SETDEFID, item.id, 0);
        }
    }
    return true;
}

HWND CreateFromTemplate(const DialogResource* t, HWND owner, DLGPROC proc, LPARAM param) {
    if (!t) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    RegisterControlClasses();
    ScopedGdiObject owned = TemplateFont(*t);
    const HFONT font = owned ? static_cast<HFONT>(owned.Get()) : ControlFont(nullptr);
    const SIZE units = BaseUnitsOf(font);
    const RECT r = PlaceDialog(*t, ToPixels(units, t->x, t->y, t->cx, t->cy), owner);
    const DWORD style = (t->style & ~(WS_CHILD | WS_VISIBLE)) | WS_POPUP;
    const HWND dialog =
        CreateWindowExW(t->exStyle, WC_DIALOGW, t->title ? t->title : u"", style, r.left, r.top,
                        r.right - r.left, r.bottom - r.top, owner, nullptr, nullptr, nullptr);
    if (!dialog)
        return nullptr;
    AttachDialogState(dialog, proc, font, std::move(owned));
    SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (!CreateItems(dialog, *t, units, font)) {
        DestroyWindow(dialog);
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    SendInitDialog(dialog, param);
    if (IsWindow(dialog) && (t->style & WS_VISIBLE))
        ShowWindow(dialog, SW_SHOW);
    return IsWindow(dialog) ? dialog : nullptr;
}

INT_PTR RunTemplate(const DialogResource* t, HWND owner, DLGPROC proc, LPARAM param) {
    if (owner && !IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    const HWND top = owner ? TopLevelOf(owner) : nullptr;
    const HWND dialog = CreateFromTemplate(t, top, proc, param);
    return dialog ? RunModal(dialog, top) : -1;
}

}  // namespace

SIZE BaseUnitsOf(HFONT font) {
    const HDC hdc = GetDC(nullptr);
    SIZE units{4, 8};
    if (!hdc)
        return units;
    {
        ScopedSelectObject select(hdc, font);
        static constexpr std::u16string_view kAlphabet =
            u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
        const int width = TextWidth(hdc, kAlphabet);
        units.cx = std::max<LONG>((width / 26 + 1) / 2, 1);
        units.cy = std::max(LineHeight(hdc), 1);
    }
    ReleaseDC(nullptr, hdc);
    return units;
}

void SendInitDialog(HWND dialog, LPARAM param) {
    const HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    const LRESULT setFocus =
        SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
    if (setFocus && IsWindow(dialog) && first && IsWindow(first))
        FocusDialogControl(dialog, first);
}

}  // namespace platform::controls

using namespace platform::controls;

INT_PTR DialogBoxParamW(HINSTANCE, LPCWSTR templateName, HWND owner, DLGPROC proc, LPARAM param) {
    const platform::DialogResource* t = TemplateOf(templateName);
    return t ? RunTemplate(t, owner, proc, param) : -1;
}

INT_PTR DialogBoxIndirectParamW(HINSTANCE, LPCDLGTEMPLATEW dialogTemplate, HWND owner, DLGPROC proc,
                                LPARAM param) {
    return RunTemplate(reinterpret_cast<const platform::DialogResource*>(dialogTemplate), owner,
                       proc, param);
}

HWND CreateDialogParamW(HINSTANCE, LPCWSTR templateName, HWND owner, DLGPROC proc, LPARAM param) {
    return CreateFromTemplate(TemplateOf(templateName), owner, proc, param);
}

HWND CreateDialogIndirectParamW(HINSTANCE, LPCDLGTEMPLATEW dialogTemplate, HWND owner, DLGPROC proc,
                                LPARAM param) {
    return CreateFromTemplate(reinterpret_cast<const platform::DialogResource*>(dialogTemplate),
                              owner, proc, param);
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
    DialogState* state = DialogStateOf(dialog);
    if (!state || !rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const SIZE u = state->baseUnits;
    *rect = RECT{MulDiv(rect->left, u.cx, 4), MulDiv(rect->top, u.cy, 8),
                 MulDiv(rect->right, u.cx, 4), MulDiv(rect->bottom, u.cy, 8)};
    return TRUE;
}

LONG GetDialogBaseUnits() {
    const SIZE u = BaseUnitsOf(ControlFont(nullptr));
    return MAKELONG(static_cast<WORD>(u.cx), static_cast<WORD>(u.cy));
}
