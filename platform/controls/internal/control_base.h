// What every control shares: a state object per window that lives from WM_NCCREATE to
// WM_NCDESTROY (kept in the window's extra bytes, so GWL_USERDATA stays free for the program),
// notifications to the parent, and the font set by WM_SETFONT.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "platform/user/user.h"

namespace platform::controls {

// The extra-byte offset that holds the state pointer, and the extra bytes each control asks for.
constexpr int kStateSlot = 0;
constexpr int kControlExtraBytes = static_cast<int>(sizeof(LONG_PTR));

class ControlBase {
  public:
    explicit ControlBase(HWND hwnd) : hwnd_(hwnd) {}
    virtual ~ControlBase() = default;
    ControlBase(const ControlBase&) = delete;
    ControlBase& operator=(const ControlBase&) = delete;

    HWND Hwnd() const { return hwnd_; }
    // True once the window is gone; a handler that sent a notification checks this before it
    // touches the window again, because the parent may have destroyed the control.
    bool Destroyed() const { return destroyed_; }

    int CtrlId() const { return static_cast<int>(GetWindowLongW(hwnd_, GWL_ID)); }
    DWORD Style() const { return static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)); }
    HWND Parent() const { return GetParent(hwnd_); }
    HFONT Font() const { return font_; }

    // WM_COMMAND (id, code) with the control's handle, to the parent. False when the control did
    // not survive it.
    bool Notify(WORD code);

    // Messages every control answers the same way; false when `message` is not one of them.
    bool HandleCommon(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Depth of handler calls in progress, so that a control destroyed inside one of its own
    // handlers is freed only when the outermost handler returns.
    int depth = 0;
    bool destroyed_ = false;

  private:
    HWND hwnd_;
    HFONT font_ = nullptr;
};

template <class State>
State* StateOf(HWND hwnd) {
    return static_cast<State*>(reinterpret_cast<ControlBase*>(GetWindowLongW(hwnd, kStateSlot)));
}

// The window procedure of a control class: creates State(hwnd, createStruct) on WM_NCCREATE,
// frees it after WM_NCDESTROY, and hands everything in between to State::Handle.
template <class State>
LRESULT CALLBACK StatefulProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto state = std::make_unique<State>(hwnd, *reinterpret_cast<CREATESTRUCTW*>(lParam));
        SetWindowLongW(hwnd, kStateSlot,
                       reinterpret_cast<LONG_PTR>(static_cast<ControlBase*>(state.release())));
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    ControlBase* base = reinterpret_cast<ControlBase*>(GetWindowLongW(hwnd, kStateSlot));
    if (!base)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongW(hwnd, kStateSlot, 0);
        base->destroyed_ = true;
        if (base->depth == 0)
            std::unique_ptr<ControlBase> freed(base);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    ++base->depth;
    LRESULT result = 0;
    if (!base->HandleCommon(message, wParam, lParam, result))
        result = static_cast<State*>(base)->Handle(message, wParam, lParam);
    if (--base->depth == 0 && base->destroyed_)
        std::unique_ptr<ControlBase> freed(base);
    return result;
}

// The window's text (through WM_GETTEXT).
std::u16string WindowText(HWND hwnd);

// The top-level window `hwnd` lies in.
HWND TopLevelOf(HWND hwnd);

// WM_GETTEXT's copy: at most capacity - 1 units and a terminator; returns the units copied.
LRESULT CopyText(LPWSTR dest, WPARAM capacity, std::u16string_view text);

// Registers one control class (idempotent).
void RegisterControlClass(LPCWSTR name, WNDPROC proc, UINT style,
                          int extraBytes = kControlExtraBytes);

}  // namespace platform::controls
