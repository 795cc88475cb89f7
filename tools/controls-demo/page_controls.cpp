// The standard controls: a prompt, an edit, a drop-down list, push buttons and a scroll bar;
// the second page shows the list dropped down and a partial selection in the edit.
#include <array>

#include "platform/controls/controls.h"
#include "platform/user/metrics.h"
#include "platform/user/window.h"
#include "tools/controls-demo/demo_page.h"

namespace {

enum : WORD { kEdit = 100, kCombo, kButton, kDefault, kScroll, kLabel };

constexpr std::array<LPCWSTR, 4> kDurations = {u"3 seconds", u"5 seconds", u"10 seconds",
                                               u"30 seconds"};

struct ControlSet {
    HWND edit = nullptr;
    HWND combo = nullptr;
};

ControlSet CreateControls(HWND page, const RECT& area) {
    const int s = platform::ScaleForDpi(1);
    const int bar = GetSystemMetrics(SM_CXVSCROLL);
    const int width = area.right - bar - 16 * s;
    ControlSet set;
    CreateWindowExW(0, u"static", u"File name", WS_CHILD | WS_VISIBLE | SS_LEFT, 8 * s, 8 * s,
                    width, 16 * s, page, reinterpret_cast<HMENU>(kLabel), nullptr, nullptr);
    set.edit = CreateWindowExW(
        0, u"edit", u"IMG_0001", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL,
        8 * s, 26 * s, width, 22 * s, page, reinterpret_cast<HMENU>(kEdit), nullptr, nullptr);
    SendMessageW(set.edit, EM_LIMITTEXT, 225, 0);
    // A drop-down list's create height is the height of its dropped list.
    set.combo = CreateWindowExW(
        0, u"combobox", nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST, 8 * s,
        58 * s, width, 100 * s, page, reinterpret_cast<HMENU>(kCombo), nullptr, nullptr);
    for (LPCWSTR text : kDurations)
        SendMessageW(set.combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    SendMessageW(set.combo, CB_SETCURSEL, 1, 0);
    CreateWindowExW(0, u"button", u"Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                    8 * s, 92 * s, (width - 8 * s) / 2, 26 * s, page,
                    reinterpret_cast<HMENU>(kButton), nullptr, nullptr);
    CreateWindowExW(0, u"button", u"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                    16 * s + (width - 8 * s) / 2, 92 * s, (width - 8 * s) / 2, 26 * s, page,
                    reinterpret_cast<HMENU>(kDefault), nullptr, nullptr);
    HWND scroll = CreateWindowExW(0, u"scrollbar", nullptr, WS_CHILD | WS_VISIBLE | SBS_VERT,
                                  area.right - bar, 0, bar, area.bottom, page,
                                  reinterpret_cast<HMENU>(kScroll), nullptr, nullptr);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    info.nMin = 1;
    info.nMax = 200;
    info.nPage = 40;
    info.nPos = 61;
    SetScrollInfo(scroll, SB_CTL, &info, TRUE);
    return set;
}

class ControlsPage final : public DemoPage {
  public:
    explicit ControlsPage(bool dropped) : dropped_(dropped) {}
    LPCWSTR Title() const override { return dropped_ ? u"Open list" : u"Controls"; }

    void Create(HWND page, const RECT& area) override {
        const ControlSet set = CreateControls(page, area);
        if (!dropped_)
            return;
        SetFocus(set.edit);
        SendMessageW(set.edit, EM_SETSEL, 4, 8);
        SendMessageW(set.combo, CB_SHOWDROPDOWN, TRUE, 0);
    }

  private:
    bool dropped_;
};

}  // namespace

std::unique_ptr<DemoPage> MakeControlsPage() {
    return std::make_unique<ControlsPage>(false);
}

std::unique_ptr<DemoPage> MakeOpenListPage() {
    return std::make_unique<ControlsPage>(true);
}
