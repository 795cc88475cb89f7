// Opening, closing and running the tracked pop-ups.
#include "platform/controls/menu/menu_tracker.h"

#include "platform/gdi/text.h"
#include "platform/user/user.h"

namespace platform::menu {
namespace {

Tracker* g_active = nullptr;

HFONT CreateMenuFont() {
    LOGFONTW lf{};
    lf.lfHeight = -CurrentMetrics().fontHeight;
    lf.lfWeight = 400;
    constexpr char16_t kFace[] = u"Tahoma";
    std::copy(std::begin(kFace), std::end(kFace), lf.lfFaceName);
    return CreateFontIndirectW(&lf);
}

RECT ScreenBounds() {
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

}  // namespace

Tracker* ActiveTracker() {
    return g_active;
}

Tracker::Tracker(HWND owner, UINT flags)
    : owner_(owner),
      flags_(flags),
      font_(CreateMenuFont()),
      measureDC_(CreateCompatibleDC(nullptr)) {
    if (measureDC_ && font_)
        SelectObject(measureDC_.Get(), font_.Get());
    g_active = this;
}

Tracker::~Tracker() {
    CloseLevelsAbove(0);
    if (measureDC_)
        SelectObject(measureDC_.Get(), GetStockObject(SYSTEM_FONT));
    g_active = nullptr;
}

UINT Tracker::Run(HMENU menu, POINT at, const RECT* exclude) {
    if (!OpenLevel(menu, 0, at, exclude))
        return 0;
    while (!done_) {
        if (!IsWindow(owner_) || (levels_.empty() && !cancelOnStylusUp_))
            break;
        MSG msg;
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The program is quitting: the menu gives way and the quit stays for the main loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got < 0)
            break;
        if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
            if (msg.message == WM_KEYDOWN)
                OnKeyDown(static_cast<UINT>(msg.wParam));
            continue;
        }
        if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
            OnStylus(msg);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        for (Level& level : levels_)
            Refit(level);
    }
    return done_ ? chosen_ : 0;
}

void Tracker::Cancel() {
    done_ = true;
    chosen_ = 0;
    // Wakes a loop that is waiting for input, so that it sees the end at once.
    PostMessageW(levels_.empty() ? owner_ : levels_.front().window, WM_NULL, 0, 0);
}

bool Tracker::OpenLevel(HMENU menu, int positionInParent, POINT at, const RECT* exclude) {
    if (Notify()) {
        SendMessageW(owner_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu),
                     MAKELPARAM(static_cast<WORD>(positionInParent), 0));
    }
    if (GetMenuItemCount(menu) <= 0 || done_ || !IsWindow(owner_))
        return false;
    Level level;
    level.menu = menu;
    level.layout = MeasureMenu(menu, owner_, measureDC_.Get());
    if (levels_.empty()) {
        level.rect = PlacePopup(level.layout.size, at, flags_, ScreenBounds(), exclude);
    } else {
        const Level& parent = levels_.back();
        RECT item = parent.layout.items[static_cast<size_t>(parent.highlighted)];
        OffsetRect(&item, parent.rect.left, parent.rect.top);
        level.rect = PlaceSubMenu(level.layout.size, parent.rect, item, ScreenBounds());
    }
    level.window = CreateLevelWindow(level.rect);
    if (!level.window)
        return false;
    levels_.push_back(level);
    // Taps anywhere come to the menu: a tap outside must not reach (or activate) the window
    // under it.
    SetCapture(level.window);
    return true;
}

bool Tracker::OpenSubMenu(int item) {
    Level& level = levels_.back();
    const HMENU sub = GetSubMenu(level.menu, item);
    if (!sub)
        return false;
    Highlight(level, item);
    return OpenLevel(sub, item, POINT{0, 0}, nullptr);
}

void Tracker::CloseLevelsAbove(size_t depth) {
    while (levels_.size() > depth) {
        DestroyWindow(levels_.back().window);
        levels_.pop_back();
    }
    if (!levels_.empty())
        SetCapture(levels_.back().window);
}

void Tracker::Highlight(Level& level, int item) {
    if (level.highlighted == item)
        return;
    level.highlighted = item;
    InvalidateRect(level.window, nullptr, FALSE);
}

void Tracker::Choose(UINT id) {
    chosen_ = id;
    done_ = true;
}

void Tracker::Refit(Level& level) {
    const int count = GetMenuItemCount(level.menu);
    if (count < 0) {
        // Destroyed while shown: nothing left to choose from.
        done_ = true;
        return;
    }
    if (static_cast<size_t>(count) == level.layout.items.size())
        return;
    level.layout = MeasureMenu(level.menu, owner_, measureDC_.Get());
    if (level.highlighted >= count)
        level.highlighted = -1;
    level.rect.right = level.rect.left + level.layout.size.cx;
    level.rect.bottom = level.rect.top + level.layout.size.cy;
    MoveWindow(level.window, level.rect.left, level.rect.top, level.layout.size.cx,
               level.layout.size.cy, TRUE);
}

}  // namespace platform::menu
