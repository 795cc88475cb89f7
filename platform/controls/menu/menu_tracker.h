// The modal loop behind TrackPopupMenuEx: the open pop-ups (one level per sub-menu), the
// highlight, and the stylus and key handling that moves, opens, closes and chooses.
#pragma once

#include <vector>

#include "platform/controls/menu/menu_layout.h"
#include "platform/gdi/scoped.h"

namespace platform::menu {

// One open pop-up: the menu it shows, its window and where its items are.
struct Level {
    HMENU menu = nullptr;
    HWND window = nullptr;
    RECT rect{0, 0, 0, 0};  // screen coordinates
    MenuLayout layout;
    int highlighted = -1;
};

class Tracker {
  public:
    Tracker(HWND owner, UINT flags);
    ~Tracker();
    Tracker(const Tracker&) = delete;
    Tracker& operator=(const Tracker&) = delete;

    // Opens `menu` and runs the loop; the chosen command id, or 0 when cancelled.
    UINT Run(HMENU menu, POINT at, const RECT* exclude);
    // Ends the loop as a cancel; callable from the loop's idle time too.
    void Cancel();

    const std::vector<Level>& Levels() const { return levels_; }
    HWND Owner() const { return owner_; }
    HFONT Font() const { return font_.Get(); }

  private:
    bool OpenLevel(HMENU menu, int positionInParent, POINT at, const RECT* exclude);
    bool OpenSubMenu(int item);
    void CloseLevelsAbove(size_t depth);
    void Highlight(Level& level, int item);
    void Choose(UINT id);
    bool Notify() const { return !(flags_ & TPM_NONOTIFY); }
    // A menu changed by a timer or a notification while shown is measured again.
    void Refit(Level& level);

    void OnStylus(const MSG& msg);
    void OnKeyDown(UINT vk);
    void MoveHighlight(Level& level, int step);
    // The level and item under a screen point; false when it is on no open pop-up.
    bool HitTest(POINT p, size_t& depth, int& item) const;

    HWND owner_;
    UINT flags_;
    ScopedGdiObject font_;
    ScopedDC measureDC_;
    std::vector<Level> levels_;
    bool done_ = false;
    UINT chosen_ = 0;
    bool stylusDownInMenu_ = false;
    bool cancelOnStylusUp_ = false;
};

// The menu being tracked, or null.
Tracker* ActiveTracker();

// The pop-up window that shows a level (menu_window.cpp).
HWND CreateLevelWindow(const RECT& rect);
// Paints `level` into `dc` (menu_draw.cpp).
void DrawLevel(HDC dc, const Level& level, const Tracker& tracker);

}  // namespace platform::menu
