// The demo's main window: a title band naming the page, the page below it, and a soft-key bar
// whose left key turns to the next page and whose right key opens the demo menu.
#pragma once

#include <memory>
#include <vector>

#include "platform/core/types.h"
#include "platform/user/window.h"
#include "tools/controls-demo/demo_page.h"

class DemoWindow {
  public:
    explicit DemoWindow(HINSTANCE instance);
    // Creates and shows the window on the first page; false when it cannot be created.
    bool Create();

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(WORD id);
    void OnPaint();
    void ShowPage(std::size_t index);
    RECT PageArea() const;

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    HWND pageWindow_ = nullptr;
    std::vector<std::unique_ptr<DemoPage>> pages_;
    std::size_t current_ = 0;
    bool gridChecked_ = false;
};

// Shows message box kind `index` (0-based) or dialog `index`; false for an index out of range.
bool ShowDemoMessageBox(HWND owner, std::size_t index);
bool ShowDemoDialog(HWND owner, HINSTANCE instance, std::size_t index);
