// Combo-box messages: the line list and its item data, the selection, the keys and the focus.
#include <algorithm>
#include <utility>

#include "platform/controls/combo/combo_state.h"
#include "platform/controls/dialog/dialog.h"
#include "platform/core/wstring.h"

namespace platform::controls {
namespace {

bool IsIndex(WPARAM index, size_t count) {
    return static_cast<size_t>(index) < count;
}

}  // namespace

ComboBox::ComboBox(HWND hwnd, const CREATESTRUCTW& cs) : ControlBase(hwnd), droppedHeight_(cs.cy) {}

LRESULT ComboBox::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            droppedHeight_ = std::max(droppedHeight_ - BoxHeight(), 0);
            return 0;
        case WM_SIZE:
            OnSize();
            return 0;
        case WM_SETFONT:
            OnSize();
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (GetFocus() != Hwnd())
                SetFocus(Hwnd());
            if (!Destroyed() && GetFocus() == Hwnd()) {
                if (list_) {
                    CloseList(false);
                } else {
                    OpenList();
                }
            }
            return 0;
        case WM_KEYDOWN:
            OnKeyDown(static_cast<UINT>(wParam));
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            OnFocus(message == WM_SETFOCUS);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS | (list_ ? DLGC_WANTALLKEYS : 0);
        case WM_DESTROY:
            if (list_)
                DestroyWindow(std::exchange(list_, nullptr));
            return 0;
        case WM_PAINT:
            Paint();
            return 0;
        case WM_GETTEXT:
        case WM_GETTEXTLENGTH:
            if (selection_ < 0)
                return DefWindowProcW(Hwnd(), message, wParam, lParam);
            if (message == WM_GETTEXTLENGTH)
                return static_cast<LRESULT>(Text(selection_).size());
            return static_cast<LRESULT>(
                CopyText(reinterpret_cast<LPWSTR>(lParam), wParam, Text(selection_)));
        default:
            if (message >= CB_ADDSTRING && message <= CB_FINDSTRINGEXACT)
                return OnItemMessage(message, wParam, lParam);
            return DefWindowProcW(Hwnd(), message, wParam, lParam);
    }
}

LRESULT ComboBox::OnItemMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const size_t count = items_.size();
    switch (message) {
        case CB_ADDSTRING:
            return Insert(-1, reinterpret_cast<LPCWSTR>(lParam));
        case CB_INSERTSTRING:
            return Insert(static_cast<int>(wParam), reinterpret_cast<LPCWSTR>(lParam));
        case CB_DELETESTRING: {
            if (!IsIndex(wParam, count))
                return CB_ERR;
            const int index = static_cast<int>(wParam);
            items_.erase(items_.begin() + index);
            if (selection_ == index)
                selection_ = -1;
            else if (selection_ > index)
                --selection_;
            highlight_ = selection_;
            InvalidateRect(Hwnd(), nullptr, FALSE);
            return static_cast<LRESULT>(items_.size());
        }
        case CB_RESETCONTENT:
            if (list_)
                CloseList(false);
            items_.clear();
            selection_ = highlight_ = -1;
            top_ = 0;
            InvalidateRect(Hwnd(), nullptr, FALSE);
            return CB_OKAY;
        case CB_GETCOUNT:
            return static_cast<LRESULT>(count);
        case CB_GETCURSEL:
            return selection_;
        case CB_SETCURSEL:
            return SetCurSel(static_cast<int>(wParam));
        case CB_GETLBTEXT:
            if (!IsIndex(wParam, count) || !lParam)
                return CB_ERR;
            // The caller's buffer is as long as CB_GETLBTEXTLEN said, plus the terminator.
            std::copy(items_[wParam].text.begin(), items_[wParam].text.end(),
                      reinterpret_cast<LPWSTR>(lParam));
            reinterpret_cast<LPWSTR>(lParam)[items_[wParam].text.size()] = u'\0';
            return static_cast<LRESULT>(items_[wParam].text.size());
        case CB_GETLBTEXTLEN:
            return IsIndex(wParam, count) ? static_cast<LRESULT>(items_[wParam].text.size())
                                          : CB_ERR;
        case CB_GETITEMDATA:
            return IsIndex(wParam, count) ? static_cast<LRESULT>(items_[wParam].data) : CB_ERR;
        case CB_SETITEMDATA:
            if (!IsIndex(wParam, count))
                return CB_ERR;
            items_[wParam].data = static_cast<ULONG_PTR>(lParam);
            return CB_OKAY;
        case CB_FINDSTRINGEXACT: {
            const LPCWSTR text = reinterpret_cast<LPCWSTR>(lParam);
            const int start = static_cast<int>(wParam);
            for (int i = 0; text && i < Count(); ++i) {
                const int index = (start + 1 + i) % Count();
                if (platform::EqualsNoCase(Text(index), text))
                    return index;
            }
            return CB_ERR;
        }
        case CB_SHOWDROPDOWN:
            if (wParam && !list_)
                OpenList();
            else if (!wParam && list_)
                CloseList(false);
            return TRUE;
        case CB_GETDROPPEDSTATE:
            return list_ ? TRUE : FALSE;
        case CB_GETDROPPEDCONTROLRECT: {
            if (!lParam)
                return CB_ERR;
            *reinterpret_cast<RECT*>(lParam) = ListRect();
            return CB_OKAY;
        }
        case CB_GETITEMHEIGHT:
            return ItemHeight();
        default:
            return CB_ERR;
    }
}

