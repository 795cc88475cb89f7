#include "app/ui/ce_bit_bt.h"

#include "app/ui/vibration.h"
#include "platform/controls/controls.h"
#include "platform/core/debug.h"
#include "platform/core/wstring.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "platform/gdi/text.h"
#include "platform/user/paint.h"
#include "platform/user/resource.h"
#include "platform/user/resource_bitmap.h"
#include "platform/user/user.h"

namespace {

using platform::ScopedDC;
using platform::ScopedGdiObject;
using platform::ScopedSelectObject;

constexpr COLORREF kMagentaKey = RGB(255, 0, 255);
constexpr UINT kCaptionFlags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;

// Draws the whole bitmap resource into `place`, leaving its magenta pixels transparent.
void DrawKeyedBitmap(HDC hdc, HINSTANCE instance, UINT id, const PlaceRect& place) {
    const ScopedGdiObject bitmap(LoadBitmapW(instance, MAKEINTRESOURCEW(id)));
    BITMAP info{};
    if (!bitmap.Get() || GetObjectW(bitmap.Get(), sizeof(info), &info) == 0)
        return;
    TransparentImage(hdc, place.x, place.y, place.width, place.height, bitmap.Get(), 0, 0,
                     info.bmWidth, info.bmHeight, kMagentaKey);
}

}  // namespace

CCeBitBT::CCeBitBT(HINSTANCE instance) : m_hInstance(instance) {
    Reset();
}

CCeBitBT::~CCeBitBT() {
    if (m_hWnd != nullptr && IsWindow(m_hWnd)) {
        // The control's own procedure must see its destruction to free its state.
        SetWindowLongPtrW(m_hWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnPreviousProc));
        SetWindowLongPtrW(m_hWnd, GWL_USERDATA, 0);
        DestroyWindow(m_hWnd);
    }
}

void CCeBitBT::Reset() {
    m_hWnd = nullptr;
    m_szText[0] = 0;
    m_clrFace = GetSysColor(COLOR_BTNFACE);
    m_clrText = GetSysColor(COLOR_BTNTEXT);
    m_clrFocus = GetSysColor(COLOR_HIGHLIGHT);
    m_clrFrame = GetSysColor(COLOR_ACTIVEBORDER);
}

void CCeBitBT::SetSize(int width, int height) {
    m_nWidth = width;
    m_nHeight = height;
}

HWND CCeBitBT::Create(HWND parent, HINSTANCE instance, UINT controlId, const RECT& rect) {
    if (m_hWnd != nullptr && IsWindow(m_hWnd))
        return m_hWnd;
    platform::RegisterControlClasses();
    m_hParent = parent;
    m_hInstance = instance;
    m_nControlId = controlId;
    // Centring needs the button's size; the rectangle gives it when SetSize was not called.
    if (m_nWidth == 0 && m_nHeight == 0)
        SetSize(rect.right - rect.left, rect.bottom - rect.top);
    m_hWnd =
        CreateWindowExW(0, WC_BUTTONW, u"BitmapButton", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW,
                        rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(controlId)), instance, this);
    if (m_hWnd == nullptr)
        return nullptr;
    SetWindowLongPtrW(m_hWnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_pfnPreviousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(m_hWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
    return m_hWnd;
}

int CCeBitBT::SetNormalBitmap(UINT bitmapId, const PlaceRect* place) {
    return SetBitmap(bitmapId, place, &m_nNormalBitmap);
}

int CCeBitBT::SetPressedBitmap(UINT bitmapId, const PlaceRect* place) {
    return SetBitmap(bitmapId, place, &m_nPressedBitmap);
}

int CCeBitBT::SetBitmap(UINT bitmapId, const PlaceRect* place, UINT* target) {
    RECT size{};
    if (!CCommonUtils::GetBitmapSize(m_hInstance, bitmapId, &size))
        return 0;
    *target = bitmapId;
    if (place != nullptr) {
        m_rcBitmap = *place;
    } else {
        m_rcBitmap = {(m_nWidth - size.right) / 2, (m_nHeight - size.bottom) / 2, size.right,
                      size.bottom};
    }
    return 1;
}

void CCeBitBT::SetText(LPCWSTR text, const RECT& rect, UINT flags) {
    lstrcpynW(m_szText, text != nullptr ? text : u"", MAX_PATH);
    m_rcText = rect;
    m_uTextFlags = flags;
}

void CCeBitBT::Show() {
    ShowWindow(m_hWnd, SW_SHOW);
}

void CCeBitBT::Hide() {
    ShowWindow(m_hWnd, SW_HIDE);
}

void CCeBitBT::Focus() {
    SetFocus(m_hWnd);
}

LRESULT CALLBACK CCeBitBT::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CCeBitBT*>(GetWindowLongPtrW(hwnd, GWL_USERDATA));
    if (self == nullptr)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->OnSubclassMessage(hwnd, message, wParam, lParam);
}

