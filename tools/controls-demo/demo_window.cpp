#include "tools/controls-demo/demo_window.h"

#include "platform/controls/controls.h"
#include "platform/core/wformat.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "platform/shell/shell.h"
#include "platform/user/window.h"
#include "tools/controls-demo/demo_resources.h"

namespace {

constexpr WCHAR kClass[] = u"ControlsDemo";
constexpr int kTitleBand = 20;

}  // namespace

DemoWindow::DemoWindow(HINSTANCE instance) : instance_(instance) {}

bool DemoWindow::Create() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance_;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
    RegisterDemoPageClass(instance_);

    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    hwnd_ = CreateWindowExW(0, kClass, u"Controls", WS_VISIBLE, work.left, work.top,
                            work.right - work.left, work.bottom - work.top, nullptr, nullptr,
                            instance_, this);
    if (!hwnd_)
        return false;
    SHMENUBARINFO bar{};
    bar.cbSize = sizeof bar;
    bar.hwndParent = hwnd_;
    bar.nToolBarId = demo::kSoftKeyBar;
    bar.hInstRes = instance_;
    if (SHCreateMenuBar(&bar)) {
        // The menu bar covers the bottom of the work area; the window ends above it.
        RECT barRect;
        GetWindowRect(bar.hwndMB, &barRect);
        MoveWindow(hwnd_, work.left, work.top, work.right - work.left, barRect.top - work.top,
                   FALSE);
    }
    pages_ = MakeDemoPages(PageArea());
    ShowPage(0);
    UpdateWindow(hwnd_);
    return true;
}

LRESULT CALLBACK DemoWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<DemoWindow*>(create->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        return 0;
    }
    auto* self = reinterpret_cast<DemoWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->Handle(message, wParam, lParam)
                : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT DemoWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam));
            return 0;
        case WM_INITMENUPOPUP:
            CheckMenuItem(reinterpret_cast<HMENU>(wParam), demo::kCmdToggleGrid,
                          MF_BYCOMMAND | (gridChecked_ ? MF_CHECKED : MF_UNCHECKED));
            return 0;
        case WM_SIZE:
            if (pageWindow_) {
                const RECT area = PageArea();
                MoveWindow(pageWindow_, area.left, area.top, area.right - area.left,
                           area.bottom - area.top, TRUE);
            }
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

void DemoWindow::OnCommand(WORD id) {
    if (id == demo::kCmdNext) {
        ShowPage((current_ + 1) % pages_.size());
    } else if (id >= demo::kCmdFirstPage && id < demo::kCmdFirstPage + pages_.size()) {
        ShowPage(id - demo::kCmdFirstPage);
    } else if (id >= demo::kCmdFirstMessageBox && id < demo::kCmdFirstDialog) {
        ShowDemoMessageBox(hwnd_, id - demo::kCmdFirstMessageBox);
    } else if (id >= demo::kCmdFirstDialog && id < demo::kCmdToggleGrid) {
        ShowDemoDialog(hwnd_, instance_, id - demo::kCmdFirstDialog);
    } else if (id == demo::kCmdToggleGrid) {
        gridChecked_ = !gridChecked_;
    } else if (id == demo::kCmdQuit || id == IDOK) {
        DestroyWindow(hwnd_);
    }
}

RECT DemoWindow::PageArea() const {
    RECT client;
    GetClientRect(hwnd_, &client);
    client.top = platform::ScaleForDpi(kTitleBand);
    return client;
}

void DemoWindow::ShowPage(std::size_t index) {
    if (pageWindow_)
        DestroyWindow(pageWindow_);
    current_ = index;
    pageWindow_ = CreateDemoPageWindow(hwnd_, PageArea(), *pages_[current_]);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

// The title band: "n/N Title" on the accent colour.
void DemoWindow::OnPaint() {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(hwnd_, &ps);
    RECT band{0, 0, 0, platform::ScaleForDpi(kTitleBand)};
    RECT client;
    GetClientRect(hwnd_, &client);
    band.right = client.right;
    platform::ScopedGdiObject fill(CreateSolidBrush(RGB(0x1F, 0x5F, 0xAF)));
    FillRect(dc, &band, static_cast<HBRUSH>(fill.Get()));
    WCHAR title[64];
    StringCchPrintfW(title, ARRAYSIZE(title), u"%d/%d  %s", static_cast<int>(current_ + 1),
                     static_cast<int>(pages_.size()), pages_[current_]->Title());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    RECT text = band;
    text.left += platform::ScaleForDpi(6);
    DrawTextW(dc, title, -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    EndPaint(hwnd_, &ps);
}
