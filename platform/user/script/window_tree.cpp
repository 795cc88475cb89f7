#include "platform/user/script/window_tree.h"

#include <string_view>

#include "platform/core/json.h"
#include "platform/user/focus.h"
#include "platform/user/message_loop.h"
#include "platform/user/window.h"

namespace platform {
namespace {

BOOL CollectWindow(HWND hwnd, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

std::u16string ClassNameOf(HWND hwnd) {
    WCHAR name[256] = {};
    const int length = GetClassNameW(hwnd, name, static_cast<int>(ARRAYSIZE(name)));
    return std::u16string(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::u16string TitleOf(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    if (length <= 0)
        return {};
    std::u16string title(static_cast<std::size_t>(length) + 1, u'\0');
    const int copied = GetWindowTextW(hwnd, title.data(), length + 1);
    title.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return title;
}

void WriteWindow(JsonWriter& w, HWND hwnd, HWND foreground) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    w.BeginObject();
    w.Key("class");
    w.String(std::u16string_view(ClassNameOf(hwnd)));
    w.Key("title");
    w.String(std::u16string_view(TitleOf(hwnd)));
    w.Key("rect");
    w.BeginArray();
    for (LONG v : {rect.left, rect.top, rect.right, rect.bottom})
        w.Int(v);
    w.EndArray();
    w.Key("visible");
    w.Bool(IsWindowVisible(hwnd) != FALSE);
    w.Key("foreground");
    w.Bool(hwnd == foreground);
    w.Key("children");
    w.BeginArray();
    for (HWND child = GetWindow(hwnd, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        WriteWindow(w, child, foreground);
    }
    w.EndArray();
    w.EndObject();
}

}  // namespace

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::string WindowTreeJson() {
    const HWND foreground = GetForegroundWindow();
    JsonWriter w;
    w.BeginArray();
    for (HWND hwnd : TopLevelWindows())
        WriteWindow(w, hwnd, foreground);
    w.EndArray();
    return w.Str();
}

void PostCloseToTopLevelWindows() {
    PostMessageW(HWND_BROADCAST, WM_CLOSE, 0, 0);
}

}  // namespace platform
