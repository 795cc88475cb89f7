// Helpers for the menu tests: an owner window that records what the menu tells it, and a script
// of steps that run inside the menu's modal loop whenever it waits for input.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/controls/menu.h"
#include "platform/display/display.h"
#include "platform/user/user.h"
#include "tests/support/screen_test.h"

namespace menutest {

struct Recorded {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    // WM_MEASUREITEM and WM_DRAWITEM records, copied while they were valid.
    MEASUREITEMSTRUCT measure{};
    DRAWITEMSTRUCT draw{};
};

// One step of a script; it sees the open menus and acts (taps, keys, checks). It returns false
// to be asked again a little later (waiting for a timer, say).
using Step = std::function<bool(const std::vector<platform::OpenMenu>&)>;

class MenuTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The owner: a visible window filling the screen's work area.
    HWND Owner() const { return owner_; }
    // The owner's log, filtered to the menu messages.
    std::vector<Recorded> Of(UINT message) const;
    std::vector<UINT> MenuMessages() const;
    void ClearLog() { log_.clear(); }

    // Runs `steps` in order inside the next modal loop, one each time the loop waits. A script
    // that runs out while a menu is still open fails the test and closes the menu.
    void Script(std::vector<Step> steps);
    // Runs for every message the owner gets, before it is recorded (e.g. to change the menu in
    // WM_INITMENUPOPUP).
    static void OnMessage(std::function<void(UINT, WPARAM, LPARAM)> hook) {
        hook_ = std::move(hook);
    }
    // Messages posted to the owner (WM_COMMAND) are delivered.
    static void Pump();

    static void Tap(POINT p);
    static void Down(POINT p);
    static void Up(POINT p);
    static void Key(UINT vk);
    static POINT Centre(const RECT& r) {
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    // Size WM_MEASUREITEM answers and colour WM_DRAWITEM paints owner-drawn items with.
    static constexpr UINT kOwnerWidth = 90;
    static constexpr UINT kOwnerHeight = 20;
    static constexpr COLORREF kOwnerColor = RGB(0, 160, 0);

  private:
    static LRESULT CALLBACK OwnerProc(HWND, UINT, WPARAM, LPARAM);
    HWND owner_ = nullptr;
    size_t menusAtStart_ = 0;
    static std::vector<Recorded> log_;
    static std::vector<Step> steps_;
    static size_t nextStep_;
    static std::function<void(UINT, WPARAM, LPARAM)> hook_;
};

// One screen pixel as the screen shows a COLORREF (RGB565 widened).
using testsupport::AsShown;
using testsupport::ScreenPixel;

}  // namespace menutest
