// The owner-drawn bitmap button the views share: a "button" control that the object subclasses,
// drawn from two bitmap resources (released and pressed) with an optional caption, double-buffered,
// with touch feedback on press. The parent forwards its WM_DRAWITEM to DrawItem.
#pragma once

#include "app/ui/common_utils.h"
#include "platform/core/types.h"
#include "platform/user/messages.h"
#include "platform/user/window.h"

class CCeBitBT {
  public:
    explicit CCeBitBT(HINSTANCE instance);
    // Destroys the control if it still exists, so it never calls back into a dead object.
    ~CCeBitBT();
    CCeBitBT(const CCeBitBT&) = delete;
    CCeBitBT& operator=(const CCeBitBT&) = delete;

    // Forgets the control and the caption and reads the four system colours again.
    void Reset();
    void SetSize(int width, int height);
    // Creates the control once (later calls return the existing one): class "button", text
    // "BitmapButton", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW over `rect` of `parent`. Null when it
    // cannot be created.
    HWND Create(HWND parent, HINSTANCE instance, UINT controlId, const RECT& rect);
    // 1, or 0 when the bitmap cannot be loaded (nothing changes then). Without `place` the bitmap
    // is centred in the button's size.
    int SetNormalBitmap(UINT bitmapId, const PlaceRect* place = nullptr);
    int SetPressedBitmap(UINT bitmapId, const PlaceRect* place = nullptr);
    // The caption, drawn in `rect` with DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS |
    // DT_NOPREFIX plus `flags`.
    void SetText(LPCWSTR text, const RECT& rect, UINT flags);
    void Show();
    void Hide();
    void Focus();
    void DrawItem(const DRAWITEMSTRUCT* item);

    HWND GetHwnd() const { return m_hWnd; }
    UINT GetControlId() const { return m_nControlId; }
    bool IsPressed() const { return m_bPressed != 0; }
    const PlaceRect& GetBitmapRect() const { return m_rcBitmap; }

  private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnSubclassMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    int SetBitmap(UINT bitmapId, const PlaceRect* place, UINT* target);
    // Fills with the face colour (framed in the frame colour when pressed), then draws
    // `bitmapId` and the caption.
    void DrawFace(HDC hdc, const RECT& item, UINT bitmapId, bool framed) const;

    int m_nWidth = 0;
    int m_nHeight = 0;
    HWND m_hWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
    DWORD m_dwReserved1 = 0;
    WCHAR m_szText[MAX_PATH] = {};
    RECT m_rcText = {};
    PlaceRect m_rcBitmap = {};
    UINT m_nNormalBitmap = 0;
    UINT m_nPressedBitmap = 0;
    DWORD m_dwReserved2 = 0;
    UINT m_nControlId = 0;
    COLORREF m_clrFace = 0;
    COLORREF m_clrText = 0;
    COLORREF m_clrFocus = 0;
    COLORREF m_clrFrame = 0;
    DWORD m_dwReserved3[3] = {};
    DWORD m_bPressed = 0;
    LONG m_nReserved4 = 5;
    HWND m_hParent = nullptr;
    WNDPROC m_pfnPreviousProc = nullptr;
    UINT m_uTextFlags = 0;
};
