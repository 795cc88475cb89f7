// The window tree: sibling order (top of the z-order first), ancestry and traversal.
#pragma once

#include <functional>
#include <vector>

#include "platform/user/internal/window_object.h"

namespace platform::wm {

bool IsTopLevel(const Window& w);
bool IsDesktop(const Window& w);
Window& TopLevelOf(Window& w);
// True when `ancestor` is `w` or one of its ancestors.
bool IsSelfOrAncestor(const Window& ancestor, const Window& w);
// WS_VISIBLE on the window and on every ancestor.
bool IsShown(const Window& w);

// New children go below their siblings and new top-level windows above theirs, as on the
// handheld: a dialog's first control stays first in the z-order.
void LinkNew(Window& parent, Window& w);
void Unlink(Window& w);
// Moves `w` to the top of its siblings (below topmost windows unless it is one) and takes the
// top-level windows it owns along above it. True when the order changed.
bool BringToTop(Window& w);
bool SendToBottom(Window& w);
// Places `w` directly below `sibling`; false when `sibling` is not a sibling.
bool PlaceBelow(Window& w, Window& sibling);

std::vector<HWND> ChildHandles(const Window& parent);
std::vector<HWND> TopLevelHandles();
// Top-level windows owned by `owner`, top of the z-order first.
std::vector<HWND> OwnedHandles(HWND owner);

// Every window in painting order: each parent before its children, siblings from the bottom of
// the z-order up, so that what is drawn later is what is on top.
void ForEachInPaintOrder(Window& root, const std::function<void(Window&)>& visit);
// Every window drawn after `w` that can cover it: its descendants and the windows above it and
// above each of its ancestors, with their descendants.
void ForEachDrawnAfter(Window& w, const std::function<void(Window&)>& visit);

}  // namespace platform::wm
