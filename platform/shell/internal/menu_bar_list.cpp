#include <algorithm>

#include "platform/shell/internal/menu_bar_object.h"

namespace platform::shell {

std::vector<std::unique_ptr<MenuBar>>& MenuBars() {
    static std::vector<std::unique_ptr<MenuBar>> bars;
    return bars;
}

MenuBar* BarOfWindow(HWND bar) {
    for (auto& b : MenuBars()) {
        if (b->hwnd == bar)
            return b.get();
    }
    return nullptr;
}

MenuBar* BarOfOwner(HWND owner) {
    for (auto& b : MenuBars()) {
        if (b->owner == owner && owner)
            return b.get();
    }
    return nullptr;
}

void ForgetBar(HWND bar) {
    std::erase_if(MenuBars(), [bar](const auto& b) { return b->hwnd == bar; });
}

RECT KeyRect(const RECT& client, int index, int count) {
    const LONG width = client.right - client.left;
    const LONG half = width / 2;
    if (count <= 1)
        return RECT{client.left, client.top, client.left + half, client.bottom};
    return index == 0 ? RECT{client.left, client.top, client.left + half, client.bottom}
                      : RECT{client.left + half, client.top, client.right, client.bottom};
}

}  // namespace platform::shell
