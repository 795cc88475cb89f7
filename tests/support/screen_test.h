// What every test of the user interface needs around the headless screen: a private runtime
// folder for the whole test program, and the screen's pixels read back as COLORREFs.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/core/types.h"
#include "platform/display/display.h"

namespace testsupport {

// Published windows and start locks go to a folder of this test program's own, removed at the end.
class RuntimeFolder : public testing::Environment {
  public:
    RuntimeFolder() {
        char pattern[] = "/tmp/pictarium-tests-XXXXXX";
        if (mkdtemp(pattern)) {
            path_ = pattern;
            setenv("XDG_RUNTIME_DIR", pattern, 1);
        }
    }
    void TearDown() override {
        std::error_code ignored;
        if (!path_.empty())
            std::filesystem::remove_all(path_, ignored);
    }

  private:
    std::string path_;
};

// One per test program, however many files include this header.
[[maybe_unused]] inline testing::Environment* const g_runtimeFolder =
    testing::AddGlobalTestEnvironment(new RuntimeFolder);

// The RGB565 round trip of a colour, as the screen shows it.
inline COLORREF WidenRgb565(std::uint16_t p) {
    const int r = (p >> 11) & 0x1F;
    const int g = (p >> 5) & 0x3F;
    const int b = p & 0x1F;
    return RGB(static_cast<BYTE>((r << 3) | (r >> 2)), static_cast<BYTE>((g << 2) | (g >> 4)),
               static_cast<BYTE>((b << 3) | (b >> 2)));
}

// One screen pixel as a COLORREF.
inline COLORREF ScreenPixel(int x, int y) {
    return WidenRgb565(platform::GetDisplay().Screen().Row(y)[x]);
}

// A colour as the screen shows it, to compare with ScreenPixel.
inline COLORREF AsShown(COLORREF c) {
    return WidenRgb565(static_cast<std::uint16_t>(
        ((GetRValue(c) >> 3) << 11) | ((GetGValue(c) >> 2) << 5) | (GetBValue(c) >> 3)));
}

}  // namespace testsupport
