// The dropped list: a pop-up below (or above) the box that holds the stylus while it is open.
// A tap on a line picks it, a tap anywhere else closes the list and keeps the selection.
#include <algorithm>
#include <utility>

#include "platform/controls/combo/combo_state.h"
#include "platform/controls/internal/text_kit.h"

namespace platform::controls {
namespace {

// The list's extra bytes hold its combo box's handle and whether the stylus went down on it.
constexpr int kComboSlot = 0;
constexpr int kPressedSlot = static_cast<int>(sizeof(LONG_PTR));

ComboBox* ComboOf(HWND list) {
    const HWND combo = reinterpret_cast<HWND>(GetWindowLongW(list, kComboSlot));
    return IsWindow(combo) ? StateOf<ComboBox>(combo) : nullptr;
}

}  // namespace

int ComboBox::ItemHeight() const {
    const HDC hdc = GetDC(nullptr);
    if (!hdc)
        return ScaleForDpi(18);
    int line = 0;
    {
        ScopedSelectObject font(hdc, ControlFont(Font()));
        line = LineHeight(hdc);
    }
    ReleaseDC(nullptr, hdc);
    return std::max(line, ScaleForDpi(12)) + ScaleForDpi(4);
}

// One line with its frame, and never below the 22 pixels (at 96 dpi) the program lays its
// boxes out with.
int ComboBox::BoxHeight() const {
    return std::max(ItemHeight() + 4, ScaleForDpi(22));
}

// The list's screen rectangle: the box's width, the dropped height trimmed to whole lines,
// below the box or above it when only that fits. A dropped height too small for the lines
// grows to show up to six of them, as on the handheld.
RECT ComboBox::ListRect() const {
    RECT box{};
    GetWindowRect(Hwnd(), &box);
    const int item = ItemHeight();
    const int lines = std::max(Count(), 1);
    const int wanted = lines * item + 2;
    int height = std::min(wanted, droppedHeight_ - droppedHeight_ % item + 2);
    if (height < wanted)
        height = std::max(height, std::min(lines, 6) * item + 2);
    const int screen = GetSystemMetrics(SM_CYSCREEN);
    const bool above = box.bottom + height > screen && box.top - height >= 0;
    const int top = above ? box.top - height : box.bottom;
    return RECT{box.left, top, box.right, top + height};
}

int ComboBox::VisibleLines() const {
    const RECT r = ListRect();
    return std::max(1, (r.bottom - r.top - 2) / ItemHeight());
}

void ComboBox::SetHighlight(int index) {
    if (index < 0 || index >= Count() || index == highlight_)
        return;
    highlight_ = index;
    const int lines = VisibleLines();
    if (highlight_ < top_)
        top_ = highlight_;
    else if (highlight_ >= top_ + lines)
        top_ = highlight_ - lines + 1;
    if (list_)
        InvalidateRect(list_, nullptr, FALSE);
}

void ComboBox::OpenList() {
    if (!Notify(CBN_DROPDOWN) || list_)
        return;
    highlight_ = selection_;
    top_ = std::clamp(selection_ - VisibleLines() + 1, 0, std::max(Count() - VisibleLines(), 0));
    const RECT r = ListRect();
    const HWND owner = TopLevelOf(Hwnd());
    list_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, kComboListClass, u"",
                            WS_POPUP | WS_BORDER, r.left, r.top, r.right - r.left, r.bottom - r.top,
                            owner, nullptr, nullptr, nullptr);
    if (!list_)
        return;
    SetWindowLongW(list_, kComboSlot, reinterpret_cast<LONG_PTR>(Hwnd()));
    ShowWindow(list_, SW_SHOWNA);
    SetCapture(list_);
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

void ComboBox::CloseList(bool accept) {
    const HWND list = std::exchange(list_, nullptr);
    if (!list)
        return;
    const int before = selection_;
    if (accept && highlight_ >= 0)
        selection_ = highlight_;
    highlight_ = selection_;
    const bool alive = Notify(accept ? CBN_SELENDOK : CBN_SELENDCANCEL);
    if (GetCapture() == list)
        ReleaseCapture();
    DestroyWindow(list);
    if (!alive)
        return;
    InvalidateRect(Hwnd(), nullptr, FALSE);
    if (Notify(CBN_CLOSEUP) && selection_ != before)
        Notify(CBN_SELCHANGE);
}

namespace {

// The line under client point `y`, scrolling by one line when the stylus is dragged past
// an edge; -1 outside the list.
int LineAt(ComboBox& combo, HWND list, POINT p, bool dragging) {
    RECT client{};
    GetClientRect(list, &client);
    const int item = combo.ItemHeight();
    if (p.x < client.left || p.x >= client.right)
        return -1;
    if (p.y < client.top)
        return dragging ? combo.TopIndex() - 1 : -1;
    if (p.y >= client.bottom)
        return dragging ? combo.TopIndex() + combo.VisibleLines() : -1;
    const int line = combo.TopIndex() + (p.y - 1) / item;
    return line < combo.Count() ? line : -1;
}

LRESULT OnListStylus(HWND list, UINT message, LPARAM lParam) {
    ComboBox* combo = ComboOf(list);
    if (!combo)
        return 0;
    const bool pressed = GetWindowLongW(list, kPressedSlot) != 0;
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    RECT client{};
    GetClientRect(list, &client);
    const bool inside = PtInRect(&client, p) != FALSE;
    if (message == WM_LBUTTONDOWN) {
        SetWindowLongW(list, kPressedSlot, TRUE);
        if (!inside) {
            combo->CloseList(false);
            return 0;
        }
    }
    const int line = LineAt(*combo, list, p, pressed || message == WM_LBUTTONDOWN);
    if (message == WM_MOUSEMOVE) {
        // The press that opened the list may slide into it and pick a line on release.
        if (line >= 0 && (pressed || (GetAsyncKeyState(VK_LBUTTON) & 0x8000)))
            combo->SetHighlight(line);
        return 0;
    }
    if (message == WM_LBUTTONDOWN) {
        combo->SetHighlight(line);
        return 0;
    }
    // WM_LBUTTONUP: the release of the opening tap off the list leaves it open.
    SetWindowLongW(list, kPressedSlot, FALSE);
    if (inside && line >= 0) {
        combo->SetHighlight(line);
        combo->CloseList(true);
    } else if (pressed) {
        combo->CloseList(false);
    }
    return 0;
}

}  // namespace

LRESULT CALLBACK ComboListWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            return OnListStylus(hwnd, WM_LBUTTONDOWN, lParam);
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
            return OnListStylus(hwnd, message, lParam);
        case WM_CAPTURECHANGED:
            // Losing the stylus to another window closes the list as a cancel.
            if (reinterpret_cast<HWND>(lParam) != hwnd) {
                if (ComboBox* combo = ComboOf(hwnd))
                    combo->CloseList(false);
            }
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            if (ComboBox* combo = ComboOf(hwnd)) {
                combo->PaintList(hwnd);
                return 0;
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace platform::controls
