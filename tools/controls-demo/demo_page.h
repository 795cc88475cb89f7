// One page of the controls demo: a child window that fills the area under the page title, with
// the controls and drawings the page shows. Switching pages destroys the window and its controls.
#pragma once

#include <memory>
#include <vector>

#include "platform/core/types.h"
#include "platform/user/messages.h"

class DemoPage {
  public:
    virtual ~DemoPage() = default;

    virtual LPCWSTR Title() const = 0;
    // Creates the page's controls as children of `page` (client size `area`).
    virtual void Create(HWND /*page*/, const RECT& /*area*/) {}
    // Draws the page's own pictures into the back buffer `dc`, already filled white.
    virtual void Paint(HDC /*dc*/, const RECT& /*area*/) {}
    virtual void DrawItem(const DRAWITEMSTRUCT& /*item*/) {}
    virtual void Command(HWND /*page*/, WORD /*id*/, WORD /*code*/) {}
};

std::unique_ptr<DemoPage> MakeControlsPage();
std::unique_ptr<DemoPage> MakeOpenListPage();
std::unique_ptr<DemoPage> MakeTextPage();
std::unique_ptr<DemoPage> MakeBlitsPage();
// As many pages as the skin bitmaps need at this dpi, each of `area`'s size.
std::vector<std::unique_ptr<DemoPage>> MakeSkinPages(const RECT& area);

// Every page in showing order; `area` is the size a page gets.
std::vector<std::unique_ptr<DemoPage>> MakeDemoPages(const RECT& area);

// Registers the page window class; the window's creation parameter is the DemoPage.
void RegisterDemoPageClass(HINSTANCE instance);
HWND CreateDemoPageWindow(HWND parent, const RECT& area, DemoPage& page);
