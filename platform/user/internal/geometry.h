// Window geometry: frames, client areas and what of them is on screen.
#pragma once

#include "platform/user/internal/window_object.h"

namespace platform::wm {

// Window coordinates are kept in a range whose sums along any parent chain cannot overflow.
constexpr LONG kMinCoordinate = -32768;
constexpr LONG kMaxCoordinate = 32767;
LONG ClampCoordinate(long long value);
LONG ClampLength(long long value);

RECT Intersect(const RECT& a, const RECT& b);
RECT Bounding(const RECT& a, const RECT& b);
RECT Offset(const RECT& r, LONG dx, LONG dy);
bool Empty(const RECT& r);
bool Contains(const RECT& r, POINT p);
bool Covers(const RECT& outer, const RECT& inner);
// `clip` less `cover` when the remainder is still one rectangle (cover takes all of it, or a
// band across its full width or height); otherwise `clip` unchanged.
RECT SubtractBand(const RECT& clip, const RECT& cover);

int BorderWidth(const Window& w);
// The client area in the window's own coordinates (origin at the window's top-left corner).
RECT ClientInWindow(const Window& w);
// The client area's size as a rectangle at (0, 0).
RECT ClientRect(const Window& w);
POINT ClientOrigin(const Window& w);  // on screen
RECT WindowOnScreen(const Window& w);
RECT ClientOnScreen(const Window& w);
RECT ScreenRect();

// The part of the client area (or with `frame`, the whole window) that is on screen, inside
// every ancestor's client area; empty when the window or an ancestor is hidden.
RECT VisibleOnScreen(const Window& w, bool frame);
// The same, less what shown windows drawn after `w` cover entirely or in full bands.
RECT UncoveredOnScreen(Window& w, bool frame);

// Sizes and positions for WM_SIZE and WM_MOVE.
LPARAM ClientSizeParam(const Window& w);
LPARAM ClientPositionParam(const Window& w);

}  // namespace platform::wm
