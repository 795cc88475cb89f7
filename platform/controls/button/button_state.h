// The state behind one "button" window.
#pragma once

#include "platform/controls/button/button.h"
#include "platform/controls/internal/control_base.h"

namespace platform::controls {

class Button final : public ControlBase {
  public:
    Button(HWND hwnd, const CREATESTRUCTW&) : ControlBase(hwnd) {}
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    DWORD Kind() const { return Style() & BS_TYPEMASK; }
    bool IsOwnerDraw() const { return Kind() == BS_OWNERDRAW; }
    bool HasFocus() const { return GetFocus() == Hwnd(); }

    void OnButtonDown();
    void OnMouseMove(POINT p);
    void OnButtonUp(POINT p);
    void OnFocus(bool gained);
    void OnKey(UINT vk, bool down);
    void Click();
    // Changes the pushed state and redraws (ODA_SELECT for owner-drawn buttons).
    void SetPushed(bool pushed);
    LRESULT State() const;

    void Paint();
    // Owner draw: WM_DRAWITEM to the parent on `hdc`.
    void SendDrawItem(HDC hdc, UINT action);
    void DrawPushButton(HDC hdc, const RECT& client);
    // Redraws at once through a window DC, as a state change does on the handheld.
    void RedrawNow(UINT ownerDrawAction);

    bool pushed_ = false;
    bool tracking_ = false;
    bool spaceDown_ = false;
};

}  // namespace platform::controls
