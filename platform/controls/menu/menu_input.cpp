// The tracked menu's answers to the stylus and the navigation keys.
#include "platform/controls/menu/menu_tracker.h"
#include "platform/user/user.h"

namespace platform::menu {
namespace {

bool Inside(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

const MenuItem* ItemAt(HMENU handle, int index) {
    const Menu* menu = Lookup(handle);
    if (!menu || index < 0 || static_cast<size_t>(index) >= menu->items.size())
        return nullptr;
    return &menu->items[static_cast<size_t>(index)];
}

// The key-up of the key that ended the menu is dropped when it is already waiting, so that the
// window under the menu does not act on half a key press.
void DropPendingKeyUp(UINT vk) {
    MSG msg;
    if (PeekMessageW(&msg, nullptr, WM_KEYUP, WM_KEYUP, PM_NOREMOVE) && msg.wParam == vk)
        PeekMessageW(&msg, nullptr, WM_KEYUP, WM_KEYUP, PM_REMOVE);
}

}  // namespace

bool Tracker::HitTest(POINT p, size_t& depth, int& item) const {
    // The deepest pop-up lies on top, so it is asked first.
    for (size_t d = levels_.size(); d-- > 0;) {
        const Level& level = levels_[d];
        if (!Inside(level.rect, p))
            continue;
        depth = d;
        item = -1;
        const POINT local{p.x - level.rect.left, p.y - level.rect.top};
        for (size_t i = 0; i < level.layout.items.size(); ++i) {
            if (Inside(level.layout.items[i], local))
                item = static_cast<int>(i);
        }
        return true;
    }
    return false;
}

void Tracker::OnStylus(const MSG& msg) {
    const bool down = msg.message == WM_LBUTTONDOWN || msg.message == WM_LBUTTONDBLCLK;
    const bool up = msg.message == WM_LBUTTONUP;
    if (!down && !up && !(msg.message == WM_MOUSEMOVE && stylusDownInMenu_))
        return;
    size_t depth = 0;
    int index = -1;
    const bool onMenu = HitTest(msg.pt, depth, index);
    if (down && !onMenu) {
        // A tap outside closes the menu; its stylus-up is taken too, so that nothing under the
        // menu acts on it.
        CloseLevelsAbove(0);
        cancelOnStylusUp_ = true;
        return;
    }
    if (up && cancelOnStylusUp_) {
        done_ = true;
        return;
    }
    // The stylus-up that ends the tap-and-hold which opened the menu chooses nothing.
    if (up && !stylusDownInMenu_)
        return;
    stylusDownInMenu_ = down || (stylusDownInMenu_ && !up);
    if (!onMenu) {
        Highlight(levels_.back(), -1);
        return;
    }
    const MenuItem* item = ItemAt(levels_[depth].menu, index);
    const bool subMenuOpen = item && item->IsPopup() && levels_.size() > depth + 1 &&
                             levels_[depth].highlighted == index;
    if (!subMenuOpen)
        CloseLevelsAbove(depth + 1);
    Level& level = levels_[depth];
    if (!item || !item->IsSelectable()) {
        Highlight(level, -1);
        return;
    }
    if (item->IsPopup()) {
        if (!subMenuOpen)
            OpenSubMenu(index);
        return;
    }
    Highlight(level, index);
    if (up)
        Choose(item->id);
}

void Tracker::MoveHighlight(Level& level, int step) {
    const Menu* menu = Lookup(level.menu);
    if (!menu || menu->items.empty())
        return;
    const int count = static_cast<int>(menu->items.size());
    int i = level.highlighted < 0 ? (step > 0 ? -1 : count) : level.highlighted;
    for (int tries = 0; tries < count; ++tries) {
        i = (i + step + count) % count;
        if (menu->items[static_cast<size_t>(i)].IsSelectable()) {
            Highlight(level, i);
            return;
        }
    }
}

void Tracker::OnKeyDown(UINT vk) {
    Level& level = levels_.back();
    const MenuItem* item = ItemAt(level.menu, level.highlighted);
    switch (vk) {
        case VK_UP:
        case VK_DOWN:
            MoveHighlight(level, vk == VK_DOWN ? 1 : -1);
            break;
        case VK_RIGHT:
        case VK_RETURN:
            if (item && item->IsPopup() && item->IsSelectable()) {
                if (OpenSubMenu(level.highlighted))
                    MoveHighlight(levels_.back(), 1);
            } else if (vk == VK_RETURN && item && item->IsSelectable()) {
                Choose(item->id);
                DropPendingKeyUp(vk);
            }
            break;
        case VK_LEFT:
            // The outermost pop-up has no level to go back to.
            if (levels_.size() > 1)
                CloseLevelsAbove(levels_.size() - 1);
            break;
        case VK_ESCAPE:
            CloseLevelsAbove(levels_.size() - 1);
            if (levels_.empty()) {
                done_ = true;
                DropPendingKeyUp(vk);
            }
            break;
        case VK_TSOFT1:
        case VK_TSOFT2:
            // A soft key pressed again closes the menu it opened.
            done_ = true;
            DropPendingKeyUp(vk);
            break;
        default:
            break;
    }
}

}  // namespace platform::menu
