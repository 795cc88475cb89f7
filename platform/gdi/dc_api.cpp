// Creating, deleting and configuring device contexts.
#include <utility>

#include "platform/core/error.h"
#include "platform/gdi/device_context.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/geometry.h"

using platform::LookupDC;

HDC CreateCompatibleDC(HDC hdc) {
    // A null DC means "compatible with the screen"; any other must be a live DC.
    if (hdc && !LookupDC(hdc))
        return nullptr;
    return platform::ToDcHandle(platform::RegisterGdiObject(platform::DeviceContext::ForMemory()));
}

BOOL DeleteDC(HDC hdc) {
    const auto result =
        platform::UnregisterGdiObject(platform::ToGdiHandle(hdc), platform::GdiKind::DeviceContext);
    if (result == platform::UnregisterResult::Removed)
        return TRUE;
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
    const auto dc = LookupDC(hdc);
    if (!dc)
        return nullptr;
    const auto target = platform::LookupGdiObject(object);
    if (!target) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    switch (target->Kind()) {
        case platform::GdiKind::Brush:
            return dc->SelectBrush(object, std::static_pointer_cast<platform::Brush>(target));
        case platform::GdiKind::Font:
            return dc->SelectFont(object, std::static_pointer_cast<platform::Font>(target));
        case platform::GdiKind::Pen:
            return dc->SelectPen(object, std::static_pointer_cast<platform::Pen>(target));
        case platform::GdiKind::Bitmap: {
            const HGDIOBJ previous =
                dc->SelectBitmap(object, std::static_pointer_cast<platform::Bitmap>(target));
            if (!previous)
                SetLastError(ERROR_INVALID_PARAMETER);
            return previous;
        }
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
    }
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
    const auto dc = LookupDC(hdc);
    if (!dc)
        return nullptr;
    if (type == OBJ_BRUSH)
        return dc->SelectedBrush().handle;
    if (type == OBJ_BITMAP)
        return dc->SelectedBitmap().handle;
    if (type == OBJ_FONT)
        return dc->SelectedFont().handle;
    if (type == OBJ_PEN)
        return dc->SelectedPen().handle;
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
}

int GetClipBox(HDC hdc, LPRECT rect) {
    const auto dc = LookupDC(hdc);
    if (!dc || !rect)
        return RGN_ERROR;
    const platform::DrawTarget target = dc->Target();
    const platform::Box box = platform::Box::From(target.clip);
    if (box.Empty()) {
        *rect = RECT{0, 0, 0, 0};
        return NULLREGION;
    }
    *rect = box.Offset(-target.origin.x, -target.origin.y).ToRect();
    return SIMPLEREGION;
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
    const auto dc = LookupDC(hdc);
    if (!dc)
        return CLR_INVALID;
    return std::exchange(dc->Text().textColor, color);
}

COLORREF GetTextColor(HDC hdc) {
    const auto dc = LookupDC(hdc);
    return dc ? dc->Text().textColor : CLR_INVALID;
}

COLORREF SetBkColor(HDC hdc, COLORREF color) {
    const auto dc = LookupDC(hdc);
    if (!dc)
        return CLR_INVALID;
    return std::exchange(dc->Text().bkColor, color);
}

COLORREF GetBkColor(HDC hdc) {
    const auto dc = LookupDC(hdc);
    return dc ? dc->Text().bkColor : CLR_INVALID;
}

int SetBkMode(HDC hdc, int mode) {
    const auto dc = LookupDC(hdc);
    if (!dc)
        return 0;
    if (mode != TRANSPARENT && mode != OPAQUE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return std::exchange(dc->Text().bkMode, mode);
}

int GetBkMode(HDC hdc) {
    const auto dc = LookupDC(hdc);
    return dc ? dc->Text().bkMode : 0;
}