LRESULT CCeBitBT::OnSubclassMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 0;
        case WM_KEYDOWN:
            SendMessageW(m_hParent, WM_KEYDOWN, wParam, lParam);
            return 0;
        case WM_LBUTTONUP:
            m_bPressed = 0;
            UpdateWindow(hwnd);
            InvalidateRect(hwnd, nullptr, FALSE);
            break;
        case WM_NCDESTROY:
            m_hWnd = nullptr;
            break;
        default:
            break;
    }
    return CallWindowProcW(m_pfnPreviousProc, hwnd, message, wParam, lParam);
}

void CCeBitBT::DrawFace(HDC hdc, const RECT& item, UINT bitmapId, bool framed) const {
    const ScopedGdiObject face(CreateSolidBrush(m_clrFace));
    FillRect(hdc, &item, face.Get());
    if (framed) {
        const ScopedGdiObject pen(CreatePen(PS_SOLID, 1, m_clrFrame));
        const ScopedSelectObject selectPen(hdc, pen.Get());
        const ScopedSelectObject selectBrush(hdc, GetStockObject(NULL_BRUSH));
        Rectangle(hdc, item.left, item.top, item.right, item.bottom);
    }
    DrawKeyedBitmap(hdc, m_hInstance, bitmapId, m_rcBitmap);
    if (m_szText[0] != 0) {
        RECT text = m_rcText;
        DrawTextW(hdc, m_szText, -1, &text, m_uTextFlags | kCaptionFlags);
    }
}

void CCeBitBT::DrawItem(const DRAWITEMSTRUCT* item) {
    if (item == nullptr)
        return;
    const int width = item->rcItem.right - item->rcItem.left;
    const int height = item->rcItem.bottom - item->rcItem.top;
    const ScopedDC memory(CreateCompatibleDC(item->hDC));
    const ScopedGdiObject buffer(CreateCompatibleBitmap(item->hDC, width, height));
    if (!memory.Get() || !buffer.Get())
        return;
    const ScopedSelectObject selectBuffer(memory.Get(), buffer.Get());
    HDC hdc = memory.Get();
    SetBkMode(hdc, TRANSPARENT);
    SetBkColor(hdc, m_clrFace);
    SetTextColor(hdc, m_clrText);
    const RECT local = {0, 0, width, height};

    if (item->itemState & ODS_SELECTED) {
        PlayVibrationFeedback(VIBE_BUTTON_DOWN);
        m_bPressed = 1;
        DrawFace(hdc, local, m_nPressedBitmap, true);
        OutputDebugStringW(u"CCeBitBT::OnDrawItem==> ODS_SELECTED \n ");
    } else if (item->itemState & ODS_FOCUS) {
        OutputDebugStringW(u"CCeBitBT::OnDrawItem==> Focus \n ");
        // While the stylus is still down the pressed picture stays on screen.
        if (m_bPressed)
            return;
        DrawFace(hdc, local, m_nNormalBitmap, false);
        DrawFocusRect(hdc, &local);
    } else {
        m_bPressed = 0;
        DrawFace(hdc, local, m_nNormalBitmap, false);
        OutputDebugStringW(u"CCeBitBT::OnDrawItem==> Default \n ");
    }
    BitBlt(item->hDC, item->rcItem.left, item->rcItem.top, width, height, hdc, 0, 0, SRCCOPY);
}