// CBS_SORT places added lines in case-insensitive order; CB_INSERTSTRING never sorts.
LRESULT ComboBox::Insert(int index, LPCWSTR text) {
    if (!text)
        text = u"";
    Item item{text, 0};
    size_t at = items_.size();
    if (index >= 0) {
        if (static_cast<size_t>(index) > items_.size())
            return CB_ERR;
        at = static_cast<size_t>(index);
    } else if (Style() & CBS_SORT) {
        at = static_cast<size_t>(std::upper_bound(items_.begin(), items_.end(), item,
                                                  [](const Item& a, const Item& b) {
                                                      return lstrcmpiW(a.text.c_str(),
                                                                       b.text.c_str()) < 0;
                                                  }) -
                                 items_.begin());
    }
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
    if (selection_ >= static_cast<int>(at))
        ++selection_;
    highlight_ = selection_;
    if (list_)
        InvalidateRect(list_, nullptr, FALSE);
    return static_cast<LRESULT>(at);
}

// -1 clears the selection (and answers CB_ERR, as on the handheld); no notification.
LRESULT ComboBox::SetCurSel(int index) {
    if (index < -1 || index >= Count()) {
        return CB_ERR;
    }
    selection_ = highlight_ = index;
    InvalidateRect(Hwnd(), nullptr, FALSE);
    if (list_)
        InvalidateRect(list_, nullptr, FALSE);
    return index < 0 ? CB_ERR : index;
}

void ComboBox::OnKeyDown(UINT vk) {
    const bool up = vk == VK_UP;
    if (list_) {
        if (vk == VK_RETURN || vk == VK_ESCAPE) {
            CloseList(vk == VK_RETURN);
        } else if (up || vk == VK_DOWN) {
            SetHighlight(std::clamp(highlight_ + (up ? -1 : 1), 0, Count() - 1));
        }
        return;
    }
    if ((!up && vk != VK_DOWN) || items_.empty())
        return;
    const int next = std::clamp(selection_ + (up ? -1 : 1), 0, Count() - 1);
    if (next == selection_)
        return;
    SetCurSel(next);
    // A closed list takes the new line at once, as the handheld's does.
    if (Notify(CBN_SELENDOK))
        Notify(CBN_SELCHANGE);
}

void ComboBox::OnFocus(bool gained) {
    if (!gained && list_)
        CloseList(false);
    if (Destroyed())
        return;
    InvalidateRect(Hwnd(), nullptr, FALSE);
    Notify(gained ? CBN_SETFOCUS : CBN_KILLFOCUS);
}

// The box keeps the height of one line; a taller size sets the height of the dropped list.
void ComboBox::OnSize() {
    if (resizing_)
        return;
    RECT r{};
    GetWindowRect(Hwnd(), &r);
    const int height = r.bottom - r.top;
    const int box = BoxHeight();
    if (height == box)
        return;
    if (height > box)
        droppedHeight_ = height - box;
    resizing_ = true;
    SetWindowPos(Hwnd(), nullptr, 0, 0, r.right - r.left, box,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    resizing_ = false;
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

LRESULT CALLBACK ComboBoxWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return StatefulProc<ComboBox>(hwnd, message, wParam, lParam);
}

}  // namespace platform::controls
