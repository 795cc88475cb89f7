#include "tools/controls-demo/demo_page.h"

#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "platform/user/window.h"

namespace {

constexpr WCHAR kPageClass[] = u"ControlsDemoPage";

DemoPage* PageOf(HWND hwnd) {
    return reinterpret_cast<DemoPage*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// Back-buffered: the page is drawn whole into a memory bitmap and copied once.
void PaintPage(HWND hwnd, DemoPage& page) {
    PAINTSTRUCT ps;
    const HDC screen = BeginPaint(hwnd, &ps);
    RECT area;
    GetClientRect(hwnd, &area);
    platform::ScopedDC memory(CreateCompatibleDC(screen));
    platform::ScopedGdiObject buffer(CreateCompatibleBitmap(screen, area.right, area.bottom));
    platform::ScopedSelectObject selected(memory.Get(), buffer.Get());
    FillRect(memory.Get(), &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    page.Paint(memory.Get(), area);
    BitBlt(screen, 0, 0, area.right, area.bottom, memory.Get(), 0, 0, SRCCOPY);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        RECT area;
        GetClientRect(hwnd, &area);
        static_cast<DemoPage*>(create->lpCreateParams)->Create(hwnd, area);
        return 0;
    }
    DemoPage* page = PageOf(hwnd);
    if (!page)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            PaintPage(hwnd, *page);
            return 0;
        case WM_DRAWITEM:
            page->DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_COMMAND:
            page->Command(hwnd, LOWORD(wParam), HIWORD(wParam));
            return 0;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace

void RegisterDemoPageClass(HINSTANCE instance) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PageProc;
    wc.hInstance = instance;
    wc.lpszClassName = kPageClass;
    RegisterClassW(&wc);
}

HWND CreateDemoPageWindow(HWND parent, const RECT& area, DemoPage& page) {
    return CreateWindowExW(0, kPageClass, page.Title(), WS_CHILD | WS_VISIBLE, area.left, area.top,
                           area.right - area.left, area.bottom - area.top, parent, nullptr, nullptr,
                           &page);
}

std::vector<std::unique_ptr<DemoPage>> MakeDemoPages(const RECT& area) {
    std::vector<std::unique_ptr<DemoPage>> pages;
    pages.push_back(MakeControlsPage());
    pages.push_back(MakeOpenListPage());
    pages.push_back(MakeTextPage());
    pages.push_back(MakeBlitsPage());
    for (auto& skin : MakeSkinPages(area))
        pages.push_back(std::move(skin));
    return pages;
}
