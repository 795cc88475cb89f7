// A temporary device with pictures made by ImageMagick, an image control of its own, and the
// debug output of each test.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "imaging/control/image_ctrl.h"
#include "platform/core/debug.h"
#include "tests/support/image_tools.h"
#include "tests/support/rights_fixtures.h"

namespace control_test {

class ControlTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Runs convert with `args` and the output file last; the picture's device path, or empty
    // when convert failed.
    std::u16string MakePicture(std::string_view name, std::vector<std::string> args);
    // `bytes` written as-is under \My Documents.
    std::u16string Put(std::string_view name, const testing_support::Bytes& bytes);
    // The plain file behind `devicePath` wrapped as forward-lock content.
    std::u16string ForwardLock(std::string_view name, const std::u16string& devicePath,
                               std::string_view contentType);
    std::string Host(const std::u16string& devicePath) const {
        return device_.HostPath(devicePath);
    }

    testing_support::RightsDevice device_;
    ImageCtrl ctrl_;
    platform::DebugOutputCapture debug_;
};

// The pixels of a bitmap as 8-bit RGBA, rows top-down.
testing_support::RgbaPicture BitmapPixels(HBITMAP bitmap);

// A W x H RGB565 bitmap whose pixel (x, y) is Pattern(x, y).
IBitmapImage* PatternBitmap(IImagingFactory* factory, int width, int height);
inline WORD Pattern(int x, int y) {
    return static_cast<WORD>(x * 37 + y * 1031);
}

}  // namespace control_test
