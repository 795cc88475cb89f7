// Edit behaviour: typing replaces the selection within the limit, Backspace and Delete, caret
// moves with Shift selection, taps and drags, a blinking caret while focused, and the EN_
// notifications to the parent.
#include "platform/controls/dialog/dialog.h"
#include "platform/controls/edit/edit_state.h"

namespace platform::controls {
namespace {

constexpr UINT_PTR kBlinkTimer = 1;
constexpr UINT kBlinkMs = 500;

bool ShiftDown() {
    return (GetKeyState(VK_SHIFT) & 0x8000) != 0;
}

}  // namespace

Edit::Edit(HWND hwnd, const CREATESTRUCTW& cs) : ControlBase(hwnd) {
    model_.SetText(cs.lpszName ? std::u16string_view(cs.lpszName) : std::u16string_view());
}

LRESULT Edit::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CHAR:
            OnChar(static_cast<WCHAR>(wParam));
            return 0;
        case WM_KEYDOWN:
            OnKeyDown(static_cast<UINT>(wParam));
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            OnFocus(message == WM_SETFOCUS);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
            OnStylus(message == WM_LBUTTONDBLCLK ? WM_LBUTTONDOWN : message, GET_X_LPARAM(lParam));
            return 0;
        case WM_CAPTURECHANGED:
            dragging_ = false;
            return 0;
        case WM_TIMER:
            if (wParam == kBlinkTimer)
                OnBlink();
            return 0;
        case WM_GETDLGCODE: {
            // Up and Down are left to the dialog, which moves between fields with them.
            const MSG* msg = reinterpret_cast<const MSG*>(lParam);
            const bool upDown = msg && msg->message == WM_KEYDOWN &&
                                (msg->wParam == VK_UP || msg->wParam == VK_DOWN);
            return DLGC_WANTCHARS | DLGC_HASSETSEL | (upDown ? 0 : DLGC_WANTARROWS);
        }
        case WM_SETTEXT:
            model_.SetText(lParam ? reinterpret_cast<LPCWSTR>(lParam) : u"");
            scroll_ = 0;
            modified_ = false;
            Changed();
            return TRUE;
        case WM_GETTEXT:
            return CopyText(reinterpret_cast<LPWSTR>(lParam), wParam, model_.Text());
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(model_.Text().size());
        case WM_SIZE:
            ScrollToCaret();
            return 0;
        case WM_PAINT:
            Paint();
            return 0;
        default:
            if (message >= EM_GETSEL && message <= EM_GETLIMITTEXT)
                return OnEditMessage(message, wParam, lParam);
            return DefWindowProcW(Hwnd(), message, wParam, lParam);
    }
}

LRESULT Edit::OnEditMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case EM_GETSEL: {
            const DWORD start = static_cast<DWORD>(model_.SelStart());
            const DWORD end = static_cast<DWORD>(model_.SelEnd());
            if (wParam)
                *reinterpret_cast<DWORD*>(wParam) = start;
            if (lParam)
                *reinterpret_cast<DWORD*>(lParam) = end;
            return MAKELONG(static_cast<WORD>(std::min<DWORD>(start, 0xFFFF)),
                            static_cast<WORD>(std::min<DWORD>(end, 0xFFFF)));
        }
        case EM_SETSEL:
            model_.SetSel(static_cast<long>(static_cast<int>(wParam)),
                          static_cast<long>(static_cast<int>(lParam)));
            CaretMoved();
            return 0;
        case EM_REPLACESEL: {
            const LPCWSTR text = lParam ? reinterpret_cast<LPCWSTR>(lParam) : u"";
            const EditModel::Replaced r = model_.ReplaceSel(text);
            if (r.changed) {
                modified_ = true;
                Changed();
            }
            if (r.truncated && !Destroyed())
                Notify(EN_MAXTEXT);
            return 0;
        }
        case EM_LIMITTEXT:
            model_.SetLimit(static_cast<size_t>(wParam));
            return 0;
        case EM_GETLIMITTEXT:
            return static_cast<LRESULT>(model_.Limit());
        case EM_GETMODIFY:
            return modified_ ? TRUE : FALSE;
        case EM_SETMODIFY:
            modified_ = wParam != 0;
            return 0;
        default:
            return DefWindowProcW(Hwnd(), message, wParam, lParam);
    }
}

void Edit::OnChar(WCHAR c) {
    if (c == u'\b') {
        if (model_.DeleteBack()) {
            modified_ = true;
            Changed();
        }
        return;
    }
    if (c < 0x20 || c == 0x7F)
        return;
    const EditModel::Replaced r = model_.ReplaceSel(std::u16string_view(&c, 1));
    if (r.changed) {
        modified_ = true;
        Changed();
    }
    if (r.truncated && !Destroyed())
        Notify(EN_MAXTEXT);
}

void Edit::OnKeyDown(UINT vk) {
    using Move = EditModel::Move;
    switch (vk) {
        case VK_LEFT:
            model_.MoveCaret(Move::Left, ShiftDown());
            break;
        case VK_RIGHT:
            model_.MoveCaret(Move::Right, ShiftDown());
            break;
        case VK_HOME:
            model_.MoveCaret(Move::Home, ShiftDown());
            break;
        case VK_END:
            model_.MoveCaret(Move::End, ShiftDown());
            break;
        case VK_DELETE:
            if (model_.DeleteForward()) {
                modified_ = true;
                Changed();
            }
            return;
        default:
            return;
    }
    CaretMoved();
}

void Edit::OnFocus(bool gained) {
    caretOn_ = gained;
    if (gained) {
        SetTimer(Hwnd(), kBlinkTimer, kBlinkMs, nullptr);
    } else {
        KillTimer(Hwnd(), kBlinkTimer);
    }
    InvalidateRect(Hwnd(), nullptr, FALSE);
    Notify(gained ? EN_SETFOCUS : EN_KILLFOCUS);
}

void Edit::OnStylus(UINT message, int x) {
    if (message == WM_LBUTTONDOWN) {
        if (GetFocus() != Hwnd())
            SetFocus(Hwnd());
        if (Destroyed())
            return;
        model_.PlaceCaret(IndexAt(x), ShiftDown());
        dragging_ = true;
        SetCapture(Hwnd());
    } else if (!dragging_) {
        return;
    } else {
        model_.PlaceCaret(IndexAt(x), true);
        if (message == WM_LBUTTONUP) {
            dragging_ = false;
            if (GetCapture() == Hwnd())
                ReleaseCapture();
        }
    }
    CaretMoved();
}

void Edit::OnBlink() {
    caretOn_ = !caretOn_ && GetFocus() == Hwnd();
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

void Edit::Changed(bool notify) {
    ScrollToCaret();
    if (notify && !Notify(EN_UPDATE))
        return;
    InvalidateRect(Hwnd(), nullptr, FALSE);
    if (notify)
        Notify(EN_CHANGE);
}

// The caret shows at once after a move, so the blink restarts.
void Edit::CaretMoved() {
    ScrollToCaret();
    if (GetFocus() == Hwnd()) {
        caretOn_ = true;
        SetTimer(Hwnd(), kBlinkTimer, kBlinkMs, nullptr);
    }
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

LRESULT CALLBACK EditWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return StatefulProc<Edit>(hwnd, message, wParam, lParam);
}

}  // namespace platform::controls
