// Sibling order, ancestry and traversal of the window tree.
#include <algorithm>

#include "platform/user/internal/tree.h"
#include "platform/user/internal/window_state.h"

namespace platform::wm {
namespace {

bool IsTopmost(const Window& w) {
    return IsTopLevel(w) && (w.exStyle & WS_EX_TOPMOST) != 0;
}

size_t IndexOf(const Window& w) {
    const auto& siblings = w.parent->children;
    return static_cast<size_t>(std::find(siblings.begin(), siblings.end(), &w) - siblings.begin());
}

// Moves `w` to `index` among its other siblings. Top-level windows keep their band: topmost
// ones above all others, the rest below every topmost one.
bool MoveTo(Window& w, size_t index) {
    auto& siblings = w.parent->children;
    const size_t current = IndexOf(w);
    siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(current));
    if (IsTopLevel(w)) {
        size_t band = 0;
        while (band < siblings.size() && IsTopmost(*siblings[band]))
            ++band;
        index = IsTopmost(w) ? std::min(index, band) : std::max(index, band);
    }
    index = std::min(index, siblings.size());
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(index), &w);
    return index != current;
}

void VisitSubtree(Window& w, const std::function<void(Window&)>& visit) {
    visit(w);
    for (auto it = w.children.rbegin(); it != w.children.rend(); ++it)
        VisitSubtree(**it, visit);
}

}  // namespace

bool IsDesktop(const Window& w) {
    return w.parent == nullptr;
}
bool IsTopLevel(const Window& w) {
    return w.parent && w.parent->parent == nullptr;
}

Window& TopLevelOf(Window& w) {
    Window* top = &w;
    while (top->parent && top->parent->parent)
        top = top->parent;
    return *top;
}

bool IsSelfOrAncestor(const Window& ancestor, const Window& w) {
    for (const Window* p = &w; p; p = p->parent) {
        if (p == &ancestor)
            return true;
    }
    return false;
}

bool IsShown(const Window& w) {
    for (const Window* p = &w; p; p = p->parent) {
        if (!(p->style & WS_VISIBLE))
            return false;
    }
    return true;
}

void LinkNew(Window& parent, Window& w) {
    w.parent = &parent;
    parent.children.push_back(&w);
    if (IsTopLevel(w))
        MoveTo(w, 0);
}

void Unlink(Window& w) {
    if (!w.parent)
        return;
    std::erase(w.parent->children, &w);
    w.parent = nullptr;
}

bool BringToTop(Window& w) {
    if (!w.parent)
        return false;
    bool changed = MoveTo(w, 0);
    if (!IsTopLevel(w))
        return changed;
    // Owned windows stay above their owner: lift them in their present order.
    const std::vector<HWND> owned = OwnedHandles(w.handle);
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
        if (Window* o = Lookup(*it))
            changed = BringToTop(*o) || changed;
    }
    return changed;
}

bool SendToBottom(Window& w) {
    if (!w.parent)
        return false;
    return MoveTo(w, w.parent->children.size());
}

bool PlaceBelow(Window& w, Window& sibling) {
    if (!w.parent || sibling.parent != w.parent || &sibling == &w)
        return false;
    const size_t siblingIndex = IndexOf(sibling);
    // Indexes count the siblings that remain once `w` is taken out.
    return MoveTo(w, IndexOf(w) < siblingIndex ? siblingIndex : siblingIndex + 1);
}

std::vector<HWND> ChildHandles(const Window& parent) {
    std::vector<HWND> handles;
    handles.reserve(parent.children.size());
    for (const Window* c : parent.children)
        handles.push_back(c->handle);
    return handles;
}

std::vector<HWND> TopLevelHandles() {
    return ChildHandles(Desktop());
}

std::vector<HWND> OwnedHandles(HWND owner) {
    std::vector<HWND> handles;
    for (const Window* c : Desktop().children) {
        if (c->owner == owner)
            handles.push_back(c->handle);
    }
    return handles;
}

void ForEachInPaintOrder(Window& root, const std::function<void(Window&)>& visit) {
    VisitSubtree(root, visit);
}

void ForEachDrawnAfter(Window& w, const std::function<void(Window&)>& visit) {
    for (auto it = w.children.rbegin(); it != w.children.rend(); ++it)
        VisitSubtree(**it, visit);
    for (Window* p = &w; p->parent; p = p->parent) {
        const auto& siblings = p->parent->children;
        for (size_t i = IndexOf(*p); i-- > 0;)
            VisitSubtree(*siblings[i], visit);
    }
}

}  // namespace platform::wm
