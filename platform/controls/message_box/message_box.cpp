// MessageBoxW: the panel is a dialog window with one push button per answer, run through the
// dialog layer's modal loop so timers and scripts keep running.
#include "platform/controls/button/button.h"
#include "platform/controls/controls.h"
#include "platform/controls/dialog/dialog_state.h"
#include "platform/controls/internal/control_base.h"
#include "platform/controls/internal/paint_kit.h"
#include "platform/controls/internal/text_kit.h"
#include "platform/controls/message_box/message_box_layout.h"
#include "platform/core/wstring.h"

namespace platform::controls {
namespace {

const MessageBoxLayout* LayoutOf(HWND hwnd) {
    return reinterpret_cast<const MessageBoxLayout*>(GetWindowLongW(hwnd, DWL_USER));
}

INT_PTR CALLBACK MessageBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
    const MessageBoxLayout* layout = LayoutOf(hwnd);
    if (!layout)
        return FALSE;
    switch (message) {
        case WM_COMMAND: {
            int answer = LOWORD(wParam);
            // Escape (and Close) arrive as IDCANCEL even when the box has no Cancel button.
            if (answer == IDCANCEL)
                answer = EscapeAnswer(layout->buttons);
            if (answer)
                EndDialog(hwnd, answer);
            return TRUE;
        }
        case WM_PAINT: {
            BackBuffer buffer(hwnd);
            PaintMessageBox(buffer.Dc(), *layout, buffer.Client());
            return TRUE;
        }
        default:
            return FALSE;
    }
}

HWND CreateMessageBoxWindow(const MessageBoxLayout& layout, HWND owner, UINT type) {
    const RECT& p = layout.panel;
    const HWND box = CreateWindowExW(
        (type & MB_TOPMOST) ? WS_EX_TOPMOST : 0, WC_DIALOGW, layout.caption.c_str(), WS_POPUP,
        p.left, p.top, p.right - p.left, p.bottom - p.top, owner, nullptr, nullptr, nullptr);
    if (!box)
        return nullptr;
    SetWindowLongW(box, DWL_USER, reinterpret_cast<LONG_PTR>(&layout));
    AttachDialogState(box, MessageBoxProc, ControlFont(nullptr), ScopedGdiObject());
    for (size_t i = 0; i < layout.buttons.size(); ++i) {
        const MessageBoxButton& b = layout.buttons[i];
        const DWORD kind = i == layout.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        CreateWindowExW(0, WC_BUTTONW, b.label, WS_CHILD | WS_VISIBLE | WS_TABSTOP | kind,
                        b.rect.left, b.rect.top, b.rect.right - b.rect.left,
                        b.rect.bottom - b.rect.top, box,
                        reinterpret_cast<HMENU>(static_cast<intptr_t>(b.id)), nullptr, nullptr);
    }
    SendMessageW(box, DM_SETDEFID, layout.buttons[layout.defaultButton].id, 0);
    return box;
}

}  // namespace
}  // namespace platform::controls

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    using namespace platform::controls;
    platform::RegisterControlClasses();
    if (owner && !IsWindow(owner))
        owner = nullptr;
    const HWND top = owner ? TopLevelOf(owner) : nullptr;
    const MessageBoxLayout layout = LayOutMessageBox(text, caption, type);
    const HWND box = CreateMessageBoxWindow(layout, top, type);
    if (!box)
        return 0;
    FocusDialogControl(box, GetDlgItem(box, layout.buttons[layout.defaultButton].id));
    if (type & MB_SETFOREGROUND)
        SetForegroundWindow(box);
    const INT_PTR result = RunModal(box, top);
    return result > 0 ? static_cast<int>(result) : 0;
}
